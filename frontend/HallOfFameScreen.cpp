#include "frontend/HallOfFameScreen.h"

#include "core/DataTree.h"
#include "core/WideFormat.h"
#include "frontend/GameFlow.h"
#include "frontend/HallOfFame.h"
#include "presentation/GuiTypes.h"

namespace
{
constexpr uint32_t MINUTE_MS = 60000;
const char16_t* const NO_ENTRY = u"...";
} // namespace

CHallOfFameScreen::CHallOfFameScreen(CGameFlow& flow) : CFrontEndScreen(flow, SCREEN_HALL_OF_FAME, LAYOUT)
{
}

std::u16string CHallOfFameScreen::FormatBestTime(uint32_t ms)
{
    const int seconds = static_cast<int>(ms / 1000);
    CWString text;
    if (ms >= MINUTE_MS)
        FormatWide(text, LookUpText(TEXT_BEST_MINUTES).c_str(), seconds / 60, seconds % 60);
    else
        FormatWide(text, LookUpText(TEXT_BEST_SECONDS).c_str(), seconds);
    return std::u16string(text.GetText());
}

int CHallOfFameScreen::GetEntryOfButton(int32_t controlId)
{
    const int offset = controlId - FIRST_ENTRY;
    if (offset < 0 || offset % 3 != 0 || offset / 3 >= HALL_OF_FAME_SIZE)
        return -1;
    return offset / 3;
}

void CHallOfFameScreen::Show()
{
    ShowPage();
    m_page.Focus(FIRST_ENTRY);
    m_flow.GetDirector().PlaySequence(SEQUENCE_HALL_OF_FAME, false, 0);
    const CCampaignFlowLink& campaign = m_flow.GetCampaign();
    m_page.SetText(BEST_TIME, FormatBestTime(campaign.GetBestQuickActionTime()));
    for (int k = 0; k < HALL_OF_FAME_SIZE; ++k)
    {
        const int button = FIRST_ENTRY + 3 * k;
        const SPilotRecord* entry = campaign.GetHallOfFameEntry(k);
        if (!entry || entry->score == 0)
        {
            m_page.SetText(button + 1, NO_ENTRY);
            m_page.SetText(button + 2, NO_ENTRY);
            continue;
        }
        m_page.SetText(button + 1, WidenToU16(entry->name, PILOT_NAME_SIZE));
        CWString score;
        FormatWide(score, u"%i", static_cast<int>(entry->score));
        m_page.SetText(button + 2, score.GetText());
    }
    ArmInputGate();
}

void CHallOfFameScreen::Hide()
{
    CFrontEndScreen::Hide();
    m_flow.GetDirector().StopSequence();
}

void CHallOfFameScreen::HandleEvent(int32_t controlId, int32_t event, int32_t value)
{
    const int entry = GetEntryOfButton(controlId);
    if (event == GUI_EVENT_ACTION)
    {
        if (entry >= 0)
            FocusBackOnBackAction(event, value, BACK);
        return;
    }
    if (event != GUI_EVENT_ACTIVATED)
        return;
    if (controlId == BACK)
        LeavePageFor(SCREEN_MAIN_MENU);
    else if (entry >= 0)
    {
        m_flow.GetCampaign().SetShownEntry(entry, 0);
        LeavePageFor(SCREEN_GRAV_DRIVE);
    }
}
