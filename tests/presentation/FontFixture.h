#pragma once
// A folder with "data/gui/" made the current directory, hand-made bitmap fonts in it,
// and a recording renderer to load and draw them with.

#include "presentation/Font.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/TempDir.h"
#include "tests/support/platform/VertexRecordingRenderer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// "tiny": page 0 of 64 x 16 and page 1 of 16 x 16; glyphs (code page x y w h advance)
// listed out of order, with a second "A" after the first:
//   32: 0 0 0 3 8 4      65 'A': 0 4 0 6 8 7    66 'B': 0 11 0 5 8 6
//   49 '1': 0 17 0 4 8 5  1: 0 22 0 4 8 5     160, 161: 0 27/30 0 2 8 3
//   200: 1 0 0 8 8 9     65 again: 0 40 0 1 1 1
extern const char* const TINY_FONT_TABLE;

class CFontFolder
{
public:
    CFontFolder();
    // A page "data/gui/<file>" of the size, every pixel white and opaque.
    void WritePage(const std::string& file, int width, int height);
    void WriteTable(const std::string& name, const std::string& text);
    // The "tiny" font's two pages and table.
    void WriteTinyFont(const std::string& name = "tiny");
    const CTempDir& GetDir() const { return m_dir; }

private:
    CTempDir m_dir;
    CCurrentDir m_current;
};

class CFontTest : public ::testing::Test
{
protected:
    // A recording renderer of the given back-buffer width (4:3) and colour order.
    void MakeRenderer(int width = 640, bool colourIsArgb = false);
    // Loads "tiny" with number-space fix-up 2, vertical-space fix-up 0 and fudge 3.
    void LoadTiny();

    CFontFolder m_folder;
    std::unique_ptr<CVertexRecordingRenderer> m_renderer;
    CFont m_font;
};
