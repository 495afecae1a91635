#pragma once
// Motherships and bosses in a test world: bodies with tagged parts written compactly
// (see DefinitionText), hits placed on a tagged shape, and the files of the ships they
// launch or leave behind.

#include "core/Vector2D.h"
#include "tests/ships/EnemyScene.h"

#include <string>
#include <vector>

class CGameObject;

struct SPartSpec
{
    CVector2D pos;
    int32_t health;
};

// Parts on a ring of the radius round the centre, the first at angle 0.
std::vector<SPartSpec> RingParts(int count, float distance, int32_t health);

// The body keys of a carrier: a root circle of the radius, one circle of radius 8
// per part at its place tagged "P00", "P01", ... with an extra sprite of the same
// tag and health, and with `core` a circle tagged "CORE" at the centre.
std::string CarrierBody(int32_t health, float radius, const std::vector<SPartSpec>& parts, bool core);
// A whole section.
std::string CarrierSection(const std::string& name, const std::string& keys, int32_t health = 100,
                           float radius = 60.0f, const std::vector<SPartSpec>& parts = {}, bool core = false);
// A "turretGroup" block without sprites, in compact text: one turret per entry, each
// with health 10 unless its keys say otherwise ("range 500; fireRate 2").
std::string TurretGroupKeys(const std::vector<std::string>& turretKeys);
// Definition text of an effect "glow" (one short-lived particle, nothing drawn): a
// turret's charge or shot that a test can watch start and stop.
const std::string& GlowEffectText();
// The tag text of part i ("P07").
std::string PartTag(int index);

// The next hit on the object lands on its shape of the tag: the shapes are
// touched there as a collision would, so the object's hit shape is that one.
void AimHitAt(CGameObject& object, const std::string& tag);

// A fighter definition file in the scene's folder; its path.
std::string WriteFighterFile(CEnemyScene& scene, const std::string& name = "fighter.txt");
