#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "core/Random.h"
#include "tests/support/world/AsteroidLevel.h"
#include "world/AsteroidDefs.h"

#include <gtest/gtest.h>

#include <set>

namespace
{
// The first top-level block of the text.
std::unique_ptr<CDataTree> ParseSection(const std::string& text)
{
    CDataNodeList nodes;
    EXPECT_TRUE(ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes));
    if (nodes.empty() || !nodes[0]->IsBlock())
        return nullptr;
    return std::unique_ptr<CDataTree>(static_cast<CDataTree*>(nodes[0].release()));
}

// Replaces the first occurrence of `from` (which must be there) in the text.
std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}
} // namespace

TEST(AsteroidTable, ReadsEntriesByKindWithTheirKeysAndDefaults)
{
    std::vector<SAsteroidDefText> defs = MakeStandardDefs();
    defs[2].deathEffect = std::string(60, 'x'); // longer than an effect name may be
    defs[2].scale = 1.5f;
    std::string text = MakeAsteroidSection(defs);
    // The first small rock has no damping and no scale: 1 (none) and 1, 1.
    text = Replace(text, "\t\tinertialDampening\t0.99\n\t\tscale\t1, 1\n\t\tsprite", "\t\tsprite");
    std::unique_ptr<CDataTree> section = ParseSection(text);
    ASSERT_TRUE(section);
    CAsteroidTable table;
    CDefinitionProblems problems;
    ASSERT_TRUE(table.Load(*section, true, problems)) << problems.Describe("defs");
    EXPECT_TRUE(problems.IsEmpty()) << problems.Describe("defs");

    const int counts[ASTEROID_KIND_COUNT] = {2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    for (int kind = 0; kind < ASTEROID_KIND_COUNT; ++kind)
        EXPECT_EQ(table.GetCount(kind), counts[kind]) << AsteroidKindName(kind);
    ASSERT_TRUE(table.GetEntry(ASTEROID_SMALL, 0));
    const SAsteroidDef& small = *table.GetEntry(ASTEROID_SMALL, 0);
    EXPECT_EQ(small.kind, ASTEROID_SMALL);
    EXPECT_EQ(small.sizeIndex, 0);
    EXPECT_EQ(small.mass, 2);
    EXPECT_EQ(small.velLimit, 120);
    EXPECT_EQ(small.minRotSec, 90);
    EXPECT_FLOAT_EQ(small.inertialDampening, 1.0f);
    EXPECT_FLOAT_EQ(small.scale[0], 1.0f);
    EXPECT_FLOAT_EQ(small.scale[1], 1.0f);
    EXPECT_EQ(small.GetFrameWidth(), 32u) << "the sprite block's own frame size";
    ASSERT_TRUE(small.shape);
    EXPECT_EQ(small.shape->CountShapes(), 2);
    const SAsteroidDef& second = *table.GetEntry(ASTEROID_SMALL, 1);
    EXPECT_EQ(second.sizeIndex, 1);
    EXPECT_FLOAT_EQ(second.inertialDampening, 0.99f);
    const SAsteroidDef& medium = *table.GetEntry(ASTEROID_MEDIUM, 0);
    EXPECT_EQ(std::string(medium.deathEffect), std::string(48, 'x')) << "cut to 48 characters";
    EXPECT_FLOAT_EQ(medium.scale[0], 1.5f);
    EXPECT_EQ(table.GetEntry(ASTEROID_MEDIUM, 2), nullptr);
    EXPECT_EQ(table.GetEntry(ASTEROID_KIND_COUNT, 0), nullptr);
    EXPECT_EQ(table.GetEntry(-1, 0), nullptr);
    ASSERT_EQ(table.GetSites().size(), 1u);
    EXPECT_FLOAT_EQ(table.GetSites()[0].centre.x, 0.5f);
    EXPECT_FLOAT_EQ(table.GetSites()[0].radius, 0.4f);
    EXPECT_FALSE(table.GetSites()[0].randomVel);

    table.Free();
    EXPECT_TRUE(table.IsEmpty());
    EXPECT_TRUE(table.GetSites().empty());
}

TEST(AsteroidTable, BrokenSectionsAreFatalAndLeaveTheTableEmpty)
{
    std::vector<SAsteroidDefText> two = {MakeStandardDefs()[0], MakeStandardDefs()[1]};
    const std::string good = MakeAsteroidSection(two);
    std::vector<SAsteroidDefText> six(6, MakeStandardDefs()[2]);
    struct SCase
    {
        const char* what;
        std::string text;
    } cases[] = {
        {"no numDefs", Replace(good, "\tnumDefs\t2\n", "")},
        {"a definition without type", Replace(good, "\t\ttype\tsmall\n", "")},
        {"an unknown type", Replace(good, "type\tsmall", "type\tpebble")},
        {"a missing def block", Replace(good, "numDefs\t2", "numDefs\t3")},
        {"a count beyond the table", Replace(good, "numDefs\t2", "numDefs\t91")},
        {"a sixth definition of a kind", MakeAsteroidSection(six)},
        {"no collision block", Replace(good, "\t\tcollision\n", "\t\tcolission\n")},
        {"no spawnSites", Replace(good, "spawnSites", "spawnPlaces")},
        {"no numSites", Replace(good, "numSites\t1", "sites\t1")},
        {"no sites at all", Replace(good, "numSites\t1", "numSites\t0")},
        {"more sites than there are", Replace(good, "numSites\t1", "numSites\t2")},
        {"a site without randomVel", Replace(good, "randomVel", "randomVelocity")},
        {"a site without initVelMin", Replace(good, "initVelMin", "initVelMinimum")},
        {"a site without initVelMax", Replace(good, "initVelMax", "initVelMaximum")},
        {"a site without centre", Replace(good, "centre", "center")},
        {"a site without radius", Replace(good, "\t\t\tradius\t0.4", "\t\t\tsize\t0.4")},
    };
    for (const SCase& c : cases)
    {
        std::unique_ptr<CDataTree> section = ParseSection(c.text);
        ASSERT_TRUE(section) << c.what;
        CAsteroidTable table;
        CDefinitionProblems problems;
        EXPECT_FALSE(table.Load(*section, false, problems)) << c.what;
        EXPECT_TRUE(problems.HasFatal()) << c.what;
        EXPECT_TRUE(table.IsEmpty()) << c.what;
    }
}

TEST(AsteroidTable, SizeIndexWithoutAParent)
{
    // A kind of fewer than 3 entries: rocks take entry 1, the rest entry 0. With 3 or
    // more, entry 0 (the restrained one) is never drawn.
    std::vector<SAsteroidDefText> defs = {MakeStandardDefs()[0], MakeStandardDefs()[6]};
    for (int i = 0; i < 4; ++i)
        defs.push_back(MakeStandardDefs()[2]); // four medium rocks
    std::unique_ptr<CDataTree> section = ParseSection(MakeAsteroidSection(defs));
    CAsteroidTable table;
    CDefinitionProblems problems;
    ASSERT_TRUE(table.Load(*section, false, problems)) << problems.Describe("defs");
    CRandom random(5);
    std::set<int32_t> medium;
    for (int i = 0; i < 300; ++i)
    {
        EXPECT_EQ(table.PickSizeIndex(ASTEROID_SMALL, random), 1) << "one small rock: entry 1, which is missing";
        EXPECT_EQ(table.PickSizeIndex(ASTEROID_NORMAL_GEM, random), 0);
        EXPECT_EQ(table.PickSizeIndex(ASTEROID_LARGE, random), 1) << "no entry at all";
        medium.insert(table.PickSizeIndex(ASTEROID_MEDIUM, random));
    }
    EXPECT_EQ(medium, (std::set<int32_t>{1, 2, 3}));
    EXPECT_EQ(table.GetEntry(ASTEROID_SMALL, 1), nullptr);
}
