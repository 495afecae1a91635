#pragma once
// The zone map (screen 4): the galaxy map of the zone manager over the warp-map
// backdrop, with back (to the hub), the map view, the jump button, the zone's
// information popup, a marker that blinks while the map holds before a flight, the
// states of the manufacturing and research slots and the transfer-node indicators.
//
// The map shows as the screen shows, but the player chooses targets on it only in its
// map view: the map view button takes the focus from the buttons (so the direction
// keys and clicks reach the map) and disables them; a chosen target then jumps. The
// jump button asks the map for a jump where the player stands: a minute of zone time
// passes (the slots work, the groups move) without leaving the node. On a transfer
// node (one that leads into another zone) the map view opens on the galaxy; the back
// action there turns to the zone's own map, and the back action on the zone's map
// leaves the map view. The tutorial's steps 23 and 25 start the map view at once with
// only the button they ask for.
//
// The second layout ("zonemap2.txt", panel 4200) holds the texts the galaxy map fills:
// the zone titles 4201 to 4205, the view's title 4210 and the explored share 4211.

#include "frontend/FrontEndScreen.h"
#include "world/GalaxyMap.h"

class CGalaxyMap;

class CZoneMapScreen : public CFrontEndScreen
{
public:
    static constexpr const char* LAYOUT = "data/frontend/zonemap.txt";
    static constexpr const char* PANEL_LAYOUT = "data/frontend/zonemap2.txt";
    static constexpr const char* INFO_POPUP = "data/frontend/zonepopup.txt";
    static constexpr int SEQUENCE_BACKDROP = 18;
    static constexpr uint32_t BLINK_MS = 250;
    static constexpr int TUTORIAL_STEP_JUMP = 25;
    static constexpr int TUTORIAL_STEP_FIRST_MAP = 23;
    static constexpr int STAGE_TUTORIAL = 2;
    static constexpr uint32_t TEXT_MANUFACTURING = 0x6b000001;
    static constexpr uint32_t TEXT_RESEARCH = 0xb7000000;

    enum EControl : int
    {
        BACK = 4001,
        MAP_VIEW = 4002,
        JUMP = 4003,
        INFO = 4004,
        MARKER = 4050,
        MANUFACTURING_STATE = 4100,
        RESEARCH_STATE = 4101,
        PANEL = 4200,
        INFO_CLOSE = 101,
        // Lit on a transfer node: its way leads into an open zone, or a closed one.
        TRANSFER_OPEN = 100004,
        TRANSFER_CLOSED = 100005,
    };

    explicit CZoneMapScreen(CGameFlow& flow);
    ~CZoneMapScreen() override;

    void Load() override;
    void Show() override;
    void Hide() override;
    void Update() override;

    bool IsMapView() const { return m_mapView; }
    bool IsJumpRequested() const { return m_jumpRequested; }
    const CScreenLayout& GetPanel() const { return m_panel; }
    // Null without a zone manager.
    CGalaxyMap* GetMap() const;

protected:
    void HandleEvent(int32_t controlId, int32_t event, int32_t value) override;

private:
    // The map's texts go to the second panel's controls.
    class CPanelTexts : public CGalaxyMapTexts
    {
    public:
        explicit CPanelTexts(const CScreenLayout& panel) : m_panel(panel) {}
        void SetText(int controlId, const std::u16string& text) override;
        void PlaceText(int controlId, const CVector2D& position) override;
        void ShowText(int controlId, bool shown) override;

    private:
        const CScreenLayout& m_panel;
    };

    bool IsTutorialMapStep() const;
    int32_t GetTransferZone() const;
    void StartMapView();
    void EndMapView();
    void SetButtons(bool enabled);
    void OpenInfo();
    void CloseInfo();
    bool IsBackActionPressed();
    void UpdateIndicators();
    void UpdateSlotTexts();
    void UpdateMarker();

    CScreenLayout m_panel;
    CPanelTexts m_texts;
    bool m_jumpRequested = false;
    bool m_mapView = false;
    bool m_markerShown = false;
    uint32_t m_nextBlink = 0;
    bool m_backWasDown = true;
};
