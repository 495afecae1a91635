#include "frontend/ResearchScreen.h"

#include "frontend/Campaign.h"
#include "frontend/ComponentInfoPanel.h"
#include "frontend/GameCampaign.h"
#include "frontend/GameFlow.h"
#include "frontend/GemGauges.h"
#include "presentation/GuiListButton.h"
#include "ships/ShipComponentDatabase.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/HudLink.h"
#include "world/ZoneLink.h"

#include <algorithm>
#include <cmath>

namespace
{
const CVector2D GAUGE_POINTS[GEM_KIND_COUNT] = {CVector2D(420.0f, 180.0f), CVector2D(360.0f, 180.0f),
                                                CVector2D(300.0f, 180.0f)};
constexpr float GRAPH_X = 64.0f;
constexpr float GRAPH_Y = 176.0f;
constexpr float GRAPH_WIDTH = 142.0f;
constexpr float GRAPH_HEIGHT = 70.0f;

// The research chats the director shows once a kind is open, by their trigger byte.
struct SChatTrigger
{
    int32_t kind;
    int flag;
};
const SChatTrigger CHAT_TRIGGERS[] = {
    {COMPONENT_SHIELD, 0}, {COMPONENT_DRONE, 2}, {COMPONENT_PINBEAM, 4}, {COMPONENT_BOMB, 6}, {COMPONENT_LASER, 8},
};

int GetListValue(const CScreenLayout& page, int id)
{
    const CGuiListButton* list = page.FindList(id);
    return list ? list->GetSelection() : 0;
}

void SetListValue(const CScreenLayout& page, int id, int value)
{
    if (CGuiListButton* list = page.FindList(id))
        list->SetSelection(std::clamp(value, 0, std::max(list->GetOptionCount() - 1, 0)));
}

bool IsTutorialStart(int step)
{
    return step == TUTORIAL_STEP_STATION_WEAPON || step == TUTORIAL_STEP_HULL;
}
} // namespace

CResearchScreen::CResearchScreen(CGameFlow& flow) : CFrontEndScreen(flow, SCREEN_RESEARCH, LAYOUT)
{
}

CCampaign* CResearchScreen::GetCampaign() const
{
    return GetGameCampaign();
}

const CShipComponentDatabase* CResearchScreen::GetDatabase() const
{
    const CCampaign* campaign = GetCampaign();
    return campaign ? campaign->GetComponentDatabase() : nullptr;
}

SWorkSlot* CResearchScreen::GetTabSlot() const
{
    CCampaign* campaign = GetCampaign();
    if (!campaign)
        return nullptr;
    SCampaignState& state = campaign->GetState();
    return m_researchTab ? &state.researchSlot : &state.manufactureSlot;
}

void CResearchScreen::Load()
{
    CFrontEndScreen::Load();
    m_researchTab = true;
    m_panelOpen = false;
    const CCampaign* campaign = GetCampaign();
    m_researchBusy = campaign && campaign->GetState().researchSlot.IsActive();
    m_manufactureBusy = campaign && campaign->GetState().manufactureSlot.IsActive();
}

void CResearchScreen::Show()
{
    ShowPage();
    m_flow.GetGame().GetHud().Show(true);
    ShowGemGauges(m_flow, GAUGE_BAR_WIDTH);
    if (CCampaign* campaign = GetCampaign())
        BoundSlotCrews(campaign->GetState());
    Preview(false);
    ShowTabButtons();
    m_page.Focus(MANUFACTURE_TAB);
    m_flow.GetDirector().PlaySequence(SEQUENCE_BACKDROP, false, -1);
    m_statusShown = true;
    m_nextBlink = GetScreenTime() + BLINK_MS;
    ArmInputGate();
}

void CResearchScreen::Hide()
{
    CloseChat();
    CFrontEndScreen::Hide();
    HideGemGauges(m_flow);
    m_flow.GetGame().GetHud().Show(false);
    m_flow.GetDirector().StopSequence();
    m_panelOpen = false;
}

int32_t CResearchScreen::GetSelectedKind() const
{
    const SWorkSlot* slot = GetTabSlot();
    if (slot && slot->IsActive())
        return slot->kind;
    const int position = GetListValue(m_page, KIND_LIST);
    return position >= 0 && position < static_cast<int>(m_kinds.size()) ? m_kinds[position] : COMPONENT_NONE;
}

int32_t CResearchScreen::GetSelectedDefinition() const
{
    const SWorkSlot* slot = GetTabSlot();
    if (!slot)
        return -1;
    if (m_researchTab)
        return GetResearchTarget(GetCampaign()->GetState(), GetDatabase(), GetSelectedKind());
    if (slot->IsActive())
        return slot->definition;
    const int position = GetListValue(m_page, ITEM_LIST);
    return position >= 0 && position < static_cast<int>(m_definitions.size()) ? m_definitions[position] : -1;
}

// ---- tabs and the panel -----------------------------------------------------------

void CResearchScreen::ShowTabButtons()
{
    const CCampaign* campaign = GetCampaign();
    const bool ready = campaign && campaign->HasReadyProject();
    m_page.SetVisible(MANUFACTURE_TAB, true);
    m_page.SetEnabled(MANUFACTURE_TAB, true);
    m_page.SetVisible(RESEARCH_TAB, ready);
    m_page.SetEnabled(RESEARCH_TAB, ready);
    m_page.SetEnabled(BACK, true);
}

void CResearchScreen::SetPanelEnabled(bool enabled)
{
    for (int id = KIND_LIST; id <= CREW; ++id)
        m_page.SetEnabled(id, enabled);
    if (m_researchTab)
        m_page.SetEnabled(UNITS, false);
}

void CResearchScreen::Preview(bool researchTab)
{
    m_researchTab = researchTab;
    m_panelOpen = false;
    SetPanelEnabled(false);
    RebuildLists();
    RefreshStatus();
}

void CResearchScreen::EnterTab(bool researchTab)
{
    if (researchTab && IsTutorialStart(m_flow.GetDirector().GetTutorialStep()))
    {
        OpenChat(m_flow.GetDirector().GetTutorialStep() == TUTORIAL_STEP_HULL ? CHAT_HULL : CHAT_STATION_WEAPON);
        return;
    }
    m_researchTab = researchTab;
    m_panelOpen = true;
    const int own = researchTab ? RESEARCH_TAB : MANUFACTURE_TAB;
    const int other = researchTab ? MANUFACTURE_TAB : RESEARCH_TAB;
    m_page.SetVisible(other, false);
    m_page.SetEnabled(other, false);
    m_page.SetEnabled(own, false);
    m_page.SetEnabled(BACK, false);
    SetPanelEnabled(true);
    RebuildLists();
    RefreshStatus();
    const SWorkSlot* slot = GetTabSlot();
    m_page.Focus(slot && slot->IsActive() ? CREW : KIND_LIST);
}

void CResearchScreen::LeavePanel()
{
    m_panelOpen = false;
    SetPanelEnabled(false);
    ShowTabButtons();
    const int own = m_researchTab ? RESEARCH_TAB : MANUFACTURE_TAB;
    m_page.SetEnabled(own, true);
    RebuildLists();
    RefreshStatus();
    m_page.Focus(own);
}

void CResearchScreen::BackOut()
{
    if (CCampaign* campaign = GetCampaign())
        for (SWorkSlot* slot : {&campaign->GetState().researchSlot, &campaign->GetState().manufactureSlot})
            if (!slot->IsActive())
                slot->rate = 0;
    Preview(false);
    ShowTabButtons();
    m_page.Focus(BACK);
}

// ---- lists --------------------------------------------------------------------------

void CResearchScreen::RebuildLists()
{
    CGuiListButton* list = m_page.FindList(KIND_LIST);
    const CCampaign* campaign = GetCampaign();
    const SWorkSlot* slot = GetTabSlot();
    const int32_t before = GetSelectedKind();
    m_kinds.clear();
    if (campaign && slot && slot->IsActive())
        m_kinds.push_back(slot->kind);
    else if (campaign)
        m_kinds = m_researchTab ? ListResearchProjects(campaign->GetState(), GetDatabase())
                                : ListManufactureKinds(campaign->GetState(), GetDatabase());
    if (list)
    {
        list->ClearOptions();
        const CShipComponentDatabase* database = GetDatabase();
        for (int32_t kind : m_kinds)
        {
            const SComponentCategory* category = database ? database->GetCategory(kind) : nullptr;
            if (category)
                list->AddOptionById(category->m_displayStringId);
            else
                list->AddOption("...");
        }
        const auto kept = std::find(m_kinds.begin(), m_kinds.end(), before);
        list->SetSelection(kept == m_kinds.end() ? 0 : static_cast<int>(kept - m_kinds.begin()));
    }
    m_page.SetEnabled(KIND_LIST, m_panelOpen && slot && !slot->IsActive());
    RebuildItemList();
}

void CResearchScreen::RebuildItemList()
{
    CCampaign* campaign = GetCampaign();
    SWorkSlot* slot = GetTabSlot();
    const CShipComponentDatabase* database = GetDatabase();
    const int32_t kind = GetSelectedKind();
    m_definitions.clear();
    if (campaign && slot)
    {
        if (m_researchTab)
        {
            const int32_t target = GetResearchTarget(campaign->GetState(), database, kind);
            if (target >= 0)
                m_definitions.push_back(target);
        }
        else if (slot->IsActive())
            m_definitions.push_back(slot->definition);
        else
            m_definitions = ListBuildableDefinitions(campaign->GetState(), database, kind);
    }
    if (CGuiListButton* list = m_page.FindList(ITEM_LIST))
    {
        list->ClearOptions();
        for (int32_t def : m_definitions)
        {
            const CShipComponentDef* component = database ? database->GetComponentDef(kind, def) : nullptr;
            if (component)
                list->AddOptionById(component->m_displayStringId);
            else
                list->AddOption("...");
        }
        list->SetSelection(0);
    }
    const bool running = slot && slot->IsActive();
    m_page.SetEnabled(ITEM_LIST, m_panelOpen && !(running && !m_researchTab));
    if (CGuiListButton* units = m_page.FindList(UNITS))
    {
        units->SetNumberRange(0, UNITS_MAX);
        if (m_researchTab || !slot)
            units->SetSelection(0);
        else
        {
            // An idle slot starts from one unit.
            if (!running)
                slot->units = 1;
            SetListValue(m_page, UNITS, slot->units);
        }
    }
    m_page.SetEnabled(UNITS, m_panelOpen && !m_researchTab && !running);
    if (CGuiListButton* crew = m_page.FindList(CREW))
    {
        crew->SetNumberRange(0, campaign ? std::max(campaign->GetState().crew, 0) : 0);
        SetListValue(m_page, CREW, slot ? slot->rate : 0);
    }
    ShowSelection();
}

void CResearchScreen::ShowSelection()
{
    const CCampaign* campaign = GetCampaign();
    const CShipComponentDatabase* database = GetDatabase();
    const int32_t kind = GetSelectedKind();
    const int32_t def = GetSelectedDefinition();
    ShowComponentInfo(m_page, INFO_PANEL, database, kind, def, def < 0, 0);
    int32_t stored = 0;
    if (campaign && def >= 0)
    {
        const int record = campaign->FindStoredItem(kind, def);
        stored = record >= 0 ? campaign->GetState().store[record].count : 0;
    }
    m_page.SetText(STORED_COUNT, FormatNumber(stored));
    SCostVector cost;
    if (campaign)
        GetShownCost(campaign->GetState(), database, m_researchTab, kind, def, cost);
    const int ids[GEM_KIND_COUNT] = {COST_NORMAL, COST_RARE, COST_VERY_RARE};
    for (int g = 0; g < GEM_KIND_COUNT; ++g)
        m_page.SetText(ids[g], FormatNumber(std::isfinite(cost.gems[g]) ? static_cast<int64_t>(cost.gems[g]) : 0));
}

void CResearchScreen::RefreshStatus()
{
    CCampaign* campaign = GetCampaign();
    if (!campaign)
        return;
    SCostVector cost;
    GetShownCost(campaign->GetState(), GetDatabase(), m_researchTab, GetSelectedKind(), GetSelectedDefinition(), cost);
    const EWorkSlotStatus status = GetWorkSlotStatus(campaign->GetState(), m_researchTab, cost);
    m_page.SetTextById(STATUS, GetWorkSlotText(status));
    m_page.SetEnabled(PAUSE, m_panelOpen && status == WORK_RUNNING);
    m_page.SetEnabled(CANCEL, m_panelOpen && (status == WORK_RUNNING || status == WORK_STARVED || status == WORK_PAUSED));
    m_page.SetEnabled(START, m_panelOpen && (status == WORK_READY || status == WORK_PAUSED));
}

// ---- the frame ----------------------------------------------------------------------

void CResearchScreen::Update()
{
    CCampaign* campaign = GetCampaign();
    if (!campaign)
        return;
    SCampaignState& state = campaign->GetState();
    const bool researchBusy = state.researchSlot.IsActive();
    const bool manufactureBusy = state.manufactureSlot.IsActive();
    if (researchBusy != m_researchBusy || manufactureBusy != m_manufactureBusy)
    {
        // A slot finished (or started) while the screen shows.
        m_researchBusy = researchBusy;
        m_manufactureBusy = manufactureBusy;
        RebuildLists();
        RefreshStatus();
    }
    PlaceGemGauges(m_flow, state.gems, GAUGE_POINTS);
    UpdateTexts();
    campaign->SetProgressRect(GRAPH_X, GRAPH_Y, GRAPH_WIDTH, GRAPH_HEIGHT);
    CDirectorLink& director = m_flow.GetGame().GetDirector();
    for (const SChatTrigger& trigger : CHAT_TRIGGERS)
        if (state.research[trigger.kind].enabled)
            director.RaiseFlag(FRONT_END_CHAT_FLAGS, trigger.flag);
    Blink();
}

void CResearchScreen::UpdateTexts()
{
    const CCampaign* campaign = GetCampaign();
    const SCampaignState& state = campaign->GetState();
    const int stocks[GEM_KIND_COUNT] = {STOCK_NORMAL, STOCK_RARE, STOCK_VERY_RARE};
    for (int g = 0; g < GEM_KIND_COUNT; ++g)
        m_page.SetText(stocks[g], FormatNumber(state.gems.count[g]));
    m_page.SetText(FREE_CREW, FormatNumber(GetFreeCrew(state)));
    if (const SWorkSlot* slot = GetTabSlot())
        SetListValue(m_page, CREW, slot->rate);
}

void CResearchScreen::Blink()
{
    const uint32_t now = GetScreenTime();
    if (!HasTimeCome(now, m_nextBlink))
        return;
    m_nextBlink = now + BLINK_MS;
    const std::u16string text = m_page.GetText(STATUS);
    if (text.compare(0, 4, u"none") == 0)
        m_statusShown = true;
    else
        m_statusShown = !m_statusShown;
    m_page.SetVisible(STATUS, m_statusShown);
}

// ---- events ---------------------------------------------------------------------------

void CResearchScreen::HandleEvent(int32_t controlId, int32_t event, int32_t value)
{
    if (IsChatOpen())
    {
        if (controlId == CHAT_CLOSE && event == GUI_EVENT_ACTIVATED)
            CloseChat();
        return;
    }
    switch (event)
    {
    case GUI_EVENT_ACTION:
        if (value == GUI_ACTION_BACK)
        {
            if (m_flow.IsChatClosed() && m_flow.GetGame().GetDirector().IsGateOpen(GATE_GUI_KEYBOARD))
                BackOut();
        }
        else
            OnListAction(controlId, value);
        break;
    case GUI_EVENT_FOCUS_GAINED:
        if (!m_panelOpen && (controlId == RESEARCH_TAB || controlId == MANUFACTURE_TAB))
            Preview(controlId == RESEARCH_TAB);
        break;
    case GUI_EVENT_DOWN_NO_TARGET:
        if (controlId == KIND_LIST || controlId == ITEM_LIST || controlId == UNITS || controlId == CREW)
            FocusFirstAction();
        break;
    case GUI_EVENT_ACTIVATED:
        OnActivated(controlId);
        break;
    default:
        break;
    }
}

void CResearchScreen::OnListAction(int32_t controlId, int32_t value)
{
    CCampaign* campaign = GetCampaign();
    SWorkSlot* slot = GetTabSlot();
    if (!campaign || !slot || (value != GUI_ACTION_LEFT && value != GUI_ACTION_RIGHT))
        return;
    switch (controlId)
    {
    case KIND_LIST:
        RebuildItemList();
        break;
    case ITEM_LIST:
        ShowSelection();
        break;
    case UNITS:
        if (GetListValue(m_page, UNITS) == 0)
            SetListValue(m_page, UNITS, 1);
        slot->units = GetListValue(m_page, UNITS);
        break;
    case CREW:
    {
        int crew = GetListValue(m_page, CREW);
        // The free crew before the step: the slot still holds its old crew.
        if (value == GUI_ACTION_RIGHT && GetFreeCrew(campaign->GetState()) <= 0 && crew > slot->rate)
            SetListValue(m_page, CREW, --crew);
        slot->rate = crew;
        if (!m_researchTab)
            slot->units = GetListValue(m_page, UNITS);
        break;
    }
    default:
        return;
    }
    RefreshStatus();
}

void CResearchScreen::FocusFirstAction()
{
    for (int id : {START, PAUSE, CANCEL})
        if (m_page.IsEnabled(id) && m_page.Focus(id))
            return;
}

void CResearchScreen::OnActivated(int32_t controlId)
{
    CCampaign* campaign = GetCampaign();
    SWorkSlot* slot = GetTabSlot();
    const int step = m_flow.GetDirector().GetTutorialStep();
    switch (controlId)
    {
    case BACK:
        if (IsTutorialStart(step))
            OpenChat(step == TUTORIAL_STEP_HULL ? CHAT_HULL : CHAT_STATION_WEAPON);
        else
            m_flow.SetScreen(SCREEN_HUB);
        return;
    case RESEARCH_TAB:
    case MANUFACTURE_TAB:
        EnterTab(controlId == RESEARCH_TAB);
        return;
    case KIND_LIST:
        m_page.Focus(ITEM_LIST);
        return;
    case ITEM_LIST:
        m_page.Focus(m_researchTab ? CREW : UNITS);
        return;
    case UNITS:
        m_page.Focus(CREW);
        return;
    case CREW:
        FocusFirstAction();
        return;
    default:
        break;
    }
    if (!campaign || !slot || !m_panelOpen)
        return;
    switch (controlId)
    {
    case PAUSE:
        if (slot->IsActive())
            slot->stalled = true;
        break;
    case CANCEL:
        CancelWorkSlot(campaign->GetState(), m_researchTab);
        break;
    case START:
        if (slot->IsActive() && slot->stalled)
            slot->stalled = false;
        else
        {
            Start();
            if (IsChatOpen())
                return;
        }
        break;
    default:
        return;
    }
    LeavePanel();
}

void CResearchScreen::Start()
{
    CCampaign* campaign = GetCampaign();
    SWorkSlot* slot = GetTabSlot();
    SCostVector cost;
    const int32_t kind = GetSelectedKind();
    const int32_t def = GetSelectedDefinition();
    GetShownCost(campaign->GetState(), GetDatabase(), m_researchTab, kind, def, cost);
    if (slot->IsActive() || GetWorkSlotStatus(campaign->GetState(), m_researchTab, cost) != WORK_READY)
        return;
    const int step = m_flow.GetDirector().GetTutorialStep();
    if (!IsStartAllowed(step, m_researchTab, kind, GetListValue(m_page, ITEM_LIST), slot->units, slot->rate))
    {
        OpenChat(step == TUTORIAL_STEP_HULL ? CHAT_HULL : CHAT_STATION_WEAPON);
        return;
    }
    const uint32_t clock = m_flow.GetGame().GetZones().GetClock();
    if (m_researchTab)
        StartResearch(campaign->GetState(), kind, clock);
    else
        StartManufacture(campaign->GetState(), GetDatabase(), kind, def, slot->units, clock);
    m_researchBusy = campaign->GetState().researchSlot.IsActive();
    m_manufactureBusy = campaign->GetState().manufactureSlot.IsActive();
}

// ---- the tutorial's chat --------------------------------------------------------------

void CResearchScreen::OpenChat(const char* file)
{
    if (!m_chat.Load(file, m_id))
        return;
    m_chat.SetVisible(CHAT_BOX, true);
    m_chat.Focus(CHAT_CLOSE);
    m_flow.SetChatClosed(false);
}

void CResearchScreen::CloseChat()
{
    if (!m_chat.IsLoaded())
        return;
    m_chat.SetVisible(CHAT_BOX, false);
    m_chat.Destroy();
    m_flow.SetChatClosed(true);
    m_page.Focus(m_page.IsEnabled(BACK) ? BACK : MANUFACTURE_TAB);
}
