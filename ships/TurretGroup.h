#pragma once
// The guns, gem vacuums and mining beams that a large object (the station, a
// mothership, a boss) carries: each turret picks the nearest fitting object of the
// candidates its owner hands it, turns toward it at its own rate (the shorter way
// round) within its arc, and fires at its own cadence, showing a charging glow before
// each shot. A sweeping turret swings across its arc and fires all the time. A gem
// vacuum pulls its gem in and takes it: into the campaign's stocks on the station, into
// its own counts elsewhere (spilt again when the owner is hit).
//
// The owner reads the group from its definition ("turretGroup"), or, on the station,
// builds each turret from the definition fitted to the campaign mount of the same
// index. Every frame it places the group (Place), updates it (Update) and, when it
// likes, hands it candidates (ChooseTargets). Targets are handles looked up afresh
// every frame.

#include "core/Vector2D.h"
#include "presentation/AnimatedSprite.h"
#include "presentation/SpriteRef.h"
#include "ships/ShipEffect.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDataTree;
class CDefinitionProblems;
class CDockingPort;
class CGameObject;
class CObjectBody;
class CStationWeaponDef;

// One turret: its settings as read, and its state in flight.
struct STurret
{
    static constexpr int GEM_KINDS = 6;          // asteroid kinds 3 to 8
    static constexpr int32_t GEM_COUNT_MAX = 200; // a vacuum's count of one kind

    CSpriteRef ownSprite;         // a station turret's picture (declared before its sprite)
    CAnimatedSprite sprite;       // its position is the turret's
    CShipEffect weaponEffect;
    CShipEffect notFiringEffect;  // the glow while charging
    std::string deathEffect;
    CVector2D offset;             // "turretPos": from the owner, or from its port's animation sprite
    CVector2D position;           // in the world, as last placed
    CVector2D launchOffset;       // turned with the turret
    float range = 0.0f;
    float arcMin = -1.0f;         // degrees; either one -1: no arc
    float arcMax = -1.0f;
    float angle = 0.0f;           // heading in degrees, 0 to 360
    float defaultAngle = 0.0f;
    float turnRate = 0.0f;        // degrees a second; 0 turns at once
    float sweepOffset = 0.0f;
    float sweepDirection = 1.0f;
    int32_t health = 0;           // 0: dead
    int32_t portIndex = -1;       // -1: on the owner; else carried by that port's animation
    int32_t portAnimation = -1;
    int32_t oneFrame = -1;        // a fixed frame: the sprite never turns
    int32_t drawPlane = 0;        // added to the owner's plane
    uint32_t fireInterval = 0;    // ms; 0 never fires (no fire rate)
    uint32_t chargeTime = 0;      // ms
    uint32_t lastFire = 0;
    uint32_t flashEnd = 0;        // 0: not flashing
    int32_t target = -1;          // handle; -1 none
    uint32_t collisionTag = 0;
    uint32_t owningCollisionTag = 0;
    int32_t gems[GEM_KINDS] = {};
    bool damageOnly = false;
    bool gemSuck = false;
    bool mining = false;
    bool stopToFire = false;
    bool constantSweep = false;
    bool disabled = false;
    bool fired = false;           // fired in the last update

    bool IsLive() const { return health > 0; }
    bool HasArc() const { return arcMin != -1.0f && arcMax != -1.0f; }
};

// Where a station's vacuum puts the gems it takes (the campaign's stocks).
class CTurretGemStore
{
public:
    virtual ~CTurretGemStore() = default;
    // Stocks 1 (ordinary), 2 (rare) and 3 (very rare).
    virtual int32_t GetStock(int stock) const = 0;
    virtual void AddToStock(int stock, int32_t amount) = 0;
    // The campaign's delivered-gem counter.
    virtual void CountDelivered() = 0;
};

class CTurretGroup
{
public:
    // A definition with more is refused (the station keeps at most its mounts).
    static constexpr int32_t MAX_TURRETS = 16;
    static constexpr int32_t MAX_STATION_TURRETS = 5;
    static constexpr int32_t MAX_SPRITE_DEFS = 16;
    static constexpr uint32_t FLASH_MS = 50;
    static constexpr int32_t SPILL_PER_HIT = 3;
    static constexpr const char* STATION_DEATH_EFFECT = "smallExplosion";

    CTurretGroup() = default;
    CTurretGroup(const CTurretGroup&) = delete;
    CTurretGroup& operator=(const CTurretGroup&) = delete;

    // "numSpriteDefs" with "def%i" sprite references, "numTurrets" with "turret%i" blocks:
    // "health", "turretPos", "drawPlane", "bodySpriteIdx" (-1 none), "launchOffset",
    // "range", "fireAngleMinMax" (-1 none), "defaultOri", "oneFrame", "accuracy",
    // "weaponEffect", "notFiringEffect", "deathEffect", "turnRate", "fireRate",
    // "chargeTime", "dockingPortMountIdx", "dockingPortAnimIdx", "collisionTag",
    // "owningCollisionTag", "damageOnly", "gemSuck", "mining", "constantSweep",
    // "stopToFire". False, with the problems reported, when a count is out of range or
    // a numbered block is missing.
    bool Parse(const CDataTree& node, const CGameObject& owner, CDefinitionProblems& problems);
    // The station's form: "numTurrets" (more than 5 are cut to 5) and "turretPos" of each
    // "turret%i"; turret i takes its settings from fitted[i] (null: not fitted, so
    // dead). The vacuums put their gems into the store.
    bool ParseStation(const CDataTree& node, const CGameObject& owner, const CStationWeaponDef* const* fitted,
                      CTurretGemStore* store, CDefinitionProblems& problems);
    // Frees sprites and effects; the group is empty afterwards.
    void Clear();

    // Live turrets go to the owner (or their port's animation sprite) at its scale and
    // show; dead ones hide. Ports may be null when the owner has none.
    void Place(const CGameObject& owner, CDockingPort* ports, size_t portCount);
    void SetVisible(bool visible);
    // Each live, enabled turret drops its target and (unless suppressed) takes the
    // nearest fitting candidate; an empty list stops the weapons.
    void ChooseTargets(const CGameObject& owner, const std::vector<int32_t>& candidates, bool suppress);
    // The frame's step: flashes, glows, aiming, firing, sweeping, the gem pull and the
    // tagged shapes following the turrets. True when the last turret with a target fired.
    bool Update(CGameObject& owner);
    // Index -1: every live turret tagged like the owner's last hit shape (by its owning
    // tag when byOwningTag); otherwise that turret. True when any was hit.
    bool Damage(CGameObject& owner, CObjectBody* body, int32_t amount, bool byOwningTag, int32_t index);
    // Index -1: the whole group; otherwise that turret. Disabling stops flashes and effects.
    void SetDisabled(bool disabled, int32_t index);
    // Each vacuum lets go of three of its gems at the owner's place (or the given one:
    // a barge's gem tank where it was).
    void SpillGems(const CGameObject& owner);
    void SpillGems(const CVector2D& place);

    int32_t GetCount() const { return m_count; }
    // Null for an index outside the group.
    STurret* GetTurret(int32_t index);
    const STurret* GetTurret(int32_t index) const;
    bool IsDisabled() const { return m_disabled; }
    bool IsStation() const { return m_station; }
    // Whether some live, enabled turret has a target.
    bool HasTarget() const;

private:
    bool ChooseTarget(const CGameObject& owner, int32_t index, const std::vector<int32_t>& candidates) const;
    bool Accepts(const CGameObject& owner, int32_t index, const CGameObject& candidate) const;
    bool IsTargetedByOther(int32_t index, int32_t handle) const;
    void UpdateGlow(const CGameObject& owner, STurret& turret, uint32_t now);
    bool AimAndFire(CGameObject& owner, STurret& turret, CGameObject& target, uint32_t now);
    bool Sweep(const CGameObject& owner, STurret& turret);
    bool MayFireAt(const STurret& turret, const CGameObject& target) const;
    void PullGem(const CGameObject& owner, STurret& turret, CGameObject& gem);
    void KeepWeaponOnSprite(const CGameObject& owner, STurret& turret);
    void MoveTaggedShape(CGameObject& owner, const STurret& turret);
    void Kill(CGameObject& owner, CObjectBody* body, STurret& turret, bool destroyPart);
    void StopEffects(STurret& turret);
    float GetSpriteAngle(const STurret& turret) const;

    std::unique_ptr<CSpriteRef[]> m_defs;
    size_t m_defCount = 0;
    std::unique_ptr<STurret[]> m_turrets;
    int32_t m_count = 0;
    CTurretGemStore* m_store = nullptr;
    bool m_station = false;
    bool m_disabled = false;
    bool m_visible = true;
};

// Turret geometry, shared with tests: whether the heading lies in the arc that runs
// counter-clockwise from min to max (an arc may cross 0/360), the arc's width (360
// without an arc), and one turn step toward a heading the shorter way (true on target).
bool IsHeadingInArc(float heading, float arcMin, float arcMax);
float GetArcWidth(float arcMin, float arcMax);
bool TurnToward(float& angle, float heading, float step);
