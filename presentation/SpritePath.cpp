#include "presentation/SpritePath.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "presentation/AnimatedSprite.h"
#include "presentation/AnimationClock.h"
#include "presentation/RiderObjects.h"
#include "presentation/SpriteOwner.h"
#include "presentation/SpriteTypes.h"

#include <cmath>
#include <cstdio>

namespace
{
float FiniteOrZero(float value)
{
    return std::isfinite(value) && value > 0.0f ? value : 0.0f;
}

float Distance(const CVector2D& a, const CVector2D& b)
{
    const double dx = static_cast<double>(b.x) - a.x;
    const double dy = static_cast<double>(b.y) - a.y;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

// Moves `from` by `step` towards `to`, which is `distance` away.
CVector2D MoveTowards(const CVector2D& from, const CVector2D& to, float step, float distance)
{
    const float share = step / distance;
    return CVector2D(from.x + (to.x - from.x) * share, from.y + (to.y - from.y) * share);
}

// A position in the owner's frame, before its scale.
CVector2D ToOwnerFrame(const CVector2D& position, const SSpriteOwner& owner)
{
    const float scaleX = owner.scaleX != 0.0f ? owner.scaleX : 1.0f;
    const float scaleY = owner.scaleY != 0.0f ? owner.scaleY : 1.0f;
    return CVector2D((position.x - owner.position.x) / scaleX, (position.y - owner.position.y) / scaleY);
}
} // namespace

void CSpritePath::Load(const CDataTree& node, CDefinitionProblems& problems)
{
    // A path read again keeps nothing of what it was.
    *this = CSpritePath();
    node.GetBool("relative", m_relative);
    node.GetBool("loop", m_loop);
    node.GetBool("reverse", m_reverse);
    node.GetBool("lockToPath", m_lockToPath);
    node.GetBool("startForwards", m_startForwards);
    int32_t count = 0;
    node.GetInt("numWP", count);
    for (int32_t i = 0; i < count; ++i)
    {
        char key[32];
        std::snprintf(key, sizeof(key), "wp%d", static_cast<int>(i));
        float values[4];
        if (!node.GetVec4(key, values))
        {
            problems.AddWarning(&node, "path of %d waypoints has no \"%s\": it ends after %d", static_cast<int>(count),
                                key, static_cast<int>(i));
            break;
        }
        SWaypoint waypoint;
        waypoint.m_position = CVector2D(std::isfinite(values[0]) ? values[0] : 0.0f,
                                        std::isfinite(values[1]) ? values[1] : 0.0f);
        waypoint.m_working = waypoint.m_position;
        waypoint.m_speed = FiniteOrZero(values[2]);
        waypoint.m_arrivalDistance = FiniteOrZero(values[3]);
        std::snprintf(key, sizeof(key), "wp%dDrawPlane", static_cast<int>(i));
        node.GetInt(key, waypoint.m_drawPlane);
        m_waypoints.push_back(waypoint);
    }
}

void CSpritePath::UpdateWorking(float ownerAngle)
{
    if (!m_relative)
        return;
    for (SWaypoint& waypoint : m_waypoints)
    {
        waypoint.m_working = waypoint.m_position;
        if (std::isfinite(ownerAngle))
            waypoint.m_working.Rotate(ownerAngle);
    }
}

void CPathSlot::Load(const CDataTree& node, CDefinitionProblems& problems)
{
    ReleaseAll();
    m_path.Load(node, problems);
    m_loaded = true;
}

SPathRider* CPathSlot::TakeEntry()
{
    if (m_path.GetWaypointCount() == 0)
        return nullptr;
    for (SPathRider& rider : m_riders)
        if (!rider.m_active)
            return &rider;
    return nullptr;
}

void CPathSlot::StartRider(SPathRider& rider, const CVector2D& position, const SSpriteOwner& owner)
{
    rider.m_position = position;
    rider.m_waypoint = 0;
    rider.m_direction = 1;
    rider.m_carry = 0.0f;
    rider.m_active = true;
    rider.m_joining = true;
    rider.m_moving = true;
    m_path.UpdateWorking(owner.angle);
}

bool CPathSlot::AddSpriteRider(CAnimatedSprite& sprite, const SSpriteOwner& owner)
{
    if (FindRider(sprite))
        return false;
    SPathRider* rider = TakeEntry();
    if (!rider)
        return false;
    *rider = SPathRider();
    rider->m_sprite = &sprite;
    // Where the sprite stands, without the offset that showing it adds again.
    CVector2D position = ToOwnerFrame(sprite.GetPosition(), owner);
    if (sprite.IsRelative())
        position -= sprite.GetOffset();
    StartRider(*rider, position, owner);
    return true;
}

bool CPathSlot::AddObjectRider(int32_t handle, const SSpriteOwner& owner)
{
    CVector2D position;
    if (FindObjectRider(handle) || !GetRiderObjects().GetObjectPosition(handle, position))
        return false;
    SPathRider* rider = TakeEntry();
    if (!rider)
        return false;
    *rider = SPathRider();
    rider->m_object = handle;
    StartRider(*rider, ToOwnerFrame(position, owner), owner);
    return true;
}

bool CPathSlot::ParkSpriteRider(CAnimatedSprite& sprite, const SSpriteOwner& owner)
{
    ReleaseSpriteRider(sprite);
    SPathRider* rider = TakeEntry();
    if (!rider)
        return false;
    *rider = SPathRider();
    rider->m_sprite = &sprite;
    rider->m_active = true;
    rider->m_waypoint = GetStartIndex();
    rider->m_direction = StartsForwards() ? 1 : -1;
    rider->m_position = GetStartPoint(owner.angle);
    ShowRider(*rider, owner);
    return true;
}

int32_t CPathSlot::GetStartIndex() const
{
    return StartsForwards() ? 0 : static_cast<int32_t>(m_path.GetWaypointCount()) - 1;
}

CVector2D CPathSlot::GetStartPoint(float ownerAngle)
{
    if (m_path.GetWaypointCount() == 0)
        return CVector2D();
    m_path.UpdateWorking(ownerAngle);
    return m_path.GetWaypoint(static_cast<size_t>(GetStartIndex())).m_working;
}

void CPathSlot::ReleaseSpriteRider(const CAnimatedSprite& sprite)
{
    if (SPathRider* rider = FindRider(sprite))
        *rider = SPathRider();
}

void CPathSlot::ReleaseObjectRider(int32_t handle)
{
    if (SPathRider* rider = FindObjectRider(handle))
        *rider = SPathRider();
}

void CPathSlot::ReleaseAll()
{
    for (SPathRider& rider : m_riders)
        rider = SPathRider();
}

SPathRider* CPathSlot::FindRider(const CAnimatedSprite& sprite)
{
    for (SPathRider& rider : m_riders)
        if (rider.m_active && rider.m_sprite == &sprite)
            return &rider;
    return nullptr;
}

SPathRider* CPathSlot::FindObjectRider(int32_t handle)
{
    for (SPathRider& rider : m_riders)
        if (rider.m_active && !rider.m_sprite && rider.m_object == handle)
            return &rider;
    return nullptr;
}

bool CPathSlot::IsRunning() const
{
    for (const SPathRider& rider : m_riders)
        if (rider.m_active && rider.m_moving)
            return true;
    return false;
}

// Towards the start waypoint (the last one when the path starts backwards) at its
// speed, at least 1 unit a step and never past it, until nearer than its arrival
// distance; riders locked to the path are put there at once.
void CPathSlot::JoinPath(SPathRider& rider)
{
    const bool forwards = StartsForwards();
    const int32_t start = GetStartIndex();
    const SWaypoint& waypoint = m_path.GetWaypoint(static_cast<size_t>(start));
    float distance = Distance(rider.m_position, waypoint.m_working);
    if (m_path.IsLockedToPath())
    {
        rider.m_position = waypoint.m_working;
        distance = 0.0f;
    }
    else if (distance >= waypoint.m_arrivalDistance && distance > 0.0f)
    {
        float step = waypoint.m_speed / static_cast<float>(GAME_TICKS_PER_SECOND);
        step = step < 1.0f ? 1.0f : step;
        step = step > distance ? distance : step;
        rider.m_position = MoveTowards(rider.m_position, waypoint.m_working, step, distance);
        distance -= step;
    }
    if (distance < waypoint.m_arrivalDistance || distance <= 0.0f)
    {
        rider.m_joining = false;
        rider.m_waypoint = start;
        rider.m_direction = forwards ? 1 : -1;
        rider.m_carry = 0.0f;
    }
}

void CPathSlot::Travel(SPathRider& rider, const SSpriteOwner& owner)
{
    const int32_t count = static_cast<int32_t>(m_path.GetWaypointCount());
    if (count == 1)
    {
        // One waypoint holds its riders there.
        rider.m_position = m_path.GetWaypoint(0).m_working;
        rider.m_waypoint = 0;
        rider.m_moving = false;
        return;
    }
    int32_t target = rider.m_waypoint + rider.m_direction;
    if (target >= count || target < 0)
    {
        const bool pastLast = target >= count;
        if (m_path.IsReversing())
        {
            rider.m_direction = -rider.m_direction;
            target = pastLast ? count - 2 : 1;
        }
        else if (m_path.IsLooped())
        {
            // The jump to the other end takes the frame; the ride goes on from there.
            rider.m_waypoint = pastLast ? 0 : count - 1;
            rider.m_position = m_path.GetWaypoint(static_cast<size_t>(rider.m_waypoint)).m_working;
            rider.m_carry = 0.0f;
            return;
        }
        else
        {
            rider.m_waypoint = pastLast ? count - 1 : 0;
            rider.m_position = m_path.GetWaypoint(static_cast<size_t>(rider.m_waypoint)).m_working;
            rider.m_moving = false;
            return;
        }
    }
    const SWaypoint& waypoint = m_path.GetWaypoint(static_cast<size_t>(target));
    const float step = rider.m_carry + waypoint.m_speed / static_cast<float>(GAME_TICKS_PER_SECOND);
    const float distance = Distance(rider.m_position, waypoint.m_working);
    if (distance > step)
    {
        rider.m_position = MoveTowards(rider.m_position, waypoint.m_working, step, distance);
        rider.m_carry = 0.0f;
        return;
    }
    rider.m_position = waypoint.m_working;
    rider.m_waypoint = target;
    rider.m_carry = step - distance;
    if (waypoint.m_drawPlane != KEEP_RIDER_PLANE)
    {
        const int plane = ClampSpritePlane(static_cast<long long>(waypoint.m_drawPlane) + owner.drawPlane);
        if (rider.m_sprite)
            rider.m_sprite->SetPlane(plane);
        else
            GetRiderObjects().SetObjectDrawPlane(rider.m_object, plane);
    }
}

void CPathSlot::ShowRider(SPathRider& rider, const SSpriteOwner& owner)
{
    const CVector2D shown(owner.position.x + rider.m_position.x * owner.scaleX,
                          owner.position.y + rider.m_position.y * owner.scaleY);
    if (rider.m_sprite)
        rider.m_sprite->SetPosition(shown, owner.scaleX, owner.scaleY);
    else
        GetRiderObjects().SetObjectPosition(rider.m_object, shown);
}

void CPathSlot::Update(const SSpriteOwner& owner)
{
    if (m_path.GetWaypointCount() == 0)
        return;
    m_path.UpdateWorking(owner.angle);
    for (SPathRider& rider : m_riders)
    {
        if (!rider.m_active)
            continue;
        CVector2D unused;
        if (!rider.m_sprite && !GetRiderObjects().GetObjectPosition(rider.m_object, unused))
        {
            rider = SPathRider();
            continue;
        }
        if (rider.m_joining)
            JoinPath(rider);
        else if (rider.m_moving)
            Travel(rider, owner);
        else // a rider that stopped stays on its waypoint, which may turn with the owner
            rider.m_position = m_path.GetWaypoint(static_cast<size_t>(rider.m_waypoint)).m_working;
        ShowRider(rider, owner);
    }
}
