#pragma once
// A running level with the standard test asteroids (tests/world/AsteroidTestLevel.h)
// at one node of a test zone, with the director and campaign recorded and the
// effects the asteroids start kept.

#include "tests/support/world/TestZone.h"
#include "tests/support/world/WorldHarness.h"
#include "tests/world/AsteroidTestLevel.h"
#include "world/Asteroid.h"
#include "world/AsteroidField.h"
#include "world/AsteroidKinds.h"
#include "world/CampaignLink.h"
#include "world/DirectorLink.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

class CTestDirector : public CDirectorLink
{
public:
    void RaiseFlag(int group, int flag) override { raised.push_back({group, flag}); }
    void ClearFlag(int group, int flag) override { cleared.push_back({group, flag}); }
    void OpenGate(int gate) override { opened.push_back(gate); }

    std::vector<std::pair<int, int>> raised;
    std::vector<std::pair<int, int>> cleared;
    std::vector<int> opened;
};

class CTestCampaign : public CCampaignLink
{
public:
    int GetDifficulty() const override { return difficulty; }
    bool IsStationBelowRepairLimit() const override { return stationBelowLimit; }
    bool IsShipHullDamaged() const override { return hullDamaged; }

    int difficulty = 0;
    bool stationBelowLimit = false;
    bool hullDamaged = false;
};

class AsteroidWorld : public ::testing::Test
{
protected:
    // The level of the definitions (the standard ones when empty), with effect names
    // on every definition: "<type>Death" and "<type>Touch".
    void Start(std::vector<SAsteroidDefText> defs = {}, uint32_t seed = 1, int totalMass = 400);

    CAsteroid* Spawn(bool recorded, int32_t kind, float x, float y, int32_t spawner = -1);
    // Runs frames until the game clock has moved on by at least ms.
    void RunFor(uint32_t ms);
    CAsteroid* Find(int32_t handle) const;
    int CountAsteroids() const;
    uint32_t Now() { return harness->GetGame().GetTime(); }

    CTestZone zone;
    CTestDirector director;
    CTestCampaign campaign;
    CRecordedEffects effects;
    std::unique_ptr<CWorldHarness> harness;
};
