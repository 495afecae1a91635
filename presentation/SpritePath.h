#pragma once
// Waypoint paths that carry up to five riders each (sprites of an animation set, or
// world objects held by handle). Positions on a path are kept relative to the object
// that owns it and shown at the owner's position plus the path position times the
// owner's scale; a relative path also turns with the owner.

#include "core/Vector2D.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CAnimatedSprite;
class CDataTree;
class CDefinitionProblems;
struct SSpriteOwner;

// A waypoint plane that leaves the rider on its plane.
constexpr int32_t KEEP_RIDER_PLANE = 99;
constexpr int PATH_RIDERS = 5;

struct SWaypoint
{
    CVector2D m_position;           // as read
    CVector2D m_working;            // turned with the owner on relative paths
    int32_t m_drawPlane = KEEP_RIDER_PLANE; // added to the owner's plane on arrival
    float m_speed = 0.0f;           // towards this waypoint, units per second
    float m_arrivalDistance = 0.0f; // joining riders are on the path once this near
};

class CSpritePath
{
public:
    // "relative", "numWP", "wp%i" (x, y, speed, arrival distance), "wp%iDrawPlane"
    // (default 99), "loop", "reverse", "lockToPath", "startForwards". A missing
    // waypoint ends the list there (a warning).
    void Load(const CDataTree& node, CDefinitionProblems& problems);
    // Working positions: as read, or turned by the owner's angle on a relative path.
    void UpdateWorking(float ownerAngle);

    size_t GetWaypointCount() const { return m_waypoints.size(); }
    const SWaypoint& GetWaypoint(size_t index) const { return m_waypoints[index]; }
    bool IsRelative() const { return m_relative; }
    bool IsLooped() const { return m_loop; }
    bool IsReversing() const { return m_reverse; }
    bool IsLockedToPath() const { return m_lockToPath; }
    bool StartsForwards() const { return m_startForwards; }

private:
    std::vector<SWaypoint> m_waypoints;
    bool m_relative = false;
    bool m_loop = false;
    bool m_reverse = false;
    bool m_lockToPath = false;
    bool m_startForwards = false;
};

struct SPathRider
{
    int32_t m_object = -1;               // the rider's handle when an object rides
    CAnimatedSprite* m_sprite = nullptr; // the rider when a sprite rides
    CVector2D m_position;                // relative to the owner, before its scale
    int32_t m_waypoint = 0;              // the waypoint last reached
    int32_t m_direction = 1;             // +1 forwards, -1 backwards
    float m_carry = 0.0f;                // step length left over from the last arrival
    bool m_active = false;               // the entry holds a rider
    bool m_joining = false;              // still on its way to the path's start
    bool m_moving = false;               // false once it stopped at an end
};

class CPathSlot
{
public:
    void Load(const CDataTree& node, CDefinitionProblems& problems);
    bool IsLoaded() const { return m_loaded; }
    const CSpritePath& GetPath() const { return m_path; }

    // Makes a rider of the sprite or object, starting from where it stands. False when
    // the path has no waypoints or all five entries are taken (or it rides already).
    bool AddSpriteRider(CAnimatedSprite& sprite, const SSpriteOwner& owner);
    bool AddObjectRider(int32_t handle, const SSpriteOwner& owner);
    // Makes a rider of the sprite that stands still where riders in the current
    // sense start (a door shown in its closed pose before it ever opens).
    bool ParkSpriteRider(CAnimatedSprite& sprite, const SSpriteOwner& owner);
    // Riders that join from now on take the path the other way round: they start at
    // the other end and travel towards the one where they would have started.
    void SetReversed(bool reversed) { m_reversed = reversed; }
    bool IsReversed() const { return m_reversed; }
    // The waypoint where riders in the current sense start, turned with the owner on a
    // relative path, before the owner's position and scale; (0, 0) without waypoints.
    CVector2D GetStartPoint(float ownerAngle);
    void ReleaseSpriteRider(const CAnimatedSprite& sprite);
    void ReleaseObjectRider(int32_t handle);
    void ReleaseAll();
    // The entry that holds the sprite or object, or null.
    SPathRider* FindRider(const CAnimatedSprite& sprite);
    SPathRider* FindObjectRider(int32_t handle);
    SPathRider& GetRider(int index) { return m_riders[index]; }
    // True while some rider is still on its way.
    bool IsRunning() const;

    // One frame: riders join the path or move along it and are shown where they are.
    // An object rider whose object went away is dropped.
    void Update(const SSpriteOwner& owner);

private:
    SPathRider* TakeEntry();
    // The start waypoint's index in the current sense, and whether riders go forwards.
    bool StartsForwards() const { return m_path.StartsForwards() != m_reversed; }
    int32_t GetStartIndex() const;
    void StartRider(SPathRider& rider, const CVector2D& shown, const SSpriteOwner& owner);
    void JoinPath(SPathRider& rider);
    void Travel(SPathRider& rider, const SSpriteOwner& owner);
    void ShowRider(SPathRider& rider, const SSpriteOwner& owner);

    CSpritePath m_path;
    bool m_loaded = false;
    bool m_reversed = false;
    SPathRider m_riders[PATH_RIDERS];
};
