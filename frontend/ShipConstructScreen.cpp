#include "frontend/ShipConstructScreen.h"

#include "core/DataTree.h"
#include "frontend/Campaign.h"
#include "frontend/ComponentInfoPanel.h"
#include "frontend/GameCampaign.h"
#include "frontend/GameFlow.h"
#include "frontend/ShipDesignRules.h"
#include "presentation/GuiListButton.h"
#include "presentation/GuiManager.h"
#include "presentation/SpriteTypes.h"
#include "ships/ShipComponentDatabase.h"
#include "ships/ShipConstructGrid.h"
#include "ships/ShipLevelData.h"
#include "world/DirectorLink.h"
#include "world/Game.h"

#include <algorithm>

namespace
{
const CVector2D GRID_ORIGIN(22.0f, 37.0f);
// The hull picture: (100, 115) from the point (50, 50).
const CVector2D HULL_POSITION(150.0f, 165.0f);

void SetInfoText(const CScreenLayout& page, int id, const SInfoText& text)
{
    if (text.isId)
        page.SetTextById(id, text.id);
    else
        page.SetText(id, text.literal);
}

void SetListTexts(CGuiListButton* list, const std::vector<uint32_t>& ids)
{
    if (!list)
        return;
    list->ClearOptions();
    for (uint32_t id : ids)
    {
        if (id)
            list->AddOptionById(id);
        else
            list->AddOption("...");
    }
    list->SetSelection(0);
}

int GetSelection(const CScreenLayout& page, int id)
{
    const CGuiListButton* list = page.FindList(id);
    return list ? list->GetSelection() : 0;
}
} // namespace

CShipConstructScreen::CShipConstructScreen(CGameFlow& flow) : CFrontEndScreen(flow, SCREEN_SHIP_CONSTRUCT, LAYOUT)
{
}

// The grid outlives the screen: its pictures go with the page.
CShipConstructScreen::~CShipConstructScreen()
{
    if (CShipConstructGrid* grid = GetGrid())
        grid->HideIcons();
    CloseChat();
    m_hullPicture.Destroy();
    m_hullRef.Release();
}

void CShipConstructScreen::SetDesign(int slot, bool newDesign)
{
    m_slot = slot;
    m_newDesign = newDesign;
}

CShipConfig* CShipConstructScreen::GetDesign() const
{
    CShipComponentDatabase* database = GetLevelShipDatabase();
    return database ? database->GetShipConfig(m_slot) : nullptr;
}

CShipConstructGrid* CShipConstructScreen::GetGrid() const
{
    return m_flow.GetConstructGrid();
}

void CShipConstructScreen::Load()
{
    CFrontEndScreen::Load();
    m_hullPicture.Destroy();
    m_hullRef.Release();
    if (m_hullRef.SetFile(HULL_SPRITE, true))
    {
        m_hullPicture.Init(m_hullRef, HULL_PLANE);
        m_hullPicture.SetFlags(SPRITE_VIRTUAL, true);
        m_hullPicture.Hide();
    }
}

bool CShipConstructScreen::CanAddComponent() const
{
    CCampaign* campaign = GetGameCampaign();
    const CShipConfig* design = GetDesign();
    return campaign && design && !ListFittableKinds(*campaign, *design).empty();
}

// ---- showing and hiding ---------------------------------------------------------------

void CShipConstructScreen::Show()
{
    ShowPage();
    m_addMode = false;
    m_editMode = false;
    m_modifyChoice = 0;
    ShowHullChooser();
    if (const CShipConfig* design = GetDesign())
        m_page.SetText(IDENT, WidenToU16(design->m_ident.c_str()));
    ClearLists();
    if (CShipConstructGrid* grid = GetGrid())
    {
        grid->Open(m_slot, GRID_ORIGIN);
        grid->SetFinished(true);
    }
    m_page.SetEnabled(DONE, true);
    ShowHullPicture();
    RefreshFigures();
    const bool chooserFocused = m_page.IsEnabled(HULL_CHOOSER) && m_hulls.size() > 1;
    m_page.SetEnabled(ADD_COMPONENT, CanAddComponent());
    const CShipConfig* design = GetDesign();
    m_page.SetEnabled(EDIT_PODS, design && HasFittedComponent(*design));
    if (chooserFocused)
        m_page.Focus(HULL_CHOOSER);
    else if (m_page.IsEnabled(ADD_COMPONENT))
        m_page.Focus(ADD_COMPONENT);
    else if (m_page.IsEnabled(EDIT_PODS))
        m_page.Focus(EDIT_PODS);
    else
        m_page.Focus(DONE);
    m_flow.GetDirector().PlaySequence(SEQUENCE_BACKDROP, false, -1);
    ArmInputGate();
}

void CShipConstructScreen::Hide()
{
    CloseChat();
    CommitIfNew();
    m_addMode = false;
    m_editMode = false;
    m_modifyChoice = 0;
    if (CShipConstructGrid* grid = GetGrid())
    {
        grid->ClearPlacement();
        grid->SetFinished(true);
        grid->HideIcons();
    }
    CFrontEndScreen::Hide();
    m_hullPicture.Hide();
    m_flow.GetDirector().StopSequence();
}

void CShipConstructScreen::ShowHullChooser()
{
    CCampaign* campaign = GetGameCampaign();
    CShipComponentDatabase* database = GetLevelShipDatabase();
    CShipConfig* design = GetDesign();
    CGuiListButton* chooser = m_page.FindList(HULL_CHOOSER);
    m_hulls.clear();
    m_hullPosition = 0;
    if (m_newDesign && campaign && database && design && !HasFittedComponent(*design))
        m_hulls = ListStoredHulls(*campaign);
    std::vector<uint32_t> names;
    if (!m_hulls.empty())
    {
        // The design starts on the first stored hull.
        SetDesignHull(*campaign, *database, m_slot, m_hulls[0]);
        for (int32_t hull : m_hulls)
        {
            const CHullDef* def = database->GetHullDef(hull);
            names.push_back(def ? def->m_displayStringId : 0);
        }
    }
    else
    {
        const CHullDef* def = database && design ? database->GetHullDef(design->m_hull) : nullptr;
        names.push_back(def ? def->m_displayStringId : 0);
    }
    SetListTexts(chooser, names);
    m_page.SetEnabled(HULL_CHOOSER, !m_hulls.empty());
}

void CShipConstructScreen::ChooseHull()
{
    CCampaign* campaign = GetGameCampaign();
    CShipComponentDatabase* database = GetLevelShipDatabase();
    CShipConfig* design = GetDesign();
    CGuiListButton* chooser = m_page.FindList(HULL_CHOOSER);
    if (!campaign || !database || !design || !chooser || m_hulls.empty())
        return;
    // Once a pod holds a component the hull stays.
    if (HasFittedComponent(*design))
    {
        chooser->SetSelection(m_hullPosition);
        return;
    }
    m_hullPosition = std::clamp(chooser->GetSelection(), 0, static_cast<int>(m_hulls.size()) - 1);
    SetDesignHull(*campaign, *database, m_slot, m_hulls[m_hullPosition]);
    if (CShipConstructGrid* grid = GetGrid())
    {
        grid->Open(m_slot, GRID_ORIGIN);
        grid->SetFinished(true);
    }
    ShowHullPicture();
    RefreshFigures();
}

void CShipConstructScreen::ShowHullPicture()
{
    const CShipConfig* design = GetDesign();
    if (!design)
    {
        m_hullPicture.Hide();
        return;
    }
    // Frame = hull index - 1; the escape pod's hull (0) has no picture of its own.
    m_hullPicture.SetFrame(static_cast<uint32_t>(std::max(design->m_hull - 1, 0)));
    m_hullPicture.SetPosition(HULL_POSITION);
    m_hullPicture.Show();
}

// ---- buttons, lists and figures ---------------------------------------------------------

void CShipConstructScreen::RefreshButtons()
{
    const CShipConfig* design = GetDesign();
    const bool add = CanAddComponent();
    const bool edit = design && HasFittedComponent(*design);
    m_page.SetEnabled(ADD_COMPONENT, add);
    m_page.SetEnabled(EDIT_PODS, edit);
    // A new design's hull can be chosen again while no pod holds a component.
    m_page.SetEnabled(HULL_CHOOSER, !m_hulls.empty() && !edit);
    if (add)
        m_page.Focus(ADD_COMPONENT);
    else if (edit)
        m_page.Focus(EDIT_PODS);
    else
        m_page.Focus(DONE);
    if (!add)
        m_addMode = false;
    if (!edit)
        m_editMode = false;
}

void CShipConstructScreen::RefreshFigures()
{
    const CShipConfig* design = GetDesign();
    const CShipComponentDatabase* database = GetLevelShipDatabase();
    if (!design || !database)
        return;
    const SDesignFigures figures = ComputeDesignFigures(*design, *database);
    for (int i = 0; i < DESIGN_FIGURE_COUNT; ++i)
        SetInfoText(m_page, FIRST_FIGURE + i, figures.texts[i]);
}

void CShipConstructScreen::ClearLists()
{
    m_kinds.clear();
    m_records.clear();
    SetListTexts(m_page.FindList(CATEGORY_LIST), {0});
    SetListTexts(m_page.FindList(ITEM_LIST), {0});
    m_page.SetEnabled(CATEGORY_LIST, false);
    m_page.SetEnabled(ITEM_LIST, false);
    m_page.SetText(DESCRIPTION, u"...");
}

void CShipConstructScreen::FillCategoryList()
{
    CCampaign* campaign = GetGameCampaign();
    const CShipComponentDatabase* database = GetLevelShipDatabase();
    const CShipConfig* design = GetDesign();
    m_kinds = campaign && design ? ListFittableKinds(*campaign, *design) : std::vector<int32_t>();
    std::vector<uint32_t> names;
    for (int32_t kind : m_kinds)
    {
        const SComponentCategory* category = database ? database->GetCategory(kind) : nullptr;
        names.push_back(category ? category->m_displayStringId : 0);
    }
    if (names.empty())
        names.push_back(0);
    SetListTexts(m_page.FindList(CATEGORY_LIST), names);
    FillItemList();
}

void CShipConstructScreen::FillItemList()
{
    CCampaign* campaign = GetGameCampaign();
    const CShipComponentDatabase* database = GetLevelShipDatabase();
    const int position = GetSelection(m_page, CATEGORY_LIST);
    m_records.clear();
    if (campaign && position >= 0 && position < static_cast<int>(m_kinds.size()))
        m_records = ListKindRecords(*campaign, m_kinds[position]);
    std::vector<uint32_t> names;
    for (int record : m_records)
    {
        const SStoreRecord& item = campaign->GetState().store[record];
        const CShipComponentDef* def = database ? database->GetComponentDef(item.kind, item.definition) : nullptr;
        names.push_back(def ? def->m_displayStringId : 0);
    }
    if (names.empty())
        names.push_back(0);
    SetListTexts(m_page.FindList(ITEM_LIST), names);
    ShowItemDescription();
}

void CShipConstructScreen::ShowItemDescription()
{
    const CCampaign* campaign = GetGameCampaign();
    const CShipComponentDatabase* database = GetLevelShipDatabase();
    const int position = GetSelection(m_page, ITEM_LIST);
    if (!campaign || position < 0 || position >= static_cast<int>(m_records.size()))
    {
        m_page.SetText(DESCRIPTION, u"...");
        return;
    }
    const SStoreRecord& item = campaign->GetState().store[m_records[position]];
    const CShipComponentDef* def = database ? database->GetComponentDef(item.kind, item.definition) : nullptr;
    if (def)
        m_page.SetTextById(DESCRIPTION, def->m_descriptionStringId);
    else
        m_page.SetText(DESCRIPTION, u"...");
}

// ---- adding and editing ----------------------------------------------------------------

void CShipConstructScreen::StartAdding()
{
    for (int id : {ADD_COMPONENT, EDIT_PODS, HULL_CHOOSER, DONE})
        m_page.SetEnabled(id, false);
    FillCategoryList();
    m_page.SetEnabled(CATEGORY_LIST, true);
    m_page.SetEnabled(ITEM_LIST, true);
    m_page.Focus(CATEGORY_LIST);
    m_addMode = true;
}

void CShipConstructScreen::PlaceItem()
{
    const CCampaign* campaign = GetGameCampaign();
    CShipConstructGrid* grid = GetGrid();
    const int position = GetSelection(m_page, ITEM_LIST);
    if (!campaign || !grid || position < 0 || position >= static_cast<int>(m_records.size()))
        return;
    const SStoreRecord& item = campaign->GetState().store[m_records[position]];
    for (int id : {CATEGORY_LIST, ITEM_LIST, ADD_COMPONENT, EDIT_PODS})
        m_page.SetEnabled(id, false);
    if (g_gui)
        g_gui->SetFocus(-1);
    grid->SetSelection(item.kind, item.definition);
}

void CShipConstructScreen::StartEditing()
{
    CShipConstructGrid* grid = GetGrid();
    if (!grid)
        return;
    m_page.SetEnabled(ADD_COMPONENT, false);
    m_page.SetEnabled(EDIT_PODS, false);
    m_page.SetEnabled(DONE, false);
    if (g_gui)
        g_gui->SetFocus(-1);
    m_editMode = true;
    grid->GiveInput(GetScreenTime());
}

void CShipConstructScreen::BackOut()
{
    CShipConstructGrid* grid = GetGrid();
    m_page.SetEnabled(DONE, true);
    const bool edit = m_editMode;
    const bool add = m_addMode;
    m_editMode = false;
    m_addMode = false;
    RefreshButtons();
    ClearLists();
    if (edit && m_page.IsEnabled(EDIT_PODS))
        m_page.Focus(EDIT_PODS);
    else if (add && m_page.IsEnabled(ADD_COMPONENT))
        m_page.Focus(ADD_COMPONENT);
    if (grid)
    {
        grid->SetFinished(true);
        grid->ClearPlacement();
    }
}

// The grid picked: a placement is done (add mode), or a fitted pod is chosen (edit mode).
void CShipConstructScreen::OnGridPick()
{
    CShipConstructGrid* grid = GetGrid();
    grid->ClearPicked();
    if (m_addMode)
    {
        m_addMode = false;
        m_page.SetEnabled(DONE, true);
        ClearLists();
        RefreshButtons();
        RefreshFigures();
        return;
    }
    if (!m_editMode)
        return;
    const CShipConstructGrid::SCell cursor = grid->GetCursor();
    const SShipPod* pod = grid->FindPodAt(cursor.x, cursor.y);
    if (!pod || pod->m_kind == COMPONENT_NONE)
        return;
    grid->SetFinished(true);
    OpenModifyPopup();
}

void CShipConstructScreen::ShowPodUnderCursor()
{
    const CShipConstructGrid* grid = GetGrid();
    const CShipComponentDatabase* database = GetLevelShipDatabase();
    const CShipConfig* design = GetDesign();
    if (!grid || !database || !design)
        return;
    const CShipConstructGrid::SCell cursor = grid->GetCursor();
    const SShipPod* pod = grid->FindPodAt(cursor.x, cursor.y);
    const CShipComponentDef* def = pod ? database->GetComponentDef(pod->m_kind, pod->m_defIndex) : nullptr;
    const SComponentCategory* category = def ? database->GetCategory(pod->m_kind) : nullptr;
    CGuiListButton* categories = m_page.FindList(CATEGORY_LIST);
    CGuiListButton* items = m_page.FindList(ITEM_LIST);
    if (!def || !category)
    {
        SetListTexts(categories, {0});
        SetListTexts(items, {0});
        m_page.SetText(DESCRIPTION, u"...");
        return;
    }
    SetListTexts(categories, {category->m_displayStringId});
    SetListTexts(items, {def->m_displayStringId});
    std::u16string text = LookUpText(def->m_descriptionStringId);
    const int32_t index = static_cast<int32_t>(pod - design->m_pods);
    for (int group = 1; group <= 2; ++group)
        if (IsWeaponKind(pod->m_kind) && design->IsInWeaponGroup(group, index))
            text += group == 1 ? u" (group 1)" : u" (group 2)";
    m_page.SetText(DESCRIPTION, text);
}

// ---- the modify-pod popup ----------------------------------------------------------------

void CShipConstructScreen::OpenModifyPopup()
{
    m_modifyChoice = 0;
    if (!OpenPopup(MODIFY_POPUP, MODIFY_REMOVE))
    {
        // Without its popup the pod cannot be changed: edit mode goes on.
        if (CShipConstructGrid* grid = GetGrid())
            grid->GiveInput(GetScreenTime());
        return;
    }
    ShowModifyChoices();
    ArmInputGate();
}

void CShipConstructScreen::ShowModifyChoices()
{
    const CShipConstructGrid* grid = GetGrid();
    const SShipPod* pod = grid ? grid->FindPodAt(grid->GetCursor().x, grid->GetCursor().y) : nullptr;
    const bool weapon = pod && IsWeaponKind(pod->m_kind);
    m_modifyChoice = 0;
    for (int id : {MODIFY_REMOVE, MODIFY_SELL, MODIFY_KEEP})
        m_popup.SetEnabled(id, true);
    m_popup.SetEnabled(MODIFY_GROUP_1, weapon);
    m_popup.SetEnabled(MODIFY_GROUP_2, weapon);
    m_popup.SetEnabled(MODIFY_APPLY, false);
    m_popup.SetEnabled(MODIFY_BACK, false);
    m_popup.Focus(MODIFY_REMOVE);
}

void CShipConstructScreen::RecordModifyChoice(int choice)
{
    m_modifyChoice = choice;
    for (int id = MODIFY_REMOVE; id <= MODIFY_KEEP; ++id)
        m_popup.SetEnabled(id, false);
    m_popup.SetEnabled(MODIFY_APPLY, true);
    m_popup.SetEnabled(MODIFY_BACK, true);
    m_popup.Focus(MODIFY_APPLY);
}

// A refused choice (no room in the stores, stocks full, a full group) leaves the pod
// as it was; the popup closes all the same.
void CShipConstructScreen::ApplyModifyChoice()
{
    CCampaign* campaign = GetGameCampaign();
    const CShipComponentDatabase* database = GetLevelShipDatabase();
    CShipConfig* design = GetDesign();
    CShipConstructGrid* grid = GetGrid();
    if (campaign && database && design && grid)
    {
        const CShipConstructGrid::SCell cursor = grid->GetCursor();
        const SShipPod* pod = grid->FindPodAt(cursor.x, cursor.y);
        const int32_t index = pod ? static_cast<int32_t>(pod - design->m_pods) : -1;
        const CVector2D position(static_cast<float>(cursor.x), static_cast<float>(cursor.y));
        switch (m_modifyChoice)
        {
        case MODIFY_REMOVE:
            ReturnPodToStore(*campaign, *design, index);
            break;
        case MODIFY_SELL:
            SellPod(*campaign, *database, *design, index);
            break;
        case MODIFY_GROUP_1:
        case MODIFY_GROUP_2:
            if (pod && IsWeaponKind(pod->m_kind))
                design->AssignToWeaponGroup(m_modifyChoice == MODIFY_GROUP_1 ? 1 : 2, position);
            break;
        default:
            break;
        }
    }
    ClosePopup(-1);
    m_modifyChoice = 0;
    m_editMode = false;
    if (grid)
        grid->SetFinished(true);
    m_page.SetEnabled(DONE, true);
    ClearLists();
    RefreshButtons();
    RefreshFigures();
}

// ---- done ----------------------------------------------------------------------------------

void CShipConstructScreen::CommitIfNew()
{
    if (!m_newDesign)
        return;
    m_newDesign = false;
    CCampaign* campaign = GetGameCampaign();
    const CShipComponentDatabase* database = GetLevelShipDatabase();
    if (campaign && database)
        CommitNewDesign(*campaign, *database, m_slot);
}

void CShipConstructScreen::Finish()
{
    if (m_flow.GetDirector().GetTutorialStep() == TUTORIAL_STEP_CHAT)
    {
        OpenChat(CHAT_DONE);
        return;
    }
    CommitIfNew();
    if (CShipConstructGrid* grid = GetGrid())
        grid->HideIcons();
    m_flow.GetDirector().StopSequence();
    m_flow.SetScreen(SCREEN_SHIP_SELECT);
}

void CShipConstructScreen::OpenChat(const char* file)
{
    if (!m_chat.Load(file, m_id))
        return;
    m_chat.SetVisible(CHAT_BOX, true);
    m_chat.Focus(CHAT_CLOSE);
    m_flow.SetChatClosed(false);
}

void CShipConstructScreen::CloseChat()
{
    if (!m_chat.IsLoaded())
        return;
    m_chat.SetVisible(CHAT_BOX, false);
    m_chat.Destroy();
    m_flow.SetChatClosed(true);
    m_page.Focus(DONE);
}

// ---- the frame and events --------------------------------------------------------------------

void CShipConstructScreen::Update()
{
    CShipConstructGrid* grid = GetGrid();
    if (!grid)
        return;
    grid->Update();
    if (grid->IsPicked())
        OnGridPick();
    const bool quiet = !IsPopupOpen() && !IsChatOpen() && m_flow.IsChatClosed() &&
                       m_flow.GetGame().GetDirector().IsGateOpen(GATE_GUI_KEYBOARD);
    const bool back = grid->IsSecondButton() || (g_gui && g_gui->IsRightButtonHeld());
    if (quiet && back && (m_addMode || m_editMode))
        BackOut();
    if (m_editMode && !IsPopupOpen())
        ShowPodUnderCursor();
    RefreshFigures();
}

void CShipConstructScreen::HandleEvent(int32_t controlId, int32_t event, int32_t value)
{
    if (IsChatOpen())
    {
        if (controlId == CHAT_CLOSE && event == GUI_EVENT_ACTIVATED)
            CloseChat();
        return;
    }
    if (IsPopupOpen())
    {
        if (event == GUI_EVENT_ACTION && value == GUI_ACTION_BACK && m_modifyChoice != 0)
            ShowModifyChoices();
        if (event != GUI_EVENT_ACTIVATED)
            return;
        if (controlId >= MODIFY_REMOVE && controlId <= MODIFY_KEEP)
            RecordModifyChoice(controlId);
        else if (controlId == MODIFY_APPLY)
            ApplyModifyChoice();
        else if (controlId == MODIFY_BACK)
        {
            ShowModifyChoices();
            m_page.SetEnabled(DONE, true);
        }
        return;
    }
    if (event == GUI_EVENT_ACTION)
    {
        if (value == GUI_ACTION_BACK)
        {
            if (m_flow.IsChatClosed() && m_flow.GetGame().GetDirector().IsGateOpen(GATE_GUI_KEYBOARD))
            {
                if (m_addMode || m_editMode)
                    BackOut();
                else if (controlId != DONE)
                    m_page.Focus(DONE);
            }
            return;
        }
        if (value != GUI_ACTION_LEFT && value != GUI_ACTION_RIGHT)
            return;
        if (controlId == HULL_CHOOSER)
            ChooseHull();
        else if (controlId == CATEGORY_LIST)
            FillItemList();
        else if (controlId == ITEM_LIST)
            ShowItemDescription();
        return;
    }
    if (event != GUI_EVENT_ACTIVATED)
        return;
    switch (controlId)
    {
    case DONE:
        Finish();
        break;
    case EDIT_PODS:
        StartEditing();
        break;
    case ADD_COMPONENT:
        if (CanAddComponent())
            StartAdding();
        break;
    case CATEGORY_LIST:
        m_page.Focus(ITEM_LIST);
        break;
    case ITEM_LIST:
        PlaceItem();
        break;
    default:
        break;
    }
}
