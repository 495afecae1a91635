// The galaxy map over a real zone state: what it draws of the nodes, groups and rocks,
// which targets it offers, how a jump runs and when it hands over to the flight.

#include "platform/input/DikCodes.h"
#include "presentation/SpriteTypes.h"
#include "tests/support/SpriteFiles.h"
#include "tests/support/core/StringTableFixture.h"
#include "tests/support/world/ZoneScene.h"
#include "world/AsteroidKinds.h"
#include "world/GalaxyMap.h"
#include "world/Game.h"
#include "world/ZoneDefinition.h"
#include "world/ZoneManager.h"
#include "world/ZoneNodeState.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace
{
// Zone 0's map of the tests: start node 13 (normal node 8) at (300, 300) with normal
// nodes around it at the given offsets; the others stand far away.
SZoneSpec MakeStartAround(const std::vector<CVector2D>& around, int transferZone = 0)
{
    SZoneSpec spec;
    spec.danger.push_back({300.0f, 330.0f, 0}); // node 4, 30 below the start
    for (int i = 0; i < 10; ++i)
        spec.normal.push_back({900.0f + 40.0f * static_cast<float>(i), 900.0f, 0});
    spec.normal[8] = {300.0f, 300.0f, 0};
    for (size_t i = 0; i < around.size() && i < 8; ++i)
        spec.normal[i] = {300.0f + around[i].x, 300.0f + around[i].y, 0};
    spec.transfer.push_back({260.0f, 300.0f, transferZone}); // node 15, 40 left of the start
    spec.crewNode = 9;
    return spec;
}

// Texts as the zone map's layout would hold them.
class CRecordedTexts : public CGalaxyMapTexts
{
public:
    void SetText(int id, const std::u16string& text) override { m_texts[id] = text; }
    void PlaceText(int id, const CVector2D& position) override { m_places[id] = position; }
    void ShowText(int id, bool shown) override { m_shown[id] = shown; }

    std::map<int, std::u16string> m_texts;
    std::map<int, CVector2D> m_places;
    std::map<int, bool> m_shown;
};

class GalaxyMapTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_scene.Dir().WriteFile("data/sprites/maps/mapicons.spr", MakeSpriteFileBytes(16, 16, MAP_ICON_FRAMES));
        m_scene.Dir().WriteFile("data/sprites/maps/mapiconsb.spr", MakeSpriteFileBytes(16, 16, MAP_GROUP_FRAMES));
        m_scene.Dir().WriteFile("data/sprites/particles/particles2x.spr", MakeSpriteFileBytes(4, 4, 1));
        m_scene.Harness().SetMode(GAME_MODE_FRONT_END);
        Map().SetTexts(&m_texts);
        std::string error;
        ASSERT_TRUE(LoadStringTableSource("[English]\n0x73000004 = Zone map\n0x3b000000 = Galaxy\n"
                                          "0xfd000005 = Explored: %i%% of the galaxy, %i%% of this zone\n"
                                          "0x3a000003 = Zone %i - cleared\n0xf8000003 = Zone %i\n",
                                          m_strings, error))
            << error;
        m_oldStrings = g_stringTable;
        g_stringTable = &m_strings;
    }
    void TearDown() override
    {
        g_stringTable = m_oldStrings;
        Map().SetTexts(nullptr);
        Map().ReleaseSprites();
    }

    bool Load(const std::vector<SZoneSpec>& zones)
    {
        if (!m_scene.Load(MakeZoneText(zones)))
            return false;
        Zones().InitNodeState();
        return true;
    }
    CZoneManager& Zones() { return m_scene.Zones(); }
    CGalaxyMap& Map() { return Zones().GetGalaxyMap(); }
    CZoneNodeState& State() { return *Zones().GetNodeState(); }
    // One frame of the front end: the game's frame, then the map's step.
    void Frame(bool jumpRequested = false)
    {
        m_scene.Harness().RunFrame();
        Map().Update(jumpRequested);
    }
    void FramesUntil(EMapJumpState state, int limit = 200)
    {
        for (int i = 0; i < limit && Map().GetJumpState() != state; ++i)
            Frame();
    }
    // A group of fighters (mass 10 each) waiting at a node, kept there.
    void ParkFighters(int32_t node, int count)
    {
        SParkedGroup& group = State().m_nodes[static_cast<size_t>(node)].parked[0];
        group = SParkedGroup();
        group.used = true;
        group.number = 77;
        group.moveTime = 100000000;
        for (int i = 0; i < count; ++i)
        {
            group.entries[i].alive = 1;
            group.entries[i].infinite = 1;
            group.entries[i].resource = 0;
        }
    }
    static CVector2D ZoneView(float x, float y) { return CVector2D(x + 30.0f, y + 40.0f); }
    std::vector<int32_t> Targets()
    {
        std::vector<int32_t> targets;
        for (const SMapCandidate& candidate : Map().GetTargets())
            targets.push_back(candidate.target);
        return targets;
    }

    CZoneScene m_scene;
    CRecordedTexts m_texts;
    CStringTable m_strings;
    CStringTable* m_oldStrings = nullptr;
};

void ExpectAt(const CAnimatedSprite& sprite, const CVector2D& at)
{
    ASSERT_NE(sprite.GetInstance(), nullptr);
    EXPECT_TRUE(sprite.IsVisible());
    EXPECT_FLOAT_EQ(sprite.GetPosition().x, at.x);
    EXPECT_FLOAT_EQ(sprite.GetPosition().y, at.y);
    EXPECT_TRUE(sprite.GetInstance()->m_flags & SPRITE_VIRTUAL);
}
} // namespace

TEST_F(GalaxyMapTest, TheZoneViewDrawsTheShownNodesByKindWithVisitedMarks)
{
    ASSERT_TRUE(Load({MakeStartAround({{30.0f, 0.0f}})}));
    ASSERT_EQ(Zones().GetCurrentNodeIndex(), 13);
    State().m_nodes[5].visited = true;
    Map().Show();

    // The current node shows frame 0; the others their kind's frame.
    ExpectAt(Map().GetNodeIcon(13), ZoneView(300.0f, 300.0f));
    EXPECT_EQ(Map().GetNodeIcon(13).GetFrame(), 0u);
    ExpectAt(Map().GetNodeIcon(5), ZoneView(330.0f, 300.0f));
    EXPECT_EQ(Map().GetNodeIcon(5).GetFrame(), 1u);
    ExpectAt(Map().GetNodeIcon(4), ZoneView(300.0f, 330.0f));
    EXPECT_EQ(Map().GetNodeIcon(4).GetFrame(), 6u);
    ExpectAt(Map().GetNodeIcon(15), ZoneView(260.0f, 300.0f));
    EXPECT_EQ(Map().GetNodeIcon(15).GetFrame(), 2u);
    ExpectAt(Map().GetVisitedMark(5), ZoneView(330.0f, 300.0f));
    EXPECT_FALSE(Map().GetVisitedMark(6).IsVisible());
    // Node 0 leads nowhere; the boss and alien nodes wait for their flags.
    for (int32_t hidden : {0, 1, 2, 3})
        EXPECT_FALSE(Map().GetNodeIcon(hidden).IsVisible()) << "node " << hidden;
    State().m_flags[ZONE_FLAG_BOSS_NODE_SHOWN] = true;
    State().m_flags[ZONE_FLAG_ALIEN_NODE_1_SHOWN] = true;
    Map().Show();
    EXPECT_EQ(Map().GetNodeIcon(1).GetFrame(), 5u);
    EXPECT_TRUE(Map().GetNodeIcon(1).IsVisible());
    EXPECT_EQ(Map().GetNodeIcon(2).GetFrame(), 7u);
    EXPECT_FALSE(Map().GetNodeIcon(3).IsVisible());
    // While the tutorial shows the map for the first time the danger nodes stay away.
    m_scene.Harness().GetDirector().m_tutorialStep = CGalaxyMap::TUTORIAL_STEP_NO_DANGER;
    Map().Show();
    EXPECT_FALSE(Map().GetNodeIcon(4).IsVisible());

    // The texts: the view's title and the zone's, at its title place.
    EXPECT_EQ(m_texts.m_texts[CGalaxyMap::TEXT_ZONE_FIRST], u"Zone 1");
    EXPECT_FLOAT_EQ(m_texts.m_places[CGalaxyMap::TEXT_ZONE_FIRST].x, 30.0f);
    EXPECT_FLOAT_EQ(m_texts.m_places[CGalaxyMap::TEXT_ZONE_FIRST].y, 25.0f);
    EXPECT_TRUE(m_texts.m_shown[CGalaxyMap::TEXT_ZONE_FIRST]);
    State().m_flags[ZONE_FLAG_BOSS_BEATEN] = true;
    Map().Show();
    EXPECT_EQ(m_texts.m_texts[CGalaxyMap::TEXT_ZONE_FIRST], u"Zone 1 - cleared");

    Map().Hide();
    EXPECT_FALSE(Map().GetNodeIcon(13).IsVisible());
    EXPECT_FALSE(m_texts.m_shown[CGalaxyMap::TEXT_ZONE_FIRST]);
    EXPECT_FALSE(m_texts.m_shown[CGalaxyMap::TEXT_EXPLORED]);
}

TEST_F(GalaxyMapTest, RockGaugesMeasureTheRocksLeftAndFlashWhileMined)
{
    ASSERT_TRUE(Load({MakeStartAround({{30.0f, 0.0f}})}));
    SZoneNode& node = State().m_nodes[5];
    ASSERT_GT(node.rockValue, 0);
    Map().Show();
    Map().ShowRockGauges();
    const CHudBar& gauge = Map().GetGauge(5);
    EXPECT_TRUE(gauge.IsShown());
    EXPECT_FLOAT_EQ(gauge.GetMaximum(), static_cast<float>(node.rockValue));
    EXPECT_FLOAT_EQ(gauge.GetValue(), static_cast<float>(node.rockValue));
    EXPECT_EQ(gauge.GetBarWidth(), 3);
    EXPECT_EQ(gauge.GetBarHeight(), 8);
    // The icon stands at the node less (5, 5); the bar above it.
    EXPECT_FLOAT_EQ(gauge.GetIcon().GetPosition().x, ZoneView(330.0f, 300.0f).x - 5.0f);
    EXPECT_FLOAT_EQ(gauge.GetIcon().GetPosition().y, ZoneView(330.0f, 300.0f).y - 5.0f);
    // Danger nodes have none.
    EXPECT_FALSE(Map().GetGauge(4).IsShown());

    // A mined rock lowers the value by what it counted (1 medium, 5 large).
    int32_t removed = 0;
    for (SAsteroidMapEntry& entry : node.asteroidMap)
    {
        const int32_t kind = GetAsteroidWordKind(entry.word);
        if (entry.IsPresent() && (kind == ASTEROID_MEDIUM || kind == ASTEROID_LARGE))
        {
            removed = kind == ASTEROID_MEDIUM ? 1 : 5;
            entry.word &= ~ASTEROID_WORD_PRESENT;
            break;
        }
    }
    ASSERT_GT(removed, 0);
    Map().ShowRockGauges();
    EXPECT_FLOAT_EQ(gauge.GetValue(), static_cast<float>(node.rockValue - removed));
    EXPECT_TRUE(gauge.IsFillShown());

    // While a mining group works the node its fill blinks every 250 ms.
    node.miningMarker = true;
    bool seenOff = false, seenOn = false;
    for (int i = 0; i < 20; ++i)
    {
        m_scene.Harness().RunFrame();
        Map().ShowRockGauges();
        (gauge.IsFillShown() ? seenOn : seenOff) = true;
    }
    EXPECT_TRUE(seenOn && seenOff);

    // The galaxy view has no gauges.
    Map().SetView(MAP_VIEW_GALAXY);
    Map().Show();
    EXPECT_FALSE(gauge.IsShown());
}

TEST_F(GalaxyMapTest, GroupIconsShowTheMassWaitingAtEachNode)
{
    ASSERT_TRUE(Load({MakeStartAround({{30.0f, 0.0f}, {0.0f, -30.0f}})}));
    ParkFighters(5, 9); // mass 90: scale 1.0
    ParkFighters(6, 1); // mass 10: the least scale, 0.5
    Map().Show();
    Map().ShowParkedGroups();
    ExpectAt(Map().GetGroupIcon(5), ZoneView(338.0f, 308.0f));
    EXPECT_FLOAT_EQ(Map().GetGroupIcon(5).GetInstance()->m_scaleX, 1.0f);
    EXPECT_EQ(Map().GetGroupIcon(5).GetFrame(), static_cast<uint32_t>(MAP_FRAME_GROUP));
    EXPECT_FLOAT_EQ(Map().GetGroupIcon(6).GetInstance()->m_scaleX, 0.5f);
    EXPECT_FALSE(Map().GetGroupIcon(7).IsVisible());
    // Dead entries weigh nothing: a group of none shows no icon.
    for (SParkedEntry& entry : State().m_nodes[6].parked[0].entries)
        entry.alive = 0;
    Map().ShowParkedGroups();
    EXPECT_FALSE(Map().GetGroupIcon(6).IsVisible());
}

TEST_F(GalaxyMapTest, TheZoneViewOffersTheShownNodesWithinFiftyUnitsInZoneZero)
{
    // 50 units to the right is in reach, 51 below is not; the danger node (30 below)
    // and the transfer node (40 left) are.
    ASSERT_TRUE(Load({MakeStartAround({{50.0f, 0.0f}, {0.0f, 51.0f}, {-30.0f, -30.0f}})}));
    Map().SetEnabled(true);
    Map().Show();
    Frame();
    EXPECT_EQ(Targets(), (std::vector<int32_t>{4, 5, 7, 13, 15}));
    // Lines go to each target but the current node, from 10 units out, a dot every 5.
    EXPECT_GT(Map().GetLinkDotCount(), 0);
    ExpectAt(Map().GetLinkDot(0), ZoneView(300.0f, 310.0f)); // toward node 4, below

    // The boss node once shown, when in reach.
    Zones().GetCurrentZone()->m_map.nodes[1].x = 300.0f;
    Zones().GetCurrentZone()->m_map.nodes[1].y = 260.0f;
    Frame();
    EXPECT_EQ(Targets(), (std::vector<int32_t>{4, 5, 7, 13, 15}));
    State().m_flags[ZONE_FLAG_BOSS_NODE_SHOWN] = true;
    Frame();
    EXPECT_EQ(Targets(), (std::vector<int32_t>{1, 4, 5, 7, 13, 15}));

    // A disabled map offers nothing.
    Map().SetEnabled(false);
    Frame();
    EXPECT_TRUE(Targets().empty());
    EXPECT_EQ(Map().GetLinkDotCount(), 0);
}

TEST_F(GalaxyMapTest, AJumpToTheBossNodePullsIntoFlightWhileItsBossIsNotBeaten)
{
    // No group waits at the boss node: its boss alone holds the player, until beaten.
    struct SCase
    {
        bool beaten;
        bool noSuction;
        bool flight;
    };
    const SCase cases[] = {{true, false, false}, {false, true, false}, {false, false, true}};
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "beaten " << c.beaten << ", no suction " << c.noSuction);
        ASSERT_TRUE(Load({MakeStartAround({{30.0f, 0.0f}})}));
        Zones().GetCurrentZone()->m_map.nodes[1].x = 300.0f;
        Zones().GetCurrentZone()->m_map.nodes[1].y = 260.0f;
        State().m_flags[ZONE_FLAG_BOSS_NODE_SHOWN] = true;
        State().m_flags[ZONE_FLAG_BOSS_BEATEN] = c.beaten;
        m_scene.Game().GetRun().noSuction = c.noSuction;
        Map().SetView(MAP_VIEW_ZONE);
        Map().SetEnabled(true);
        Map().Show();
        Frame();
        ASSERT_TRUE(Map().ChooseTarget(1));
        FramesUntil(MAP_JUMPING);
        for (int i = 0; i < 200 && Map().GetJumpState() == MAP_JUMPING; ++i)
            Frame();
        ASSERT_EQ(Zones().GetCurrentNodeIndex(), 1);
        EXPECT_EQ(State().ParkedMass(1, *Zones().GetCurrentZone()), 0.0f);
        EXPECT_EQ(Map().GetJumpState(), c.flight ? MAP_ARRIVED : MAP_CHOOSING);
    }
}

TEST_F(GalaxyMapTest, TheReachGrowsWithTheZone)
{
    std::vector<SZoneSpec> zones = {MakeStartAround({})};
    for (int z = 1; z < 5; ++z)
    {
        SZoneSpec spec = SZoneSpec::MakeLine(0);
        spec.normal = {{300.0f, 300.0f, 0}, {370.0f, 300.0f, 0}, {300.0f, 371.0f, 0}};
        spec.boss = CVector2D(900.0f, 900.0f);
        spec.alien1 = CVector2D(950.0f, 950.0f);
        zones.push_back(spec);
    }
    ASSERT_TRUE(Load(zones));
    Zones().SetCurrentZone(4);
    Zones().InitNodeState();
    ASSERT_TRUE(Zones().SetCurrentNode(3)); // the first normal node of zone 4
    Map().SetEnabled(true);
    Map().Show();
    Frame();
    EXPECT_EQ(Targets(), (std::vector<int32_t>{3, 4})); // 70 in, 71 out
}

TEST_F(GalaxyMapTest, TheGalaxyViewOffersTransferNodesAndTheWayIntoAnOpenZone)
{
    SZoneSpec second = SZoneSpec::MakeLine(2);
    second.transfer.push_back({40.0f, 60.0f, 0}); // zone 1's node 5, back to zone 0
    ASSERT_TRUE(Load({MakeStartAround({}, 1), second}));
    ASSERT_TRUE(Zones().SetCurrentNode(15)); // zone 0's transfer node into zone 1
    Map().SetView(MAP_VIEW_GALAXY);
    Map().SetEnabled(true);
    Map().Show();
    Frame();
    // Zone 1 is closed until zone 0's boss is beaten: only the node itself.
    EXPECT_EQ(Targets(), (std::vector<int32_t>{15}));
    EXPECT_FALSE(m_texts.m_shown[CGalaxyMap::TEXT_ZONE_FIRST + 1]);
    // Half-scale positions plus the zone's hyper-space place (10, 20).
    ExpectAt(Map().GetNodeIcon(0), CVector2D(140.0f, 170.0f));
    EXPECT_FLOAT_EQ(Map().GetNodeIcon(0).GetInstance()->m_scaleX, 0.5f);

    State().m_flags[ZONE_FLAG_BOSS_BEATEN] = true;
    Map().Show();
    Frame();
    EXPECT_EQ(Targets(), (std::vector<int32_t>{EncodeZoneTarget(1, 5), 15}));
    EXPECT_TRUE(m_texts.m_shown[CGalaxyMap::TEXT_ZONE_FIRST + 1]);
    EXPECT_EQ(m_texts.m_texts[CGalaxyMap::TEXT_ZONE_FIRST + 1], u"Zone 2");
    // Zone 1's transfer node drawn too, at (20, 30) + (10, 20).
    ExpectAt(Map().GetNodeIcon(1), CVector2D(30.0f, 50.0f));
}

TEST_F(GalaxyMapTest, AChosenTargetJumpsAQuarterSecondLaterAndAQuietNodeKeepsTheMap)
{
    ASSERT_TRUE(Load({MakeStartAround({{30.0f, 0.0f}})}));
    Map().SetEnabled(true);
    Map().Show();
    Frame();
    const uint32_t clock = Zones().GetZoneTime();
    // The current node as a target does nothing.
    EXPECT_TRUE(Map().ChooseTarget(13));
    EXPECT_EQ(Map().GetTarget(), MAP_NO_TARGET);
    EXPECT_FALSE(Map().ChooseTarget(6)); // far away: not offered
    ASSERT_TRUE(Map().ChooseTarget(5));
    for (int i = 0; i < 5; ++i) // 200 ms of game time: still choosing
        Frame();
    EXPECT_EQ(Map().GetJumpState(), MAP_CHOOSING);
    EXPECT_EQ(Zones().GetCurrentNodeIndex(), 13);
    Frame(); // 240 ms
    Frame(); // 280 ms: the jump
    EXPECT_EQ(Map().GetJumpState(), MAP_JUMPING);
    EXPECT_EQ(Zones().GetCurrentNodeIndex(), 5);
    EXPECT_EQ(Zones().GetZoneTime(), clock + 60000u);
    EXPECT_EQ(Map().GetTarget(), MAP_NO_TARGET);
    EXPECT_TRUE(Map().GetShipMarker().IsVisible());

    FramesUntil(MAP_CHOOSING);
    EXPECT_EQ(Map().GetJumpState(), MAP_CHOOSING);
    EXPECT_TRUE(Map().TakeJumpFinished());
    EXPECT_FALSE(Map().TakeJumpFinished());
    EXPECT_EQ(m_scene.Harness().GetGameFlow().m_flightEntries, 0);
    EXPECT_TRUE(Map().IsShown());
    EXPECT_EQ(Zones().GetZoneTime(), clock + 60000u);
}

TEST_F(GalaxyMapTest, WaitingEnemiesAboveFortyPullIntoFlightAfterTheHold)
{
    struct SCase
    {
        int fighters; // mass 10 each
        bool noSuction;
        bool flight;
    };
    const SCase cases[] = {{4, false, false}, {5, false, true}, {5, true, false}, {0, false, false}};
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.fighters << " fighters, no suction " << c.noSuction);
        ASSERT_TRUE(Load({MakeStartAround({{30.0f, 0.0f}})}));
        CHarnessGameFlow& flow = m_scene.Harness().GetGameFlow();
        flow.m_flightEntries = 0;
        m_scene.Game().GetRun().noSuction = c.noSuction;
        if (c.fighters > 0)
            ParkFighters(5, c.fighters);
        Map().SetView(MAP_VIEW_ZONE);
        Map().SetEnabled(true);
        Map().Show();
        Frame();
        ASSERT_TRUE(Map().ChooseTarget(5));
        FramesUntil(MAP_JUMPING);
        for (int i = 0; i < 200 && Map().GetJumpState() == MAP_JUMPING; ++i)
            Frame();
        EXPECT_EQ(Map().GetJumpState(), c.flight ? MAP_ARRIVED : MAP_CHOOSING);
        if (!c.flight)
        {
            EXPECT_EQ(flow.m_flightEntries, 0);
            continue;
        }
        // The hold runs on real time, also while the game stands still.
        m_scene.Game().SetPaused(true);
        m_scene.Harness().GetHud().m_visible = true;
        for (int i = 0; i < 62; ++i) // 2480 ms
            Frame();
        EXPECT_EQ(Map().GetJumpState(), MAP_ARRIVED);
        EXPECT_EQ(flow.m_flightEntries, 0);
        EXPECT_FALSE(Map().IsMapDone());
        Frame(); // 2520 ms
        EXPECT_EQ(flow.m_flightEntries, 1);
        EXPECT_EQ(Map().GetJumpState(), MAP_CHOOSING);
        EXPECT_FALSE(Map().IsShown());
        EXPECT_TRUE(Map().IsMapDone());
        EXPECT_FALSE(m_scene.Harness().GetHud().m_visible);
        m_scene.Game().SetPaused(false);
    }
}

TEST_F(GalaxyMapTest, TheJumpButtonPassesAMinuteWhereThePlayerStands)
{
    ASSERT_TRUE(Load({MakeStartAround({{30.0f, 0.0f}})}));
    Map().Show();
    Frame();
    const uint32_t clock = Zones().GetZoneTime();
    const uint32_t second = Zones().GetSecondClock();
    Frame(true);
    EXPECT_EQ(Map().GetJumpState(), MAP_JUMPING);
    EXPECT_EQ(Zones().GetCurrentNodeIndex(), 13);
    EXPECT_EQ(Zones().GetZoneTime(), clock + 60000u);
    EXPECT_EQ(Zones().GetSecondClock(), second + 60000u);
    // The marker stays where it is: the next frame ends the jump, and a request in
    // a jumping frame is not taken.
    Frame(true);
    EXPECT_EQ(Map().GetJumpState(), MAP_CHOOSING);
    EXPECT_EQ(Zones().GetZoneTime(), clock + 60000u);
}

TEST_F(GalaxyMapTest, AJumpIntoAnotherZoneMovesTheResearchToItsClock)
{
    SZoneSpec second = SZoneSpec::MakeLine(2);
    second.transfer.push_back({40.0f, 60.0f, 0});
    ASSERT_TRUE(Load({MakeStartAround({}, 1), second}));
    ASSERT_TRUE(Zones().SetCurrentNode(15));
    State().m_flags[ZONE_FLAG_BOSS_BEATEN] = true;
    Zones().GetZone(0)->m_clock = 500000;
    Zones().GetZone(1)->m_clock = 7000;
    Map().SetView(MAP_VIEW_GALAXY);
    Map().SetEnabled(true);
    Map().Show();
    Frame();
    ASSERT_TRUE(Map().ChooseTarget(EncodeZoneTarget(1, 5)));
    FramesUntil(MAP_JUMPING);
    EXPECT_EQ(Zones().GetZoneIndex(), 1);
    EXPECT_EQ(Zones().GetCurrentNodeIndex(), 5);
    ASSERT_NE(Zones().GetNodeState(), nullptr); // made at the first visit
    EXPECT_EQ(Zones().GetZone(1)->m_clock, 7000u + 60000u);
    EXPECT_EQ(Zones().GetZone(0)->m_clock, 500000u);
    const auto& moves = m_scene.Harness().GetCampaign().m_slotMoves;
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].first, 500000u);
    EXPECT_EQ(moves[0].second, 7000u);
}

TEST_F(GalaxyMapTest, DirectionKeysChooseAndTheChoiceBlinks)
{
    ASSERT_TRUE(Load({MakeStartAround({{30.0f, 0.0f}, {0.0f, -30.0f}})}));
    Map().SetEnabled(true);
    Map().Show();
    Frame();
    CWorldHarness& harness = m_scene.Harness();
    harness.SetKey(Dik::RIGHT, true);
    Frame();
    EXPECT_EQ(Map().GetTarget(), 5);
    ExpectAt(Map().GetTargetMarker(), ZoneView(330.0f, 300.0f));
    // Held, the key chooses no further.
    Frame();
    EXPECT_EQ(Map().GetTarget(), 5);
    harness.SetKey(Dik::RIGHT, false);
    // Up from the target: node 6 is up and to the left of node 5; nothing lies
    // straight up, but within 90 degrees node 6 does.
    harness.SetKey(Dik::UP, true);
    Frame();
    EXPECT_EQ(Map().GetTarget(), 6);
    harness.SetKey(Dik::UP, false);
    // Down from node 6: the danger node 60 below comes first in the list, straight
    // down; the current node, nearer on the same line, is not at a smaller angle.
    harness.SetKey(Dik::DOWN, true);
    Frame();
    EXPECT_EQ(Map().GetTarget(), 4);
    harness.SetKey(Dik::DOWN, false);
    // Up from node 4: node 5 (45 degrees, 42 away), then the current node (straight
    // up, 30 away) replaces it: the choice is cleared.
    harness.SetKey(Dik::UP, true);
    Frame();
    EXPECT_EQ(Map().GetTarget(), MAP_NO_TARGET);
    EXPECT_FALSE(Map().GetTargetMarker().IsVisible());
    harness.SetKey(Dik::UP, false);
    Frame();

    // The current-node marker blinks once 250 ms of game time have passed: every
    // seventh 40 ms frame, so 5 times in 35 frames.
    int changes = 0;
    bool visible = Map().GetCurrentMarker().IsVisible();
    for (int i = 0; i < 35; ++i)
    {
        Frame();
        if (Map().GetCurrentMarker().IsVisible() != visible)
        {
            ++changes;
            visible = !visible;
        }
    }
    EXPECT_EQ(changes, 5);
}

TEST_F(GalaxyMapTest, TheExploredShareCountsVisitedNodesOfAllZones)
{
    ASSERT_TRUE(Load({MakeStartAround({}), SZoneSpec::MakeLine(3)}));
    // Zone 0: 16 nodes; zone 1: 3 fixed and 3 normal nodes; 4 visited in zone 0.
    for (int32_t node : {5, 6, 7, 13})
        State().m_nodes[static_cast<size_t>(node)].visited = true;
    Map().Show();
    EXPECT_EQ(m_texts.m_texts[CGalaxyMap::TEXT_EXPLORED], u"Explored: 18% of the galaxy, 25% of this zone");
}
