#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "core/Random.h"
#include "tests/support/world/AsteroidLevel.h"
#include "world/AsteroidDefs.h"
#include "world/AsteroidField.h"
#include "world/ZoneNode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace
{
bool LoadTable(const std::vector<SAsteroidDefText>& defs, CAsteroidTable& table, float siteRadius = 0.4f)
{
    const std::string text = MakeAsteroidSection(defs, siteRadius);
    CDataNodeList nodes;
    if (!ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes) || nodes.empty())
        return false;
    CDefinitionProblems problems;
    // The definitions give the frame sizes themselves: no sprite file is needed.
    return table.Load(static_cast<const CDataTree&>(*nodes[0]), true, problems);
}

SAsteroidFieldRequest NormalField(int32_t mass)
{
    SAsteroidFieldRequest request;
    request.totalMass = mass;
    request.ratioSmall = 0.505f;
    request.ratioMedium = 0.855f;
    request.worldWidth = 4000.0f;
    request.nodeKind = ZONE_NODE_NORMAL;
    request.zoneIndex = 1;
    request.nodeIndex = 5;
    return request;
}

int32_t MassOf(const CAsteroidTable& table, uint32_t word)
{
    return table.GetEntry(GetAsteroidWordKind(word), GetAsteroidWordSize(word))->mass;
}
} // namespace

TEST(AsteroidMapWord, HoldsKindSizeAndPlaceAndReadsOldWords)
{
    struct SCase
    {
        int32_t kind, size;
        float x, y;
        int32_t storedX, storedY;
    } cases[] = {
        {ASTEROID_MEDIUM, 1, 1000.0f, 2000.0f, 1000, 2000},
        {ASTEROID_SMALL, 0, 1.9f, 4094.9f, 1, 4094},        // whole units, truncated
        {ASTEROID_BROKEN_ALIEN_STATION, 4, 4095.0f, 1.0f, 4095, 1}, // size 4 needs bit 7
        {ASTEROID_LARGE, 2, 5000.0f, 9999.0f, 4095, 4095},   // beyond 12 bits: the last place
        {ASTEROID_RARE_GEM, 0, -3.0f, NAN, 0, 0},            // off the playfield: not placed
    };
    for (const SCase& c : cases)
    {
        uint32_t word = SetAsteroidWordPosition(MakeAsteroidWord(c.kind, c.size), CVector2D(c.x, c.y));
        EXPECT_TRUE(IsAsteroidWordPresent(word));
        EXPECT_EQ(GetAsteroidWordKind(word), c.kind);
        EXPECT_EQ(GetAsteroidWordSize(word), c.size);
        EXPECT_EQ(GetAsteroidWordX(word), c.storedX) << c.x;
        EXPECT_EQ(GetAsteroidWordY(word), c.storedY) << c.y;
        EXPECT_EQ(HasAsteroidWordPosition(word), c.storedX > 0 && c.storedY > 0);
    }
    // A word as older saves hold it: a medium rock, size 1, at (1000, 2000), bit 7 clear.
    const uint32_t old = 0x3E87D023u;
    EXPECT_EQ(GetAsteroidWordKind(old), ASTEROID_MEDIUM);
    EXPECT_EQ(GetAsteroidWordSize(old), 1);
    EXPECT_EQ(GetAsteroidWordX(old), 1000);
    EXPECT_EQ(GetAsteroidWordY(old), 2000);
    EXPECT_EQ(SetAsteroidWordPosition(MakeAsteroidWord(ASTEROID_MEDIUM, 1), CVector2D(1000, 2000)), old);
    // A new place keeps bits 0 to 7.
    EXPECT_EQ(SetAsteroidWordPosition(0xFFFFFFFFu, CVector2D(0, 0)), 0xFFu);
    EXPECT_FALSE(IsRecordableAsteroidKind(ASTEROID_FRIENDLY_ALIEN));
    EXPECT_FALSE(IsRecordableAsteroidKind(ASTEROID_EQUIPMENT_POD));
    EXPECT_TRUE(IsRecordableAsteroidKind(ASTEROID_BROKEN_ALIEN_STATION));
}

TEST(ZoneNode, RecordsForgetsAndCountsRocks)
{
    SZoneNode node;
    EXPECT_TRUE(node.RecordAsteroid(ASTEROID_LARGE, 1, CVector2D(100, 200), 0x01000005));
    EXPECT_TRUE(node.RecordAsteroid(ASTEROID_MEDIUM, 1, CVector2D(300, 400), 0x01000006));
    EXPECT_TRUE(node.RecordAsteroid(ASTEROID_SMALL, 0, CVector2D(5, 6), 0x01000007));
    EXPECT_FALSE(node.RecordAsteroid(ASTEROID_FRIENDLY_ALIEN, 0, CVector2D(5, 6), 0x01000008))
        << "kinds beyond the word's four bits are not recorded";
    EXPECT_EQ(node.asteroidCount, 3);
    EXPECT_EQ(node.asteroidMap[1].asteroid, 0x01000006);
    EXPECT_EQ(GetAsteroidWordX(node.asteroidMap[1].word), 300);
    EXPECT_EQ(node.CountRockValue(), 6) << "5 for the large rock, 1 for the medium";
    node.RefreshRocksFlag();
    EXPECT_TRUE(node.rocks);

    EXPECT_TRUE(node.ForgetAsteroid(0x01000005));
    EXPECT_FALSE(node.ForgetAsteroid(0x01000005));
    EXPECT_EQ(node.asteroidCount, 2);
    EXPECT_FALSE(node.asteroidMap[0].IsPresent());
    EXPECT_TRUE(node.ForgetAsteroid(0x01000006));
    node.RefreshRocksFlag();
    EXPECT_FALSE(node.rocks) << "only a small rock is left";
    // A freed entry is the first taken again; at 200 present entries nothing more goes in.
    EXPECT_TRUE(node.RecordAsteroid(ASTEROID_NORMAL_GEM, 0, CVector2D(1, 1), 0x02000001));
    EXPECT_EQ(node.asteroidMap[0].asteroid, 0x02000001);
    while (node.asteroidCount < ASTEROID_MAP_SIZE)
        ASSERT_TRUE(node.RecordAsteroid(ASTEROID_SMALL, 1, CVector2D(1, 1), -1));
    EXPECT_FALSE(node.RecordAsteroid(ASTEROID_SMALL, 1, CVector2D(1, 1), 0x03000001));
    EXPECT_EQ(node.asteroidCount, ASTEROID_MAP_SIZE);
}

TEST(AsteroidMap, GenerationSpendsTheBudgetExactlyWhereItIsFixed)
{
    CAsteroidTable table;
    ASSERT_TRUE(LoadTable(MakeStandardDefs(), table));
    // A dangerous node spends the whole mass, zone 0's start node 0.3 of it: the last
    // entry made is the one that takes the budget below 1.
    struct SCase
    {
        const char* what;
        int32_t nodeKind, zone, node, budget;
    } cases[] = {
        {"danger node", ZONE_NODE_DANGER, 1, 5, 400},
        {"danger node, variant 1", ZONE_NODE_DANGER_1, 2, 5, 400},
        {"zone 0's start node", ZONE_NODE_NORMAL, 0, ZONE_START_NODE, 120},
    };
    for (const SCase& c : cases)
        for (uint32_t seed = 1; seed <= 40; ++seed)
        {
            CRandom random(seed);
            SAsteroidFieldRequest request = NormalField(400);
            request.nodeKind = c.nodeKind;
            request.zoneIndex = c.zone;
            request.nodeIndex = c.node;
            SAsteroidMapEntry map[ASTEROID_MAP_SIZE];
            const int32_t count = GenerateAsteroidMap(table, request, random, map);
            ASSERT_GT(count, 0) << c.what;
            int32_t spent = 0;
            for (int32_t i = 0; i < count; ++i)
                spent += MassOf(table, map[i].word);
            const int32_t last = MassOf(table, map[count - 1].word);
            EXPECT_GE(spent, c.budget) << c.what << " seed " << seed;
            EXPECT_LE(spent - last, c.budget - 1) << c.what << " seed " << seed;
            EXPECT_FALSE(map[count].IsPresent());
        }
}

TEST(AsteroidMap, GenerationFollowsTheRatiosAndTheRandomBudget)
{
    CAsteroidTable table;
    ASSERT_TRUE(LoadTable(MakeStandardDefs(), table));
    std::map<int32_t, int> kinds;
    int entries = 0;
    int32_t lowest = 1 << 30, highest = 0;
    double total = 0.0;
    const int maps = 400;
    for (uint32_t seed = 1; seed <= maps; ++seed)
    {
        CRandom random(seed);
        SAsteroidMapEntry map[ASTEROID_MAP_SIZE];
        const int32_t count = GenerateAsteroidMap(table, NormalField(400), random, map);
        int32_t spent = 0;
        for (int32_t i = 0; i < count; ++i)
        {
            ++kinds[GetAsteroidWordKind(map[i].word)];
            EXPECT_EQ(GetAsteroidWordSize(map[i].word), 1) << "two entries a rock: entry 1";
            spent += MassOf(table, map[i].word);
            ++entries;
        }
        lowest = std::min(lowest, spent);
        highest = std::max(highest, spent);
        total += spent;
    }
    // r = 0.01 to 1.00: small below 0.505 (50 of 100), medium below 0.855 (35), large (15).
    EXPECT_NEAR(double(kinds[ASTEROID_SMALL]) / entries, 0.50, 0.02);
    EXPECT_NEAR(double(kinds[ASTEROID_MEDIUM]) / entries, 0.35, 0.02);
    EXPECT_NEAR(double(kinds[ASTEROID_LARGE]) / entries, 0.15, 0.02);
    EXPECT_EQ(kinds.size(), 3u);
    // The budget lies between 0.2 and 1.0 of the mass (80 to 399), overshot by at most
    // one large rock (30); spread evenly, it averages about 240 plus the overshoot.
    EXPECT_GE(lowest, 80);
    EXPECT_LT(highest, 399 + 30);
    EXPECT_LT(lowest, 110);
    EXPECT_GT(highest, 370);
    EXPECT_NEAR(total / maps, 240.0 + 5.0, 20.0);
}

TEST(AsteroidMap, RestrainedAndDangerousFields)
{
    CAsteroidTable table;
    std::vector<SAsteroidDefText> defs = MakeStandardDefs();
    ASSERT_TRUE(LoadTable(defs, table));
    for (uint32_t seed = 1; seed <= 30; ++seed)
    {
        CRandom random(seed);
        SAsteroidMapEntry map[ASTEROID_MAP_SIZE];
        SAsteroidFieldRequest restrained = NormalField(400);
        restrained.restrained = true;
        int32_t count = GenerateAsteroidMap(table, restrained, random, map);
        for (int32_t i = 0; i < count; ++i)
            EXPECT_EQ(GetAsteroidWordSize(map[i].word), 0) << "restrained fields take entry 0";

        SAsteroidFieldRequest danger = restrained; // restraint means nothing at a danger node
        danger.nodeKind = ZONE_NODE_DANGER_2;
        count = GenerateAsteroidMap(table, danger, random, map);
        for (int32_t i = 0; i < count; ++i)
        {
            const int32_t kind = GetAsteroidWordKind(map[i].word);
            EXPECT_TRUE(kind == ASTEROID_SMALL || kind == ASTEROID_MEDIUM || kind == ASTEROID_EXPLOSIVE) << kind;
            EXPECT_EQ(GetAsteroidWordSize(map[i].word), IsRockKind(kind) ? 1 : 0);
        }
    }
    // Without explosive rocks a danger node draws again until small or medium comes.
    std::vector<SAsteroidDefText> rocks(defs.begin(), defs.begin() + 6);
    CAsteroidTable noExplosive;
    ASSERT_TRUE(LoadTable(rocks, noExplosive));
    CRandom random(3);
    SAsteroidMapEntry map[ASTEROID_MAP_SIZE];
    SAsteroidFieldRequest danger = NormalField(400);
    danger.nodeKind = ZONE_NODE_DANGER;
    const int32_t count = GenerateAsteroidMap(noExplosive, danger, random, map);
    ASSERT_GT(count, 0);
    for (int32_t i = 0; i < count; ++i)
        EXPECT_NE(GetAsteroidWordKind(map[i].word), ASTEROID_EXPLOSIVE);
}

TEST(AsteroidMap, GenerationStopsWhereTheBudgetCannotEnd)
{
    std::vector<SAsteroidDefText> defs = MakeStandardDefs();
    struct SCase
    {
        const char* what;
        int32_t mass;          // every rock's
        int32_t totalMass;
        int32_t expected;      // entries; -1: at least one
    } cases[] = {
        {"rocks of no mass fill the map's 200 entries", 0, 400, ASTEROID_MAP_SIZE},
        {"a huge budget stops at 200 entries too", 1, 1000000, ASTEROID_MAP_SIZE},
        {"a mass of 1 has no random share: one entry", 10, 1, 1},
        {"a mass of 0 still makes one entry", 10, 0, 1},
    };
    for (const SCase& c : cases)
    {
        for (size_t i = 0; i < 6; ++i)
            defs[i].mass = c.mass;
        CAsteroidTable table;
        ASSERT_TRUE(LoadTable(defs, table)) << c.what;
        CRandom random(11);
        SAsteroidMapEntry map[ASTEROID_MAP_SIZE];
        EXPECT_EQ(GenerateAsteroidMap(table, NormalField(c.totalMass), random, map), c.expected) << c.what;
    }
    // Only one small rock (entry 0): an unrestrained field has nothing it may make.
    CAsteroidTable lonely;
    ASSERT_TRUE(LoadTable({defs[0]}, lonely));
    CRandom random(2);
    SAsteroidMapEntry map[ASTEROID_MAP_SIZE];
    EXPECT_EQ(GenerateAsteroidMap(lonely, NormalField(400), random, map), 0);
    SAsteroidFieldRequest restrained = NormalField(400);
    restrained.restrained = true;
    restrained.ratioSmall = 1.01f; // every draw a small rock
    EXPECT_GT(GenerateAsteroidMap(lonely, restrained, random, map), 0) << "entry 0 serves a restrained field";
}

TEST(AsteroidMap, PlacesKeepApartRoundTheSite)
{
    CAsteroidTable table;
    ASSERT_TRUE(LoadTable(MakeStandardDefs(), table));
    for (uint32_t seed = 1; seed <= 20; ++seed)
    {
        CRandom random(seed);
        SAsteroidMapEntry map[ASTEROID_MAP_SIZE];
        const int32_t count = GenerateAsteroidMap(table, NormalField(400), random, map);
        for (int32_t i = 0; i < count; ++i)
        {
            const CVector2D a(float(GetAsteroidWordX(map[i].word)), float(GetAsteroidWordY(map[i].word)));
            // Site: centre 2000, 2000, spread 0.4 x 4000 less half the picture.
            EXPECT_LE(std::fabs(a.x - 2000.0f), 1600.0f);
            EXPECT_LE(std::fabs(a.y - 2000.0f), 1600.0f);
            const float heightA = float(table.GetEntry(GetAsteroidWordKind(map[i].word), 1)->GetFrameHeight());
            // Every earlier entry but the one just before keeps its distance.
            for (int32_t j = 0; j + 1 < i; ++j)
            {
                const CVector2D b(float(GetAsteroidWordX(map[j].word)), float(GetAsteroidWordY(map[j].word)));
                const float heightB = float(table.GetEntry(GetAsteroidWordKind(map[j].word), 1)->GetFrameHeight());
                // Whole units: a unit each way of slack.
                EXPECT_GE((a - b).Length() + 2.0f, 0.5f * heightB + 0.55f * heightA) << i << " and " << j;
            }
        }
    }
    // A site with no spread (the picture is larger than the site) puts everything at its centre.
    CAsteroidTable narrow;
    ASSERT_TRUE(LoadTable(MakeStandardDefs(), narrow, 0.001f));
    CRandom random(1);
    SAsteroidMapEntry map[ASTEROID_MAP_SIZE];
    const int32_t count = GenerateAsteroidMap(narrow, NormalField(100), random, map);
    ASSERT_GT(count, 0);
    for (int32_t i = 0; i < count; ++i)
    {
        EXPECT_EQ(GetAsteroidWordX(map[i].word), 2000);
        EXPECT_EQ(GetAsteroidWordY(map[i].word), 2000);
    }
}
