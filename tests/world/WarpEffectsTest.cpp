// Warp sequences: ships and enemies growing in and shrinking out, the station's long
// sequences with their black squares, skipping, and the end of a flight.

#include "platform/input/DikCodes.h"
#include "presentation/SpriteTypes.h"
#include "tests/support/SpriteFiles.h"
#include "tests/support/world/EffectScene.h"
#include "tests/support/world/ZoneScene.h"
#include "world/EffectCache.h"
#include "world/EffectDef.h"
#include "world/Emitter.h"
#include "world/ObjectFactory.h"
#include "world/WarpEffects.h"
#include "world/World.h"
#include "world/ZoneManager.h"
#include "world/ZoneNodeState.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
std::string Endless(const std::string& name)
{
    return DefinitionText("EFFECT { name " + name +
                          "; maxParticles 8; maxEmitters 2; particle { appearance { type DUMMY } } controller "
                          "{ type STATIC } emitter { type SIMPLE_PARTICLE; randomNumCreated -1, -1; "
                          "randomLife 10, 10; randomEmissionRate 10, 10 } }");
}

class CTestStation : public CGameObject, public CWarpingStation
{
public:
    CTestStation() : CGameObject(OBJECT_STATION) {}
    void SetVisible(bool visible) override { m_info.shown = visible; }
    void SetWarpState(EWarpState state) override { m_info.warpState = state; }
    void SetPortsWarpValue(int value) override { m_ports = value; }
    void SetWarpEngineFlames(bool on) override { m_flames = on; }
    void SetMarkedWarping(bool warping) override { m_marked = warping; }
    void RunArrivalStep() override { ++m_arrivals; }
    void RunDepartureStep() override { ++m_departures; }

    int m_ports = -1;
    bool m_flames = false;
    bool m_marked = false;
    int m_arrivals = 0;
    int m_departures = 0;
};

CGameObject* MakeStation()
{
    return new (std::nothrow) CTestStation();
}

// A scene with the warp effects defined, the overlay picture, a start zone entered
// at node 13, and the station's class.
class WarpEffects : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SSpriteFileData sprite = MakeSpriteData(2, 0);
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(WriteSpriteFile(sprite, bytes));
        m_scene.Dir().WriteFile("data/sprites/particles/blacksquare.spr", std::string(bytes.begin(), bytes.end()));
        std::string text;
        for (const char* name : {"WarpIn1", "WarpOut1", "WarpIn2", "WarpOut2", "StationWarpOut", "WarpSkip"})
            text += Endless(name);
        ASSERT_TRUE(Game().GetEffectCache().LoadFromBytes(text, "warps.txt"));
        ASSERT_TRUE(m_scene.Load(MakeZoneText({SZoneSpec::MakeStart()})));
        m_scene.Zones().InitNodeState();
        RegisterObjectType(OBJECT_STATION, &MakeStation);
    }

    CGame& Game() { return m_scene.Game(); }
    CWorld& World() { return *Game().GetWorld(); }
    CEffectCache& Cache() { return Game().GetEffectCache(); }

    // The object warps from now: the caller's part (state, hidden when arriving), then
    // its entry.
    int32_t StartWarp(int32_t type, EWarpState state, float x = 2000.0f, float y = 2000.0f)
    {
        const int32_t handle = m_scene.Harness().Spawn(type, x, y);
        CGameObject* object = World().GetObject(handle);
        EXPECT_NE(object, nullptr);
        if (!object)
            return NO_OBJECT;
        object->SetWarpState(state);
        object->GetInfo().warpState = state; // also for a class that keeps no state
        object->SetVisible(state != WARP_IN);
        World().AddWarp(handle);
        m_warpStart = Game().GetTime();
        return handle;
    }
    const SWarpEntry* EntryOf(int32_t handle)
    {
        const CWorld& world = World();
        for (int32_t i = 0; i < CWorld::WARP_ENTRIES; ++i)
            if (world.GetWarpEntries()[i].handle == handle)
                return &world.GetWarpEntries()[i];
        return nullptr;
    }
    // Runs frames until the world's step has seen ms or more into the sequence (steps
    // come every 40 ms from t = 0).
    void RunTo(uint32_t ms)
    {
        while (Game().GetTime() - m_warpStart < ms + 40u)
            m_scene.Harness().RunFrame();
    }
    uint32_t LastStepTime() { return Game().GetTime() - 40u - m_warpStart; }

    CZoneScene m_scene;
    uint32_t m_warpStart = 0;
};
} // namespace

TEST_F(WarpEffects, AFighterIsUnseenFor1500MsThenGrowsAndItsEffectGoesASecondLater)
{
    const int32_t handle = StartWarp(OBJECT_ENEMY_FIGHTER, WARP_IN);
    CGameObject* fighter = World().GetObject(handle);
    m_scene.Harness().RunFrame();
    const SWarpEntry* entry = EntryOf(handle);
    ASSERT_NE(entry, nullptr);
    const float d = entry->duration;
    EXPECT_GE(d, 500.0f);
    EXPECT_LE(d, 2499.0f);
    EXPECT_EQ(CountEffectsInUse(Cache(), "WarpIn1"), 1);
    while (EntryOf(handle))
    {
        const uint32_t t = LastStepTime();
        const float scale = fighter->GetBody().scale[0];
        if (t < 1500)
            EXPECT_FALSE(fighter->GetInfo().shown) << t;
        else if (static_cast<float>(t) < d + 1500.0f)
        {
            EXPECT_TRUE(fighter->GetInfo().shown);
            EXPECT_NEAR(scale, (static_cast<float>(t) - 1500.0f) / d, 1e-4f) << t;
        }
        else
            EXPECT_EQ(scale, 1.0f) << t;
        EXPECT_EQ(fighter->GetInfo().warpState, WARP_IN);
        EXPECT_EQ(CountEffectsInUse(Cache(), "WarpIn1"), 1) << t;
        m_scene.Harness().RunFrame();
    }
    // Released at the first step at or past d + 2500.
    const uint32_t end = LastStepTime();
    EXPECT_GE(static_cast<float>(end), d + 2500.0f);
    EXPECT_LT(static_cast<float>(end), d + 2540.0f);
    EXPECT_EQ(CountEffectsInUse(Cache(), "WarpIn1"), 0);
    EXPECT_EQ(World().GetActiveWarpCount(), 0);
    EXPECT_EQ(fighter->GetInfo().warpState, WARP_NONE);
    EXPECT_TRUE(World().GetObject(handle));
}

TEST_F(WarpEffects, AMothershipWarpsLongerWithItsOwnEffects)
{
    for (int trial = 0; trial < 20; ++trial)
    {
        const int32_t in = StartWarp(OBJECT_ENEMY_MOTHERSHIP, WARP_IN);
        const int32_t out = StartWarp(OBJECT_ENEMY_MOTHERSHIP, WARP_OUT);
        m_scene.Harness().RunFrame();
        for (int32_t handle : {in, out})
        {
            ASSERT_NE(EntryOf(handle), nullptr);
            EXPECT_GE(EntryOf(handle)->duration, 1000.0f);
            EXPECT_LE(EntryOf(handle)->duration, 3999.0f);
        }
        EXPECT_EQ(CountEffectsInUse(Cache(), "WarpIn2"), 1);
        EXPECT_EQ(CountEffectsInUse(Cache(), "WarpOut2"), 1);
        EXPECT_EQ(CountEffectsInUse(Cache(), "WarpIn1"), 0);
        World().Clear();
        EXPECT_EQ(CountEffectsInUse(Cache(), "WarpIn2"), 0); // the cleared entries gave them back
    }
}

TEST_F(WarpEffects, AnEnemyThatWarpsOutWaitsInItsGroupAndIsNoKill)
{
    CZoneManager& zones = m_scene.Zones();
    CZoneNodeState& state = *zones.GetNodeState();
    CZoneDefinition& zone = *zones.GetCurrentZone();
    SParkedGroup& group = state.m_nodes[13].parked[0];
    zones.FillGroup(zone, state, 0, group, false);
    zones.PlaceParkedGroups();
    RunTo(6000); // every one has arrived
    const int32_t leaving = group.entries[1].object;
    ASSERT_NE(m_scene.Enemy(leaving), nullptr);
    m_scene.Enemy(leaving)->m_word = 0x51;
    EXPECT_EQ(zone.m_infinite[0].spawned, 3);
    EXPECT_EQ(World().CountEnemies(), 3);

    ASSERT_TRUE(state.IsGroupSettled(World(), 13, leaving));
    state.WarpOutGroup(World(), 13, leaving);
    EXPECT_FALSE(state.IsGroupSettled(World(), 13, leaving));
    m_warpStart = Game().GetTime();
    int removedAsKills = 0;
    while (World().GetActiveWarpCount() > 0)
    {
        m_scene.Harness().RunFrame();
        removedAsKills += World().CountRemovedEnemies();
    }
    m_scene.Harness().RunFrame();
    EXPECT_EQ(removedAsKills, 0);
    EXPECT_EQ(World().CountEnemies(), 0);
    EXPECT_EQ(World().GetObject(leaving), nullptr);
    // The group waits, alive, to be made again with its state words.
    ASSERT_TRUE(group.used);
    for (const SParkedEntry& entry : group.entries)
        EXPECT_TRUE(!entry.alive || entry.object == NO_OBJECT);
    EXPECT_EQ(group.entries[1].stateWord, 0x51);
    EXPECT_EQ(zone.m_infinite[0].spawned, 0);
    EXPECT_EQ(zone.m_infinite[0].inGame, 3);
    // An object of no group (the player ship, a boss) leaves all the same.
    const int32_t stray = StartWarp(OBJECT_DUMB, WARP_OUT);
    RunTo(6000);
    EXPECT_EQ(World().GetObject(stray), nullptr);
}

TEST_F(WarpEffects, AnObjectThatGoesMidWarpEndsItsEntryAndGivesItsEffectBack)
{
    const int32_t handle = StartWarp(OBJECT_ENEMY_FIGHTER, WARP_IN);
    RunTo(1000);
    EXPECT_EQ(CountEffectsInUse(Cache(), "WarpIn1"), 1);
    World().RemoveObject(handle);
    m_scene.Harness().RunFrame();
    EXPECT_EQ(EntryOf(handle), nullptr);
    EXPECT_EQ(World().GetActiveWarpCount(), 0);
    EXPECT_EQ(CountEffectsInUse(Cache(), "WarpIn1"), 0);
}

TEST_F(WarpEffects, TheStationsFullScreenArrivalFadesThroughBlackAndShowsTheWorldAt7000)
{
    Game().GetHud().Show(false);
    const int32_t other = m_scene.Harness().Spawn(OBJECT_ENEMY_FIGHTER, 1000.0f, 1000.0f);
    const int32_t handle = StartWarp(OBJECT_STATION, WARP_IN);
    CTestStation* station = m_scene.Harness().FindAs<CTestStation>(handle);
    m_scene.Harness().RunFrame();
    const SWarpEntry* entry = EntryOf(handle);
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(entry->fullScreen); // no boss here
    ASSERT_TRUE(entry->overlay);
    EXPECT_EQ(station->m_ports, 15);
    EXPECT_EQ(CountEffectsInUse(Cache(), "StationWarpOut"), 1);
    const SSpriteInstance* a = entry->overlay->m_a.GetInstance();
    const SSpriteInstance* b = entry->overlay->m_b.GetInstance();
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->m_colour, 0xFF000000u);
    EXPECT_EQ(a->m_scaleX, 100.0f);
    EXPECT_EQ(a->m_scaleY, 80.0f);

    RunTo(2500);
    EXPECT_FALSE(World().GetObject(other)->GetInfo().shown);
    EXPECT_EQ(a->m_colour >> 24, static_cast<uint32_t>((1.0f - (LastStepTime() - 2000) * 0.001f) * 255.0f));
    EXPECT_EQ(station->m_arrivals, 0);
    RunTo(7000);
    EXPECT_EQ(station->m_arrivals, 1);
    EXPECT_TRUE(World().GetObject(other)->GetInfo().shown);
    EXPECT_EQ(station->GetInfo().warpState, WARP_NONE);
    RunTo(7750);
    EXPECT_EQ(b->m_colour >> 24, static_cast<uint32_t>((1.0f - (LastStepTime() - 7500) * 0.0005f) * 255.0f));
    EXPECT_FALSE(m_scene.Harness().GetHud().m_visible);
    RunTo(9500);
    EXPECT_EQ(station->m_arrivals, 1);
    EXPECT_EQ(EntryOf(handle), nullptr);
    EXPECT_EQ(CountEffectsInUse(Cache(), "StationWarpOut"), 0);
    EXPECT_TRUE(m_scene.Harness().GetHud().m_visible);
}

// The camera only reaches the station it follows after the sequence has begun: the
// square behind the station must come along, or the player sees the backdrop where
// the black should be.
TEST_F(WarpEffects, BothSquaresOfTheFullScreenArrivalStayOnTheScreenAsTheCameraComes)
{
    Game().GetCamera().SetPosition(0.0f, 0.0f);
    const int32_t handle = StartWarp(OBJECT_STATION, WARP_IN, 2000.0f, 1500.0f);
    Game().GetCamera().Follow(handle, false);
    RunTo(200);
    const SWarpEntry* entry = EntryOf(handle);
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(entry->overlay);
    const CVector2D& view = Game().GetCamera().GetView();
    ASSERT_EQ(view.x, 2000.0f - 320.0f); // lag 1: the view is on the station
    ASSERT_EQ(view.y, 1500.0f - 240.0f);
    for (const CAnimatedSprite* square : {&entry->overlay->m_a, &entry->overlay->m_b})
    {
        const SSpriteInstance* instance = square->GetInstance();
        ASSERT_NE(instance, nullptr);
        EXPECT_EQ(instance->m_x, 2000.0f);
        EXPECT_EQ(instance->m_y, 1500.0f);
    }
}

TEST_F(WarpEffects, AStationArrivingBesideABossGrowsInSight)
{
    Game().GetRun().bossPresent = true;
    const int32_t handle = StartWarp(OBJECT_STATION, WARP_IN);
    CTestStation* station = m_scene.Harness().FindAs<CTestStation>(handle);
    m_scene.Harness().RunFrame();
    ASSERT_FALSE(EntryOf(handle)->fullScreen);
    EXPECT_FALSE(EntryOf(handle)->overlay);
    EXPECT_EQ(CountEffectsInUse(Cache(), "WarpIn2"), 1);
    EXPECT_FALSE(station->GetInfo().shown);
    EXPECT_TRUE(station->m_marked);
    RunTo(5000);
    EXPECT_TRUE(station->GetInfo().shown);
    EXPECT_NEAR(station->GetBody().scale[0], (LastStepTime() - 3000) * 0.00025f, 1e-5f);
    RunTo(7200);
    EXPECT_EQ(station->m_arrivals, 1);
    EXPECT_FALSE(station->m_marked);
    EXPECT_EQ(station->GetBody().scale[0], 1.0f);
}

TEST_F(WarpEffects, SpaceHalfASecondIntoTheFullScreenDepartureEndsTheFlightAtOnce)
{
    CZoneManager& zones = m_scene.Zones();
    CZoneNodeState& state = *zones.GetNodeState();
    SParkedGroup& group = state.m_nodes[13].parked[0];
    zones.FillGroup(*zones.GetCurrentZone(), state, 0, group, false);
    zones.PlaceParkedGroups();
    m_scene.Enemy(group.entries[0].object)->m_word = 77;

    const int32_t handle = StartWarp(OBJECT_STATION, WARP_OUT);
    CTestStation* station = m_scene.Harness().FindAs<CTestStation>(handle);
    Game().GetHud().Show(true);
    // Space is down from the start: nothing happens until 500 ms have passed.
    m_scene.Harness().SetKey(Dik::SPACE, true);
    RunTo(480);
    ASSERT_NE(EntryOf(handle), nullptr);
    EXPECT_FALSE(EntryOf(handle)->skipped);
    EXPECT_EQ(station->m_departures, 1);
    EXPECT_TRUE(station->m_flames);
    EXPECT_EQ(station->m_ports, 0);
    EXPECT_FALSE(m_scene.Harness().GetHud().m_visible);
    EXPECT_EQ(m_scene.Harness().GetGameFlow().m_frontEndEntries, 0);

    m_scene.Harness().RunFrame(); // t = 520
    EXPECT_EQ(m_scene.Harness().GetGameFlow().m_frontEndEntries, 1);
    EXPECT_EQ(World().CountObjects(), 0);
    EXPECT_EQ(World().GetActiveWarpCount(), 0);
    EXPECT_EQ(CountEffectsInUse(Cache(), "StationWarpOut"), 0);
    // The node kept what its objects became.
    EXPECT_EQ(group.entries[0].stateWord, 77);
    EXPECT_EQ(group.entries[0].object, NO_OBJECT);
    EXPECT_TRUE(group.entries[0].alive);
}

TEST_F(WarpEffects, ADepartureBesideABossShrinksTheStationAndLeavesThePlayer)
{
    Game().GetRun().bossPresent = true;
    const int32_t handle = StartWarp(OBJECT_STATION, WARP_OUT);
    CTestStation* station = m_scene.Harness().FindAs<CTestStation>(handle);
    RunTo(900);
    EXPECT_EQ(CountEffectsInUse(Cache(), "WarpOut2"), 1);
    EXPECT_FALSE(Cache().FindDefinition("WarpOut2")->GetEmitter()->GetPoolEffect(0)->IsRunning());
    RunTo(1100);
    EXPECT_TRUE(Cache().FindDefinition("WarpOut2")->GetEmitter()->GetPoolEffect(0)->IsRunning());
    RunTo(7500);
    EXPECT_NEAR(station->GetBody().scale[0], 1.0f - (LastStepTime() - 7000) * 0.001f, 1e-5f);
    EXPECT_TRUE(station->m_marked);
    EXPECT_FALSE(station->m_flames);
    RunTo(8000);
    m_scene.Harness().RunFrame();
    EXPECT_EQ(World().GetObject(handle), nullptr);
    EXPECT_EQ(Game().GetRun().bossState, 2);
    EXPECT_EQ(m_scene.Harness().GetGameFlow().m_frontEndEntries, 0);
}
