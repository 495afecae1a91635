#pragma once
// The save screen (screen 8): six slots, each a button, an edit box for its name and
// its date. A slot is chosen, named (not "...", not empty, not another slot's name),
// confirmed when it holds a save already, and written while the saving message shows
// for at least 2000 ms; then the save-complete popup (or the failure popup, the old
// save kept) shows. The load screen (screen 9) lists the same slots.

#include "frontend/FrontEndScreen.h"

#include <string>

class CSaveGames;

// The saving or loading message and its end.
constexpr const char* SLOT_WARNING_POPUP = "data/frontend/warning.txt";
constexpr uint32_t SLOT_MESSAGE_MS = 2000;

// What the save and load screens share: the six slots' buttons, their names and dates
// (controls from the ids given, one a slot), shown over the screens' backdrop.
class CSlotListScreen : public CFrontEndScreen
{
protected:
    CSlotListScreen(CGameFlow& flow, int id, const char* layout, int firstSlot, int firstName, int firstDate);

    // Shows the page with the first slot's button focused, the slots listed and the
    // backdrop playing, and arms the input gate.
    void ShowSlotList();
    // Hides the page and stops the backdrop.
    void HideSlotList();
    // The names (or, for a damaged slot, "...") and dates of the slots; a slot without
    // a file keeps its texts.
    void RefreshSlotList() const;
    // The slot (0 to 5) of a slot button's control, -1 for any other control.
    int GetSlotOfButton(int32_t controlId) const;

private:
    const int m_firstSlot;
    const int m_firstName;
    const int m_firstDate;
};

class CSaveScreen : public CSlotListScreen
{
public:
    static constexpr const char* LAYOUT = "data/frontend/save.txt";
    static constexpr const char* OVERWRITE_POPUP = "data/frontend/saveoverwrite.txt";
    static constexpr const char* COMPLETE_POPUP = "data/frontend/savecomplete.txt";
    static constexpr const char* FAILED_POPUP = "data/frontend/savefailed.txt";
    static constexpr uint32_t TEXT_SAVING = 0x66000003;

    enum EControl : int
    {
        BACK = 8001,
        FIRST_SLOT = 8003,
        FIRST_NAME = 8009,
        FIRST_DATE = 8020,
    };
    enum EStep : int
    {
        STEP_IDLE = 0,
        STEP_MESSAGE_SHOWN = 1,
        STEP_SAVE_NOW = 2,
        STEP_WAIT = 3,
    };

    explicit CSaveScreen(CGameFlow& flow);

    void Show() override;
    void Hide() override;
    void Update() override;
    bool IsBusy() const override { return m_step != STEP_IDLE; }
    int GetSelectedSlot() const { return m_selected; }
    int GetStep() const { return m_step; }

protected:
    void HandleEvent(int32_t controlId, int32_t event, int32_t value) override;

private:
    void HandlePopupEvent(int32_t controlId);
    void TakeName();
    void OpenSavingMessage();
    // Slot buttons enabled, edit boxes disabled, the focus on the slot's button (or
    // the first), nothing selected.
    void ReleaseSlots();

    int m_selected = -1;
    int m_step = STEP_IDLE;
    bool m_overwritePending = false;
    std::string m_slotName;
    uint32_t m_messageStart = 0;
    bool m_saved = false;
};
