#pragma once
// The galaxy map: the view through which the player chooses where the gravity drive
// jumps. The zone view shows the current zone's nodes as icons over the zone's
// picture, with the current node marked and blinking, a rock gauge beside every
// normal and transfer node and an icon for each group of enemies waiting at a node;
// the galaxy view shows the transfer nodes of every open zone at half scale over the
// zones' pictures, with the links between the zones. Targets within reach are chosen
// with the direction keys or a click; 250 ms of game time after the choice the jump
// starts: the current node (and zone) moves, the zone manager runs a jump update (a
// minute of zone time, every node at once) and the marker flies there while the
// groups that moved fly to their new nodes. When enemies wait at the new node (their
// mass above 40) the map holds for 2500 ms of real time and hands over to the flight
// there; otherwise the player stays on the map, free to jump on. A requested jump
// (the zone map's jump button) runs the same update without leaving the node.
//
// The zone manager holds the map; the zone-map screen shows it, drives its update
// and gives it the texts of its layout (CGalaxyMapTexts); the game flow draws its
// gauges over the front end while the zone map shows.
//
// Every sprite stands in virtual-screen units (640 x 480): node icons and visited
// marks on plane 11, links, markers and group icons on plane 12, the zones' pictures
// on plane 10. Frames of "data\sprites\maps\mapicons.spr" and "mapiconsb.spr" are
// listed below (EMapIconFrame).

#include "core/Vector2D.h"
#include "presentation/AnimatedSprite.h"
#include "presentation/HudBar.h"
#include "presentation/SpriteRef.h"
#include "presentation/TiledSprite.h"
#include "world/GalaxyMapRules.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CGame;
class CZoneDefinition;
class CZoneManager;
struct SZoneMapNode;

// The texts of the zone map's layout that the map fills: the zone titles 4201 to
// 4205, the view's title 4210 and the explored share 4211. The zone-map screen
// installs its own; the base does nothing.
class CGalaxyMapTexts
{
public:
    virtual ~CGalaxyMapTexts() = default;
    virtual void SetText(int /*controlId*/, const std::u16string& /*text*/) {}
    // The text's top-left corner in virtual-screen units.
    virtual void PlaceText(int /*controlId*/, const CVector2D& /*position*/) {}
    virtual void ShowText(int /*controlId*/, bool /*shown*/) {}
};

// The frames of the map's two icon files.
enum EMapIconFrame : int
{
    // "mapicons.spr": node icons by kind (GetNodeIconFrame), then the overlays.
    MAP_FRAME_CURRENT_NODE = 0,
    MAP_FRAME_VISITED = 3,
    MAP_FRAME_TARGET = 4,
    MAP_FRAME_MARKER = 8,
    MAP_FRAME_LINK_DOT = 9,
    MAP_FRAME_SHIP_FIRST = 10, // the ship marker's moving animation, 4 frames
    MAP_FRAME_SHIP_COUNT = 4,
    MAP_ICON_FRAMES = 14,
    // "mapiconsb.spr": a group of enemies, and one with a mining barge.
    MAP_FRAME_GROUP = 0,
    MAP_FRAME_MINING_GROUP = 1,
    MAP_GROUP_FRAMES = 2,
};

// The hints the map raises for the director's zone-map chats while the campaign's
// chats run: the triggers of front-end chats 5 to 9 (DIRECTOR_FRONT_END_CHAT).
enum EMapHint : int
{
    MAP_HINT_TRANSFER_NODE = 5, // the player stands on a transfer node
    MAP_HINT_DANGER_NODE = 6,   // ... on a danger node
    MAP_HINT_ZONE_LINK = 7,     // a link into another zone is drawn
    MAP_HINT_ENEMY_GROUP = 8,   // a group of enemies waits at a node
    MAP_HINT_MINING = 9,        // a mining group works a node
};

class CGalaxyMap
{
public:
    static constexpr int NODE_SLOTS = 75;
    static constexpr int ZONE_SLOTS = MAP_MAX_ZONES;
    static constexpr uint32_t HOLD_MS = 2500;       // real time after an arrival
    static constexpr uint32_t BLINK_MS = 250;       // game time
    static constexpr uint32_t CHOICE_WAIT_MS = 250; // game time from a choice to its jump
    static constexpr float FLIGHT_MASS = 40.0f;     // waiting enemies above this pull into flight
    static constexpr float ZONE_LINK_START = 10.0f; // dotted lines start this far out
    static constexpr float GALAXY_LINK_START = 16.0f;
    static constexpr int LINK_SPACING = 5;
    static constexpr float GROUP_OFFSET = 8.0f;
    static constexpr float GAUGE_OFFSET = 5.0f;
    static constexpr int32_t GAUGE_WIDTH = 3;
    static constexpr int32_t GAUGE_HEIGHT = 8;
    static constexpr float SPIN_DEGREES = 5.0f;
    static constexpr int ICON_PLANE = 11;
    static constexpr int OVERLAY_PLANE = 12;
    static constexpr int BACKGROUND_PLANE = 10;
    static constexpr const char* ICON_FILE = "data\\sprites\\maps\\mapicons.spr";
    static constexpr const char* GROUP_FILE = "data\\sprites\\maps\\mapiconsb.spr";
    static constexpr const char* GAUGE_FILE = "data\\sprites\\particles\\particles2x.spr";

    // The layout's texts.
    enum ETextControl : int
    {
        TEXT_ZONE_FIRST = 4201, // 4201 + zone index
        TEXT_VIEW_TITLE = 4210,
        TEXT_EXPLORED = 4211,
    };
    static constexpr uint32_t TEXT_ZONE_VIEW = 0x73000004;
    static constexpr uint32_t TEXT_GALAXY_VIEW = 0x3b000000;
    static constexpr uint32_t TEXT_EXPLORED_FORMAT = 0xfd000005;
    static constexpr uint32_t TEXT_ZONE_CLEARED = 0x3a000003;
    static constexpr uint32_t TEXT_ZONE = 0xf8000003;

    // The director's tutorial step during which the danger nodes are not drawn.
    static constexpr int TUTORIAL_STEP_NO_DANGER = 23;

    CGalaxyMap(CZoneManager& zones, CGame& game);
    ~CGalaxyMap();
    CGalaxyMap(const CGalaxyMap&) = delete;
    CGalaxyMap& operator=(const CGalaxyMap&) = delete;

    // Null puts back the texts that go nowhere.
    void SetTexts(CGalaxyMapTexts* texts);
    // The sprites and gauges are made on the first Show (the sprite bank must be up)
    // and given back here, or by the map's end.
    void ReleaseSprites();

    EMapView GetView() const { return m_view; }
    void SetView(EMapView view) { m_view = view; }

    // Shows the map of the current view (the target is cleared in the galaxy view).
    void Show();
    // Hides every icon, gauge, link and picture and the map's texts.
    void Hide();
    bool IsShown() const { return m_shown; }
    // Choosing by keys and clicks and the chosen target's jump need the map enabled
    // (the zone map's map view).
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    bool IsEnabled() const { return m_enabled; }

    // The per-frame step (after the GUI): arrival hold, view refresh, the jump's
    // animation, choosing, blinking and the jumps.
    void Update(bool jumpRequested);
    // The selectable targets of the view, and their dotted links.
    void BuildLinks();
    void ShowParkedGroups();
    void ShowRockGauges();
    void StepJump();
    // The rock gauges (the game flow draws them over the zone map's screen).
    void DrawGauges() const;
    void HideGauges();

    EMapJumpState GetJumpState() const { return m_state; }
    int32_t GetTarget() const { return m_target; }
    const std::vector<SMapCandidate>& GetTargets() const { return m_targets; }
    // A target of the list chosen (as a click or a direction would); MAP_NO_TARGET or
    // the current node clears the choice. False for a target not in the list.
    bool ChooseTarget(int32_t target);
    // The tutorial's arrival: the map holds from now and then hands over to the
    // flight, as after a jump into waiting enemies.
    void SetArrived();
    // Set when an arrival handed over to the flight; cleared as a hold begins.
    bool IsMapDone() const { return m_mapDone; }
    void SetMapDone(bool done) { m_mapDone = done; }
    // True once after a jump came to an end (the zone map enables its buttons again).
    bool TakeJumpFinished();

    // Whether the bosses beaten open the zone (and the zone file has it).
    bool IsZoneOpen(int32_t zone) const;
    // Where a node of the current zone stands in the view (also a node of another zone
    // in the galaxy view); false when there is no such node.
    bool GetNodePosition(int32_t zone, int32_t node, CVector2D& position) const;
    // The markers and pieces as the map shows them (tests and probes).
    const CAnimatedSprite& GetNodeIcon(int node) const { return m_nodeIcons[node]; }
    const CAnimatedSprite& GetVisitedMark(int node) const { return m_visitedMarks[node]; }
    const CAnimatedSprite& GetGroupIcon(int slot) const { return m_groupIcons[slot]; }
    const CAnimatedSprite& GetMovingGroupIcon(int slot) const { return m_movingGroups[slot]; }
    const CAnimatedSprite& GetLinkDot(int slot) const { return m_linkDots[slot]; }
    const CAnimatedSprite& GetCurrentMarker() const { return m_currentMarker; }
    const CAnimatedSprite& GetTargetMarker() const { return m_targetMarker; }
    const CAnimatedSprite& GetShipMarker() const { return m_shipMarker; }
    const CHudBar& GetGauge(int node) const { return m_gauges[node]; }
    int GetLinkDotCount() const { return m_linkDotCount; }

private:
    struct SMovingGroup
    {
        CVector2D position;
        CVector2D goal;
        bool arrived = false;
    };

    static void ShowAt(CAnimatedSprite& sprite, const CVector2D& position, float scale);
    void LoadSprites();
    void LoadZonePictures();
    CZoneDefinition* GetCurrentZone() const;
    bool IsNodeDrawn(const CZoneDefinition& zone, int32_t node) const;
    CVector2D GetViewPosition(int32_t zone, int32_t node) const;
    void ShowZoneView();
    void ShowGalaxyView();
    void HideNodes();
    void HideLinks();
    void ShowNodeIcon(int slot, const CVector2D& position, int frame, bool visited);
    void ShowZoneTitle(int32_t zone, const CVector2D& position);
    void ShowExplored();
    void PlaceCurrentMarker();
    void AddLink(const CVector2D& from, const CVector2D& to, float startOut);
    void StepArrivalHold();
    void RefreshChoosing();
    void StepChoice();
    void StepBlink();
    bool StepClick();
    void StepDirections();
    void StartRequestedJump();
    void StartTargetJump();
    void BeginJumpAnimation();
    void FinishJump();
    void RaiseHint(int hint) const;
    bool IsCampaignChatStage() const;
    void SpinIcons();

    CZoneManager& m_zones;
    CGame& m_game;
    CGalaxyMapTexts m_noTexts;
    CGalaxyMapTexts* m_texts = &m_noTexts;
    bool m_loaded = false;

    CSpriteRef m_iconRef;
    CSpriteRef m_groupRef;
    CSpriteRef m_hyperRefs[ZONE_SLOTS];
    CAnimatedSprite m_hyperPictures[ZONE_SLOTS];
    std::unique_ptr<CTiledSpriteDef> m_normalDefs[ZONE_SLOTS];
    CTiledSprite m_normalPictures[ZONE_SLOTS];
    CAnimatedSprite m_nodeIcons[NODE_SLOTS];
    CAnimatedSprite m_visitedMarks[NODE_SLOTS];
    CAnimatedSprite m_linkDots[NODE_SLOTS];
    CAnimatedSprite m_groupIcons[NODE_SLOTS];
    CAnimatedSprite m_movingGroups[NODE_SLOTS];
    CAnimatedSprite m_currentMarker;
    CAnimatedSprite m_targetMarker;
    CAnimatedSprite m_shipMarker;
    CHudBar m_gauges[NODE_SLOTS];
    int m_linkDotCount = 0;

    EMapView m_view = MAP_VIEW_ZONE;
    EMapJumpState m_state = MAP_CHOOSING;
    uint32_t m_jumpTime = 0;      // real time of the arrival's hold
    uint32_t m_jumpStartGame = 0; // game time the jump's animation began
    uint32_t m_blinkTime = 0;     // game time
    uint32_t m_choiceTime = 0;    // game time of the last choice
    int32_t m_target = MAP_NO_TARGET;
    int32_t m_previousNode = 0;
    int32_t m_previousZone = 0;
    bool m_shown = false;
    bool m_enabled = true;
    bool m_mapDone = false;
    bool m_jumpFinished = false;
    std::vector<SMapCandidate> m_targets;
    CVector2D m_shipPosition;
    bool m_directionDown[4] = {};
    SMovingGroup m_moving[NODE_SLOTS];
    int m_movingCount = 0;
};
