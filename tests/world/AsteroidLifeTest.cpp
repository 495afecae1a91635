#include "tests/world/AsteroidWorld.h"
#include "tests/world/TestObjects.h"
#include "world/Game.h"
#include "world/ObjectFactory.h"
#include "world/World.h"

#include <algorithm>
#include <map>

TEST_F(AsteroidWorld, DamageIsRefusedByTheImmunityRules)
{
    Start();
    struct SCase
    {
        const char* what;
        int32_t asteroidKind;
        int32_t spawner;
        int32_t sourceType;
        int32_t damageKind;
        bool young;       // hit within its first second
        bool heldSafe;    // held by a beam that keeps it safe from asteroids
        int32_t nodeKind; // when hit
        bool hurt;
    } cases[] = {
        {"a weapon", ASTEROID_LARGE, -1, OBJECT_ENEMY_FIGHTER, 1, false, false, ZONE_NODE_NORMAL, true},
        {"its own spawner's type", ASTEROID_CREW_MAN, OBJECT_ENEMY_FIGHTER, OBJECT_ENEMY_FIGHTER, 1, false, false,
         ZONE_NODE_NORMAL, false},
        {"a special hit by an asteroid", ASTEROID_CREW_SITE, -1, OBJECT_ASTEROID, 1, false, false, ZONE_NODE_NORMAL,
         false},
        {"a special hit by a weapon", ASTEROID_CREW_SITE, -1, OBJECT_ENEMY_FIGHTER, 1, false, false, ZONE_NODE_NORMAL,
         true},
        {"the station bumping", ASTEROID_LARGE, -1, OBJECT_STATION, 0, false, false, ZONE_NODE_NORMAL, false},
        {"the station's guns", ASTEROID_LARGE, -1, OBJECT_STATION, 1, false, false, ZONE_NODE_NORMAL, true},
        {"the player bumping", ASTEROID_LARGE, -1, OBJECT_PLAYER_SHIP, 0, false, false, ZONE_NODE_NORMAL, false},
        {"the player's guns", ASTEROID_LARGE, -1, OBJECT_PLAYER_SHIP, 1, false, false, ZONE_NODE_NORMAL, true},
        {"the player's guns on a drive pod", ASTEROID_DRIVE_POD, -1, OBJECT_PLAYER_SHIP, 1, false, false,
         ZONE_NODE_NORMAL, false},
        {"a held gem bumped by an asteroid", ASTEROID_RARE_GEM, -1, OBJECT_ASTEROID, 0, false, true, ZONE_NODE_NORMAL,
         false},
        {"a loose gem bumped by an asteroid", ASTEROID_RARE_GEM, -1, OBJECT_ASTEROID, 0, false, false, ZONE_NODE_NORMAL,
         true},
        {"a young rock", ASTEROID_LARGE, -1, OBJECT_ENEMY_FIGHTER, 1, true, false, ZONE_NODE_NORMAL, false},
        {"rocks bumping at a danger node", ASTEROID_LARGE, -1, OBJECT_ASTEROID, 0, false, false, ZONE_NODE_DANGER_1,
         false},
        {"rocks bumping elsewhere", ASTEROID_LARGE, -1, OBJECT_ASTEROID, 0, false, false, ZONE_NODE_NORMAL, true},
        {"an asteroid's blast at a danger node", ASTEROID_LARGE, -1, OBJECT_ASTEROID, 2, false, false,
         ZONE_NODE_DANGER, true},
    };
    std::vector<int32_t> old, young;
    float x = 100.0f;
    for (const SCase& c : cases)
    {
        CAsteroid* asteroid = Spawn(false, c.asteroidKind, x, 2000.0f, c.spawner);
        ASSERT_TRUE(asteroid) << c.what;
        (c.young ? young : old).push_back(asteroid->GetHandle());
        x += 250.0f;
    }
    // Every asteroid stands still on its own; the old ones are past their first second.
    RunFor(1040);
    for (size_t i = 0, o = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
    {
        const SCase& c = cases[i];
        if (c.young)
            continue;
        CAsteroid* asteroid = Find(old[o++]);
        ASSERT_TRUE(asteroid) << c.what;
        Zone().m_nodeKind = c.nodeKind;
        if (c.heldSafe)
            asteroid->HoldInBeam(false, harness->GetGame().GetFrameCount());
        const int32_t before = asteroid->GetBody().health;
        EXPECT_FALSE(asteroid->TakeDamage(c.sourceType, nullptr, c.damageKind, 1)) << c.what;
        EXPECT_EQ(asteroid->GetBody().health, c.hurt ? before - 1 : before) << c.what;
        Zone().m_nodeKind = ZONE_NODE_NORMAL;
    }
    CAsteroid* fresh = Spawn(false, ASTEROID_LARGE, 3000, 3000);
    EXPECT_FALSE(fresh->TakeDamage(OBJECT_ENEMY_FIGHTER, nullptr, 1, 5));
    EXPECT_EQ(fresh->GetBody().health, 10) << "no harm in its first second";
}

TEST_F(AsteroidWorld, KillingBlowsRocksDieLaterOthersAtOnce)
{
    Start();
    CAsteroid* rock = Spawn(true, ASTEROID_MEDIUM, 1000, 1000);
    CAsteroid* pod = Spawn(false, ASTEROID_WRECK_POD, 3000, 3000);
    ASSERT_TRUE(rock && pod);
    const int32_t rockHandle = rock->GetHandle();
    const int32_t podHandle = pod->GetHandle();
    RunFor(1040);
    EXPECT_TRUE(rock->TakeDamage(OBJECT_ENEMY_FIGHTER, nullptr, 1, 99));
    EXPECT_EQ(rock->GetDeathTime(), Now() + CAsteroid::DYING_MS);
    EXPECT_TRUE(rock->GetBody().shape->IsDisabled());
    EXPECT_FALSE(rock->TakeDamage(OBJECT_ENEMY_FIGHTER, nullptr, 1, 99)) << "dead already";
    EXPECT_EQ(CountEffects("mediumDeath"), 1);
    EXPECT_TRUE(pod->TakeDamage(OBJECT_ENEMY_FIGHTER, nullptr, 1, 99));
    EXPECT_EQ(pod->GetDeathTime(), 1u);

    harness->RunFrame(); // it dies at its next think, and leaves at the next update
    harness->RunFrame();
    EXPECT_EQ(Find(podHandle), nullptr);
    EXPECT_EQ(Director().m_cleared.back(), std::make_pair(int(DIRECTOR_VISIT_CHAT), 0)) << "the wreck pod's flag";
    ASSERT_TRUE(Find(rockHandle));
    EXPECT_FLOAT_EQ(Find(rockHandle)->GetBody().velocity.Length(), 0.0f) << "a dying rock stands still";
    RunFor(CAsteroid::DYING_MS);
    harness->RunFrame();
    EXPECT_EQ(Find(rockHandle), nullptr);
    EXPECT_FALSE(Zone().m_node.asteroidMap[0].IsPresent()) << "the rock left the node's map";
}

TEST_F(AsteroidWorld, BrokenRocksLeaveRecordedPiecesWhereAllowed)
{
    Start();
    struct SCase
    {
        const char* what;
        float x;
        bool atBoss;
        bool pieces;
    } cases[] = {
        {"inside the playfield", 2000.0f, false, true},
        {"at the boss node", 2000.0f, true, false},
        {"off the playfield", -10.0f, false, false},
    };
    for (const SCase& c : cases)
    {
        harness->GetWorld().Clear();
        Zone().m_node = SZoneNode();
        Zone().m_atBossNode = c.atBoss;
        CAsteroid* large = Spawn(true, ASTEROID_LARGE, 2000, 2000);
        ASSERT_TRUE(large);
        large->SetPosition(CVector2D(c.x, 2000.0f));
        large->Die();
        harness->GetWorld().FlushRemovals();
        const int count = CountAsteroids();
        if (!c.pieces)
        {
            EXPECT_EQ(count, 0) << c.what;
            continue;
        }
        EXPECT_GE(count, 2) << c.what;
        EXPECT_LE(count, 4) << c.what;
        // The large rock's entry went; every medium piece has its own.
        EXPECT_EQ(Zone().m_node.asteroidCount, count) << c.what;
        for (int32_t i = 1; i <= count; ++i)
        {
            const SAsteroidMapEntry& entry = Zone().m_node.asteroidMap[i];
            CAsteroid* piece = Find(entry.asteroid);
            ASSERT_TRUE(piece) << c.what;
            EXPECT_EQ(piece->GetAsteroidKind(), ASTEROID_MEDIUM);
            EXPECT_EQ(piece->GetSizeIndex(), 1);
            EXPECT_NEAR((piece->GetPosition() - CVector2D(2000, 2000)).Length(), 48.0f, 0.01f);
        }
    }
}

TEST_F(AsteroidWorld, AMediumRockBreaksAtTheExpectedRates)
{
    // Break many medium rocks in a world and count what comes out: 4 pieces on average,
    // with chanceOfGems 0.5 a normal-gem trio half the time, a small rock a quarter.
    Start();
    std::map<int32_t, int> made;
    const int rocks = 400;
    for (int i = 0; i < rocks; ++i)
    {
        harness->GetWorld().Clear();
        Zone().m_node = SZoneNode();
        CAsteroid* medium = Spawn(false, ASTEROID_MEDIUM, 2000, 2000);
        ASSERT_TRUE(medium);
        medium->Die();
        CWorld& world = harness->GetWorld();
        world.FlushRemovals();
        for (int32_t slot = 0; slot < world.GetSlotCount(); ++slot)
            if (CGameObject* piece = world.GetSlot(slot))
                ++made[piece->GetAsteroidKind()];
    }
    EXPECT_NEAR(double(made[ASTEROID_NORMAL_GEM]) / rocks, 6.0, 0.5);
    EXPECT_NEAR(double(made[ASTEROID_SMALL]) / rocks, 0.95, 0.15);
    EXPECT_NEAR(double(made[ASTEROID_NORMAL_GEM_LARGE]) / rocks, 1.0, 0.2);
    EXPECT_EQ(made.count(ASTEROID_MEDIUM), 0u);
}

TEST_F(AsteroidWorld, TransientGemsDecayBetweenOneAndTwoMinutes)
{
    Start();
    std::vector<int32_t> loose;
    std::vector<uint32_t> made;
    for (int i = 0; i < 36; ++i)
    {
        CAsteroid* gem = Spawn(false, ASTEROID_NORMAL_GEM + (i % 6), 200.0f + 100.0f * float(i % 6),
                               200.0f + 100.0f * float(i / 6));
        ASSERT_TRUE(gem);
        ASSERT_TRUE(gem->IsTransient());
        loose.push_back(gem->GetHandle());
        made.push_back(Now());
    }
    CAsteroid* kept = Spawn(true, ASTEROID_RARE_GEM, 3000, 3000);
    ASSERT_TRUE(kept && !kept->IsTransient());
    const int32_t keptHandle = kept->GetHandle();
    std::vector<uint32_t> decay(loose.size(), 0), gone(loose.size(), 0);
    while (Now() < 125000)
    {
        harness->RunFrame();
        for (size_t i = 0; i < loose.size(); ++i)
        {
            CAsteroid* gem = Find(loose[i]);
            if (gem && decay[i] == 0)
                decay[i] = gem->GetGemDecayTime();
            if (!gem && gone[i] == 0)
                gone[i] = Now();
        }
    }
    uint32_t earliest = ~0u, latest = 0;
    for (size_t i = 0; i < loose.size(); ++i)
    {
        EXPECT_GE(decay[i], made[i] + 60000) << i;
        EXPECT_LT(decay[i], made[i] + 40 + 120000) << i;
        ASSERT_NE(gone[i], 0u) << i;
        // Its effect at the decay time, then gone half a second later: the thinks that
        // see the times come and the update that takes it out are a frame each.
        EXPECT_GE(gone[i], decay[i] + CAsteroid::DYING_MS) << i;
        EXPECT_LE(gone[i], decay[i] + CAsteroid::DYING_MS + 4 * 40) << i;
        earliest = std::min(earliest, decay[i]);
        latest = std::max(latest, decay[i]);
    }
    EXPECT_LT(earliest, 75000u) << "the decay times spread over the minute";
    EXPECT_GT(latest, 105000u);
    int decayEffects = 0;
    for (const char* gem : {"normalGem", "normalGemLarge", "rareGem", "rareGemLarge", "veryRareGem", "veryRareGemLarge"})
        decayEffects += CountEffects(std::string(gem) + "Death");
    EXPECT_EQ(decayEffects, 36);
    EXPECT_TRUE(Find(keptHandle)) << "a gem the node keeps never decays";
    EXPECT_EQ(Find(keptHandle)->GetGemDecayTime(), 0u);
}

TEST_F(AsteroidWorld, LeavingThePlayfieldRemovesWithoutPieces)
{
    Start();
    CAsteroid* large = Spawn(true, ASTEROID_LARGE, 2000, 2000);
    ASSERT_TRUE(large);
    large->SetPosition(CVector2D(30.0f, 2000.0f));
    large->GetBody().force = CVector2D();
    large->GetBody().damping = 1.0f;
    large->GetBody().velocity = CVector2D(-1.5f, 0.0f); // the velocity limit: 40 a second
    for (int i = 0; i < 100 && CountAsteroids() > 0; ++i)
        harness->RunFrame();
    EXPECT_EQ(CountAsteroids(), 0) << "wholly off the left edge it went, in nothing";
    EXPECT_EQ(Zone().m_node.asteroidCount, 0);
    EXPECT_EQ(CountEffects("largeDeath"), 0);
}

TEST_F(AsteroidWorld, CrewSitesAndAlienStationsActWhenThePlayerComesNear)
{
    Start();
    RegisterObjectType(OBJECT_PLAYER_SHIP, &CreateObjectOf<CBallObject>);
    RegisterObjectType(OBJECT_STATION, &CreateObjectOf<CBallObject>);
    CAsteroid* site = Spawn(true, ASTEROID_CREW_SITE, 2000, 2000);
    ASSERT_TRUE(site);
    EXPECT_EQ(Director().m_opened, std::vector<int>{GATE_ASTEROID_CHAT}) << "the crew-site hint";
    const int32_t ship = harness->Spawn(OBJECT_PLAYER_SHIP, 2400, 2000);
    harness->FindAs<CBallObject>(ship)->SetBall(10, 5);
    harness->GetGame().SetPlayerShipHandle(ship);
    harness->RunFrame();
    EXPECT_EQ(CountAsteroids(), 1) << "400 units away: too far";
    harness->Find(ship)->SetPosition(CVector2D(2250, 2000));
    harness->Find(ship)->PlaceShape();
    harness->RunFrame();
    harness->RunFrame();
    EXPECT_TRUE(Zone().GetZoneFlag(ZONE_FLAG_CREW_RELEASED));
    std::vector<CAsteroid*> crew;
    CWorld& world = harness->GetWorld();
    for (int32_t slot = 0; slot < world.GetSlotCount(); ++slot)
        if (CGameObject* object = world.GetSlot(slot))
            if (object->GetAsteroidKind() == ASTEROID_CREW_MAN)
                crew.push_back(static_cast<CAsteroid*>(object));
    ASSERT_EQ(crew.size(), 5u) << "once";
    for (CAsteroid* man : crew)
    {
        EXPECT_TRUE(man->IsTransient());
        EXPECT_EQ(man->GetSpawnerType(), OBJECT_ASTEROID);
        EXPECT_LE((man->GetPosition() - CVector2D(2000, 2000)).Length(), 24.0f * 0.25f + 50.0f);
    }
    // Crew men do not bump into rocks during their first second.
    CAsteroid* rock = Spawn(false, ASTEROID_MEDIUM, 1000, 3000);
    crew[0]->SetPosition(CVector2D(1000, 3010));
    crew[0]->PlaceShape();
    rock->SetPosition(CVector2D(1000, 3000));
    rock->PlaceShape();
    rock->GetBody().velocity = CVector2D();
    crew[0]->GetBody().velocity = CVector2D();
    crew[0]->Collide(*rock);
    EXPECT_FLOAT_EQ(crew[0]->GetBody().velocity.Length(), 0.0f);
    EXPECT_FLOAT_EQ(rock->GetBody().velocity.Length(), 0.0f);

    // The site's death marks the Zone().
    RunFor(1000);
    site->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 1, 1000);
    harness->RunFrame();
    EXPECT_TRUE(Zone().GetZoneFlag(ZONE_FLAG_CREW_SITE_DESTROYED));

    // A broken alien station releases its aliens in zone 0 only; a friendly one mends.
    Zone().m_zone = 1;
    CAsteroid* broken = Spawn(false, ASTEROID_BROKEN_ALIEN_STATION, 2100, 2000);
    harness->RunFrame();
    EXPECT_FALSE(Zone().GetZoneFlag(ZONE_FLAG_BROKEN_ALIEN_STATION_HANDLED));
    Zone().m_zone = 0;
    harness->RunFrame();
    EXPECT_TRUE(Zone().GetZoneFlag(ZONE_FLAG_BROKEN_ALIEN_STATION_HANDLED));
    int aliens = 0;
    for (int32_t slot = 0; slot < world.GetSlotCount(); ++slot)
        if (CGameObject* object = world.GetSlot(slot))
            aliens += object->GetAsteroidKind() == ASTEROID_FRIENDLY_ALIEN;
    EXPECT_EQ(aliens, 5);
    world.RemoveObject(broken->GetHandle());

    const int32_t station = harness->Spawn(OBJECT_STATION, 500, 500);
    harness->FindAs<CBallObject>(station)->SetBall(40, 100);
    harness->GetGame().SetStationHandle(station);
    CAsteroid* friendly = Spawn(false, ASTEROID_FRIENDLY_ALIEN_STATION, 2300, 2000);
    CEffect* glow = FindEffect(CAsteroid::HEAL_EFFECT);
    ASSERT_TRUE(glow) << "kept from the start";
    EXPECT_FALSE(glow->IsRunning());
    harness->RunFrame();
    const int32_t shipHealth = harness->Find(ship)->GetBody().health;
    const int32_t stationHealth = harness->Find(station)->GetBody().health;
    Campaign().m_hullDamaged = true;
    Campaign().m_stationBelowLimit = true;
    harness->RunFrame();
    harness->RunFrame();
    EXPECT_EQ(harness->Find(ship)->GetBody().health, shipHealth + 2);
    EXPECT_TRUE(glow->IsRunning());
    EXPECT_EQ(glow->GetPosition().x, harness->Find(ship)->GetPosition().x) << "the glow is on the ship";
    Campaign().m_hullDamaged = false;
    harness->RunFrame();
    EXPECT_TRUE(glow->IsEmittingStopped()) << "healed: the glow stops";
    EXPECT_EQ(harness->Find(station)->GetBody().health, stationHealth + 3) << "the station, wherever it is";
    harness->GetGame().GetRun().stationRepairLocked = true;
    harness->RunFrame();
    EXPECT_EQ(harness->Find(station)->GetBody().health, stationHealth + 3) << "held while locked";
    // The glow goes back to its pool with the station.
    world.RemoveObject(friendly->GetHandle());
    harness->RunFrame();
    EXPECT_EQ(FindEffect(CAsteroid::HEAL_EFFECT), nullptr);
}

TEST_F(AsteroidWorld, TouchingRocksShowOneContactEffectAFrame)
{
    Start();
    const float places[4] = {1000.0f, 1060.0f, 3000.0f, 3060.0f};
    std::vector<CAsteroid*> rocks;
    for (float x : places)
        rocks.push_back(Spawn(false, ASTEROID_MEDIUM, x, 2000.0f));
    RunFor(1100); // past the grace of their first second
    for (size_t i = 0; i < rocks.size(); ++i)
    {
        CAsteroid* rock = rocks[i];
        rock->GetBody().velocity = CVector2D();
        rock->GetBody().force = CVector2D();
        rock->SetPosition(CVector2D(places[i], 2000.0f));
        rock->GetBody().previousPosition = rock->GetPosition();
        rock->PlaceShape();
        ASSERT_EQ(rock->GetBody().health, 5);
    }
    const int before = CountEffects("mediumTouch");
    // Two pairs overlap (64 apart would touch; 60 overlaps): one effect for the frame.
    harness->RunFrame();
    EXPECT_EQ(CountEffects("mediumTouch"), before + 1);
    int hurt = 0;
    for (CAsteroid* rock : rocks)
        hurt += rock->GetBody().health < 5;
    EXPECT_GE(hurt, 2) << "both pairs took their knock";
}
