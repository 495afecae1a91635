#pragma once
// What the game flow and its screens read and change of the player's ship and of the
// level's ship designs, in one place: the ship's energy and ammunition, the designs
// the player owns, their names and hulls.

#include "core/Vector2D.h"

#include <cstdint>
#include <string>

class CGameObject;

// The ship's stored energy and its capacity; false for an object that is not a
// player ship with a design.
bool GetShipEnergy(const CGameObject& ship, float& energy, float& capacity);
void SetShipEnergy(CGameObject& ship, float energy);
// Twice the ammunition missing from the weapons up to the first that is not full
// (0 when all are full), and the refill of that first weapon.
int32_t GetShipReloadCost(const CGameObject& ship);
void RefillFirstWeapon(CGameObject& ship);

// The designs of the running level, by storage slot.
bool IsDesignPresent(int slot);
// The health of the design's HULL definition (0 without one).
int32_t GetDesignHullHealth(int slot);
std::u16string GetDesignName(int slot);
// Both checks of a design: a beam and a weapon, and an engine.
bool IsDesignFlyable(int slot);
// A lost ship's design leaves the database.
void RemoveDesign(int slot);
// A new PLAYER_SHIP of the design at the place; its handle, or -1 when none can be
// made (no such design, no room, no player ships in this build).
int32_t CreatePlayerShip(int slot, const CVector2D& position);
