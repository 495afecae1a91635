#include "frontend/ZoneMapScreen.h"

#include "frontend/Campaign.h"
#include "frontend/GameCampaign.h"
#include "frontend/GameFlow.h"
#include "frontend/ResearchRules.h"
#include "presentation/GuiControl.h"
#include "presentation/GuiManager.h"
#include "world/Controls.h"
#include "world/Game.h"
#include "world/HudLink.h"
#include "world/ZoneDefinition.h"
#include "world/ZoneManager.h"
#include "world/ZoneNode.h"

namespace
{
// The back action of the game's controls (W or the right button).
constexpr int ACTION_BACK = 1;
} // namespace

void CZoneMapScreen::CPanelTexts::SetText(int controlId, const std::u16string& text)
{
    m_panel.SetText(controlId, text);
}

void CZoneMapScreen::CPanelTexts::PlaceText(int controlId, const CVector2D& position)
{
    CGuiControl* control = m_panel.Find(controlId);
    if (!control)
        return;
    SGuiRect rect = control->GetRect();
    rect.x = static_cast<int32_t>(position.x);
    rect.y = static_cast<int32_t>(position.y);
    control->SetRect(rect);
}

void CZoneMapScreen::CPanelTexts::ShowText(int controlId, bool shown)
{
    m_panel.SetVisible(controlId, shown);
}

CZoneMapScreen::CZoneMapScreen(CGameFlow& flow) : CFrontEndScreen(flow, SCREEN_ZONE_MAP, LAYOUT), m_texts(m_panel)
{
}

CZoneMapScreen::~CZoneMapScreen()
{
    if (CGalaxyMap* map = GetMap())
    {
        map->Hide();
        map->SetTexts(nullptr);
        map->SetEnabled(true);
    }
    m_panel.Destroy();
}

CGalaxyMap* CZoneMapScreen::GetMap() const
{
    CZoneManager* zones = m_flow.GetGame().GetZoneManager();
    return zones ? &zones->GetGalaxyMap() : nullptr;
}

void CZoneMapScreen::Load()
{
    CFrontEndScreen::Load();
    m_panel.Load(PANEL_LAYOUT, m_id);
    m_panel.SetVisible(PANEL, false);
    if (CGalaxyMap* map = GetMap())
        map->SetTexts(&m_texts);
}

bool CZoneMapScreen::IsTutorialMapStep() const
{
    const int step = m_flow.GetDirector().GetTutorialStep();
    return step == TUTORIAL_STEP_JUMP || step == TUTORIAL_STEP_FIRST_MAP;
}

void CZoneMapScreen::Show()
{
    m_flow.GetDirector().PlaySequence(SEQUENCE_BACKDROP, false, -1);
    ShowPage();
    m_panel.SetVisible(PANEL, true);
    m_flow.GetGame().GetHud().Show(true);
    m_jumpRequested = false;
    m_mapView = false;
    m_markerShown = false;
    m_page.SetVisible(MARKER, false);
    m_nextBlink = GetScreenTime() + BLINK_MS;
    m_backWasDown = true;
    const int step = m_flow.GetDirector().GetTutorialStep();
    if (CGalaxyMap* map = GetMap())
    {
        map->SetTexts(&m_texts);
        map->SetView(MAP_VIEW_ZONE);
        map->SetEnabled(false);
        map->Show();
    }
    if (step == TUTORIAL_STEP_JUMP)
    {
        StartMapView();
        m_page.SetEnabled(JUMP, true);
        m_page.Focus(JUMP);
    }
    else if (step == TUTORIAL_STEP_FIRST_MAP)
    {
        StartMapView();
        m_page.SetEnabled(BACK, true);
        m_page.Focus(BACK);
    }
    else
    {
        SetButtons(true);
        m_page.Focus(BACK);
    }
    // The zone's information is no help while the tutorial runs.
    if (m_flow.GetDirector().GetProgressStage() == STAGE_TUTORIAL)
        m_page.SetEnabled(INFO, false);
    ArmInputGate();
}

void CZoneMapScreen::Hide()
{
    CloseInfo();
    CFrontEndScreen::Hide();
    m_panel.SetVisible(PANEL, false);
    if (CGalaxyMap* map = GetMap())
    {
        map->Hide();
        map->SetEnabled(false);
    }
    m_flow.GetGame().GetHud().Show(false);
    m_flow.GetDirector().StopSequence();
    m_mapView = false;
    m_jumpRequested = false;
}

void CZoneMapScreen::SetButtons(bool enabled)
{
    for (int id = BACK; id <= INFO; ++id)
        m_page.SetEnabled(id, enabled);
}

// The map takes the keys: the buttons lose the focus and are disabled; on a transfer
// node the view opens on the galaxy.
void CZoneMapScreen::StartMapView()
{
    m_mapView = true;
    SetButtons(false);
    if (g_gui)
        g_gui->SetFocus(-1);
    m_backWasDown = true;
    if (CGalaxyMap* map = GetMap())
    {
        map->SetView(GetTransferZone() >= 0 ? MAP_VIEW_GALAXY : MAP_VIEW_ZONE);
        map->SetEnabled(true);
        map->Show();
    }
    ArmInputGate();
}

void CZoneMapScreen::EndMapView()
{
    m_mapView = false;
    if (CGalaxyMap* map = GetMap())
    {
        map->SetEnabled(false);
        map->ChooseTarget(MAP_NO_TARGET);
        map->Show();
    }
    SetButtons(true);
    if (m_flow.GetDirector().GetProgressStage() == STAGE_TUTORIAL)
        m_page.SetEnabled(INFO, false);
    m_page.Focus(BACK);
    ArmInputGate();
}

void CZoneMapScreen::OpenInfo()
{
    if (OpenPopup(INFO_POPUP, INFO_CLOSE))
        m_flow.SetChatClosed(false);
}

void CZoneMapScreen::CloseInfo()
{
    if (!m_popup.IsLoaded())
        return;
    ClosePopup(INFO);
    m_flow.SetChatClosed(true);
}

// The back action of the game's controls, on its press.
bool CZoneMapScreen::IsBackActionPressed()
{
    const SControlAction& action = m_flow.GetGame().GetControls().GetAction(ACTION_BACK);
    const bool down = action.down || action.held;
    const bool pressed = down && !m_backWasDown;
    m_backWasDown = down;
    return pressed;
}

void CZoneMapScreen::Update()
{
    UpdateIndicators();
    UpdateSlotTexts();
    if (m_popup.IsLoaded())
        m_flow.SetChatClosed(false);
    UpdateMarker();
    CGalaxyMap* map = GetMap();
    if (!map)
        return;
    const bool requested = m_jumpRequested;
    m_jumpRequested = false;
    map->Update(requested);
    if (m_flow.GetCurrentScreenId() != SCREEN_ZONE_MAP || !map->IsShown())
        return;
    if (map->TakeJumpFinished())
    {
        m_page.SetEnabled(BACK, true);
        m_page.SetEnabled(MAP_VIEW, true);
        if (!IsTutorialMapStep())
        {
            m_page.SetEnabled(JUMP, true);
            m_page.SetEnabled(INFO, m_flow.GetDirector().GetProgressStage() != STAGE_TUTORIAL);
        }
    }
    // The back action while the map has the keys: from the galaxy to the zone's map,
    // from there out of the map view.
    const bool back = IsBackActionPressed();
    if (!m_mapView || !back || !IsInputGateOpen() || map->GetJumpState() != MAP_CHOOSING || IsTutorialMapStep())
        return;
    if (map->GetView() == MAP_VIEW_GALAXY)
    {
        map->SetView(MAP_VIEW_ZONE);
        map->Show();
        ArmInputGate();
    }
    else
        EndMapView();
}

// The zone the current node leads into when it is a transfer node, else -1.
int32_t CZoneMapScreen::GetTransferZone() const
{
    CZoneManager* zones = m_flow.GetGame().GetZoneManager();
    const CZoneDefinition* zone = zones ? zones->GetCurrentZone() : nullptr;
    const int32_t node = zones ? zones->GetCurrentNodeIndex() : -1;
    if (!zone || node < 0 || node >= zone->m_map.GetNodeCount())
        return -1;
    const SZoneMapNode& record = zone->m_map.nodes[static_cast<size_t>(node)];
    return record.kind == ZONE_NODE_TRANSFER && record.extra >= 0 && record.extra != zones->GetZoneIndex() ? record.extra
                                                                                                           : -1;
}

// Standing on a transfer node lights one of the two indicators: its way leads into an
// open zone, or into one still closed.
void CZoneMapScreen::UpdateIndicators()
{
    const int32_t leadsTo = GetTransferZone();
    const bool open = leadsTo >= 0 && GetMap() && GetMap()->IsZoneOpen(leadsTo);
    m_page.SetVisible(TRANSFER_OPEN, open);
    m_page.SetVisible(TRANSFER_CLOSED, leadsTo >= 0 && !open);
}

// "Manufacturing:" and "Research:" with the state of their slots, worded as the
// research screen words them.
void CZoneMapScreen::UpdateSlotTexts()
{
    const CCampaign* campaign = GetGameCampaign();
    for (const bool research : {false, true})
    {
        std::u16string text = LookUpText(research ? TEXT_RESEARCH : TEXT_MANUFACTURING);
        if (campaign)
        {
            const SCampaignState& state = campaign->GetState();
            const SWorkSlot& slot = research ? state.researchSlot : state.manufactureSlot;
            SCostVector cost;
            GetShownCost(state, campaign->GetComponentDatabase(), research, slot.kind, slot.definition, cost);
            text += u" " + LookUpText(GetWorkSlotText(GetWorkSlotStatus(state, research, cost)));
        }
        m_page.SetText(research ? RESEARCH_STATE : MANUFACTURING_STATE, text);
    }
}

// While the map holds before a flight the marker blinks every 250 ms.
void CZoneMapScreen::UpdateMarker()
{
    const CGalaxyMap* map = GetMap();
    if (!map || map->GetJumpState() != MAP_ARRIVED)
    {
        m_markerShown = false;
        m_page.SetVisible(MARKER, false);
        return;
    }
    const uint32_t now = GetScreenTime();
    if (!HasTimeCome(now, m_nextBlink))
        return;
    m_nextBlink = now + BLINK_MS;
    m_markerShown = !m_markerShown;
    m_page.SetVisible(MARKER, m_markerShown);
}

void CZoneMapScreen::HandleEvent(int32_t controlId, int32_t event, int32_t value)
{
    if (event == GUI_EVENT_ACTION)
    {
        // The back action on the map view or jump buttons gives the buttons back.
        if (value == GUI_ACTION_BACK && (controlId == MAP_VIEW || controlId == JUMP) && !IsTutorialMapStep())
        {
            SetButtons(true);
            m_page.Focus(BACK);
            ArmInputGate();
        }
        return;
    }
    if (event != GUI_EVENT_ACTIVATED)
        return;
    if (m_popup.IsLoaded())
    {
        if (controlId == INFO_CLOSE)
            CloseInfo();
        ArmInputGate();
        return;
    }
    switch (controlId)
    {
    case BACK:
        m_flow.SetScreen(SCREEN_HUB);
        return;
    case MAP_VIEW:
        StartMapView();
        return;
    case JUMP:
        m_jumpRequested = true;
        break;
    case INFO:
        OpenInfo();
        break;
    default:
        break;
    }
    ArmInputGate();
}
