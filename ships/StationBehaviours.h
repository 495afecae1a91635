#pragma once
// How the station decides what to do: its context (the mode of its dealings with the
// player ship, the call it answers, the nearest world edge) and its three behaviours,
// added in this order so that docking wins a tie: docking the player ship, keeping
// clear of the world's edges and of crowds, and coming to the player who called.

#include "core/Vector2D.h"
#include "ships/BehaviourArbiter.h"

#include <cstdint>

class CStation;
class CGameObject;

enum EStationMode : int32_t
{
    STATION_IDLE = 0,      // after a launch, or a call that went unanswered
    STATION_NO_SHIP = 1,   // no player ship in the world
    STATION_OPEN = 2,      // the ports open to the ship when it comes near
    STATION_DOCKING = 3,   // the ship is inside (or going in)
    STATION_CALLED = 4,    // the station heads for the place the player called from
};

enum EStationBehaviourKey : int32_t
{
    STATION_KEEP_CLEAR = 0,
    STATION_DOCK = 1,
    STATION_COME_TO_PLAYER = 2,
};

class CStationContext : public CBehaviourContext
{
public:
    static constexpr uint32_t ALERT_EXPIRY_MS = 2500;
    static constexpr float CALL_REACH = 500.0f;

    explicit CStationContext(CStation& station) : m_station(station) {}

    // The nearest world edge and the station icons of the mode.
    void Update() override;
    // The first call opens the ports to the ship; a second one before the first was
    // answered or expired sends the station to the position.
    void RaiseAlert(const CVector2D& position);

    CStation& GetStation() const { return m_station; }
    int32_t GetMode() const { return m_mode; }
    void SetMode(int32_t mode) { m_mode = mode; }
    uint32_t GetAlertTime() const { return m_alertTime; }
    void ClearAlertTime() { m_alertTime = 0; }
    const CVector2D& GetAlertPosition() const { return m_alertPosition; }
    const CVector2D& GetEdgeVector() const { return m_edgeVector; }
    float GetEdgeLength() const { return m_edgeLength; }
    bool IsDocked() const { return m_docked; }
    void SetDocked(bool docked) { m_docked = docked; }

private:
    CStation& m_station;
    CVector2D m_edgeVector;
    float m_edgeLength = 0.0f;
    CVector2D m_alertPosition{1000.0f, 1000.0f};
    int32_t m_mode = STATION_NO_SHIP;
    uint32_t m_alertTime = 0;
    bool m_docked = false;
};

class CStationDockBehaviour : public CBehaviour
{
public:
    static constexpr float TAKE_IN_REACH = 75.0f;
    CStationDockBehaviour() : CBehaviour(STATION_DOCK) {}
    void Score(CBehaviourContext& context) override;
    int32_t Update(CBehaviourContext& context) override;
    int32_t Stop(CBehaviourContext&) override { return BEHAVIOUR_STOPPED; }
};

class CStationKeepClearBehaviour : public CBehaviour
{
public:
    static constexpr float EDGE_FORCE = 60.0f;
    static constexpr float CROWD_FORCE = 30.0f;
    CStationKeepClearBehaviour() : CBehaviour(STATION_KEEP_CLEAR) {}
    void Score(CBehaviourContext& context) override;
    int32_t Update(CBehaviourContext& context) override;
};

class CStationComeBehaviour : public CBehaviour
{
public:
    static constexpr float CROWD_FORCE = 30.0f;
    static constexpr float PULL_FORCE = 60.0f;
    CStationComeBehaviour() : CBehaviour(STATION_COME_TO_PLAYER) {}
    void Score(CBehaviourContext& context) override;
    int32_t Update(CBehaviourContext& context) override;
};

// The player ship of the game, or null.
CGameObject* FindPlayerShip();
