#pragma once
// The load screen (screen 9): the six slots with their names and dates. A slot that
// checks out is loaded while the loading message shows for at least 2000 ms, then the
// load-complete popup leads to the hub; a slot found damaged on loading is refused
// with the failure popup and the game goes on as it was.

#include "frontend/SaveScreen.h"

class CLoadScreen : public CSlotListScreen
{
public:
    static constexpr const char* LAYOUT = "data/frontend/load.txt";
    static constexpr const char* COMPLETE_POPUP = "data/frontend/loadcomplete.txt";
    static constexpr const char* FAILED_POPUP = "data/frontend/loadfailed.txt";
    static constexpr uint32_t TEXT_LOADING = 0x67000003;

    enum EControl : int
    {
        BACK = 9001,
        FIRST_SLOT = 9003,
        FIRST_NAME = 9009,
        FIRST_DATE = 9020,
    };

    explicit CLoadScreen(CGameFlow& flow);

    void Show() override;
    void Hide() override;
    void Update() override;
    bool IsBusy() const override { return m_slot >= 0; }

protected:
    void HandleEvent(int32_t controlId, int32_t event, int32_t value) override;

private:
    int m_slot = -1;
    int m_chosenSlot = 0;
    bool m_firstFrame = false;
    bool m_loadDone = false;
    bool m_loaded = false;
    uint32_t m_messageStart = 0;
};
