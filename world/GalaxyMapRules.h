#pragma once
// The galaxy map's rules that need no sprites: where a node stands in each view, how
// far a jump reaches, which zones the bosses beaten open, how a target is encoded and
// chosen by direction or by a click, how large a group's icon is drawn, and how a
// marker moves during a jump.
//
// Views: the zone view (1) draws the current zone's nodes at their map positions plus
// the zone's normal-background position; the galaxy view (0) draws every open zone's
// transfer nodes at half their map positions plus the zone's hyper-background
// position. Distances are measured in view units (the zone view's are map units).
//
// Targets: -1 none; below 256 a node of the current zone; from 256 up, the low byte
// is the node and the next byte the zone + 1.

#include "core/Vector2D.h"

#include <cstdint>
#include <vector>

enum EMapView : int32_t
{
    MAP_VIEW_GALAXY = 0,
    MAP_VIEW_ZONE = 1,
};

enum EMapJumpState : int32_t
{
    MAP_CHOOSING = 0,
    MAP_JUMPING = 1,
    MAP_ARRIVED = 2,
};

constexpr int32_t MAP_NO_TARGET = -1;
constexpr int32_t MAP_MAX_ZONES = 5;
// The zone view's reach: 50 map units in zone 0, 5 more in each later zone.
constexpr float MAP_ZONE_REACH = 50.0f;
constexpr float MAP_ZONE_REACH_STEP = 5.0f;
// The galaxy view's reach between the transfer nodes of a zone (half-scale units).
constexpr float MAP_GALAXY_REACH = 90.0f;
// A click chooses a node nearer than this to the pointer.
constexpr float MAP_CLICK_RADIUS = 8.0f;
// The marker and the group icons move this many view units per game ms of the jump.
constexpr float MAP_JUMP_SPEED = 0.025f;

// A target in another zone, and the two halves of any target (a node of the current
// zone gives that zone).
int32_t EncodeZoneTarget(int32_t zone, int32_t node);
void DecodeTarget(int32_t target, int32_t currentZone, int32_t& zone, int32_t& node);

// The icon frame of a node kind: normal 1, transfer 2, danger 6, boss 5, alien 7;
// the current node shows frame 0 whatever its kind.
int GetNodeIconFrame(int32_t kind);

CVector2D GetZoneViewPosition(const CVector2D& mapPosition, const CVector2D& normalBgndPos);
CVector2D GetGalaxyViewPosition(const CVector2D& mapPosition, const CVector2D& hyperBgndPos);

// The zone view's reach from the current node in a zone: 50 + 5 x zone index.
float GetZoneReach(int32_t zone);
// Whether `to` lies within `reach` of `from` (exactly at the reach counts).
bool IsWithinReach(const CVector2D& from, const CVector2D& to, float reach);

// Zone 0 is always open; zones 1 and 2 once zone 0's boss is beaten; zone 3 once the
// boss of zone 1 or of zone 2 is; zone 4 once those of zones 1, 2 and 3 are.
bool IsZoneUnlocked(int32_t zone, const bool bossBeaten[MAP_MAX_ZONES]);

// The scale of a group icon by the group's resource mass: m x 0.006666667 + 0.4,
// kept within 0.5 and 1.5.
float GetGroupIconScale(float mass);

// One selectable target and where it stands in the view.
struct SMapCandidate
{
    int32_t target = MAP_NO_TARGET;
    CVector2D position;
};

// The action codes of the directions (the GUI rows of the game's controls).
enum EMapDirection : int
{
    MAP_UP = 4,
    MAP_DOWN = 5,
    MAP_LEFT = 6,
    MAP_RIGHT = 7,
};

// The unit vector of a direction on the screen (y grows downwards).
CVector2D GetDirectionVector(int direction);

// The direction choice from a point: the candidates in list order; one replaces the
// choice when its angle to the direction (degrees, from the dot product of the unit
// vectors) is below the choice's angle, which starts at 90, and its distance below
// the choice's, which starts at 9999999. A candidate standing on the point has no
// direction and is passed over. Gives the chosen target, or MAP_NO_TARGET.
int32_t ChooseByDirection(const CVector2D& from, int direction, const std::vector<SMapCandidate>& candidates);

// The first candidate, in list order, nearer than 8 units to the pointer, or
// MAP_NO_TARGET.
int32_t FindClickedTarget(const CVector2D& pointer, const std::vector<SMapCandidate>& candidates);

// A marker's step toward its goal after `elapsedMs` of the jump: it moves
// min(remaining distance, 0.025 x elapsedMs) along the line from where it is. True
// once it stands on the goal.
bool StepMarker(CVector2D& position, const CVector2D& goal, uint32_t elapsedMs);

// Explored shares in whole percent (visited per nodes); 0 for no nodes.
int32_t GetExploredPercent(int32_t visited, int32_t nodes);
