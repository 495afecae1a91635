#include "world/GalaxyMapRules.h"

#include "world/ZoneNode.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr int32_t ZONE_TARGET_BASE = 256;
constexpr float START_ANGLE = 90.0f;
constexpr float START_DISTANCE = 9999999.0f;
constexpr double RAD_TO_DEG = 57.29577951308232;

float Distance(const CVector2D& a, const CVector2D& b)
{
    const float dx = b.x - a.x, dy = b.y - a.y;
    return std::sqrt(dx * dx + dy * dy);
}
} // namespace

int32_t EncodeZoneTarget(int32_t zone, int32_t node)
{
    return ZONE_TARGET_BASE * (zone + 1) + (node & 0xFF);
}

void DecodeTarget(int32_t target, int32_t currentZone, int32_t& zone, int32_t& node)
{
    if (target < ZONE_TARGET_BASE)
    {
        zone = currentZone;
        node = target;
        return;
    }
    zone = ((target >> 8) & 0xFF) - 1;
    node = target & 0xFF;
}

int GetNodeIconFrame(int32_t kind)
{
    switch (kind)
    {
    case ZONE_NODE_TRANSFER:
        return 2;
    case ZONE_NODE_DANGER:
    case ZONE_NODE_DANGER_1:
    case ZONE_NODE_DANGER_2:
        return 6;
    case ZONE_NODE_BOSS:
        return 5;
    case ZONE_NODE_ALIEN_1:
    case ZONE_NODE_ALIEN_2:
        return 7;
    default:
        return 1;
    }
}

CVector2D GetZoneViewPosition(const CVector2D& mapPosition, const CVector2D& normalBgndPos)
{
    return mapPosition + normalBgndPos;
}

CVector2D GetGalaxyViewPosition(const CVector2D& mapPosition, const CVector2D& hyperBgndPos)
{
    return mapPosition * 0.5f + hyperBgndPos;
}

float GetZoneReach(int32_t zone)
{
    return MAP_ZONE_REACH + MAP_ZONE_REACH_STEP * static_cast<float>(zone);
}

bool IsWithinReach(const CVector2D& from, const CVector2D& to, float reach)
{
    const float dx = to.x - from.x, dy = to.y - from.y;
    return dx * dx + dy * dy <= reach * reach;
}

bool IsZoneUnlocked(int32_t zone, const bool bossBeaten[MAP_MAX_ZONES])
{
    switch (zone)
    {
    case 0:
        return true;
    case 1:
    case 2:
        return bossBeaten[0];
    case 3:
        return bossBeaten[1] || bossBeaten[2];
    case 4:
        return bossBeaten[1] && bossBeaten[2] && bossBeaten[3];
    default:
        return false;
    }
}

float GetGroupIconScale(float mass)
{
    return std::min(1.5f, std::max(0.5f, mass * 0.006666667f + 0.4f));
}

CVector2D GetDirectionVector(int direction)
{
    switch (direction)
    {
    case MAP_LEFT:
        return CVector2D(-1.0f, 0.0f);
    case MAP_RIGHT:
        return CVector2D(1.0f, 0.0f);
    case MAP_UP:
        return CVector2D(0.0f, -1.0f);
    case MAP_DOWN:
        return CVector2D(0.0f, 1.0f);
    default:
        return CVector2D();
    }
}

int32_t ChooseByDirection(const CVector2D& from, int direction, const std::vector<SMapCandidate>& candidates)
{
    const CVector2D along = GetDirectionVector(direction);
    float bestAngle = START_ANGLE;
    float bestDistance = START_DISTANCE;
    int32_t chosen = MAP_NO_TARGET;
    for (const SMapCandidate& candidate : candidates)
    {
        const float distance = Distance(from, candidate.position);
        if (distance <= 0.0f)
            continue;
        const CVector2D unit((candidate.position.x - from.x) / distance, (candidate.position.y - from.y) / distance);
        const double dot = std::clamp(static_cast<double>(unit.Dot(along)), -1.0, 1.0);
        const float angle = static_cast<float>(std::acos(dot) * RAD_TO_DEG);
        if (angle < bestAngle && distance < bestDistance)
        {
            bestAngle = angle;
            bestDistance = distance;
            chosen = candidate.target;
        }
    }
    return chosen;
}

int32_t FindClickedTarget(const CVector2D& pointer, const std::vector<SMapCandidate>& candidates)
{
    for (const SMapCandidate& candidate : candidates)
    {
        const float dx = candidate.position.x - pointer.x, dy = candidate.position.y - pointer.y;
        if (dx * dx + dy * dy < MAP_CLICK_RADIUS * MAP_CLICK_RADIUS)
            return candidate.target;
    }
    return MAP_NO_TARGET;
}

bool StepMarker(CVector2D& position, const CVector2D& goal, uint32_t elapsedMs)
{
    const float remaining = Distance(position, goal);
    const float step = MAP_JUMP_SPEED * static_cast<float>(elapsedMs);
    if (step >= remaining)
    {
        position = goal;
        return true;
    }
    position.x += (goal.x - position.x) / remaining * step;
    position.y += (goal.y - position.y) / remaining * step;
    return false;
}

int32_t GetExploredPercent(int32_t visited, int32_t nodes)
{
    if (nodes <= 0)
        return 0;
    return static_cast<int32_t>(static_cast<int64_t>(visited) * 100 / nodes);
}
