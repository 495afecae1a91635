#include "core/DataFile.h"
#include "frontend/ComponentInfoPanel.h"
#include "ships/ShipComponentDatabase.h"
#include "tests/support/core/StringTableFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::string Section(const std::string& type, const std::string& ident, const std::string& shape,
                    const std::string& ownKeys, unsigned mass)
{
    return "SHIP_COMPONENT_X\n{\ntype\t" + type + "\nident\t" + ident + "\ndescription\tx\nmass\t" +
           std::to_string(mass) + "\nhealth\t10\npodRequirements\t" + shape +
           "\niconFrame\t0\ncost\t1, 2, 3\ndisplayidstring\tName_" + ident + "\ndescriptionidstring\tDesc_" + ident +
           "\n" + ownKeys + "}\n";
}

const char* const ENGINE_KEYS = "thrust\t900\ninertialDampening\t0.5\nemergencyBoost\t1\nmassDampingRated\t250\n"
                                "velocityLimit\t100\nenergyRequirement\t12\n";
const char* const HULL_KEYS = "gridSize\t1, 1\nnumPods\t1\npod0\n{\npos\t0, 0\nexclude\tNONE\nspecific\tNONE\n"
                              "internal\tNO\n}\nbodySprite\n{\nspriteFile\tdummy\n}\ncollision\n{\nnumObj\t1\nc0\n{\n"
                              "type\trootCircle\nradius\t5\noffset\t0, 0\n}\n}\ndeathEffect\tx\ncollisionContactEffect\tx\n";

// Each kind's first definition is the one listed here.
struct SKindFixture
{
    const char* type;
    const char* ident;
    const char* shape;
    std::string keys;
    unsigned mass;
};

std::vector<SKindFixture> Fixtures()
{
    return {
        {"ENGINE", "engine", "TWO_HORIZ", ENGINE_KEYS, 40},
        {"GENERATOR", "generator", "ONE", "outputPerSec\t35\n", 20},
        {"BATTERY", "battery", "TWO_VERT", "maxEnergy\t99.9\nchargeRateSec\t7.8\n", 15},
        {"WEAPON_PROJECTILE_GUN", "gun", "ONE", "energyRequirement\t6\n", 8},
        {"WEAPON_MISSILE", "missile", "ONE", "energyRequirement\t3\nammo\t12\n", 9},
        {"HULL", "hull", "POD_NONE", HULL_KEYS, 300},
        {"GRAVITY_BEAM", "beam", "ONE", "energyRequirement\t4\n", 5},
        {"SHIELD", "shield", "TWO_BY_TWO", "maxChargeRateSec\t18.6\nenergyRequirement\t25\n", 30},
        {"BOMB", "bomb", "ONE", "ammo\t5\n", 11},
        {"STATION_WEAPON", "turret", "ONE", "", 70},
        {"DRONE", "drone", "ONE", "energyRequirement\t9\nammo\t3\n", 14},
        {"WEAPON_LASER", "laser", "TWO_HORIZ", "energyRequirement\t16\n", 12},
        {"WEAPON_PINBEAM", "pinbeam", "ONE", "energyRequirement\t10\n", 7},
        {"AMMO_MISSILE", "rounds", "ONE", "ammo\t6\n", 4},
        {"AMMO_BOMB", "bombs", "ONE", "ammo\t2\n", 6},
        {"CARGO", "cargo", "ONE", "", 3},
        {"STATION_VAC", "vac", "ONE", "", 50},
    };
}

class ComponentInfoPanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string source = "[English]\n";
        std::string components;
        for (const SKindFixture& f : Fixtures())
        {
            source += std::string("Name_") + f.ident + " = name\nDesc_" + f.ident + " = desc\n";
            components += Section(f.type, f.ident, f.shape, f.keys, f.mass);
        }
        std::string error;
        ASSERT_TRUE(LoadStringTableSource(source, m_strings, error)) << error;
        m_database.SetStringTable(&m_strings);
        CDataNodeList nodes;
        ParseDataBytes(reinterpret_cast<const uint8_t*>(components.data()), components.size(), nodes);
        ASSERT_TRUE(m_database.LoadComponentNodes(nodes, "fixture")) << m_database.DescribeProblems();
    }

    // The panel as a list of texts: ids as "#hex", literals as they are.
    std::vector<std::string> Rows(int32_t kind, int32_t definition = 0, bool empty = false, int32_t count = 0)
    {
        const SComponentInfo info = BuildComponentInfo(&m_database, kind, definition, empty, count);
        std::vector<std::string> rows;
        for (const SInfoText& text : info.rows)
        {
            if (text.isId)
                rows.push_back(Hex(text.id));
            else
                rows.push_back(std::string(text.literal.begin(), text.literal.end()));
        }
        return rows;
    }
    std::string Description(int32_t kind) { return Hex(m_database.GetComponentDef(kind, 0)->m_descriptionStringId); }
    static std::string Hex(uint32_t id)
    {
        char hex[16];
        snprintf(hex, sizeof hex, "#%x", id);
        return hex;
    }

    CStringTable m_strings;
    CShipComponentDatabase m_database;
};

const std::vector<std::string> EMPTY_FORM = {"...", "...", ".", "...", ".", "...", ".",
                                             "...", ".",   "...", ".", "...", "."};

TEST_F(ComponentInfoPanelTest, TheEmptyFormForNoKindTheFlagOrAMissingDefinition)
{
    EXPECT_EQ(Rows(COMPONENT_NONE, 3), EMPTY_FORM);
    EXPECT_EQ(Rows(COMPONENT_ENGINE, 0, true), EMPTY_FORM);
    EXPECT_EQ(Rows(COMPONENT_ENGINE, 1), EMPTY_FORM);   // only one engine is defined
    EXPECT_EQ(Rows(COMPONENT_ENGINE, -1), EMPTY_FORM);
    EXPECT_EQ(Rows(COMPONENT_ANY_WEAPON, 0), EMPTY_FORM);
    EXPECT_EQ(Rows(99, 0), EMPTY_FORM);
}

TEST_F(ComponentInfoPanelTest, EachKindGroupShowsItsRows)
{
    struct
    {
        EComponentKind kind;
        std::vector<std::string> rows; // from first + 1 on
    } cases[] = {
        {COMPONENT_ENGINE,
         {"#89000001", "40", "#60000002", "2x1", "#97000003", "12", "#c6000001", "250", "#1d000000", "900", "#a0000001",
          "1"}},
        {COMPONENT_GENERATOR,
         {"#89000001", "20", "#60000002", "1", "#25000004", "35", "#a0000001", "1", "...", ".", "...", "."}},
        {COMPONENT_BATTERY,
         {"#89000001", "15", "#60000002", "1x2", "#f0000002", "99", "#f000006", "7", "...", ".", "...", "."}},
        {COMPONENT_PROJECTILE_GUN,
         {"#89000001", "8", "#60000002", "1", "#97000003", "6", "#14000003", "#bf000005", "#92000002", "#56000003",
          "...", "."}},
        {COMPONENT_LASER,
         {"#89000001", "12", "#60000002", "2x1", "#97000003", "16", "#14000003", "#bf000005", "#92000002", "#56000003",
          "...", "."}},
        {COMPONENT_PINBEAM,
         {"#89000001", "7", "#60000002", "1", "#97000003", "10", "#14000003", "#bf000005", "#92000002", "#ab000003",
          "...", "."}},
        {COMPONENT_MISSILE,
         {"#89000001", "9", "#60000002", "1", "#97000003", "3", "#14000003", "12", "#92000002", "#ab000003", "...",
          "."}},
        {COMPONENT_BOMB,
         {"#89000001", "11", "#60000002", "1", "#97000003", "0", "#14000003", "5", "#92000002", "#ab000003",
          "#a0000001", "4"}},
        {COMPONENT_AMMO_MISSILE,
         {"#89000001", "4", "#60000002", "1", "#97000003", "0", "#14000003", "6", "...", ".", "...", "."}},
        {COMPONENT_AMMO_BOMB,
         {"#89000001", "6", "#60000002", "1", "#97000003", "0", "#14000003", "2", "...", ".", "...", "."}},
        {COMPONENT_SHIELD,
         {"#89000001", "30", "#60000002", "2x2", "#97000003", "25", "#99000002", "18", "#a0000001", "1", "...", "."}},
        {COMPONENT_DRONE,
         {"#89000001", "14", "#60000002", "1", "#97000003", "9", "#a0000001", "2", "#14000003", "#bf000005", "...",
          "."}},
        {COMPONENT_CARGO,
         {"#89000001", "3", "#60000002", "1", "#97000003", "0", "#6f000002", "25", "...", ".", "...", "."}},
        {COMPONENT_GRAVITY_BEAM,
         {"#89000001", "5", "#60000002", "1", "#97000003", "4", "...", ".", "...", ".", "...", "."}},
        {COMPONENT_HULL, {"#89000001", "300", "...", ".", "...", ".", "...", ".", "...", ".", "...", "."}},
        {COMPONENT_STATION_WEAPON,
         {"#89000001", "70", "#14000003", "#bf000005", "...", ".", "...", ".", "...", ".", "...", "."}},
        {COMPONENT_STATION_VAC,
         {"#89000001", "50", "#14000003", "#bf000005", "...", ".", "...", ".", "...", ".", "...", "."}},
    };
    for (const auto& c : cases)
    {
        std::vector<std::string> expected = {Description(c.kind)};
        expected.insert(expected.end(), c.rows.begin(), c.rows.end());
        EXPECT_EQ(Rows(c.kind), expected) << GetComponentKindName(c.kind);
    }
}

TEST_F(ComponentInfoPanelTest, ACountReplacesTheLastRow)
{
    for (int32_t count : {1, 2, 7})
    {
        const std::vector<std::string> engine = Rows(COMPONENT_ENGINE, 0, false, count);
        EXPECT_EQ(engine[11], "#f9000004");
        EXPECT_EQ(engine[12], std::to_string(count));
        EXPECT_EQ(Rows(COMPONENT_CARGO, 0, false, count)[12], std::to_string(count));
    }
    EXPECT_EQ(Rows(COMPONENT_BOMB, 0, false, 0)[12], "4");
    EXPECT_EQ(Rows(COMPONENT_ENGINE, 0, true, 5), EMPTY_FORM);
}
} // namespace
