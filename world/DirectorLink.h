#pragma once
// The sequence director's feature gates, which tell the rest of the game each frame
// what is live, and the flags other parts raise for it. The director sits in a
// layer above and installs itself on the game; the base keeps every gate open.

#include <cstdint>

enum EDirectorGate
{
    GATE_TUTORIAL_START = 0,
    GATE_WORLD_UPDATE = 3,
    GATE_ZONE_POPULATION = 4,
    GATE_STATION_GAUGES = 5,
    GATE_STATION_ATTENTION = 6,
    GATE_GUI_KEYBOARD = 7,
    GATE_FIRE_GROUP_1 = 8,
    GATE_FIRE_GROUP_2 = 9,
    GATE_GRAVITY_BEAM = 10,
    GATE_CALL_STATION = 11,
    GATE_STEERING = 12,
    GATE_ASTEROID_CHAT = 13,
    GATE_CARGO_CHAT = 14,
    DIRECTOR_GATE_COUNT = 15,
};

// The director's groups of flags that the world raises and clears.
enum EDirectorFlagGroup
{
    DIRECTOR_FLIGHT_CHAT = 0, // 29: a worm at a dangerous node, 30: a worm elsewhere
    DIRECTOR_VISIT_CHAT = 1,  // 0: the zone's carrier left its wreck pod
    DIRECTOR_BOSS_CHAT = 2,   // 2: a drive pod was spawned
    // The triggers of the front-end chats by chat number (the galaxy map raises 5 to 9).
    DIRECTOR_FRONT_END_CHAT = 3,
};

// Flags of the flight-chat group that the motherships raise while one of their
// configuration lives (and clear when the last goes): minelayer 0, drone 2,
// crusher 4, interdictor 6, spiral 8, mining 10.
// Flags of the boss-chat group: 0 the zone's last mining mothership died; 8 to 12 the
// bosses' go flags, raised as the director shows boss chats 44 to 48.
constexpr int DIRECTOR_MINING_CLEAR_FLAG = 0;
constexpr int DIRECTOR_WRECK_POD_FLAG = 0; // of the visit-chat group
// Flags of the visit-chat group: 1 to 9, the alien nodes' chats 30 to 38 shown. The
// chat of zone z's first visit is 30 + 2z, of a later visit 31 + 2z (zones 0 to 3).
constexpr int DIRECTOR_ALIEN_CHAT_FLAG_FIRST = 1;
constexpr int DIRECTOR_BOSS_GO_FIRST = 8;
constexpr int DIRECTOR_BOSS_CHAT_FIRST = 44;

class CDirectorLink
{
public:
    virtual ~CDirectorLink() = default;
    virtual bool IsGateOpen(int /*gate*/) const { return true; }
    // Raises a flag of one of the director's groups; only the director clears them.
    virtual void RaiseFlag(int /*group*/, int /*flag*/) {}
    // The few flags the world itself clears (a wreck pod that dies takes its flag).
    virtual void ClearFlag(int /*group*/, int /*flag*/) {}
    // Whether a flag of a group stands raised. Without the director nothing runs the
    // bosses' chats, so the base has their go flags raised and no other.
    virtual bool IsFlagRaised(int group, int flag) const
    {
        return group == DIRECTOR_BOSS_CHAT && flag >= DIRECTOR_BOSS_GO_FIRST && flag < DIRECTOR_BOSS_GO_FIRST + 5;
    }
    // The last zone's boss left its queen fighter (the director follows her end).
    virtual void SetQueenHandle(int32_t /*handle*/) {}
    // Gates the world opens (the crew-site hint).
    virtual void OpenGate(int /*gate*/) {}

    // A full-screen sequence covers the game: the camera stands still.
    virtual bool IsCoveringSequencePlaying() const { return false; }
    // The director plays its own sequence of the station (its warps are then never
    // full-screen).
    virtual bool IsStationSequencePlaying() const { return false; }

    // The tutorial's state (0 none; in state 2 the player ship cannot die).
    virtual int GetTutorialState() const { return 0; }
    // The progress stage (3 while the campaign's chats run) and the tutorial's step
    // (-1 none).
    virtual int GetProgressStage() const { return 0; }
    virtual int GetTutorialStep() const { return -1; }
    // The current step's sub-state (0 as a step begins).
    virtual int GetSubState() const { return 0; }
    // The scripted hit of the last zone: while armed, the first hit from a marked
    // fighter is caught by the player ship and reported here instead of hurting.
    virtual bool IsScriptedHitArmed() const { return false; }
    virtual void OnScriptedHit() {}
    // The cargo hold took in an equipment pod (found, not salvaged, raises found).
    virtual void OnEquipmentPodCollected(bool /*found*/) {}
    // The hint that the player's lost ship left pods behind.
    virtual void ClearPodHint() {}
    // Any sequence plays (the HUD does not draw over one).
    virtual bool IsSequencePlaying() const { return false; }
    // Whether the director lets the HUD update and draw.
    virtual bool LetsHudDraw() const { return true; }
    // The last zone's queen fighter: the freeze that spares her once (its flag and
    // the game-clock time it ends, 0 before), and the chat page on show (-1 none),
    // since she dies only while page 54 shows.
    virtual bool IsQueenFrozen() const { return false; }
    virtual uint32_t GetQueenFreezeEnd() const { return 0; }
    virtual void FreezeQueen(uint32_t /*until*/) {}
    virtual int GetChatPage() const { return -1; }
    // The station's strike is spent (its target gone, the aftermath over).
    virtual void OnStationStrikeDone() {}
};
