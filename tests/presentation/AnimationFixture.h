#pragma once
// A sprite bank that sprite references load into (it is g_spriteBank while a test
// runs), a game clock the test moves, and data-tree text parsed into blocks.

#include "core/DataTree.h"
#include "presentation/AnimationClock.h"
#include "tests/presentation/SpriteFixture.h"

#include <memory>
#include <string>

class CFakeAnimationClock : public CAnimationClock
{
public:
    uint32_t GetGameTimeMs() const override { return m_now; }
    uint32_t m_now = 1000;
};

// The first block of a data-tree text (null when there is none).
std::unique_ptr<CDataTree> ParseFirstBlock(const std::string& text);

class CAnimationFixture : public CSpriteFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    // A sprite file of `frames` frames of 8 x 8 pixels in the temporary folder.
    std::string WriteFrames(const std::string& name, uint32_t frames);
    // Game frames of 40 ms.
    void AdvanceTicks(int ticks) { m_clock.m_now += static_cast<uint32_t>(ticks) * GAME_TICK_MS; }

    CFakeAnimationClock m_clock;
    CSpriteBank* m_savedBank = nullptr;
};
