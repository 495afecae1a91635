#pragma once
// A sprite bank bound to a recording renderer, and sprite files written on demand.

#include "presentation/SpriteBank.h"
#include "tests/support/platform/VertexRecordingRenderer.h"
#include "tests/support/TempDir.h"
#include "utility/source/QelSpriteFormat.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Frame i of a test file: every pixel (i, x, y, 200 + i) as blue, green, red, alpha.
std::vector<uint8_t> MakeTestFrame(uint32_t width, uint32_t height, uint32_t index);

struct SSpriteSpec
{
    int32_t format = 2;
    uint32_t storage = spritefile::kStorageRaw;
    uint32_t frameWidth = 8;
    uint32_t frameHeight = 8;
    uint32_t frames = 1;
    uint32_t pageSide = 64; // largest page side; more frames than fit start new pages
};

SSpriteFileData MakeSpriteData(const SSpriteSpec& spec);

class CSpriteFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a sprite file into the temporary folder and gives its path.
    std::string WriteSprite(const std::string& name, const SSpriteSpec& spec);
    std::string WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes);
    // Loads a file (asserting success) and gives its slot.
    int Load(const std::string& path, bool textureOption = false);
    // A visible instance at (x, y) of the given frame.
    SSpriteInstance* Show(int plane, int file, float x, float y, uint32_t frame = 0);

    CTempDir m_dir;
    std::unique_ptr<CVertexRecordingRenderer> m_renderer;
    std::unique_ptr<CSpriteBank> m_bank;
};
