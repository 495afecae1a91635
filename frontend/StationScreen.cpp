#include "frontend/StationScreen.h"

#include "core/WString.h"
#include "core/WideFormat.h"
#include "frontend/Campaign.h"
#include "frontend/GameCampaign.h"
#include "frontend/GameFlow.h"
#include "frontend/StoreRules.h"
#include "presentation/GuiListButton.h"
#include "ships/ComponentDef.h"
#include "ships/ShipComponentDatabase.h"

#include <cmath>

int32_t GetStationConditionPercent(int32_t health, int32_t maximum)
{
    if (maximum <= 0)
        return 100;
    const double percent = 100.0 * static_cast<double>(health < 0 ? 0 : health) / static_cast<double>(maximum);
    return static_cast<int32_t>(std::floor(percent));
}

namespace
{
bool IsStationItem(int32_t kind)
{
    return kind == COMPONENT_STATION_WEAPON || kind == COMPONENT_STATION_VAC;
}

const CStationWeaponDef* GetStationDef(const CShipComponentDatabase* database, int32_t kind, int32_t definition)
{
    if (!database || !IsStationItem(kind))
        return nullptr;
    return dynamic_cast<const CStationWeaponDef*>(database->GetComponentDef(kind, definition));
}

int32_t GetMountKind(const SMountRecord& mount)
{
    return mount.weapon ? COMPONENT_STATION_WEAPON : COMPONENT_STATION_VAC;
}
} // namespace

CStationScreen::CStationScreen(CGameFlow& flow) : CFrontEndScreen(flow, SCREEN_STATION, LAYOUT) {}

CCampaign* CStationScreen::GetCampaign() const
{
    return GetGameCampaign();
}

const CShipComponentDatabase* CStationScreen::GetDatabase() const
{
    const CCampaign* campaign = GetCampaign();
    return campaign ? campaign->GetComponentDatabase() : nullptr;
}

void CStationScreen::Show()
{
    m_flow.GetDirector().PlaySequence(SEQUENCE_BACKDROP, false, -1);
    ShowPage();
    ShowCondition();
    RebuildLists();
    if (m_flow.GetDirector().GetTutorialStep() == TUTORIAL_STEP_FIT)
    {
        m_page.SetEnabled(BACK, false);
        m_page.Focus(MOUNT_FIRST + 1);
    }
    else
    {
        m_page.SetEnabled(BACK, true);
        m_page.Focus(BACK);
    }
    ArmInputGate();
}

void CStationScreen::Hide()
{
    CloseModify();
    CFrontEndScreen::Hide();
    m_flow.GetDirector().StopSequence();
}

void CStationScreen::ShowCondition()
{
    const CCampaign* campaign = GetCampaign();
    const int32_t percent =
        campaign ? GetStationConditionPercent(campaign->GetState().stationLevel, campaign->GetState().stationLimit)
                 : 100;
    CWString text;
    FormatWide(text, LookUpText(TEXT_CONDITION).c_str(), static_cast<int>(percent));
    m_page.SetText(CONDITION, text.GetText());
}

// The station items of the stores in store order, weapons first and then vacuums,
// split by the centre mount they need; each list stops at 20. Every mount's list
// starts again at its first entry.
void CStationScreen::RebuildLists()
{
    m_centreItems.clear();
    m_sideItems.clear();
    const CCampaign* campaign = GetCampaign();
    const CShipComponentDatabase* database = GetDatabase();
    if (campaign)
        for (const int32_t kind : {COMPONENT_STATION_WEAPON, COMPONENT_STATION_VAC})
            for (int record = 0; record < CAMPAIGN_STORE_SIZE; ++record)
            {
                const SStoreRecord& item = campaign->GetState().store[record];
                const CStationWeaponDef* def = GetStationDef(database, item.kind, item.definition);
                if (!item.used || item.count <= 0 || item.kind != kind || !def)
                    continue;
                std::vector<int>& list = def->m_centreMount ? m_centreItems : m_sideItems;
                if (static_cast<int>(list.size()) < LIST_MAX)
                    list.push_back(record);
            }
    for (int mount = 0; mount < CAMPAIGN_MOUNTS; ++mount)
    {
        CGuiListButton* list = m_page.FindList(MOUNT_FIRST + mount);
        if (!list)
            continue;
        list->ClearOptions();
        const SMountRecord* record = campaign ? &campaign->GetState().mounts[mount] : nullptr;
        if (record && record->fitted)
        {
            const CShipComponentDef* def =
                database ? database->GetComponentDef(GetMountKind(*record), static_cast<int32_t>(record->definition))
                         : nullptr;
            if (def)
                list->AddOptionById(def->m_displayStringId);
            else
                list->AddOption("?");
        }
        else
        {
            list->AddOption("...");
            for (const int item : GetOffered(mount))
            {
                const SStoreRecord& stored = campaign->GetState().store[item];
                list->AddOptionById(database->GetComponentDef(stored.kind, stored.definition)->m_displayStringId);
            }
        }
        list->SetSelection(0);
    }
}

void CStationScreen::ActivateMount(int mount)
{
    const CCampaign* campaign = GetCampaign();
    if (!campaign)
        return;
    if (campaign->GetState().mounts[mount].fitted)
    {
        OpenModify(mount);
        return;
    }
    const CGuiListButton* list = m_page.FindList(MOUNT_FIRST + mount);
    const int position = list ? list->GetSelection() : 0;
    if (position > 0)
        FitMount(mount, position);
}

// The item at the list's position goes onto the mount; one unit leaves the stores.
void CStationScreen::FitMount(int mount, int position)
{
    CCampaign* campaign = GetCampaign();
    const std::vector<int>& offered = GetOffered(mount);
    if (!campaign || position < 1 || position > static_cast<int>(offered.size()))
        return;
    const int record = offered[static_cast<size_t>(position - 1)];
    const SStoreRecord item = campaign->GetState().store[record];
    if (!TakeFromRecord(*campaign, record))
        return;
    SMountRecord& fitted = campaign->GetState().mounts[mount];
    fitted.definition = static_cast<uint32_t>(item.definition);
    fitted.weapon = item.kind != COMPONENT_STATION_VAC;
    fitted.fitted = true;
    RebuildLists();
}

void CStationScreen::OpenModify(int mount)
{
    if (!OpenPopup(MODIFY_POPUP, MODIFY_REMOVE))
        return;
    m_modifyMount = mount;
    m_choice = MODIFY_NONE;
    SetModifyStep(false);
}

// Choosing: remove, sell and keep; applying: apply and back.
void CStationScreen::SetModifyStep(bool applying)
{
    for (int id = MODIFY_REMOVE; id <= MODIFY_KEEP; ++id)
        m_popup.SetEnabled(id, !applying);
    m_popup.SetEnabled(MODIFY_APPLY, applying);
    m_popup.SetEnabled(MODIFY_BACK, applying);
    m_popup.Focus(applying ? MODIFY_APPLY : MODIFY_REMOVE);
}

void CStationScreen::ApplyModify()
{
    CCampaign* campaign = GetCampaign();
    if (campaign && m_modifyMount >= 0 && m_modifyMount < CAMPAIGN_MOUNTS)
    {
        SMountRecord& mount = campaign->GetState().mounts[m_modifyMount];
        const int32_t kind = GetMountKind(mount);
        const int32_t definition = static_cast<int32_t>(mount.definition);
        bool emptied = false;
        if (m_choice == MODIFY_CHOICE_REMOVE)
            // Stores with no room for it keep the item on its mount.
            emptied = campaign->AddStoredItem(kind, definition);
        else if (m_choice == MODIFY_CHOICE_SELL)
            // As for a pod: a sale that full gem stocks cannot take is refused.
            emptied = RefundComponent(*campaign, GetDatabase(), kind, definition);
        if (emptied)
            mount = SMountRecord();
    }
    CloseModify();
    RebuildLists();
}

void CStationScreen::CloseModify()
{
    if (!m_popup.IsLoaded())
        return;
    const int mount = m_modifyMount;
    m_modifyMount = -1;
    m_choice = MODIFY_NONE;
    ClosePopup(mount >= 0 ? MOUNT_FIRST + mount : -1);
}

void CStationScreen::HandleEvent(int32_t controlId, int32_t event, int32_t value)
{
    if (m_popup.IsLoaded())
    {
        if (event != GUI_EVENT_ACTIVATED)
            return;
        if (controlId >= MODIFY_REMOVE && controlId <= MODIFY_KEEP)
        {
            m_choice = static_cast<EModifyChoice>(controlId - MODIFY_REMOVE + MODIFY_CHOICE_REMOVE);
            SetModifyStep(true);
        }
        else if (controlId == MODIFY_BACK)
            SetModifyStep(false);
        else if (controlId == MODIFY_APPLY)
            ApplyModify();
        ArmInputGate();
        return;
    }
    const bool isMount = controlId >= MOUNT_FIRST && controlId < MOUNT_FIRST + CAMPAIGN_MOUNTS;
    if (event == GUI_EVENT_ACTION)
    {
        if (isMount && (value == GUI_ACTION_UP || value == GUI_ACTION_DOWN))
            if (CGuiListButton* list = m_page.FindList(controlId))
                list->SetSelection(0);
        if (isMount || controlId == GRAV_DRIVE)
            FocusBackOnBackAction(event, value, BACK);
        return;
    }
    if (event != GUI_EVENT_ACTIVATED)
        return;
    if (controlId == BACK)
        LeavePageFor(SCREEN_HUB);
    else if (controlId == GRAV_DRIVE)
    {
        m_flow.GetCampaign().SetShownEntry(-1, 0);
        m_flow.SetGravDriveLeave(true);
        m_flow.SetScreen(SCREEN_GRAV_DRIVE);
    }
    else if (isMount)
        ActivateMount(controlId - MOUNT_FIRST);
    ArmInputGate();
}
