#pragma once
// A running level with the standard test asteroids (tests/support/world/AsteroidLevel.h)
// at the harness's node, and the effects the asteroids start in the game's effect
// cache, where they stay in use.

#include "tests/support/world/WorldHarness.h"
#include "tests/support/world/AsteroidLevel.h"
#include "world/Asteroid.h"
#include "world/AsteroidField.h"
#include "world/AsteroidKinds.h"

#include <gtest/gtest.h>

class CEffect;

#include <memory>
#include <vector>

class AsteroidWorld : public ::testing::Test
{
protected:
    // The level of the definitions (the standard ones when empty), with effect names
    // on every definition, "<type>Death" and "<type>Touch", loaded in the cache with
    // "alienHeal".
    void Start(std::vector<SAsteroidDefText> defs = {}, uint32_t seed = 1, int totalMass = 400);

    CAsteroid* Spawn(bool recorded, int32_t kind, float x, float y, int32_t spawner = -1);
    // Runs frames until the game clock has moved on by at least ms.
    void RunFor(uint32_t ms);
    CAsteroid* Find(int32_t handle) const;
    // Effects of the name started (and still in use: they last 1000 s).
    int CountEffects(const std::string& name) const;
    // The first effect of the name in use, or null.
    CEffect* FindEffect(const std::string& name) const;
    int CountAsteroids() const;
    uint32_t Now() { return harness->GetGame().GetTime(); }

    CHarnessZones& Zone() { return harness->GetZones(); }
    CHarnessDirector& Director() { return harness->GetDirector(); }
    CHarnessCampaign& Campaign() { return harness->GetCampaign(); }

    std::unique_ptr<CWorldHarness> harness;
};
