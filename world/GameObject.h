#pragma once
// The base of every object of the world: its record for the world, the quadtree,
// the push grid and the radar (SObjectInfo), its motion (CMotionBody), and the
// operations the world's passes and other objects call. Objects are made only by
// CWorld::CreateObject and destroyed only by the world; other code keeps their
// handles, never pointers, across frames.

#include "core/Vector2D.h"
#include "presentation/CollisionShape.h"
#include "world/ObjectTypes.h"

#include <cstdint>

class CDataTree;

constexpr int32_t NO_OBJECT = -1;      // the handle of no object
constexpr uint16_t NOT_IN_TREE = 0xFFFF;

enum EWarpState : int32_t
{
    WARP_NONE = 0,
    WARP_OUT = 1,
    WARP_IN = 2,
};

struct SObjectInfo
{
    int32_t handle = 0;
    EObjectType type = OBJECT_NONE;
    int32_t blip = 0;                 // radar blip index
    ETeam team = NO_TEAM;
    uint16_t treeNode = NOT_IN_TREE;  // quadtree node, NOT_IN_TREE when not filed
    uint8_t drawPlane = 0;
    EWarpState warpState = WARP_NONE; // while not none the object is out of play
    bool shown = true;
    bool collidable = true;           // only collidable objects form collision pairs
    bool pushPending = true;          // the push is not in the push grid yet
    bool derivedFlag = true;          // for the derived classes
    bool notCountedAsEnemy = false;   // CWorld::CountEnemies skips it
    bool frozen = false;
};

// Where the object's push sits in the push grid, and with which weight and size it
// was placed, so it is withdrawn exactly as it was added.
struct SPushPlacement
{
    int32_t cellX = 0;
    int32_t cellY = 0;
    int32_t mass = 0;
    float halfX = 0.0f;
    float halfY = 0.0f;
};

// Positions in world units on the square playfield 0 .. world width; velocities in
// units per tick (25 ticks a second); the velocity limit in units per second.
class CMotionBody
{
public:
    static constexpr int32_t TICKS_PER_SECOND = 25;

    virtual ~CMotionBody() = default;

    // One tick of motion: force into velocity (mass below 1 counts as 1), the
    // velocity limit, no movement below 0.99 units a tick, rest detection, damping
    // on a tick without force, and the bounce off the playfield's edges.
    void Integrate(float worldWidth);

    CVector2D position;
    CVector2D previousPosition;
    float spare[2] = {0.0f, 0.0f};
    float radius = 0.0f;
    float angle = 0.0f;               // degrees
    CVector2D heading;                // from the angle, refreshed every tick
    CollisionChain shape;             // owned
    int32_t mass = 0;
    float damping = 1.0f;
    CVector2D velocity;
    CVector2D force;
    int32_t velocityLimit = 0;
    int32_t health = 0;
    SPushPlacement push;
    float scale[2] = {1.0f, 1.0f};
    uint16_t flags = 0;
    uint8_t moving = 0;
    uint8_t edgeBounce = 1;
    uint8_t additiveBounce = 0;
};

class CGameObject
{
public:
    explicit CGameObject(EObjectType type);
    // Withdraws the object's push from the push grid of the running game.
    virtual ~CGameObject();
    CGameObject(const CGameObject&) = delete;
    CGameObject& operator=(const CGameObject&) = delete;

    virtual void Think() {}
    virtual bool Move() { return false; }
    virtual void UpdateSprite() {}
    virtual void Die() {}
    // The other object touched this one at the point, along the normal.
    virtual void NotifyContact(CGameObject& /*other*/, const CVector2D& /*point*/, const CVector2D& /*normal*/) {}
    // Offered once for each pair of collidable objects the quadtree finds near
    // each other; the object decides what a contact means.
    virtual void Collide(CGameObject&) {}
    // Whether the hit killed the object.
    virtual bool TakeDamage(int32_t /*sourceType*/, CGameObject* /*source*/, int32_t /*kind*/, int32_t /*amount*/)
    {
        return false;
    }
    virtual void SetVisible(bool) {}
    virtual void SetFrozen(bool) {}
    virtual void SetWarpState(EWarpState) {}
    virtual void ParseDefinition(const CDataTree&) {}
    virtual void LoadFromTree(const CDataTree&, bool) {}
    // Loads the object from the named file (the player ship: a design's ident);
    // false when it cannot, and the caller removes the object.
    virtual bool LoadFromFile(const char*) { return false; }
    virtual void SetDrawPlane(uint8_t plane) { m_info.drawPlane = plane; }
    virtual bool UsesPushGrid() const { return true; }
    virtual void RestoreStateWord(int32_t) {}
    virtual void SaveStateWord(int32_t&) {}
    virtual bool IsEngaged() const { return false; }
    // Where a boss carries the mounted part of the index (world units); false for
    // other objects and indices they do not have.
    virtual bool GetMountPoint(int32_t /*index*/, CVector2D& /*point*/) const { return false; }
    virtual float* GetRadius() { return &m_body.radius; }
    virtual int32_t GetStateValue() const { return 0; }
    // The radius circle queries use (the player ship may report another one).
    virtual float GetQueryRadius() { return *GetRadius(); }
    // A mothership's configuration number (the boss key); -1 for others.
    virtual int32_t GetBossKey() const { return -1; }
    // An asteroid's definition kind; -1 for others.
    virtual int32_t GetAsteroidKind() const { return -1; }
    // The type id of the object that released an asteroid, -1 for none (a pod
    // dropped by a lost player ship carries the player ship's type).
    virtual int32_t GetSpawnerType() const { return -1; }
    // What a wreck pod carries: 0 the first kind of special cargo, else the second.
    virtual int32_t GetCargoValue() const { return 0; }
    // The player's gravity beam holds the asteroid in this frame; while held, other
    // asteroids hurt it only when the beam says so.
    virtual void HoldInBeam(bool /*damageableByAsteroids*/, uint32_t /*frame*/) {}
    // A fighter marked for the last zone's scripted hit on the player ship.
    virtual bool IsScriptedAttacker() const { return false; }
    // A boss in the phase and body frames in which its blows land five times as hard.
    virtual bool IsStrikingHard() const { return false; }
    // A worm segment joins its chain: the segments in front and behind, by handle
    // (NO_OBJECT for none); one with a segment in front follows it.
    virtual void SetWormLinks(int32_t /*front*/, int32_t /*behind*/) {}

    SObjectInfo& GetInfo() { return m_info; }
    const SObjectInfo& GetInfo() const { return m_info; }
    CMotionBody& GetBody() { return m_body; }
    const CMotionBody& GetBody() const { return m_body; }
    int32_t GetHandle() const { return m_info.handle; }
    EObjectType GetType() const { return m_info.type; }
    ETeam GetTeam() const { return m_info.team; }
    const CVector2D& GetPosition() const { return m_body.position; }
    void SetPosition(const CVector2D& position) { m_body.position = position; }
    bool IsInTree() const { return m_info.treeNode != NOT_IN_TREE; }
    // Puts the collision shapes at the object's position.
    void PlaceShape();

protected:
    SObjectInfo m_info;
    CMotionBody m_body;
};

// An object of type DUMB: the base behaviour and nothing else.
class CDumbObject : public CGameObject
{
public:
    CDumbObject() : CGameObject(OBJECT_DUMB) {}
};

// The rebound of solid objects that touched: impulses along the line between
// them, damage from the impulse, then separation. Nothing while the in-game menu is open.
void BounceObjects(CGameObject& a, CGameObject& b);
// The share of speed a bounce keeps.
constexpr float BOUNCE_REBOUND = 0.95f;
