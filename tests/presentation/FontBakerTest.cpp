// The font baker's output (tesstool font bake) read back through the game's own font
// reader, and the sample fonts of the build.

#include "tests/presentation/FontFixture.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace
{
const char* const DEJAVU_SANS = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// The alpha of a pixel of the upload of a texture slot.
int AlphaAt(const CVertexRecordingRenderer& renderer, int texture, int x, int y)
{
    for (const SRecordedUpload& upload : renderer.m_uploads)
        if (upload.index == texture)
            return upload.pixels[(size_t(y) * size_t(upload.width) + size_t(x)) * 4 + 3];
    return -1;
}

// The greatest alpha in rows [top, bottom) of a glyph's cell.
int MaxAlpha(const CVertexRecordingRenderer& renderer, const CFont& font, const SFontGlyph& glyph, int top, int bottom)
{
    const SFontPage& page = font.GetPages()[size_t(glyph.page)];
    const int x0 = int(glyph.u0 * float(page.width) + 0.5f), y0 = int(glyph.v0 * float(page.height) + 0.5f);
    int most = 0;
    for (int y = y0 + top; y < y0 + bottom; ++y)
        for (int x = x0; x < x0 + glyph.width; ++x)
            most = std::max(most, AlphaAt(renderer, page.texture, x, y));
    return most;
}
} // namespace

TEST_F(CFontTest, BakedFontsReadBackWithEveryGlyphOnOneBaseline)
{
    const std::string folder = m_folder.GetDir().Join("data/gui");
    const std::string command = "mkdir -p " + folder + " && " + TESS_BIN_DIR + "/tesstool font bake " + folder +
                                " baked " + DEJAVU_SANS + " 16 --page 128 --codes 1,32-126,160-255 >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    MakeRenderer();
    ASSERT_TRUE(m_font.Load(*m_renderer, "baked", 0, 0, 0));

    // Three runs of codes; 192 glyphs need more than one page of 128 x 128.
    ASSERT_EQ(m_font.GetRanges().size(), 3u);
    EXPECT_EQ(m_font.GetRanges()[0].first, 1);
    EXPECT_EQ(m_font.GetRanges()[1].first, 32);
    EXPECT_EQ(m_font.GetRanges()[1].count, 95);
    EXPECT_EQ(m_font.GetRanges()[2].first, 160);
    EXPECT_EQ(m_font.GetRanges()[2].count, 96);
    EXPECT_GT(m_font.GetPages().size(), 1u);

    // Every cell is one line high; a glyph reaches no further than its cell.
    const int line = m_font.GetGlyphHeight(u'A');
    EXPECT_GE(line, 16);
    for (const SFontRange& range : m_font.GetRanges())
        for (const SFontGlyph& glyph : range.glyphs)
        {
            EXPECT_EQ(glyph.height, line) << glyph.code;
            EXPECT_GE(glyph.width, glyph.advance) << glyph.code;
        }
    EXPECT_GT(m_font.GetGlyphAdvance(u'W'), m_font.GetGlyphAdvance(u'i'));
    EXPECT_EQ(m_font.GetGlyphAdvance(u'0'), m_font.GetGlyphAdvance(u'9')); // tabular digits

    // Coverage is alpha on white: "A" has solid pixels, the space none. "A" stands on
    // the baseline, so the bottom rows of its cell (below the baseline) stay empty where
    // "g" and "p" reach down; "A" reaches higher than "a".
    const SFontGlyph& a = *m_font.FindExactGlyph(u'A');
    const SFontGlyph& small = *m_font.FindExactGlyph(u'a');
    const SFontGlyph& g = *m_font.FindExactGlyph(u'g');
    const SFontGlyph& space = *m_font.FindExactGlyph(u' ');
    EXPECT_EQ(MaxAlpha(*m_renderer, m_font, a, 0, line), 255);
    EXPECT_EQ(MaxAlpha(*m_renderer, m_font, space, 0, line), 0);
    const int descent = 3; // at 16 pixels DejaVu Sans reaches at least this far below
    EXPECT_EQ(MaxAlpha(*m_renderer, m_font, a, line - descent, line), 0);
    EXPECT_GT(MaxAlpha(*m_renderer, m_font, g, line - descent, line), 128);
    int aTop = 0, smallTop = 0;
    while (MaxAlpha(*m_renderer, m_font, a, aTop, aTop + 1) == 0)
        ++aTop;
    while (MaxAlpha(*m_renderer, m_font, small, smallTop, smallTop + 1) == 0)
        ++smallTop;
    EXPECT_LT(aTop, smallTop);
    for (const SRecordedUpload& upload : m_renderer->m_uploads)
        for (size_t i = 0; i < upload.pixels.size(); i += 4)
            ASSERT_EQ(upload.pixels[i] & upload.pixels[i + 1] & upload.pixels[i + 2], 255) << "white everywhere";
}

TEST_F(CFontTest, TheBakerRefusesWhatItCannotMake)
{
    const std::string folder = m_folder.GetDir().Join("data/gui");
    const std::string tool = "mkdir -p " + folder + " && " + TESS_BIN_DIR + "/tesstool font bake " + folder;
    ASSERT_EQ(std::system((tool + " x " + DEJAVU_SANS + " 12 >/dev/null").c_str()), 0);
    for (const std::string& arguments : {std::string(" x /no/such/font.ttf 12"),
                                         std::string(" x ") + DEJAVU_SANS + " 12 --codes 300-200",
                                         std::string(" x ") + DEJAVU_SANS + " 64 --page 32"})
        EXPECT_NE(std::system((tool + arguments + " 2>/dev/null").c_str()), 0) << arguments;
}

TEST_F(CFontTest, TheSampleFontsOfTheBuildLoad)
{
    MakeRenderer();
    CCurrentDir programFolder(TESS_BIN_DIR);
    for (const char* name : {"system_font", "gui_small", "gui_normal", "gui_large", "gui_title"})
    {
        CFont font;
        ASSERT_TRUE(font.Load(*m_renderer, name, 0, 0, 0)) << name;
        EXPECT_NE(font.FindExactGlyph(1), nullptr) << name << ": the console cursor";
        EXPECT_NE(font.FindExactGlyph(0xE9), nullptr) << name << ": Latin-1";
        font.Release();
    }
}
