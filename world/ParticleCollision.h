#pragma once
// A particle of an emitter with a collision trigger meets the world: the objects
// within the trigger's "particleRadius" that are not of the effect owner's side and
// can collide are touched (the player's ship as a circle of its radius, others by
// their shape chains). A touch damages them (kind 1) when the trigger has a damage
// range and no push radius, fires the collision event, reflects or bounces the
// particle, damages and pushes everything within "inflictDamageRadius", and ends the
// particle when the trigger says "die".

#include "core/Vector2D.h"

class CEffect;
struct SParticle;

// False when the particle is gone afterwards.
bool TestParticleCollision(CEffect& effect, SParticle& particle, const CVector2D& place);
