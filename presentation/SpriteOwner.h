#pragma once
// What animation sets and object bodies need of the object that holds them, given on
// every call (so they keep no pointer to it): where it stands, how it moves, turns
// and is scaled, its draw plane, its handle and its collision shapes.

#include "core/Vector2D.h"

#include <cstdint>

class CCollisionShape;

struct SSpriteOwner
{
    int32_t handle = -1;               // the object's handle; effects are spawned for it
    CVector2D position;                // world units
    CVector2D velocity;                // world units per tick
    float angle = 0.0f;                // degrees
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    int drawPlane = 0;
    CCollisionShape* shapes = nullptr; // the object's chain (animation sets move tagged shapes)
};
