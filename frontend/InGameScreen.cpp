#include "frontend/InGameScreen.h"

#include "core/WString.h"
#include "core/WideFormat.h"
#include "frontend/GameFlow.h"
#include "frontend/PlayerShipAccess.h"
#include "ships/StationFlowLink.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/HudLink.h"
#include "world/TextPageLink.h"
#include "world/World.h"
#include "world/ZoneLink.h"

namespace
{
constexpr uint32_t TEXT_FIRST_SHIP = 0xdc000000;
constexpr uint32_t TEXT_NO_SHIP[CInGameScreen::SHIP_SLOTS] = {0, 0x4a000002, 0xac000004, 0xaa000005};
constexpr uint32_t TEXT_SLOT_STATE[] = {0x25000003, 0x83000001, 0x8c000003, 0xd6000004};
constexpr int BOSS_CHAT_PAGE = 64;

std::u16string FormatPercent(int percent)
{
    CWString text;
    FormatWide(text, u"%i%%", percent);
    return std::u16string(text.GetText());
}

CGameObject* FindStation(CGame& game)
{
    CWorld* world = game.GetWorld();
    return world ? world->GetObject(game.GetStationHandle()) : nullptr;
}
} // namespace

CInGameScreen::CInGameScreen(CGameFlow& flow) : CFrontEndScreen(flow, SCREEN_IN_GAME, LAYOUT)
{
}

int CInGameScreen::GetHullPercent(int32_t stored, int32_t full)
{
    if (full <= 0 || stored <= 0)
        return 0;
    const float share = static_cast<float>(stored) / static_cast<float>(full) * 100.0f;
    if (share > 0.0001f && share < 1.0f)
        return 1;
    return static_cast<int>(share);
}

int32_t CInGameScreen::GetRepairCost(int32_t stored, int32_t full)
{
    int32_t missing = full - stored;
    if (missing <= 0)
        return 0;
    if (missing > full / 10)
        missing = full / 10;
    const int32_t cost = missing / 10;
    return cost < 1 ? 1 : cost;
}

int32_t CInGameScreen::GetRepairedHull(int32_t stored, int32_t full, int32_t paid)
{
    int32_t missing = full - stored;
    if (missing <= 0 || paid <= 0)
        return stored;
    if (missing > full / 10)
        missing = full / 10;
    const int32_t mended = 10 * paid < missing ? 10 * paid : missing;
    return stored + mended < full ? stored + mended : full;
}

void CInGameScreen::Show()
{
    m_flow.GetAlarm(CGameFlow::ALARM_HIT).PlayAt(false, nullptr);
    ShowPage();
    RefreshShips();
    const int current = m_flow.GetGame().GetZones().GetCurrentShip();
    m_page.Focus(current >= 1 && current <= SHIP_SLOTS ? FIRST_SHIP + current - 1 : LAUNCH);
    RefreshStation();
    RefreshResearch();
    ArmInputGate();
}

// Launch keeps to its rule for as long as the menu is open, not only as it opens: the
// world stands still under the menu, but the tutorial's steps go on.
void CInGameScreen::Update()
{
    if (const CGameObject* station = FindStation(m_flow.GetGame()))
        RefreshLaunch(*station);
}

void CInGameScreen::Hide()
{
    m_flow.GetAlarm(CGameFlow::ALARM_HIT).Stop();
    CFrontEndScreen::Hide();
}

void CInGameScreen::RefreshShips()
{
    CCampaignFlowLink& campaign = m_flow.GetCampaign();
    for (int slot = 1; slot <= SHIP_SLOTS; ++slot)
    {
        const int button = FIRST_SHIP + slot - 1;
        const int repair = FIRST_REPAIR + slot - 1;
        const int hull = FIRST_HULL + slot - 1;
        const bool owned = IsDesignPresent(slot);
        m_page.SetEnabled(button, owned);
        m_page.SetEnabled(repair, owned);
        if (!owned)
        {
            if (TEXT_NO_SHIP[slot - 1])
                m_page.SetTextById(button, TEXT_NO_SHIP[slot - 1]);
            m_page.SetText(hull, u"...");
            continue;
        }
        if (slot == 1)
            m_page.SetTextById(button, TEXT_FIRST_SHIP);
        else
            m_page.SetText(button, GetDesignName(slot));
        m_page.SetText(hull, FormatPercent(GetHullPercent(campaign.GetStoredHull(slot), GetDesignHullHealth(slot))));
    }
}

// The station's hull and the launch button. Without a station both stay as they were.
void CInGameScreen::RefreshStation()
{
    CGame& game = m_flow.GetGame();
    CGameObject* station = FindStation(game);
    if (!station)
        return;
    const CStationFlowLink& link = GetStationFlowLink();
    m_page.SetText(STATION_HULL, FormatPercent(GetHullPercent(link.GetHull(*station), link.GetFullHull(*station))));
    RefreshLaunch(*station);
}

// Launch is allowed when the station calls for attention or the tutorial is at one of
// its launching steps, never at step 9.
void CInGameScreen::RefreshLaunch(const CGameObject& station)
{
    const int step = m_flow.GetDirector().GetTutorialStep();
    const bool launch = (GetStationFlowLink().HasAttention(station) || step == 7 || step == 8 || step == 10) && step != 9;
    m_page.SetEnabled(LAUNCH, launch);
}

void CInGameScreen::RefreshResearch()
{
    const CCampaignFlowLink& campaign = m_flow.GetCampaign();
    m_page.SetTextById(RESEARCH_SLOT_A, TEXT_SLOT_STATE[campaign.GetResearchSlotState(0)]);
    m_page.SetTextById(RESEARCH_SLOT_B, TEXT_SLOT_STATE[campaign.GetResearchSlotState(1)]);
}

void CInGameScreen::HandleEvent(int32_t controlId, int32_t event, int32_t value)
{
    CGame& game = m_flow.GetGame();
    if (game.GetTextPages().IsAnyPageShowing())
        return;
    // At this tutorial step the menu only waits.
    if (m_flow.GetDirector().GetTutorialStep() == 8)
    {
        ArmInputGate();
        return;
    }
    const bool back = event == GUI_EVENT_ACTION && value == GUI_ACTION_BACK;
    if (event != GUI_EVENT_ACTIVATED && !back)
        return;
    if (controlId >= FIRST_SHIP && controlId < FIRST_SHIP + SHIP_SLOTS)
    {
        ChooseShip(controlId - FIRST_SHIP + 1);
        return;
    }
    if (back)
        return;
    if (controlId == LAUNCH)
        Launch();
    else if (controlId >= FIRST_REPAIR && controlId < FIRST_REPAIR + SHIP_SLOTS)
        RepairShip(controlId - FIRST_REPAIR + 1);
    else if (controlId == STATION_REPAIR)
        RepairStation();
}

// At a beaten boss node the zone's boss has more to say before the ship may leave.
// Otherwise launch leaves the node when it can, or returns to flight.
void CInGameScreen::Launch()
{
    CGame& game = m_flow.GetGame();
    CZoneLink& zones = game.GetZones();
    if (zones.IsAtBossNode() && zones.IsBossBeaten())
    {
        if (!m_flow.GetDirector().HasChatPage())
            m_flow.GetDirector().StartChatPage(BOSS_CHAT_PAGE);
        return;
    }
    // Once the station calls for attention, launch is the jump out of the node: the
    // station leaves with the ship aboard and the zone map follows.
    if (m_flow.JumpWithStation())
        return;
    m_flow.SetMode(GAME_MODE_FLIGHT);
}

void CInGameScreen::ChooseShip(int slot)
{
    if (!IsDesignFlyable(slot))
        return;
    CCampaignFlowLink& campaign = m_flow.GetCampaign();
    if (campaign.GetStoredHull(slot) <= 0)
        campaign.SetStoredHull(slot, 1);
    m_flow.GetGame().GetZones().SetCurrentShip(slot);
    m_flow.SetMode(GAME_MODE_FLIGHT);
}

void CInGameScreen::RepairShip(int slot)
{
    if (!IsDesignPresent(slot))
        return;
    CCampaignFlowLink& campaign = m_flow.GetCampaign();
    const int32_t full = GetDesignHullHealth(slot);
    const int32_t stored = campaign.GetStoredHull(slot);
    const int32_t cost = GetRepairCost(stored, full);
    if (cost <= 0)
        return;
    const int32_t paid = campaign.SpendGems(cost);
    campaign.SetStoredHull(slot, GetRepairedHull(stored, full, paid));
    RefreshShips();
}

void CInGameScreen::RepairStation()
{
    CGame& game = m_flow.GetGame();
    CGameObject* station = FindStation(game);
    if (!station)
        return;
    const CStationFlowLink& link = GetStationFlowLink();
    const int32_t full = link.GetFullHull(*station);
    const int32_t stored = link.GetHull(*station);
    const int32_t cost = GetRepairCost(stored, full);
    if (cost <= 0)
        return;
    const int32_t paid = m_flow.GetCampaign().SpendGems(cost);
    const int32_t repaired = GetRepairedHull(stored, full, paid);
    link.SetHull(*station, repaired);
    RefreshStation();
    game.GetHud().SetGauge(HUD_GAUGE_STATION_HEALTH, static_cast<float>(full), static_cast<float>(repaired));
}
