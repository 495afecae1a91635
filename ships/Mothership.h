#pragma once
// The enemy mothership: a large carrier with docking ports, turrets and a launcher
// that sends drones or fighters out of its ports two or more at a time, steered by a
// behaviour arbiter whose behaviours depend on its configuration (a drone carrier
// hunts, launches and, once spent and defenceless, flies into the station and blows
// itself up; a mining barge mines; a crusher pulls things in). The five bosses are
// motherships with a script of their own (ships/Boss.h).
//
// Section "ENEMY_MOTHERSHIP" of its file: the body keys, "dockingPorts" ("numPorts",
// "port%i"), "turretGroup", "defensiveRange", "launchDelay" (ms), "launchIfThreat",
// "engines", "resource" (ships/Launcher.h), "deathEffect", "coreVulnerableOnly",
// "coreInvulnerable" and "config" (drone, minelayer, mining, starboss, rainboss,
// tronboss, discboss, crusher, interdictor, spiral; an unknown text keeps drone).
//
// Fixed part, port and turret numbers in the scripts go through the accessors
// below: one the data does not have counts as dead or absent.

#include "ships/BehaviourArbiter.h"
#include "ships/DockingPort.h"
#include "ships/EnemyObject.h"
#include "ships/EngineFlameSet.h"
#include "ships/Launcher.h"
#include "ships/TurretGroup.h"
#include "world/ZoneDefinition.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CAsteroid;
class CMothershipContext;

class CEnemyMothership : public CEnemyObject
{
public:
    static constexpr int MAX_PORTS = 8;
    static constexpr uint32_t DECISION_MS = 500;
    static constexpr uint32_t SCAN_MS = 750;
    static constexpr uint32_t DEATH_DELAY_MS = 500;
    static constexpr int32_t KILL_POINTS = 100;
    // The parts the state word and the mining set-up cover.
    static constexpr int STATE_PARTS = 12;
    static constexpr float ENGINE_FORCE = 80.0f;
    static constexpr float CROWD_FORCE = 30.0f;
    // A mining barge with gems in reserve and no gem tank left to lose leaves with its
    // group: a chance of 1 in 50 a frame once 60 s have passed since its last check.
    static constexpr uint32_t DEPARTURE_CHECK_MS = 60000;
    static constexpr int32_t DEPARTURE_CHANCE = 50;
    // The configuration whose carrier leaves a wreck pod in each zone (0 to 4).
    static constexpr int32_t PRIZE_CARRIER[] = {MOTHERSHIP_MINELAYER, MOTHERSHIP_DRONE, MOTHERSHIP_CRUSHER,
                                                MOTHERSHIP_INTERDICTOR, MOTHERSHIP_SPIRAL};

    explicit CEnemyMothership(EObjectType type = OBJECT_ENEMY_MOTHERSHIP);
    ~CEnemyMothership() override;

    const char* GetSectionName() const override { return "ENEMY_MOTHERSHIP"; }

    void Think() override;
    bool Move() override;
    void UpdateSprite() override;
    void Die() override;
    void Collide(CGameObject& other) override;
    bool TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount) override;
    void SetVisible(bool visible) override;
    void SetWarpState(EWarpState state) override;
    void SaveStateWord(int32_t& word) override;
    void RestoreStateWord(int32_t word) override;
    bool IsEngaged() const override { return m_alert; }
    int32_t GetBossKey() const override { return m_config; }

    // The state word of a new mining barge in the zone: all part bits and a drawn reserve.
    static int32_t MakeLoadedBargeWord(int32_t zone);
    // Mining barges are made harder by zone (or difficulty in survival): part health,
    // turrets switched off and the first two ports.
    void ApplyMiningDifficulty(int32_t level);

    // The death sequence: health 0, the death time set, the death effect started. A
    // self-destruct runs it directly and scores nothing.
    void StartDying(uint32_t delayMs);
    bool IsDying() const { return m_deathTime != 0; }
    uint32_t GetDeathTime() const { return m_deathTime; }

    // ---- what the behaviours and scripts reach --------------------------------
    int32_t GetConfig() const { return m_config; }
    CLauncher& GetLauncher() { return m_launcher; }
    CBehaviourArbiter& GetArbiter() { return m_arbiter; }
    CMothershipContext& GetContext() const;
    const std::vector<int32_t>& GetNearby() const { return m_nearby; }
    float GetDefensiveRange() const { return m_defensiveRange; }
    int32_t GetLaunchDelay() const { return m_launchDelay; }
    bool IsLaunchIfThreat() const { return m_launchIfThreat; }
    bool IsThreatened() const { return m_threatened; }
    bool IsAllLaunchedGone() const { return m_allLaunchedGone; }
    void SetAlert(bool alert) { m_alert = alert; }
    const std::string& GetDeathEffect() const { return m_deathEffect; }
    bool IsCoreInvulnerable() const { return m_coreInvulnerable; }
    void SetCoreInvulnerable(bool invulnerable) { m_coreInvulnerable = invulnerable; }
    bool IsCoreVulnerableOnly() const { return m_coreVulnerableOnly; }
    int32_t GetMiningReserve() const { return m_miningReserve; }
    int32_t GetDepartureCounter() const { return m_departureCounter; }
    // The boss types, whose edges weigh from further out.
    bool IsBossType() const { return GetType() >= OBJECT_STAR_BOSS && GetType() <= OBJECT_DISC_BOSS; }

    // Ports: null for a number the data does not have.
    int GetPortCount() const { return m_portCount; }
    CDockingPort* GetPort(int index);
    // Any port holds a queued or moving object.
    bool IsAnyPortBusy() const;
    // Every port is destroyed.
    bool AreAllPortsDestroyed() const;
    void CloseAllPorts();
    // A ship from the launcher handed to the port to launch (placed at the centre,
    // hidden, frozen until it leaves); false when the launcher gave none.
    bool LaunchThrough(CDockingPort& port);
    void DestroyAllPorts(bool withEffects);

    // Body parts: dead when the data does not have the number.
    int GetPartCount() const { return static_cast<int>(m_objectBody.GetPartCount()); }
    bool IsPartAlive(int index) const;
    SBodyPart* GetPart(int index);
    const SBodyPart* GetPart(int index) const;
    void DestroyPart(int index);
    // The tag of the shape the last hit landed on (0 none).
    uint32_t GetHitTag() const;

    // Turrets: absent ones count as dead.
    int GetTurretCount() const;
    bool IsTurretAlive(int index) const;
    bool IsAnyTurretAlive() const;
    // Switched off (it neither aims nor fires, its effects stop) or on again; a turret
    // destroyed meanwhile stays dead.
    void SwitchTurret(int index, bool on);
    // Switched off and hidden for good (the mining set-up, the tron boss's beams that
    // only its script runs).
    void DisableTurret(int index);
    void DamageTurret(int index, int32_t damage);
    // A turret's firing cycle: its last shot (game ms), fire interval and charge time;
    // false for a turret the data does not have.
    bool GetTurretCycle(int index, uint32_t& lastShot, uint32_t& interval, uint32_t& charge) const;
    void RestartTurretCycle(int index, uint32_t now);
    // A beam turret run by a script: 0 its charge glow shows, 1 the glow stops, 2 its
    // beam fires from its muzzle.
    void RunTurretBeam(int index, int stage);
    // Every turret that the part of the last hit owns takes the damage.
    void DamageTurretsOnHitPart(int32_t damage);
    // A turret whose shape the last hit landed on takes it: true when one did.
    bool TakeTurretHit(int32_t amount);

    CTurretGroup& GetTurrets() { return m_turrets; }
    const CTurretGroup& GetTurrets() const { return m_turrets; }
    const CEngineFlameSet& GetFlames() const { return m_flames; }

    // The count of live motherships of each configuration: the director's presence
    // flags stay raised while it is above 0.
    static int32_t CountLiveConfig(int32_t config);

protected:
    bool ReadKeys(const CDataTree& section, CDefinitionProblems& problems) override;
    // The mothership's hit rules for the core (after the team and part rules): false
    // when the hit does not count.
    bool TakeCoreHit(int32_t kind, int32_t amount, uint32_t deathDelay, int32_t points);
    // The parts' hit: true when a body part took it (and nothing more happens).
    bool TakePartHit(int32_t amount, int& partIndex);
    // Whether a hit from the source is ignored by the team rule.
    bool IsFromOwnSide(const CGameObject* source) const;
    // The common start of every boss's and the mothership's Think: false while it
    // stands still (warp, hold, hidden) or is dying.
    bool RunDeath();
    // Everything after the death step: scan, launch slots, arbiter, turrets.
    void RunLiving();
    void UpdateTurrets();
    // The gems a mothership leaves: by config, scaled by zone.
    void DropGems();
    // As its death time passes: the zone's last mining barge, or the zone's named
    // carrier, leaves a wreck pod (once, while the director's flag of it is clear).
    void LeaveWreckPod();
    // Counts this mothership's configuration as present (once, as read).
    void RegisterPresence();

    uint32_t m_deathTime = 0;
    int m_portCount = 0;
    std::unique_ptr<CDockingPort[]> m_ports;
    float m_defensiveRange = 0.0f;
    uint32_t m_lastScan = 0;
    bool m_scanned = false;
    int32_t m_launchDelay = 0;
    uint32_t m_lastDepartureCheck = 0;
    std::vector<int32_t> m_nearby;
    CBehaviourArbiter m_arbiter;
    int32_t m_config = MOTHERSHIP_DRONE;
    int32_t m_registeredConfig = -1;
    int32_t m_miningReserve = 0;
    int32_t m_departureCounter = 0;
    std::string m_deathEffect;
    CLauncher m_launcher;
    bool m_allLaunchedGone = false;
    bool m_coreVulnerableOnly = false;
    bool m_coreInvulnerable = false;
    bool m_alert = false;
    bool m_launchIfThreat = false;
    bool m_threatened = false;

    // The turret group's share (ships/MothershipTurrets.cpp).
    void ReadTurrets(const CDataTree& section, CDefinitionProblems& problems);
    void ChooseTurretTargets();
    void PlaceTurrets();
    void ShowTurrets(bool visible);
    void EnableTurrets(bool enabled);
    // A mining barge's part spills its gems where it was.
    void SpillGems(const CVector2D& point);

private:
    CTurretGroup m_turrets;
    CEngineFlameSet m_flames;
    // Turrets switched off for good (bit per turret): switching on leaves them off.
    uint32_t m_turretsOffForGood = 0;

    void Scan();
    void AddBehaviours();
    // The barge's departure with its group (never in the tutorial, quick-ship or
    // survival games): its reserve falls by one, and its group warps out once none
    // of it is warping.
    void CheckDeparture();
};

// The configuration of a "config" text (letter case aside), or -1.
int32_t MothershipConfigFromName(const char* name);
