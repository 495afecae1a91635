// Text tracks in the game draw with the GUI manager's fonts, exactly as those fonts
// draw the same text themselves.

#include "presentation/AnimationManager.h"
#include "presentation/CasFile.h"
#include "presentation/GuiManager.h"
#include "presentation/GuiSkinFile.h"
#include "tests/presentation/FontFixture.h"

#include <cstring>

namespace
{
class CasGuiFonts : public CFontTest
{
protected:
    // The recorded vertices of every draw since the last clear, in order.
    std::vector<SScreenVertex> Vertices() const
    {
        std::vector<SScreenVertex> all;
        for (const SRecordedDraw& draw : m_renderer->m_draws)
            all.insert(all.end(), draw.vertices.begin(), draw.vertices.end());
        return all;
    }

    static SCasTextTrack Track(std::vector<const char*> lines, int32_t font, float x, float y)
    {
        SCasTextTrack track;
        for (const char* line : lines)
        {
            track.m_lines.emplace_back();
            track.m_lines.back().AssignNarrow(line);
        }
        track.m_clock.m_length = 4;
        track.m_font = font;
        track.m_position.m_keys.push_back({0, x, y, 0.25f});
        track.m_colour.m_keys.push_back({0, 255, 255, 0, 0});
        return track;
    }
};

bool SameVertices(const std::vector<SScreenVertex>& a, const std::vector<SScreenVertex>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(a[0])) == 0);
}
} // namespace

TEST_F(CasGuiFonts, TextTracksDrawWithTheGuisFontsAsTheFontsDrawThemselves)
{
    MakeRenderer(800); // GUI units scaled by 1.25
    m_folder.WriteTinyFont();
    CGuiManager gui(*m_renderer);
    SGuiSkinDefinition skin;
    skin.systemFont = "tiny";
    skin.fonts[2].named = true;
    skin.fonts[2].name = "tiny";
    skin.fonts[2].defaultVerticalFudge = 3;
    ASSERT_TRUE(gui.LoadSkinFonts(skin));
    ASSERT_NE(gui.GetFont(2), nullptr);
    ASSERT_EQ(gui.GetFont(1), nullptr);

    SCasAnimation plain;
    plain.m_textTracks.push_back(Track({"AB", "1%%"}, 2, 10.4f, 20.6f));
    plain.m_textTracks.push_back(Track({"B"}, 1, 30, 40)); // font 1 is not loaded: the system font
    SCasAnimation centred;
    centred.m_textTracks.push_back(Track({"AB1"}, -1, 0, 100));
    for (const auto& file : {std::make_pair("plain.cas", &plain), std::make_pair("centred.cas", &centred)})
    {
        const std::vector<uint8_t> bytes = WriteCasAnimation(*file.second);
        ASSERT_TRUE(m_folder.GetDir().WriteFile(file.first, std::string(bytes.begin(), bytes.end())));
    }

    CAnimationManager player;
    int first = -1, second = -1;
    ASSERT_TRUE(player.Load("plain.cas", first));
    ASSERT_TRUE(player.Load("centred.cas", second));
    ASSERT_TRUE(player.CentreText(second));
    ASSERT_TRUE(player.Play(second, false));
    ASSERT_TRUE(player.Play(first, false)); // drawn first: most recently started
    player.Update();
    m_renderer->ClearRecords();
    player.Draw();
    const std::vector<SScreenVertex> drawn = Vertices();
    ASSERT_FALSE(drawn.empty());

    // The same by hand: rounded positions, lines the height of "A" apart (8), "%%"
    // shown as "%", and "AB1" centred by its measure (7 + 6 + 5 = 18).
    m_renderer->ClearRecords();
    CFont& two = *gui.GetFont(2);
    CFont& system = gui.GetSystemFont();
    two.DrawTextWide(10, 21, 0.25f, u"AB", 0xFFFF0000);
    two.DrawTextWide(10, 29, 0.25f, u"1%", 0xFFFF0000);
    system.DrawTextWide(30, 40, 0.25f, u"B", 0xFFFF0000);
    system.DrawTextWide(311, 100, 0.25f, u"AB1", 0xFFFF0000);
    EXPECT_TRUE(SameVertices(drawn, Vertices()));

    // Without the GUI nothing is drawn.
    g_gui = nullptr;
    m_renderer->ClearRecords();
    player.Draw();
    EXPECT_TRUE(m_renderer->m_draws.empty());
    g_gui = &gui;
}
