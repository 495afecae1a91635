#pragma once
// The player's base at every node: a large, slow object that takes the player ship in
// through its docking ports, unloads the ship's cargo one item at a time into the
// campaign's gem stocks (what a full stock cannot take mends the station and then the
// stored ships), mends itself from the stocks when badly hurt, shoots rocks and enemies
// with the turrets fitted to the campaign's mounts, drifts clear of edges and crowds,
// comes when called twice, and ends the game when it is lost.
//
// Its definition is the first "STATION" section of its file: the common body,
// "defensiveRange", "Anims", "dockingPorts" ("numPorts" and "port%i"), "turretGroup"
// ("numTurrets" and "turret%i { turretPos }"), "engines" (flames lit by its drift),
// "ambientSfx" (a hum looped round it while it is in the world and not warping) and
// "tunnelSfx" (played as a warp begins). Its health lives in the campaign's station
// record and is written back after every change.
//
// Docking: mode 2 opens the ports; a ship within reach of an open port's entrance is
// taken in by that one port; inside, the ports close and the cargo is unloaded; then the
// game flow's in-game menu is asked for (launch phase 1), and when the menu is left
// (phase 2) the ship is launched through port 0 (or port 1 when the game flow asks for
// the second port) as soon as a port is clear, or regardless after 5 seconds.

#include "ships/BehaviourArbiter.h"
#include "ships/DockingPort.h"
#include "ships/EnemyObject.h"
#include "ships/EngineFlameSet.h"
#include "ships/ShipSound.h"
#include "ships/StationBehaviours.h"
#include "ships/StationStrike.h"
#include "ships/TurretGroup.h"
#include "presentation/SpriteAnimSet.h"

#include <cstdint>
#include <memory>
#include <vector>

class CStationWeaponDef;
struct SCargoHold;

class CStation : public CEnemyObject
{
public:
    static constexpr uint32_t SCAN_MS = 750;
    static constexpr uint32_t DECISION_MS = 500;
    static constexpr uint32_t DEATH_DELAY_MS = 500;
    static constexpr uint32_t LAUNCH_WAIT_MS = 5000;
    static constexpr uint32_t ATTENTION_MS = 60000;
    static constexpr uint32_t TURRET_LOSS_MS = 60000;
    static constexpr float PORT_CLEARANCE = 150.0f;
    static constexpr float CLEARING_PUSH = 2000.0f;
    static constexpr int32_t MAX_PORTS = 8;
    static constexpr int32_t REPAIR_PER_GEM = 10;
    static constexpr int32_t TUTORIAL_HEALTH = 9999999;
    static constexpr const char* EXPLOSION_EFFECT = "stationExplosion";

    CStation();
    ~CStation() override;

    const char* GetSectionName() const override { return "STATION"; }

    void Think() override;
    bool Move() override;
    void UpdateSprite() override;
    void Die() override;
    void Collide(CGameObject& other) override;
    bool TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount) override;
    void SetVisible(bool visible) override;
    void SetWarpState(EWarpState state) override;
    bool UsesPushGrid() const override;

    // ---- for the ship, the game flow and the in-game menu ---------------------------
    void RaiseAlert(const CVector2D& position);
    // The ship is inside and unloaded: the station waits for the in-game menu.
    bool HoldsPlayerShip() const;
    // The menu was left: launch now (phase 2). A ship the game flow made afresh for
    // the flight replaces the one that docked.
    void BeginLaunch();
    bool HasAttention() const { return m_attention; }
    int32_t GetFullHealth() const;
    // The health, written to the campaign's record too.
    void SetHealth(int32_t health);

    // ---- parts and state, for the behaviours and tests ------------------------------
    CStationContext& GetContext() const;
    CBehaviourArbiter& GetArbiter() { return m_arbiter; }
    size_t GetPortCount() const { return m_portCount; }
    CDockingPort* GetPort(size_t index) { return index < m_portCount ? &m_ports[index] : nullptr; }
    CTurretGroup& GetTurrets() { return m_turrets; }
    const std::vector<int32_t>& GetNearby() const { return m_nearby; }
    float GetDefensiveRange() const { return m_defensiveRange; }
    const CEngineFlameSet& GetFlames() const { return m_flames; }
    const CShipSound& GetAmbientSound() const { return m_ambientSound; }
    const CShipSound& GetTunnelSound() const { return m_tunnelSound; }
    int32_t GetLaunchPhase() const { return m_launchPhase; }
    uint32_t GetDeathTime() const { return m_deathTime; }
    // One step of unloading the docked ship (the dock behaviour calls it every frame
    // once the ports are closed); true when nothing was left to unload.
    bool UnloadCargo();
    // Hands the ship to the first open port whose entrance is within reach, unless
    // some port already holds it; true when a port took it.
    bool OfferShipToPorts(CGameObject& ship);
    // Every port open (closed ones start opening) or closed; whether all are closed.
    void OpenPorts();
    bool ClosePorts();
    // Surplus points mend the station, then the stored ships 1 to 7.
    void SpendSurplus(int32_t points);
    // The director sends the station's core, with the centre turret, at the object.
    bool LaunchStrike(int32_t target) { return m_strike.Launch(*this, target); }
    const CStationStrike& GetStrike() const { return m_strike; }

protected:
    bool ReadKeys(const CDataTree& section, CDefinitionProblems& problems) override;

private:
    class CGemStore;

    void Scan(uint32_t now);
    void UpdateAttention(uint32_t now);
    void UpdateGauges();
    void StepDocked(uint32_t now);
    bool LaunchStep(uint32_t now);
    bool IsPortClear(size_t index, const CGameObject& ship, uint32_t now);
    // Hands the ship to the port for launching at the angle (beside the station when
    // the port is not there); the station is idle again, the camera on the ship.
    void SendShipOut(CGameObject& ship, size_t port, float angle);
    // In the last zone while the drive pod is out and not yet delivered, and in the
    // tutorial's mining lesson while the node still has rocks to mine.
    bool IsQuickTurnaround() const;
    // The first kind of the hold that is not empty goes at once: gems into their
    // stock up to its 100, crew and aliens simply out.
    void DeliverFirstGroupWhole(SCargoHold& hold);
    void RepairFromStocks();
    void LoseTurret(uint32_t now);
    bool ReadTurrets(const CDataTree& node, CDefinitionProblems& problems);
    void DeliverItem(CGameObject& ship, int32_t& surplus);
    static void OnShipInside(void* argument);

    CStationStrike m_strike;
    CSpriteAnimSet m_anims;
    std::unique_ptr<CDockingPort[]> m_ports;
    size_t m_portCount = 0;
    std::unique_ptr<CGemStore> m_gemStore;
    CTurretGroup m_turrets;
    CEngineFlameSet m_flames;
    CShipSound m_ambientSound;
    CShipSound m_tunnelSound;
    float m_defensiveRange = 0.0f;
    std::vector<int32_t> m_nearby;
    uint32_t m_lastScan = 0;
    CBehaviourArbiter m_arbiter;
    uint32_t m_levelStart = 0;
    int32_t m_launchPhase = 0;
    uint32_t m_launchDeadline = 0;
    uint32_t m_lastTurretLoss = 0;
    uint32_t m_deathTime = 0;
    int32_t m_dockedShip = NO_OBJECT;
    // Unloading: the item count when it began, the interval and the time carried over.
    bool m_unloading = false;
    uint32_t m_unloadInterval = 0;
    uint32_t m_unloadTime = 0;
    bool m_warping = false;
    bool m_attention = false;
    bool m_releasedWithoutPlayer = false;
    bool m_animsHidden = false;
};
