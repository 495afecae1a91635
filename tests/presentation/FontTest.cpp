// Bitmap fonts against the hand-made "tiny" font (FontFixture.h): the glyph ranges,
// lookups, measures and the vertices of plain, clipped and formatted drawing, with
// every expected number worked out from the font's table.

#include "tests/presentation/FontFixture.h"

#include <string>
#include <utility>
#include <vector>

namespace
{
struct SQuad
{
    float x0, y0, x1, y1, u0, v0, u1, v1;
    uint32_t colour;
};

// The quads of every draw, in order (six vertices a glyph: tl, tr, bl, tr, br, bl).
std::vector<SQuad> Quads(const CVertexRecordingRenderer& renderer)
{
    std::vector<SQuad> quads;
    for (const SRecordedDraw& draw : renderer.m_draws)
        for (size_t i = 0; i + 5 < draw.vertices.size(); i += 6)
        {
            const SScreenVertex& tl = draw.vertices[i];
            const SScreenVertex& br = draw.vertices[i + 4];
            quads.push_back({tl.x, tl.y, br.x, br.y, tl.u, tl.v, br.u, br.v, tl.colour});
        }
    return quads;
}

void ExpectQuad(const SQuad& q, float x0, float y0, float x1, float y1, float u0, float v0, float u1, float v1)
{
    EXPECT_FLOAT_EQ(q.x0, x0);
    EXPECT_FLOAT_EQ(q.y0, y0);
    EXPECT_FLOAT_EQ(q.x1, x1);
    EXPECT_FLOAT_EQ(q.y1, y1);
    EXPECT_FLOAT_EQ(q.u0, u0);
    EXPECT_FLOAT_EQ(q.v0, v0);
    EXPECT_FLOAT_EQ(q.u1, u1);
    EXPECT_FLOAT_EQ(q.v1, v1);
}
} // namespace

TEST_F(CFontTest, RangesFollowTheUnsignedSortAndTheFirstOfTwoGlyphsWins)
{
    LoadTiny();
    // Sorted: 1, 32, 49, 65, 65 (second), 66, 160, 161, 200. The second 65 starts a run
    // that 66 extends.
    const std::vector<std::pair<int, int>> expected = {{1, 1}, {32, 1}, {49, 1}, {65, 1}, {65, 2}, {160, 2}, {200, 1}};
    ASSERT_EQ(m_font.GetRanges().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ(m_font.GetRanges()[i].first, expected[i].first) << i;
        EXPECT_EQ(m_font.GetRanges()[i].count, expected[i].second) << i;
    }
    EXPECT_EQ(m_font.GetPages().size(), 2u);
    EXPECT_EQ(m_font.GetGlyphAdvance(u'A'), 7); // the first "A"
    EXPECT_EQ(m_font.GetGlyphWidth(u'B'), 5);
    EXPECT_EQ(m_font.GetGlyphHeight(200), 8);
}

TEST_F(CFontTest, MissingCodesAndLineBreaksDrawAsSpaceButMeasureNothing)
{
    LoadTiny();
    for (char16_t code : {char16_t(127), char16_t(u'\n'), char16_t(u'\r'), char16_t(0x2603)})
    {
        const SFontGlyph* glyph = m_font.FindGlyph(code);
        ASSERT_NE(glyph, nullptr);
        EXPECT_EQ(glyph->code, 32) << int(code);
        EXPECT_EQ(m_font.GetGlyphAdvance(code), 0) << int(code);
    }
}

TEST_F(CFontTest, MeasuresAddTheNumberSpaceAfterALetterBeforeADigit)
{
    LoadTiny(); // number-space fix-up 2
    const std::vector<std::pair<std::u16string, int>> wide = {
        {u"", 0}, {u"A", 7}, {u"A1", 7 + 5 + 2}, {u"1A", 5 + 7}, {u"AB", 7 + 6}, {u"A?", 7}, {u"B1A1", 6 + 2 + 5 + 7 + 2 + 5}};
    for (const auto& [text, width] : wide)
        EXPECT_EQ(m_font.MeasureTextWide(text.c_str()), width) << std::string(text.begin(), text.end());
    const std::vector<std::pair<std::u16string, int>> exact = {{u"", 0}, {u"A", 6}, {u"AB", 7 + 5}, {u"A1", 7 + 2 + 4}};
    for (const auto& [text, width] : exact)
        EXPECT_EQ(m_font.MeasureTextExact(text.c_str()), width) << std::string(text.begin(), text.end());
    EXPECT_EQ(m_font.MeasureTextWide(nullptr), 0);
}

TEST_F(CFontTest, DrawsEachGlyphAtThePenWithTheFudgeAndTheRenderersColourOrder)
{
    LoadTiny();
    m_font.DrawTextWide(10.0f, 20.0f, 0.5f, u"AB", 0xFF102030);
    std::vector<SQuad> quads = Quads(*m_renderer);
    ASSERT_EQ(quads.size(), 2u);
    // Scale 1, no pixel shift; y gets the fudge of 3; red and blue exchanged.
    ExpectQuad(quads[0], 10, 23, 16, 31, 4 / 64.0f, 0, 10 / 64.0f, 0.5f);
    ExpectQuad(quads[1], 17, 23, 22, 31, 11 / 64.0f, 0, 16 / 64.0f, 0.5f);
    EXPECT_EQ(quads[0].colour, 0xFF302010u);
    EXPECT_EQ(m_renderer->m_draws.size(), 1u);
    EXPECT_TRUE(m_renderer->m_draws[0].blend);
    EXPECT_TRUE(m_renderer->m_draws[0].alphaTest);

    // 800 x 600: scale 1.25, half-pixel shift, textures inset by 0.25 texel.
    MakeRenderer(800, true);
    m_folder.WriteTinyFont();
    ASSERT_TRUE(m_font.Load(*m_renderer, "tiny", 2, 0, 3));
    m_font.DrawTextWide(10.0f, 20.0f, 0.5f, u"A", 0xFF102030, -1);
    quads = Quads(*m_renderer);
    ASSERT_EQ(quads.size(), 1u);
    const float inset = 0.25f / 64.0f, insetV = 0.25f / 16.0f;
    ExpectQuad(quads[0], 12.5f - 0.5f, 28.75f - 0.5f, 20.0f - 0.5f, 38.75f - 0.5f, 4 / 64.0f + inset, insetV,
               10 / 64.0f - inset, 0.5f - insetV);
    EXPECT_EQ(quads[0].colour, 0xFF102030u);
}

TEST_F(CFontTest, APageChangeStartsANewBatchAndMaxCharsStops)
{
    LoadTiny();
    const char16_t text[] = {u'A', char16_t(200), u'B', u'B', 0};
    m_font.DrawTextWide(0, 0, 0, text, 0xFFFFFFFF, 3);
    ASSERT_EQ(m_renderer->m_draws.size(), 3u);
    EXPECT_EQ(m_renderer->m_draws[0].vertices.size(), 6u);
    EXPECT_NE(m_renderer->m_draws[0].texture, m_renderer->m_draws[1].texture);
    EXPECT_EQ(m_renderer->m_draws[0].texture, m_renderer->m_draws[2].texture);
    // Pen: A at 0, glyph 200 at 7, B at 16.
    std::vector<SQuad> quads = Quads(*m_renderer);
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_FLOAT_EQ(quads[2].x0, 16.0f);

    m_renderer->ClearRecords();
    m_font.DrawTextWide(0, 0, 0, u"AB", 0xFFFFFFFF, 0);
    m_font.DrawTextWide(0, 0, 0, nullptr, 0xFFFFFFFF);
    EXPECT_TRUE(m_renderer->m_draws.empty());
}

TEST_F(CFontTest, ClippedDrawingCutsQuadsAndTheirTextureCoordinatesAlike)
{
    LoadTiny();
    // The pen's y loses the fudge: 17 to 25. "A" spans x 10..16 and loses 2 of its 6
    // columns; "B" spans 17..22 and keeps 3 of its 5.
    m_font.DrawTextClipped(10, 20, 0, u"AB", 0xFFFFFFFF, 12, 0, 8, 100);
    std::vector<SQuad> quads = Quads(*m_renderer);
    ASSERT_EQ(quads.size(), 2u);
    ExpectQuad(quads[0], 12, 17, 16, 25, 6 / 64.0f, 0, 10 / 64.0f, 0.5f);
    ExpectQuad(quads[1], 17, 17, 20, 25, 11 / 64.0f, 0, 14 / 64.0f, 0.5f);

    // Cut at the bottom: 4 of 8 rows.
    m_renderer->ClearRecords();
    m_font.DrawTextClipped(10, 20, 0, u"A", 0xFFFFFFFF, 0, 0, 100, 21);
    quads = Quads(*m_renderer);
    ASSERT_EQ(quads.size(), 1u);
    ExpectQuad(quads[0], 10, 17, 16, 21, 4 / 64.0f, 0, 10 / 64.0f, 0.25f);

    // A glyph wholly outside is skipped but still advances; the fix-up counts here.
    m_renderer->ClearRecords();
    m_font.DrawTextClipped(0, 20, 0, u"A1B", 0xFFFFFFFF, 10, 0, 100, 100);
    quads = Quads(*m_renderer);
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_FLOAT_EQ(quads[0].x0, 10.0f);       // "1" at 7 + 2, cut at 10
    EXPECT_FLOAT_EQ(quads[1].x0, 7 + 2 + 5.0f); // "B"

    // A line wholly above, below or right of the rectangle draws nothing.
    for (float clipY : {-100.0f, 100.0f})
    {
        m_renderer->ClearRecords();
        m_font.DrawTextClipped(10, 20, 0, u"AB", 0xFFFFFFFF, 0, clipY, 100, 10);
        EXPECT_TRUE(m_renderer->m_draws.empty()) << clipY;
    }
    m_renderer->ClearRecords();
    m_font.DrawTextClipped(200, 20, 0, u"AB", 0xFFFFFFFF, 0, 0, 100, 100);
    EXPECT_TRUE(m_renderer->m_draws.empty());
}

TEST_F(CFontTest, FormattedTextStopsAt511Characters)
{
    LoadTiny();
    const std::string longText(600, 'A');
    m_font.DrawFormatted(0, 0, 0, 0xFFFFFFFF, "%s", longText.c_str());
    EXPECT_EQ(Quads(*m_renderer).size(), 511u);

    m_renderer->ClearRecords();
    const std::u16string longWide(600, u'B');
    m_font.DrawFormattedWide(0, 0, 0, 0xFFFFFFFF, u"%s", longWide.c_str());
    EXPECT_EQ(Quads(*m_renderer).size(), 511u);
}

TEST_F(CFontTest, DataTextIsNeverAFormat)
{
    LoadTiny();
    // "%%" shows one "%", every other conversion stands as it is: "1%A%d%s" has seven
    // characters; "%", "d" and "s" have no glyph and draw as spaces.
    m_font.DrawDataTextWide(0, 0, 0, u"1%%A%d%s", 0xFFFFFFFF);
    std::vector<SQuad> quads = Quads(*m_renderer);
    ASSERT_EQ(quads.size(), 7u);
    EXPECT_FLOAT_EQ(quads[2].x0, 5 + 4.0f);                 // "A" after "1" and a space
    EXPECT_FLOAT_EQ(quads[2].u0, 4 / 64.0f);
    EXPECT_FLOAT_EQ(quads[6].x0, 5 + 4 + 7 + 4 + 4 + 4.0f); // the "s"

    char narrow[16];
    CopyDataText("50%% of %s%%", narrow, sizeof(narrow));
    EXPECT_STREQ(narrow, "50% of %s%");
    CopyDataText("%%%%%%%%%%%%%%%%%%%%", narrow, 4);
    EXPECT_STREQ(narrow, "%%%");
}

TEST_F(CFontTest, DamagedFontsDoNotLoad)
{
    MakeRenderer();
    struct SCase
    {
        const char* what;
        bool page;
        const char* table; // null: no table file
        bool loads;
    };
    const SCase cases[] = {
        {"no page", false, "1\n32 0 0 0 3 8 4\n", false},
        {"no table", true, nullptr, false},
        {"a page that did not load", true, "1\n32 1 0 0 3 8 4\n", false},
        {"a record cut short", true, "2\n32 0 0 0 3 8 4\n65 0 4 0\n", false},
        {"a count beyond the file", true, "500\n32 0 0 0 3 8 4\n", false},
        {"a count beyond any table", true, "70000\n", false},
        {"a negative size", true, "1\n32 0 0 0 -3 8 4\n", false},
        {"a word among the numbers", true, "1\n32 0 zero 0 3 8 4\n", false},
        {"no count", true, "", false},
        {"a code beyond 16 bits is left out", true, "2\n70000 0 0 0 3 8 4\n32 0 0 0 3 8 4\n", true},
    };
    int n = 0;
    for (const SCase& c : cases)
    {
        const std::string name = "case" + std::to_string(n++);
        if (c.page)
            m_folder.WritePage(name + "000.tga", 16, 16);
        if (c.table)
            m_folder.WriteTable(name, c.table);
        CFont font;
        EXPECT_EQ(font.Load(*m_renderer, name.c_str(), 0, 0, 0), c.loads) << c.what;
        EXPECT_EQ(font.IsLoaded(), c.loads) << c.what;
        if (c.loads)
        {
            ASSERT_EQ(font.GetRanges().size(), 1u);
            EXPECT_EQ(font.GetRanges()[0].first, 32);
        }
        font.Release();
        EXPECT_EQ(m_renderer->CountLiveTextures(), 0) << c.what;
    }
}

TEST_F(CFontTest, AFontWithOneUnnumberedPageLoads)
{
    MakeRenderer();
    m_folder.WritePage("single.tga", 32, 16);
    m_folder.WriteTable("single", "1\n65 0 8 4 8 8 9\n");
    ASSERT_TRUE(m_font.Load(*m_renderer, "single", 0, 0, 0));
    ASSERT_EQ(m_font.GetPages().size(), 1u);
    const SFontGlyph* glyph = m_font.FindGlyph(u'A');
    ASSERT_NE(glyph, nullptr);
    EXPECT_FLOAT_EQ(glyph->u0, 0.25f);
    EXPECT_FLOAT_EQ(glyph->v0, 0.25f);
    EXPECT_FLOAT_EQ(glyph->u1, 0.5f);
    EXPECT_FLOAT_EQ(glyph->v1, 0.75f);
    // No space glyph: a missing code has nothing to draw and is skipped.
    EXPECT_EQ(m_font.FindGlyph(u'B'), nullptr);
    m_font.DrawTextWide(0, 0, 0, u"BAB", 0xFFFFFFFF);
    std::vector<SQuad> quads = Quads(*m_renderer);
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_FLOAT_EQ(quads[0].x0, 0.0f);

    m_font.Release();
    m_renderer->ClearRecords();
    m_font.DrawTextWide(0, 0, 0, u"A", 0xFFFFFFFF);
    EXPECT_TRUE(m_renderer->m_draws.empty());
}
