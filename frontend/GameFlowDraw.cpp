// The game flow's drawing, after the sprite bank: in the front end its overlay, and
// last in every mode the director's sequences and the shell's own texts.

#include "core/Version.h"
#include "core/WString.h"
#include "core/WideFormat.h"
#include "frontend/GameFlow.h"
#include "frontend/ScreenLayout.h"
#include "presentation/Font.h"
#include "presentation/GuiManager.h"
#include "world/Game.h"
#include "world/GalaxyMap.h"
#include "world/ZoneLink.h"
#include "world/ZoneManager.h"

namespace
{
constexpr uint32_t MESSAGE_TEXT = 0x11000006;  // with the pilot's name
constexpr uint32_t TIME_LABEL = 0xdb000000;
constexpr float MESSAGE_Y = 200.0f;
constexpr float VERSION_X = 10.0f;
constexpr float VERSION_Y = 460.0f;
constexpr float TIME_X = 250.0f;
constexpr float TIME_Y = 440.0f;
constexpr uint32_t WHITE = 0xFFFFFFFF;

std::u16string Widen(const char* text)
{
    std::u16string wide;
    for (; text && *text; ++text)
        wide.push_back(static_cast<unsigned char>(*text));
    return wide;
}
} // namespace

// "%s %02i:%02i:%02i" after a label, of a time in ms, in the GUI's font 0.
void DrawRunTime(uint32_t labelId, uint32_t ms, float x, float y)
{
    if (!g_gui)
        return;
    const uint32_t seconds = ms / 1000;
    const std::u16string label = LookUpText(labelId);
    CWString text;
    FormatWide(text, u"%s %02i:%02i:%02i", label.c_str(), static_cast<int>(seconds / 3600),
               static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    g_gui->GetFontOrSystem(0).DrawDataTextWide(x, y, 0.0f, text.GetText(), WHITE);
}

// The galaxy map's rock gauges show on the zone map's screen; the gem gauges on the
// research and stores screens, which fill and place them (GemGauges.h).
void CGameFlow::DrawFrontEnd()
{
    if (m_screenId == SCREEN_ZONE_MAP)
        if (CZoneManager* zones = m_game.GetZoneManager())
            zones->GetGalaxyMap().DrawGauges();
    if (m_screenId == SCREEN_RESEARCH || m_screenId == SCREEN_STORES)
        for (const CHudBar& gauge : m_gemGauges)
            gauge.Draw(0.0f, 0.0f, true);
    // The slots' progress graphs belong to the research screen.
    if (m_screenId == SCREEN_RESEARCH)
        GetCampaign().DrawResearchProgress();
}

void CGameFlow::Draw()
{
    GetDirector().Draw();
    DrawTexts();
}

void CGameFlow::DrawTexts()
{
    if (!g_gui)
        return;
    CFont& font = g_gui->GetFontOrSystem(0);
    const uint32_t now = m_game.GetTime();
    if (m_messageUntil && !HasTimeCome(now, m_messageUntil))
    {
        const std::u16string format = LookUpText(MESSAGE_TEXT);
        const std::u16string name = Widen(m_game.GetZones().GetPilotName());
        CWString text;
        FormatWide(text, format.c_str(), name.c_str());
        const float width = static_cast<float>(font.MeasureTextWide(text.GetText()));
        font.DrawDataTextWide(320.0f - width / 2.0f, MESSAGE_Y, 0.0f, text.GetText(), WHITE);
    }
    GetDirector().DrawHintLine();
    if (m_mode == GAME_MODE_FRONT_END && m_screenId == SCREEN_MAIN_MENU && !GetDirector().IsSequencePlaying())
        g_gui->GetSystemFont().DrawDataText(VERSION_X, VERSION_Y, 0.0f, TESSAVAR_VERSION, WHITE);
    if (m_mode != GAME_MODE_FLIGHT)
        return;
    const SRunState& run = m_game.GetRun();
    if (run.quickShip)
        DrawRunTime(TIME_LABEL, now - run.clockCopy, TIME_X, TIME_Y);
    if (run.survival)
    {
        m_survival.Update(*this);
        if (m_mode == GAME_MODE_FLIGHT)
            m_survival.DrawTexts(*this);
    }
}
