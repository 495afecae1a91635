#include "frontend/ShipSelectScreen.h"

#include "core/DataTree.h"
#include "core/WString.h"
#include "core/WideFormat.h"
#include "frontend/Campaign.h"
#include "frontend/GameCampaign.h"
#include "frontend/GameFlow.h"
#include "frontend/ShipConstructScreen.h"
#include "frontend/ShipDesignRules.h"
#include "presentation/GuiManager.h"
#include "ships/ShipComponentDatabase.h"
#include "ships/ShipLevelData.h"
#include "world/Game.h"
#include "world/ZoneLink.h"

namespace
{
constexpr uint32_t TEXT_CONDITION = 0xa1000003;
constexpr uint32_t TEXT_EMPTY_SLOT = 0x24000001;
// The default names of slots 2, 3 and 4.
constexpr uint32_t TEXT_DEFAULT_NAME[3] = {0x4a000002, 0xac000004, 0xaa000005};

std::u16string FormatCondition(int percent)
{
    const std::u16string format = LookUpText(TEXT_CONDITION);
    CWString text;
    FormatWide(text, format.empty() ? u"%i%%" : format.c_str(), percent);
    return std::u16string(text.GetText());
}

int32_t GetHullHealth(const CShipComponentDatabase* database, int32_t hull)
{
    const CHullDef* def = database ? database->GetHullDef(hull) : nullptr;
    return def ? static_cast<int32_t>(def->m_health) : 0;
}
} // namespace

CShipSelectScreen::CShipSelectScreen(CGameFlow& flow) : CFrontEndScreen(flow, SCREEN_SHIP_SELECT, LAYOUT)
{
}

bool CShipSelectScreen::IsTutorial() const
{
    return m_flow.GetDirector().GetProgressStage() == STAGE_TUTORIAL;
}

void CShipSelectScreen::Show()
{
    ShowPage();
    m_slot = 0;
    m_pending = PENDING_NONE;
    RefreshSlots();
    m_flow.GetDirector().PlaySequence(SEQUENCE_BACKDROP, false, -1);
    ArmInputGate();
}

void CShipSelectScreen::Hide()
{
    CFrontEndScreen::Hide();
    m_flow.GetDirector().StopSequence();
    m_pending = PENDING_NONE;
}

void CShipSelectScreen::SetSlotActions(bool enabled)
{
    for (int id : {MODIFY, SELL, DISMANTLE})
        m_page.SetEnabled(id, enabled);
}

void CShipSelectScreen::RefreshSlots()
{
    const CCampaign* campaign = GetGameCampaign();
    const CShipComponentDatabase* database = GetLevelShipDatabase();
    SetSlotActions(false);
    int focus = BACK;
    for (int slot = LAST_PLAYER_DESIGN; slot >= FIRST_PLAYER_DESIGN; --slot)
    {
        const int button = GetSlotButton(slot);
        const int condition = FIRST_CONDITION + slot - FIRST_PLAYER_DESIGN;
        const CShipConfig* design = database ? database->GetShipConfig(slot) : nullptr;
        if (design)
        {
            m_page.SetText(button, WidenToU16(design->m_ident.c_str()));
            m_page.SetEnabled(button, true);
            m_page.SetVisible(condition, true);
            const int32_t stored = campaign ? campaign->GetStoredHealth(slot) : 0;
            const int percent = GetConditionPercent(stored, GetHullHealth(database, design->m_hull));
            m_page.SetText(condition, FormatCondition(percent));
        }
        else
        {
            m_page.SetTextById(button, TEXT_EMPTY_SLOT);
            m_page.SetVisible(condition, false);
            m_page.SetEnabled(button, !IsTutorial());
        }
        if (m_page.IsEnabled(button))
            focus = button;
    }
    const int32_t stored = campaign ? campaign->GetStoredHealth(0) : 0;
    m_page.SetText(CURRENT_CONDITION, FormatCondition(GetConditionPercent(stored, GetHullHealth(database, 0))));
    m_page.Focus(focus);
}

void CShipSelectScreen::ChooseSlot(int slot)
{
    CCampaign* campaign = GetGameCampaign();
    CShipComponentDatabase* database = GetLevelShipDatabase();
    if (!campaign || !database)
        return;
    m_slot = slot;
    if (database->GetShipConfig(slot))
    {
        SetSlotActions(true);
        m_page.Focus(MODIFY);
        return;
    }
    SetSlotActions(false);
    // A design needs a hull to be built on: without one in the stores no name is asked.
    if (!HasStoredHull(*campaign))
        return;
    m_pending = PENDING_NAME;
    if (!OpenPopup(NAME_POPUP, NAME_EDIT))
        return;
    m_popup.SetText(NAME_EDIT, LookUpText(TEXT_DEFAULT_NAME[slot - FIRST_PLAYER_DESIGN]));
    m_popup.SetVisible(NAME_WARNING, false);
    ArmInputGate();
}

void CShipSelectScreen::CloseAndFocus()
{
    ClosePopup(-1);
    m_pending = PENDING_NONE;
    RefreshSlots();
}

void CShipSelectScreen::ConfirmName()
{
    CCampaign* campaign = GetGameCampaign();
    CShipComponentDatabase* database = GetLevelShipDatabase();
    if (!campaign || !database)
        return;
    const std::string name = TrimDesignName(m_popup.GetEditText(NAME_EDIT, DESIGN_NAME_TYPED_MAX + 1));
    if (name.empty())
        return;
    if (!IsValidDesignName(name) || IsDesignNameInUse(*campaign, *database, name))
    {
        m_popup.SetVisible(NAME_WARNING, true);
        m_popup.Focus(NAME_EDIT);
        return;
    }
    if (!CreateDesign(*campaign, *database, m_slot, name))
        return;
    ClosePopup(-1);
    m_pending = PENDING_NONE;
    if (auto* construct = dynamic_cast<CShipConstructScreen*>(m_flow.GetScreen(SCREEN_SHIP_CONSTRUCT)))
        construct->SetDesign(m_slot, true);
    m_flow.SetScreen(SCREEN_SHIP_CONSTRUCT);
}

void CShipSelectScreen::Confirm()
{
    CCampaign* campaign = GetGameCampaign();
    CShipComponentDatabase* database = GetLevelShipDatabase();
    CZoneLink& zones = m_flow.GetGame().GetZones();
    switch (m_pending)
    {
    case PENDING_NAME:
        ConfirmName();
        return;
    case PENDING_SELL:
        if (campaign && database)
            SellDesign(*campaign, *database, zones, m_slot);
        break;
    case PENDING_DISMANTLE:
        // Refused (the design kept) when the stores have no room for its parts.
        if (campaign && database)
            DismantleDesign(*campaign, *database, zones, m_slot);
        break;
    default:
        break;
    }
    m_slot = 0;
    CloseAndFocus();
}

void CShipSelectScreen::HandleEvent(int32_t controlId, int32_t event, int32_t value)
{
    if (IsPopupOpen())
    {
        if (event == GUI_EVENT_EDIT_CANCELLED || (event == GUI_EVENT_ACTION && value == GUI_ACTION_BACK) ||
            (event == GUI_EVENT_ACTIVATED && controlId == CANCEL))
        {
            const int slot = m_slot;
            CloseAndFocus();
            if (slot >= FIRST_PLAYER_DESIGN && m_page.IsEnabled(GetSlotButton(slot)))
                m_page.Focus(GetSlotButton(slot));
            m_slot = 0;
        }
        // Enter in the name field confirms as the button does.
        else if (event == GUI_EVENT_ACTIVATED &&
                 (controlId == CONFIRM || (controlId == NAME_EDIT && m_pending == PENDING_NAME)))
            Confirm();
        return;
    }
    if (event == GUI_EVENT_ACTION)
    {
        if (controlId != BACK)
            FocusBackOnBackAction(event, value, BACK);
        return;
    }
    if (event != GUI_EVENT_ACTIVATED)
        return;
    switch (controlId)
    {
    case FIRST_SLOT:
    case FIRST_SLOT + 1:
    case FIRST_SLOT + 2:
        ChooseSlot(controlId - FIRST_SLOT + FIRST_PLAYER_DESIGN);
        break;
    case BACK:
        if (m_flow.GetDirector().GetTutorialStep() != TUTORIAL_STEP_NO_BACK)
            m_flow.SetScreen(SCREEN_HUB);
        break;
    case MODIFY:
        if (m_slot >= FIRST_PLAYER_DESIGN)
        {
            if (auto* construct = dynamic_cast<CShipConstructScreen*>(m_flow.GetScreen(SCREEN_SHIP_CONSTRUCT)))
                construct->SetDesign(m_slot, false);
            m_flow.SetScreen(SCREEN_SHIP_CONSTRUCT);
        }
        break;
    case SELL:
    case DISMANTLE:
        if (m_slot < FIRST_PLAYER_DESIGN)
            break;
        m_pending = controlId == SELL ? PENDING_SELL : PENDING_DISMANTLE;
        if (OpenPopup(CONFIRM_POPUP, CANCEL))
            ArmInputGate();
        break;
    default:
        break;
    }
}
