#pragma once
// The ship select screen (screen 6): the player's three design slots (2, 3 and 4)
// with their names and hull condition. An empty slot asks for a name and makes a new
// design on it, which the construction screen opens as new; a slot holding a design
// can be opened for construction, sold (its parts refunded while the stocks take
// them) or dismantled (its parts back into the stores), each after a confirmation.

#include "frontend/FrontEndScreen.h"

class CShipSelectScreen : public CFrontEndScreen
{
public:
    static constexpr const char* LAYOUT = "data/frontend/shipselect.txt";
    static constexpr const char* NAME_POPUP = "data/frontend/entershipname.txt";
    static constexpr const char* CONFIRM_POPUP = "data/frontend/areYouSure.txt";
    static constexpr int SEQUENCE_BACKDROP = 20;
    static constexpr int TUTORIAL_STEP_NO_BACK = 26;

    enum EControl : int
    {
        FIRST_SLOT = 6001,  // 6001 to 6003: design slots 2 to 4
        BACK = 6004,
        MODIFY = 6006,
        SELL = 6007,
        DISMANTLE = 6008,
        CURRENT_CONDITION = 6079,
        FIRST_CONDITION = 6080,  // 6080 to 6082: slots 2 to 4
        // In the popups.
        NAME_EDIT = 102,
        CONFIRM = 103,
        CANCEL = 104,
        NAME_WARNING = 105,
    };

    enum EPending : int
    {
        PENDING_NONE,
        PENDING_NAME,
        PENDING_SELL,
        PENDING_DISMANTLE,
    };

    explicit CShipSelectScreen(CGameFlow& flow);

    void Show() override;
    void Hide() override;

    // The design slot in hand (2 to 4), 0 for none.
    int GetSlotInHand() const { return m_slot; }
    EPending GetPending() const { return IsPopupOpen() ? m_pending : PENDING_NONE; }
    static int GetSlotButton(int slot) { return FIRST_SLOT + slot - 2; }

protected:
    void HandleEvent(int32_t controlId, int32_t event, int32_t value) override;

private:
    void RefreshSlots();
    void SetSlotActions(bool enabled);
    void ChooseSlot(int slot);
    void Confirm();
    void ConfirmName();
    void CloseAndFocus();
    bool IsTutorial() const;

    int m_slot = 0;
    EPending m_pending = PENDING_NONE;
};
