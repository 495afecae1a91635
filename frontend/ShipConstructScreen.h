#pragma once
// The ship construction screen (screen 7): one design edited on the construction grid.
// A new design chooses its hull among the stored hulls until a pod holds a component.
// "Add component" fills a category list and an item list from the stores (kinds at
// their fitting limit left out) and hands the chosen item to the grid to place; "edit
// pods" gives the grid the input, and picking a fitted pod opens a popup that takes
// the component back into the stores, sells it, puts it in weapon group 1 or 2, or
// leaves it. The design's mass and energy figures follow every change. Done goes
// back to the ship select screen; a new design is committed then (or when the screen
// goes in any other way): its hull taken from the stores and the ship counted.

#include "core/Vector2D.h"
#include "frontend/FrontEndScreen.h"
#include "presentation/AnimatedSprite.h"
#include "presentation/SpriteRef.h"

#include <vector>

class CCampaign;
class CShipComponentDatabase;
class CShipConfig;
class CShipConstructGrid;

class CShipConstructScreen : public CFrontEndScreen
{
public:
    static constexpr const char* LAYOUT = "data/frontend/shipconstruct.txt";
    static constexpr const char* MODIFY_POPUP = "data/frontend/shipconstruct/modifypod.txt";
    static constexpr const char* HULL_SPRITE = "data/frontend/shipconstruct/hulls.spr";
    static constexpr const char* CHAT_DONE = "data/chat/feTut15.txt";
    static constexpr int HULL_PLANE = 5;
    static constexpr int SEQUENCE_BACKDROP = 20;
    static constexpr int TUTORIAL_STEP_CHAT = 27;

    enum EControl : int
    {
        DONE = 7001,
        IDENT = 7002,
        HULL_CHOOSER = 7003,
        EDIT_PODS = 7004,
        CATEGORY_LIST = 7005,
        ITEM_LIST = 7006,
        ADD_COMPONENT = 7007,
        DESCRIPTION = 7008,
        FIRST_FIGURE = 7021,  // 7021 to 7027
        // The modify-pod popup.
        MODIFY_REMOVE = 101,
        MODIFY_SELL = 102,
        MODIFY_GROUP_1 = 103,
        MODIFY_GROUP_2 = 104,
        MODIFY_KEEP = 105,
        MODIFY_APPLY = 106,
        MODIFY_BACK = 107,
        CHAT_BOX = 50000,
        CHAT_CLOSE = 50001,
    };

    explicit CShipConstructScreen(CGameFlow& flow);
    ~CShipConstructScreen() override;

    // The design the next Show edits, and whether it is a new one.
    void SetDesign(int slot, bool newDesign);

    void Load() override;
    void Show() override;
    void Hide() override;
    void Update() override;

    int GetSlot() const { return m_slot; }
    bool IsNewDesign() const { return m_newDesign; }
    bool IsAddMode() const { return m_addMode; }
    bool IsEditMode() const { return m_editMode; }
    bool IsChatOpen() const { return m_chat.IsLoaded(); }
    // The modify-pod choice recorded (101 to 105), 0 while choosing.
    int GetModifyChoice() const { return m_modifyChoice; }
    const CAnimatedSprite& GetHullPicture() const { return m_hullPicture; }
    // The kinds of the category list and the store records of the item list.
    const std::vector<int32_t>& GetListedKinds() const { return m_kinds; }
    const std::vector<int>& GetListedRecords() const { return m_records; }
    // Whether "add component" can offer anything.
    bool CanAddComponent() const;

protected:
    void HandleEvent(int32_t controlId, int32_t event, int32_t value) override;

private:
    CShipConfig* GetDesign() const;
    CShipConstructGrid* GetGrid() const;

    void ShowHullChooser();
    void ChooseHull();
    void ShowHullPicture();
    void RefreshButtons();
    void RefreshFigures();
    void ClearLists();
    void FillCategoryList();
    void FillItemList();
    void ShowItemDescription();
    void StartAdding();
    void PlaceItem();
    void StartEditing();
    void BackOut();
    void ShowPodUnderCursor();
    void OnGridPick();

    void OpenModifyPopup();
    void ShowModifyChoices();
    void RecordModifyChoice(int choice);
    void ApplyModifyChoice();

    void Finish();
    void CommitIfNew();
    void OpenChat(const char* file);
    void CloseChat();

    int m_slot = 0;
    bool m_newDesign = false;
    bool m_addMode = false;
    bool m_editMode = false;
    int m_modifyChoice = 0;
    int m_hullPosition = 0;
    std::vector<int32_t> m_hulls;
    std::vector<int32_t> m_kinds;
    std::vector<int> m_records;
    CSpriteRef m_hullRef;
    CAnimatedSprite m_hullPicture;
    CScreenLayout m_chat;
};
