#pragma once
// The object factory by type id: one creator function per type, filled at start-up.
// The world registers its own types; the layers above register theirs through one
// function each (ships/ has RegisterShipObjectTypes), called by the application
// shell and by the tests' world harness. A type without a creator cannot be made.

#include "world/ObjectTypes.h"

#include <new>

class CGameObject;

using ObjectCreator = CGameObject* (*)();

// Replaces the creator of the type; false for a type id out of range.
bool RegisterObjectType(EObjectType type, ObjectCreator creator);
// A new object of the type, or null (no creator, or the allocation failed).
CGameObject* MakeObjectOfType(int32_t type);
bool IsObjectTypeRegistered(int32_t type);
// Forgets every creator (tests start from a clean table).
void ClearObjectTypes();
// The world's own types (DUMB, asteroids, ...) and the level-file sections the
// world's parts read; called at start-up, and by the tests' world harness.
void RegisterWorldObjectTypes();

// The creator of a class with a default constructor.
template <typename T>
CGameObject* CreateObjectOf()
{
    return new (std::nothrow) T();
}
