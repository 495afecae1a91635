#pragma once
// The research screen (screen 10): the campaign's two work slots, the research slot
// that unlocks the next definition of a component kind and the manufacturing slot that
// builds components into the stores, each on a tab of its own; the gem stocks, the
// free crew and the progress graphs of both slots.
//
// Showing the screen previews the manufacture tab: its lists are filled but only the
// tab buttons and back take the focus. A tab button that gains the focus previews its
// tab; activating it enters the panel (lists, units, crew, pause, cancel, start). After
// a pause, cancel or start, or the back action, the panel is left again. In the
// tutorial's steps 21 and 24 only the start the tutorial asks for is allowed: anything
// else opens its chat.

#include "frontend/FrontEndScreen.h"
#include "frontend/ResearchRules.h"

#include <vector>

class CCampaign;
class CShipComponentDatabase;

class CResearchScreen : public CFrontEndScreen
{
public:
    static constexpr const char* LAYOUT = "data/frontend/r&d.txt";
    static constexpr const char* CHAT_STATION_WEAPON = "data/chat/feTut2.txt";
    static constexpr const char* CHAT_HULL = "data/chat/feTut8.txt";
    static constexpr int SEQUENCE_BACKDROP = 19;
    static constexpr uint32_t BLINK_MS = 250;
    static constexpr int UNITS_MAX = 20;
    static constexpr int GAUGE_BAR_WIDTH = 20;
    // The research screen's chats that the director shows once the kind is open.
    static constexpr int FRONT_END_CHAT_FLAGS = 3;

    enum EControl : int
    {
        BACK = 10001,
        RESEARCH_TAB = 10002,
        MANUFACTURE_TAB = 10003,
        KIND_LIST = 10004,
        ITEM_LIST = 10005,
        UNITS = 10006,
        PAUSE = 10007,
        CANCEL = 10008,
        START = 10009,
        CREW = 10010,
        STATUS = 10011,
        COST_NORMAL = 10012,
        COST_RARE = 10013,
        COST_VERY_RARE = 10014,
        FREE_CREW = 10015,
        STOCK_NORMAL = 10016,
        STOCK_RARE = 10017,
        STOCK_VERY_RARE = 10018,
        INFO_PANEL = 10019,
        STORED_COUNT = 10100,
        CHAT_BOX = 50000,
        CHAT_CLOSE = 50001,
    };

    explicit CResearchScreen(CGameFlow& flow);

    void Load() override;
    void Show() override;
    void Hide() override;
    void Update() override;

    bool IsResearchTab() const { return m_researchTab; }
    bool IsPanelOpen() const { return m_panelOpen; }
    bool IsChatOpen() const { return m_chat.IsLoaded(); }
    const CScreenLayout& GetChat() const { return m_chat; }
    // The kind and definition the panel shows (kind 0: none).
    int32_t GetSelectedKind() const;
    int32_t GetSelectedDefinition() const;

protected:
    void HandleEvent(int32_t controlId, int32_t event, int32_t value) override;

private:
    CCampaign* GetCampaign() const;
    const CShipComponentDatabase* GetDatabase() const;
    SWorkSlot* GetTabSlot() const;

    void Preview(bool researchTab);
    void EnterTab(bool researchTab);
    void LeavePanel();
    void BackOut();
    void ShowTabButtons();
    void SetPanelEnabled(bool enabled);

    void RebuildLists();
    void RebuildItemList();
    void ShowSelection();
    void RefreshStatus();
    void UpdateTexts();
    void Blink();
    bool IsBackOutPressed() const;

    void OnListAction(int32_t controlId, int32_t value);
    void OnActivated(int32_t controlId);
    void FocusFirstAction();
    void Start();
    void OpenChat(const char* file);
    void CloseChat();

    bool m_researchTab = true;
    bool m_panelOpen = false;
    bool m_researchBusy = false;
    bool m_manufactureBusy = false;
    CScreenLayout m_chat;
    uint32_t m_nextBlink = 0;
    bool m_statusShown = true;
    std::vector<int32_t> m_kinds;        // the kind list's entries
    std::vector<int32_t> m_definitions;  // the item list's entries
};
