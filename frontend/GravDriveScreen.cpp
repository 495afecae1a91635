#include "frontend/GravDriveScreen.h"

#include "core/WString.h"
#include "core/WideFormat.h"
#include "frontend/Campaign.h"
#include "frontend/GameCampaign.h"
#include "frontend/GameFlow.h"
#include "frontend/ScoreCode.h"
#include "presentation/GuiImage.h"
#include "presentation/GuiManager.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace
{
const char* const MEDALS[3][2] = {
    {"data/frontend/fame/medal1.tga", "data/frontend/fame/medalFront1.tga"},
    {"data/frontend/fame/medal2.tga", "data/frontend/fame/medalFront2.tga"},
    {"data/frontend/fame/medal3.tga", "data/frontend/fame/medalFront3.tga"},
};
const char* const STAR[2] = {"data/frontend/fame/star.tga", "data/frontend/fame/starFront.tga"};

std::u16string FormatInt(const char16_t* format, int value)
{
    CWString text;
    FormatWide(text, format, value);
    return text.GetText();
}

// Hours, minutes and seconds of a time in ms.
std::u16string FormatTime(uint32_t ms)
{
    const uint32_t seconds = ms / 1000;
    CWString text;
    FormatWide(text, u"%02i:%02i:%02i", static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
               static_cast<int>(seconds % 60));
    return text.GetText();
}

std::u16string Widen(const char* text, size_t size)
{
    std::u16string wide;
    for (size_t i = 0; i < size && text[i]; ++i)
        wide.push_back(static_cast<unsigned char>(text[i]));
    return wide;
}
} // namespace

CGravDriveScreen::CGravDriveScreen(CGameFlow& flow) : CFrontEndScreen(flow, SCREEN_GRAV_DRIVE, LAYOUT) {}

void CGravDriveScreen::Load()
{
    CFrontEndScreen::Load();
    for (int t = 0; t < TALLIES; ++t)
        m_tallyLabels[t] = m_page.GetText(TALLY_FIRST + 2 * t);
}

// The running pilot's record when the station asked (no hall-of-fame entry chosen),
// else the hall of fame's entry; false when that entry is not there.
bool CGravDriveScreen::TakeRecord()
{
    CCampaignFlowLink& campaign = m_flow.GetCampaign();
    const int entry = campaign.GetShownEntry();
    m_fromStation = entry < 0;
    if (m_fromStation)
    {
        campaign.RefreshPilotRecord();
        if (const CCampaign* running = GetGameCampaign())
        {
            m_record.CopyFrom(running->GetPilot());
            return true;
        }
        return false;
    }
    const SPilotRecord* record = campaign.GetHallOfFameEntry(entry);
    if (record)
        m_record.CopyFrom(*record);
    return record != nullptr;
}

void CGravDriveScreen::Show()
{
    if (!TakeRecord())
        m_record.Clear();
    // Escape leads from the station's record to the bridge, from the hall's to the
    // main menu.
    m_flow.SetGravDriveLeave(m_fromStation);
    ShowPage();
    m_page.Focus(BACK);
    const int zone = std::clamp<int>(m_record.reachedZone, 0, PILOT_MAX_REACHED_ZONE);
    m_flow.GetDirector().PlaySequence(SEQUENCE_FIRST_STILL + zone, false, 0);
    ShowRecord();
    ArmInputGate();
}

void CGravDriveScreen::Hide()
{
    CFrontEndScreen::Hide();
    m_flow.GetDirector().StopSequence();
}

void CGravDriveScreen::ShowRecord()
{
    m_page.SetText(NAME, Widen(m_record.name, sizeof(m_record.name)));
    m_page.SetText(SCORE, FormatInt(u"%i", static_cast<int>(m_record.score)));
    m_page.SetText(TIME, FormatTime(m_record.playTime));
    const int32_t stats[6] = {m_record.progress[PILOT_KILLS],          m_record.campaignValue,
                              m_record.reachedZone,                    m_record.progress[PILOT_GEMS_COLLECTED],
                              m_record.progress[PILOT_SHIPS_BUILT],    m_record.progress[PILOT_SAVES]};
    for (int i = 0; i < 6; ++i)
        m_page.SetText(STAT_FIRST + i, FormatInt(u"%i", static_cast<int>(stats[i])));
    const int difficulty = std::clamp<int>(m_record.difficulty, 0, 2);
    m_page.SetTextById(DIFFICULTY, DIFFICULTY_TEXT[difficulty]);
    ShowTallies();
    ShowMedals();
    ShowShips();
}

void CGravDriveScreen::ShowTallies()
{
    for (int t = 0; t < TALLIES; ++t)
    {
        const int32_t tally = m_record.arrayA[t];
        const int label = TALLY_FIRST + 2 * t;
        if (tally == -1)
        {
            m_page.SetText(label, LookUpText(TALLY_UNSET_TEXT[t]));
            m_page.SetText(label + 1, u"?");
            continue;
        }
        m_page.SetText(label, m_tallyLabels[t]);
        CWString text;
        FormatWide(text, u"%i ( %i )", static_cast<int>(tally), static_cast<int>(TALLY_AVAILABLE[t]));
        m_page.SetText(label + 1, text.GetText());
    }
}

void CGravDriveScreen::ShowMedals()
{
    bool allTallies = true;
    for (int t = 0; t < TALLIES; ++t)
        allTallies = allTallies && m_record.arrayA[t] != -1;
    const bool earned[3] = {m_record.reachedZone >= FIRST_MEDAL_ZONE, allTallies,
                            m_record.campaignValue >= THIRD_MEDAL_CREW};
    for (int m = 0; m < 3; ++m)
        SetPicture(MEDAL_FIRST + m, MEDALS[m][earned[m] ? 1 : 0]);
    for (int t = 0; t < TALLIES; ++t)
        SetPicture(MEDAL_FIRST + 3 + t, STAR[m_record.arrayA[t] != -1 ? 1 : 0]);
}

void CGravDriveScreen::SetPicture(int controlId, const char* file)
{
    if (CGuiStaticImage* image = dynamic_cast<CGuiStaticImage*>(m_page.Find(controlId)))
        image->SetImage(file);
}

// A row for each ship the record lists (a lost ship too): its name, kills and flight
// time; the other rows stay empty.
void CGravDriveScreen::ShowShips()
{
    for (int row = 0; row < PILOT_SHIP_TABLE_SIZE; ++row)
    {
        const SPilotShipEntry& ship = m_record.ships[row];
        const int id = SHIP_FIRST + SHIP_ROW_IDS * row;
        const bool shown = ship.status != PILOT_SHIP_REMOVED;
        m_page.SetText(id, shown ? Widen(ship.name, sizeof(ship.name)) : std::u16string());
        m_page.SetText(id + 1, shown ? FormatInt(u"%i", static_cast<int>(ship.value)) : std::u16string());
        m_page.SetText(id + 2, shown ? FormatTime(ship.secondValue) : std::u16string());
    }
}

void CGravDriveScreen::HandleEvent(int32_t controlId, int32_t event, int32_t /*value*/)
{
    if (event != GUI_EVENT_ACTIVATED)
        return;
    if (m_popup.IsLoaded())
    {
        if (controlId == CODE_CLOSE)
            ClosePopup(BACK);
        ArmInputGate();
        return;
    }
    if (controlId == SCORE_CODE)
    {
        if (OpenPopup(CODE_POPUP, CODE_CLOSE))
        {
            std::string code = FormatScoreCode(MakeScoreCode(m_record.score, SCORE_CODE_CAMPAIGN, m_record.name));
            code.resize(std::min<size_t>(code.size(), 32));
            std::u16string text;
            for (const char c : code)
                text.push_back(static_cast<char16_t>(std::toupper(static_cast<unsigned char>(c))));
            m_popup.SetText(CODE_TEXT, text);
        }
        ArmInputGate();
        return;
    }
    if (controlId != BACK)
        return;
    LeavePageFor(m_fromStation ? SCREEN_STATION : SCREEN_HALL_OF_FAME);
}
