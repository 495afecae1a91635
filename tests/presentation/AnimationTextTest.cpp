// Text tracks: lines, fonts, centring, string-table lines and their voice.

#include "tests/presentation/CasFixture.h"

#include "core/StringTable.h"
#include "core/StringTableSource.h"
#include "core/StringTableWriter.h"

namespace
{
class CasText : public CCasFixture
{
protected:
    void TearDown() override
    {
        g_stringTable = nullptr;
        CCasFixture::TearDown();
    }

    void UseStrings(const std::string& source)
    {
        CStringTableSource parsed;
        std::string error;
        ASSERT_TRUE(parsed.Parse(source, error)) << error;
        std::vector<std::unique_ptr<CStringTableLanguage>> languages;
        ASSERT_TRUE(parsed.Build(languages, error)) << error;
        std::vector<const CStringTableLanguage*> list;
        for (const auto& language : languages)
            list.push_back(language.get());
        std::vector<uint8_t> bytes = EncodeStringTable(list, 2);
        ASSERT_TRUE(m_table.LoadFromMemory(bytes.data(), bytes.size()));
        ASSERT_TRUE(m_table.SelectLanguage(0));
        g_stringTable = &m_table;
    }

    // Steps the playing animations and draws them.
    std::vector<CRecordingCasFonts::SDrawn> DrawAfter(int steps)
    {
        m_fonts.m_drawn.clear();
        Step(steps);
        m_player->Draw();
        return m_fonts.m_drawn;
    }

    CStringTable m_table;
};
} // namespace

TEST_F(CasText, LinesAreDrawnOneLineHeightApartAtRoundedPositionsInTheKeyColour)
{
    WriteSource("text.cas", R"(animation
{
    text
    {
        line     Hello
        line     %s at 100%%
        length   10
        font     2
        position 0, 100.4, 50.6, 0.5
        position 4, 20, 30.5, 0
        colour   0, 255, 10, 20, 30
    }
})");
    int slot = LoadPlayable("text.cas");
    ASSERT_TRUE(m_player->Play(slot, false));
    std::vector<CRecordingCasFonts::SDrawn> drawn = DrawAfter(1);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].font, 2);
    EXPECT_EQ(drawn[0].text, u"Hello");
    EXPECT_EQ(drawn[0].x, 100.0f);
    EXPECT_EQ(drawn[0].y, 51.0f);
    EXPECT_EQ(drawn[0].z, 0.5f);
    EXPECT_EQ(drawn[0].colour, 0xFF0A141Eu);
    // A line from data is never a format: only "%%" changes.
    EXPECT_EQ(drawn[1].text, u"%s at 100%");
    EXPECT_EQ(drawn[1].x, 100.0f);
    EXPECT_EQ(drawn[1].y, 63.0f);
    drawn = DrawAfter(4); // step 4; 30.5 rounds away from zero
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].x, 20.0f);
    EXPECT_EQ(drawn[0].y, 31.0f);
    EXPECT_EQ(drawn[1].y, 43.0f);
    ASSERT_TRUE(m_player->Stop(slot));
    EXPECT_TRUE(DrawAfter(1).empty());
}

TEST_F(CasText, CentredLinesAreMeasuredWithTheirFont)
{
    WriteSource("centre.cas", R"(animation
{
    text
    {
        line Centred
        line Hi
        length 5
        position 0, 10, 200, 0
    }
})");
    int slot = LoadPlayable("centre.cas");
    ASSERT_TRUE(m_player->CentreText(slot));
    ASSERT_TRUE(m_player->Play(slot, false));
    std::vector<CRecordingCasFonts::SDrawn> drawn = DrawAfter(1);
    ASSERT_EQ(drawn.size(), 2u);
    // Glyphs are 7 wide: 320 - 49 / 2 and 320 - 14 / 2, in whole units.
    EXPECT_EQ(drawn[0].x, 296.0f);
    EXPECT_EQ(drawn[1].x, 313.0f);
    EXPECT_EQ(drawn[0].y, 200.0f);
    EXPECT_EQ(drawn[0].font, 4);
}

TEST_F(CasText, FontIndexesOutsideTheGuiFontsAndMissingFontsUseTheSystemFont)
{
    const struct
    {
        int32_t index;
        int drawnWith;
    } cases[] = {{-1, 4}, {0, 0}, {3, 3}, {1, 4}, {4, 4}, {7, 4}, {-2, 4}};
    m_fonts.m_missing[1] = true;
    SCasAnimation animation;
    for (const auto& c : cases)
    {
        SCasTextTrack track;
        track.m_lines.resize(1);
        track.m_lines[0].AssignNarrow("x");
        track.m_clock.m_length = 3;
        track.m_font = c.index;
        animation.m_textTracks.push_back(track);
    }
    WriteAnimation("fonts.cas", animation);
    int slot = LoadPlayable("fonts.cas");
    ASSERT_TRUE(m_player->Play(slot, false));
    std::vector<CRecordingCasFonts::SDrawn> drawn = DrawAfter(1);
    ASSERT_EQ(drawn.size(), std::size(cases));
    for (size_t i = 0; i < drawn.size(); ++i)
        EXPECT_EQ(drawn[i].font, cases[i].drawnWith) << cases[i].index;
    // Without fonts nothing is drawn.
    m_player->SetFontSource(nullptr);
    EXPECT_TRUE(DrawAfter(1).empty());
}

TEST_F(CasText, KeyLinesShowTheTableTextAndStartTheirVoiceOncePerPlay)
{
    UseStrings("[English]\n__Greeting = Welcome aboard | voice/greet.ogg\n__Quiet = No voice here\n");
    WriteSource("voice.cas", R"(animation
{
    text
    {
        line   __Greeting
        line   plain words
        line   __Quiet
        line   __Missing
        length 10
        colour 0, 0, 255, 255, 255
        colour 5, 255, 255, 255, 255
    }
})");
    int slot = LoadPlayable("voice.cas");
    const SCasTextTrack& track = m_player->GetAnimation(slot)->m_textTracks[0];
    ASSERT_EQ(track.m_shownLines.size(), 4u);
    EXPECT_EQ(std::u16string(track.m_shownLines[0].GetText()), u"Welcome aboard");
    EXPECT_EQ(std::u16string(track.m_shownLines[1].GetText()), u"plain words");
    EXPECT_EQ(std::u16string(track.m_shownLines[2].GetText()), u"No voice here");
    EXPECT_EQ(std::u16string(track.m_shownLines[3].GetText()), u"__Missing");
    EXPECT_EQ(std::u16string(track.m_voice.GetText()), u"voice/greet.ogg");

    for (int round = 0; round < 2; ++round)
    {
        ASSERT_TRUE(m_player->Play(slot, true));
        Step(5); // steps 0 to 4: transparent
        EXPECT_FALSE(track.m_voiceStarted);
        Step(1);
        EXPECT_TRUE(track.m_voiceStarted);
    }
}
