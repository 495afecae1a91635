// Reading "data\game1.txt": node numbering, records with their definitions, groups,
// and the counts and indices that refuse the file.

#include "core/DataFile.h"
#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "tests/support/world/EffectScene.h"
#include "tests/support/world/ZoneScene.h"
#include "world/ZoneFile.h"
#include "world/ZoneManager.h"

#include <gtest/gtest.h>

namespace
{
bool ReadText(const std::string& text, ZoneVector& zones, CDefinitionProblems& problems)
{
    CDataNodeList nodes;
    ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes);
    return !nodes.empty() && nodes[0]->IsBlock() &&
           ReadZones(static_cast<const CDataTree&>(*nodes[0]), zones, problems);
}

SZoneSpec MakeCountedZone()
{
    SZoneSpec zone;
    for (int i = 0; i < 3; ++i)
        zone.danger.push_back({500.0f + 10.0f * float(i), 500.0f, i});
    for (int i = 0; i < 10; ++i)
        zone.normal.push_back({150.0f + 10.0f * float(i), 100.0f, 0});
    zone.transfer.push_back({600.0f, 100.0f, 0});
    zone.transfer.push_back({620.0f, 100.0f, 0});
    zone.crewNode = 4;
    return zone;
}
} // namespace

TEST(ZoneFile, NodesAreNumberedFixedFirstThenDangerNormalAndTransfer)
{
    CZoneScene scene;
    SZoneSpec first = MakeCountedZone();
    SZoneSpec second = MakeCountedZone();
    second.transfer[1].third = 1;
    ASSERT_TRUE(scene.Load(MakeZoneText({first, second})));
    ASSERT_EQ(scene.Zones().GetZoneCount(), 2);

    // 10 normal, 2 transfer and 3 danger nodes: 18 nodes, 19 in zone 0 (alien node 2).
    const SZoneMap& zero = scene.Zones().GetZone(0)->m_map;
    const SZoneMap& one = scene.Zones().GetZone(1)->m_map;
    EXPECT_EQ(zero.GetNodeCount(), 19);
    EXPECT_EQ(one.GetNodeCount(), 18);

    const int expectedKinds[18] = {1, 4, 7, 2, 5, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1};
    for (int n = 0; n < 18; ++n)
        EXPECT_EQ(one.GetKind(n), expectedKinds[n]) << "node " << n;
    EXPECT_EQ(zero.GetKind(3), 8);
    EXPECT_EQ(zero.alienNode2, 3);
    EXPECT_EQ(one.alienNode2, -1);
    // Node 0 is the transfer node at (0, 0); the boss node stands where "boss" says.
    EXPECT_EQ(one.nodes[0].x, 0.0f);
    EXPECT_EQ(one.nodes[0].y, 0.0f);
    EXPECT_EQ(one.nodes[1].x, 100.0f);
    // The crew node counts among the normal nodes: the fifth normal node.
    EXPECT_EQ(one.crewNode, 6 + 4);
    EXPECT_EQ(zero.crewNode, 7 + 4);
    EXPECT_EQ(one.nodes[17].extra, 1);
    EXPECT_EQ(one.nodes[16].extra, 0);
    EXPECT_EQ(zero.normalBgndPos.x, 30.0f);
    EXPECT_EQ(zero.hyperBgndTitlePos.y, 5.0f);
}

TEST(ZoneFile, RecordsTakeMassAndConfigFromTheSectionOfTheirType)
{
    CZoneScene scene;
    SZoneSpec zone = SZoneSpec::MakeStart();
    zone.fixedResources = 1;
    zone.fixedText = "fixedResource0 { num 2; maxInWorld 1; maxInGame 1; iniFile data\\enemies\\barge.txt; "
                     "type ENEMY_MOTHERSHIP }";
    ASSERT_TRUE(scene.Load(MakeZoneText({zone})));
    const CZoneDefinition& read = *scene.Zones().GetZone(0);
    ASSERT_EQ(read.m_fixed.size(), 1u);
    const SResourceRecord& barge = read.m_fixed[0];
    EXPECT_EQ(barge.type, OBJECT_ENEMY_MOTHERSHIP);
    EXPECT_EQ(barge.mass, 60.0f);
    EXPECT_EQ(barge.config, MOTHERSHIP_MINING);
    EXPECT_TRUE(barge.mining);
    EXPECT_EQ(barge.num, 2);
    EXPECT_EQ(barge.numRemaining, 2);
    ASSERT_TRUE(barge.definition);
    const SResourceRecord& fighter = read.m_infinite[0];
    EXPECT_EQ(fighter.mass, 10.0f);
    EXPECT_EQ(fighter.maxInWorld, 40);
    EXPECT_EQ(fighter.maxInGame, 20);
    EXPECT_EQ(read.m_boss.type, OBJECT_STAR_BOSS);
    EXPECT_EQ(read.m_boss.mass, 200.0f);
    const SAttackGroup& group = read.m_attackGroups[0];
    EXPECT_EQ(group.totalCount, 3);
    EXPECT_EQ(group.probAtStart, 1.0f);
    EXPECT_EQ(group.deployRadius, 100.0f);
    // (rand() % 20 + 10) x 1000.
    EXPECT_GE(group.nextSpawnDelay, 10000u);
    EXPECT_LE(group.nextSpawnDelay, 29000u);
    EXPECT_EQ(group.nextSpawnDelay % 1000u, 0u);
}

TEST(ZoneFile, AMissingDefinitionIsReportedAndItsRecordMakesNothing)
{
    CZoneScene scene;
    SZoneSpec zone = SZoneSpec::MakeStart();
    zone.infiniteText = "infResource0 { num 5; maxInWorld 5; maxInGame 5; iniFile data\\enemies\\none.txt; "
                        "type ENEMY_FIGHTER }";
    zone.bossText = "boss { iniFile data\\enemies\\fighter.txt; type DISC_BOSS }";
    ZoneVector zones;
    CDefinitionProblems problems;
    ASSERT_TRUE(ReadText(MakeZoneText({zone}), zones, problems));
    EXPECT_FALSE(problems.HasFatal());
    const std::string described = problems.Describe("game1.txt");
    EXPECT_NE(described.find("none.txt"), std::string::npos) << described;
    EXPECT_NE(described.find("DISC_BOSS"), std::string::npos) << described;
    EXPECT_FALSE(zones[0]->m_infinite[0].definition);
    EXPECT_FALSE(zones[0]->m_boss.definition);
    scene.Zones().SetZones(std::move(zones));
    EXPECT_EQ(scene.Zones().SpawnResourceObject(scene.Zones().GetZone(0)->m_infinite[0], false), nullptr);
}

TEST(ZoneFile, CountsAndIndicesBeyondWhatTheZonesHoldRefuseTheFile)
{
    CZoneScene scene;
    struct SCase
    {
        const char* name;
        void (*change)(std::vector<SZoneSpec>& zones);
        const char* expected; // part of the message
    };
    const SCase cases[] = {
        {"six zones", [](std::vector<SZoneSpec>& z) { z.resize(6, SZoneSpec::MakeLine(2)); }, "numZones"},
        {"eleven attack groups", [](std::vector<SZoneSpec>& z) { z[0].attackGroups = 11; }, "numAttckGroups"},
        {"a missing attack group", [](std::vector<SZoneSpec>& z) { z[0].attackGroups = 2; }, "attckGroup1"},
        {"an infinite index beyond the records",
         [](std::vector<SZoneSpec>& z) {
             z[0].groupText = "attckGroup0 { spawnDelayMaxS 5; numInfGroups 1; inf0 { idx 1; num 3 } }";
         },
         "\"idx\" is 1"},
        {"a fixed index without fixed records",
         [](std::vector<SZoneSpec>& z) {
             z[0].groupText = "attckGroup0 { spawnDelayMaxS 5; numFixedGroups 1; fixed0 { idx 0; num 1 } }";
         },
         "\"idx\" is 0"},
        {"eleven infinite entries",
         [](std::vector<SZoneSpec>& z) { z[0].groupText = "attckGroup0 { numInfGroups 11 }"; }, "numInfGroups"},
        {"21 objects in one group",
         [](std::vector<SZoneSpec>& z) {
             z[0].groupText = "attckGroup0 { numInfGroups 2; inf0 { idx 0; num 11 }; inf1 { idx 0; num 10 } }";
         },
         "21 objects"},
        {"a negative num",
         [](std::vector<SZoneSpec>& z) {
             z[0].infiniteText = "infResource0 { num -1; iniFile data\\enemies\\fighter.txt; type ENEMY_FIGHTER }";
         },
         "\"num\" is -1"},
        {"33 fixed records", [](std::vector<SZoneSpec>& z) { z[0].fixedResources = 33; }, "numFixedResources"},
        {"76 nodes",
         [](std::vector<SZoneSpec>& z) {
             z[1].normal.resize(70);
             z[1].danger.resize(3);
         },
         "76 nodes"},
        {"a crew node beyond the normal nodes", [](std::vector<SZoneSpec>& z) { z[0].crewNode = 10; }, "crewNode"},
        {"a transfer to a zone that is not there", [](std::vector<SZoneSpec>& z) { z[0].transfer[0].third = 2; },
         "zone 2"},
        {"a danger variant 3", [](std::vector<SZoneSpec>& z) { z[0].danger[0].third = 3; }, "variant"},
        {"zone 0 without node 13", [](std::vector<SZoneSpec>& z) { z[0].normal.resize(7); }, "start node 13"},
        {"a negative spawn delay",
         [](std::vector<SZoneSpec>& z) { z[0].groupText = "attckGroup0 { spawnDelayS -5 }"; }, "spawnDelayS"},
        {"a file name longer than its field",
         [](std::vector<SZoneSpec>& z) {
             z[0].infiniteText = "infResource0 { iniFile data\\enemies\\a_name_that_is_far_too_long_for_the_field.txt }";
         },
         "iniFile"},
    };
    for (const SCase& test : cases)
    {
        std::vector<SZoneSpec> zones = {SZoneSpec::MakeStart(), SZoneSpec::MakeLine(4)};
        test.change(zones);
        ZoneVector read;
        CDefinitionProblems problems;
        EXPECT_FALSE(ReadText(MakeZoneText(zones), read, problems)) << test.name;
        EXPECT_TRUE(problems.HasFatal()) << test.name;
        EXPECT_TRUE(read.empty()) << test.name;
        const std::string described = problems.Describe("game1.txt");
        EXPECT_NE(described.find(test.expected), std::string::npos) << test.name << ": " << described;
    }
}

TEST(ZoneFile, AFileThatCannotBeReadLeavesTheGameWithoutZones)
{
    CZoneScene scene;
    scene.Dir().WriteFile("data/game1.txt", "ZONES\n{\nnumZones 0\n}\n");
    EXPECT_FALSE(scene.Zones().Load("data\\game1.txt"));
    EXPECT_EQ(scene.Zones().GetZoneCount(), 0);
    EXPECT_FALSE(scene.Zones().Load("data\\missing.txt"));
    // Without zones the link answers as the base does.
    EXPECT_EQ(scene.Zones().GetLevelFileIndex(), 1);
    EXPECT_EQ(scene.Zones().GetCurrentNode(), nullptr);
    scene.Zones().Update(false);
    scene.Zones().EnterNode();

    scene.Dir().WriteFile("data/game1.txt", MakeZoneText({SZoneSpec::MakeStart()}));
    EXPECT_TRUE(scene.Zones().Load("data\\game1.txt"));
    EXPECT_EQ(scene.Zones().GetZoneCount(), 1);
}
