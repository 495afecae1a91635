#include "ships/ShipComponentDatabase.h"
#include "tests/ships/ShipFixtures.h"
#include "tests/support/core/ScopedConsole.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
bool Load(CShipComponentDatabase& database, const std::string& text)
{
    database.SetStringTable(&GetFixtureStrings());
    return database.LoadComponentNodes(ParseText(text), "parts.txt");
}

// Replaces the first line that begins with the key by the replacement (which may
// be empty to drop the key).
std::string ReplaceLine(const std::string& text, const std::string& key, const std::string& replacement)
{
    size_t at = text.find("\n" + key + "\t");
    if (at == std::string::npos)
        return text;
    size_t end = text.find('\n', at + 1);
    return text.substr(0, at + 1) + replacement + (replacement.empty() ? "" : "\n") + text.substr(end + 1);
}
} // namespace

TEST(ComponentDatabase, ReadsEveryCommonKeyAndTheKindsOwnKeys)
{
    CShipComponentDatabase database;
    LoadStandardDatabase(database);

    const CShipComponentDef* gun = database.GetComponentDef(COMPONENT_PROJECTILE_GUN, 0);
    ASSERT_NE(gun, nullptr);
    EXPECT_EQ(gun->m_ident, "gun_a");
    EXPECT_EQ(gun->m_description, "A part");
    EXPECT_EQ(gun->m_mass, 10u);
    EXPECT_EQ(gun->m_health, 30u);
    EXPECT_EQ(gun->m_podShape, POD_SHAPE_ONE);
    EXPECT_EQ(gun->m_iconFrame, 2);
    EXPECT_EQ(gun->m_ammo, -1);
    EXPECT_EQ(gun->m_cost[0], 1.0f);
    EXPECT_EQ(gun->m_cost[2], 3.0f);
    EXPECT_EQ(gun->m_energyRequirement, 10);
    uint32_t nameId = 0;
    ASSERT_TRUE(GetFixtureStrings().FindId(CWString(u"Key_Name"), nameId));
    EXPECT_EQ(gun->m_displayStringId, nameId);
    EXPECT_NE(gun->m_descriptionStringId, nameId);
    const auto* gunDef = static_cast<const CGunDef*>(gun);
    EXPECT_EQ(gunDef->m_fireRateSec, 5.0f);
    EXPECT_EQ(gunDef->m_maxTapSec, 8.0f);
    EXPECT_EQ(gunDef->m_weaponEffect, "bolt");
    EXPECT_EQ(gunDef->m_chargeWeaponEffect, "");

    const auto* engine = static_cast<const CEngineDef*>(database.GetComponentDef(COMPONENT_ENGINE, 0));
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(engine->m_thrust, 1000);
    EXPECT_FLOAT_EQ(engine->m_inertialDampening, 0.9f);
    EXPECT_EQ(engine->m_massDampingRated, 200);
    EXPECT_EQ(engine->m_velocityLimit, 200);
    EXPECT_EQ(engine->m_energyRequirement, 20);
    EXPECT_EQ(engine->m_engineEffect, "trail");
    EXPECT_EQ(engine->m_engineEffectOffset.x, -2.0f);
    EXPECT_EQ(engine->m_engineSpriteOffset.x, 1.0f);
    ASSERT_NE(engine->m_engineSprite, nullptr);
    EXPECT_NE(engine->m_engineSprite->FindValue("numFrames"), nullptr);

    const auto* missile = database.GetComponentDef(COMPONENT_MISSILE, 0);
    EXPECT_EQ(missile->m_ammo, 4);
    EXPECT_EQ(database.GetComponentDef(COMPONENT_AMMO_MISSILE, 0)->m_ammo, 6);
    const auto* beam = static_cast<const CGravityBeamDef*>(database.GetComponentDef(COMPONENT_GRAVITY_BEAM, 0));
    EXPECT_TRUE(beam->m_gemCollision);
    EXPECT_EQ(beam->m_radius, 40.0f);
    EXPECT_EQ(beam->m_objEffect, "hold");

    const CHullDef* hull = database.GetHullDef(0);
    ASSERT_NE(hull, nullptr);
    ASSERT_EQ(hull->m_podSlots.size(), 4u);
    EXPECT_EQ(hull->m_podSlots[0].m_specific, COMPONENT_ANY_WEAPON);
    EXPECT_EQ(hull->m_podSlots[0].m_launchOffset.y, -8.0f);
    // An internal slot reads no launch offset.
    EXPECT_EQ(hull->m_podSlots[1].m_internal, 1);
    EXPECT_EQ(hull->m_podSlots[1].m_launchOffset.x, 0.0f);
    EXPECT_EQ(hull->m_podSlots[1].m_excluded, COMPONENT_ENGINE);
    EXPECT_EQ(hull->m_deathEffect, "boom");
    EXPECT_EQ(hull->m_collisionContactEffect, "spark");
    ASSERT_NE(hull->m_collision, nullptr);
    EXPECT_TRUE(hull->m_collision->IsRoot());
    EXPECT_EQ(static_cast<const CCollisionCircle&>(*hull->m_collision).GetRadius(), 16.0f);
    EXPECT_EQ(hull->FindSlot(CVector2D(0, 1)), &hull->m_podSlots[2]);
    EXPECT_EQ(hull->FindSlot(CVector2D(0.5f, 1)), nullptr);

    const SComponentCategory* category = database.GetCategory(COMPONENT_STATION_VAC);
    ASSERT_NE(category, nullptr);
    EXPECT_EQ(category->m_name, "STATION_VAC");
    uint32_t catId = 0;
    ASSERT_TRUE(GetFixtureStrings().FindId(CWString(u"Cat18"), catId));
    EXPECT_EQ(category->m_displayStringId, catId);
}

TEST(ComponentDatabase, OptionalKeysKeepTheirDefaults)
{
    CShipComponentDatabase database;
    ASSERT_TRUE(Load(database, ComponentSection("BATTERY", "bare_battery", "") +
                                   ComponentSection("GRAVITY_BEAM", "beam_nogem", "noGemCollision\ttrue\n") +
                                   ComponentSection("DRONE", "drone_free", "bodySprite\tdata\\ships\\drone.spr\n") +
                                   ComponentSection("DRONE", "drone_ammo", "ammo\t3\n") +
                                   ComponentSection("STATION_WEAPON", "mount", "range\t300\n") +
                                   ComponentSection("ENGINE", "engine_flat",
                                                    "thrust\t1\ninertialDampening\t1\nemergencyBoost\t0\n"
                                                    "massDampingRated\t1\nvelocityLimit\t1\nenergyRequirement\t1\n"
                                                    "spriteFile\tdummy\n")))
        << database.DescribeProblems();
    // A battery without "maxEnergy" holds nothing.
    const auto* battery = static_cast<const CBatteryDef*>(database.GetComponentDef(COMPONENT_BATTERY, 0));
    EXPECT_EQ(battery->m_maxEnergy, 0.0f);
    EXPECT_EQ(battery->m_chargeRateSec, 0.0f);
    EXPECT_EQ(battery->m_energyRequirement, 0);
    EXPECT_FALSE(static_cast<const CGravityBeamDef*>(database.GetComponentDef(COMPONENT_GRAVITY_BEAM, 0))->m_gemCollision);
    const auto* free = static_cast<const CDroneDef*>(database.GetComponentDef(COMPONENT_DRONE, 0));
    const auto* withAmmo = static_cast<const CDroneDef*>(database.GetComponentDef(COMPONENT_DRONE, 1));
    EXPECT_FALSE(free->m_usesAmmo);
    EXPECT_EQ(free->m_ammo, -1);
    EXPECT_EQ(free->m_bodySprite, "data\\ships\\drone.spr");
    EXPECT_TRUE(withAmmo->m_usesAmmo);
    EXPECT_EQ(withAmmo->m_ammo, 3);
    const auto* mount = static_cast<const CStationWeaponDef*>(database.GetComponentDef(COMPONENT_STATION_WEAPON, 0));
    EXPECT_EQ(mount->m_range, 300.0f);
    EXPECT_EQ(mount->m_dockingPortMountIdx, -1);
    EXPECT_EQ(mount->m_dockingPortAnimIdx, -1);
    EXPECT_EQ(mount->m_chargeTime, 0.0f);
    EXPECT_FALSE(mount->m_centreMount);
    // No sprite block: the sprite keys are the section's own.
    ASSERT_NE(mount->m_sprite, nullptr);
    EXPECT_NE(mount->m_sprite->FindValue("range"), nullptr);
    const auto* engine = static_cast<const CEngineDef*>(database.GetComponentDef(COMPONENT_ENGINE, 0));
    ASSERT_NE(engine->m_engineSprite, nullptr);
    EXPECT_NE(engine->m_engineSprite->FindValue("spriteFile"), nullptr);
}

TEST(ComponentDatabase, TypeTextsPickTheClassInTheirOwnOrder)
{
    CShipComponentDatabase database;
    ASSERT_TRUE(Load(database, ComponentSection("CARGO_HOLD", "cargo_long", "") +
                                   ComponentSection("GRAVITY_BEAMX", "not_a_beam", "") +
                                   ComponentSection("NONE", "nothing", "") +
                                   ComponentSection("ANY_WEAPON", "any", "") +
                                   ComponentSection("SOMETHING", "unknown", "") +
                                   ComponentSection("STATION_VAC", "vac", "") +
                                   ComponentSection("AMMO_BOMB", "mines", "ammo\t7\n")))
        << database.DescribeProblems();
    EXPECT_EQ(database.GetCategory(COMPONENT_CARGO)->m_defCount, 1);
    EXPECT_EQ(database.GetCategory(COMPONENT_GRAVITY_BEAM)->m_defCount, 0);
    EXPECT_EQ(database.GetCategory(COMPONENT_NONE)->m_defCount, 0);
    EXPECT_EQ(database.GetCategory(COMPONENT_ANY_WEAPON)->m_defCount, 0);
    ASSERT_EQ(database.GetCategory(COMPONENT_STATION_VAC)->m_defCount, 1);
    EXPECT_EQ(database.GetComponentDef(COMPONENT_STATION_VAC, 0)->m_kind, COMPONENT_STATION_VAC);
    EXPECT_EQ(database.GetComponentDef(COMPONENT_AMMO_BOMB, 0)->m_ammo, 7);
}

TEST(ComponentDatabase, MissingRequiredKeysAndUnknownNamesFailNamingTheKey)
{
    const std::string hull = HullSection("hull_x");
    const std::string engine = ComponentSection("ENGINE", "engine_x",
                                                "thrust\t1\ninertialDampening\t1\nemergencyBoost\t0\n"
                                                "massDampingRated\t1\nvelocityLimit\t1\nenergyRequirement\t1\n");
    const std::string generator = ComponentSection("GENERATOR", "generator_x", "outputPerSec\t3\n");
    struct SCase
    {
        std::string text;
        const char* reason;
    };
    const SCase cases[] = {
        {ReplaceLine(generator, "type", ""), "\"type\""},
        {ReplaceLine(generator, "ident", ""), "\"ident\""},
        {ReplaceLine(generator, "ident", "ident\t" + std::string(49, 'x')), "must hold 1 to 48 characters"},
        {ReplaceLine(generator, "description", ""), "\"description\""},
        {ReplaceLine(generator, "mass", "mass\theavy"), "\"mass\""},
        {ReplaceLine(generator, "health", ""), "\"health\""},
        {ReplaceLine(generator, "podRequirements", "podRequirements\tTHREE"), "THREE"},
        {ReplaceLine(generator, "iconFrame", ""), "\"iconFrame\""},
        {ReplaceLine(generator, "cost", "cost\t1, 2"), "\"cost\""},
        {ReplaceLine(generator, "displayidstring", "displayidstring\tNo_Such_Key"), "No_Such_Key"},
        {ReplaceLine(generator, "descriptionidstring", ""), "\"descriptionidstring\""},
        {ReplaceLine(generator, "outputPerSec", ""), "\"outputPerSec\""},
        {ReplaceLine(engine, "thrust", ""), "\"thrust\""},
        {ReplaceLine(engine, "inertialDampening", ""), "\"inertialDampening\""},
        {ReplaceLine(engine, "emergencyBoost", ""), "\"emergencyBoost\""},
        {ReplaceLine(engine, "massDampingRated", ""), "\"massDampingRated\""},
        {ReplaceLine(engine, "velocityLimit", ""), "\"velocityLimit\""},
        {ReplaceLine(engine, "energyRequirement", ""), "\"energyRequirement\""},
        {ReplaceLine(hull, "gridSize", ""), "\"gridSize\""},
        {ReplaceLine(hull, "numPods", "numPods\t5"), "\"pod4\""},
        {ReplaceLine(hull, "numPods", "numPods\t36"), "36"},
        {ReplaceLine(hull, "pos", ""), "missing key \"pos\" in block \"pod0\""},
        {ReplaceLine(hull, "exclude", "exclude\tWINGS"), "unknown component kind \"WINGS\" in \"exclude\" (block \"pod0\")"},
        {ReplaceLine(hull, "specific", ""), "missing key \"specific\" in block \"pod0\""},
        {ReplaceLine(hull, "deathEffect", ""), "\"deathEffect\""},
        {ReplaceLine(hull, "collisionContactEffect", ""), "\"collisionContactEffect\""},
    };
    for (const SCase& c : cases)
    {
        CShipComponentDatabase database;
        EXPECT_FALSE(Load(database, c.text)) << c.reason;
        const std::string error = database.DescribeProblems();
        EXPECT_EQ(error.rfind("parts.txt:", 0), 0u) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
    // Blocks the hull needs.
    for (const char* block : {"bodySprite", "collision"})
    {
        std::string text = hull;
        size_t at = text.find(std::string("\n") + block + "\n");
        text.replace(at + 1, std::string(block).size(), "renamed");
        CShipComponentDatabase database;
        EXPECT_FALSE(Load(database, text));
        EXPECT_NE(database.DescribeProblems().find(block), std::string::npos) << database.DescribeProblems();
    }
}

TEST(ComponentDatabase, ProblemsNameTheLineOfTheirKey)
{
    // Line 1 is the block's name, 2 its brace, 3 "type", 4 "ident", 5 "description", 6 "mass".
    CShipComponentDatabase database;
    EXPECT_FALSE(Load(database, ReplaceLine(ComponentSection("CARGO", "cargo_x", ""), "mass", "mass\t-") +
                                    ComponentSection("MYSTERY", "m", "")));
    ASSERT_EQ(database.GetProblems().GetAll().size(), 2u) << database.DescribeProblems();
    EXPECT_EQ(database.GetProblems().GetAll()[0].line, 6u);
    EXPECT_TRUE(database.GetProblems().GetAll()[0].fatal);
    // An unknown type is passed over: a warning at its "type" line.
    EXPECT_EQ(database.GetProblems().GetAll()[1].line, 16u); // 13 lines, then name, brace, type
    EXPECT_FALSE(database.GetProblems().GetAll()[1].fatal);
}

TEST(ComponentDatabase, IdentLengthsAndLongTextsAreBounded)
{
    CShipComponentDatabase database;
    const std::string ident48(48, 'a');
    std::string section = ComponentSection("CARGO", ident48, "");
    // A value line holds at most 256 characters; the field takes them all.
    section = ReplaceLine(section, "description", "description\t" + std::string(256, 'd'));
    ASSERT_TRUE(Load(database, section + ComponentSection("WEAPON_LASER", "laser_x",
                                                    "weaponEffect\t" + std::string(80, 'e') + "\n")))
        << database.DescribeProblems();
    ASSERT_NE(database.GetComponentDef(COMPONENT_CARGO, 0), nullptr);
    EXPECT_EQ(database.GetComponentDef(COMPONENT_CARGO, 0)->m_ident, ident48);
    EXPECT_EQ(database.GetComponentDef(COMPONENT_CARGO, 0)->m_description, std::string(256, 'd'));
    const auto* laser = static_cast<const CGunDef*>(database.GetComponentDef(COMPONENT_LASER, 0));
    ASSERT_NE(laser, nullptr);
    EXPECT_EQ(laser->m_weaponEffect, std::string(EFFECT_NAME_MAX, 'e'));
}

TEST(ComponentDatabase, AnEleventhDefinitionOfAKindIsDroppedWithAConsoleLine)
{
    CScopedConsole console;
    std::string text;
    for (int i = 0; i < 11; ++i)
        text += ComponentSection("CARGO", "cargo" + std::to_string(i), "");
    CShipComponentDatabase database;
    EXPECT_TRUE(Load(database, text));
    EXPECT_EQ(database.GetCategory(COMPONENT_CARGO)->m_defCount, 10);
    EXPECT_EQ(database.GetComponentDef(COMPONENT_CARGO, 9)->m_ident, "cargo9");
    EXPECT_EQ(console->GetLineCount(), 1);
    EXPECT_TRUE(console.Holds("cargo10"));
    ASSERT_EQ(database.GetProblems().GetAll().size(), 1u);
    EXPECT_FALSE(database.GetProblems().HasFatal());
}

TEST(ComponentDatabase, CategoriesStopAtTheFirstMissingPairAndAfterNineteen)
{
    CShipComponentDatabase database;
    ASSERT_TRUE(Load(database, "CATEGORIES\n{\ntype0\tNONE\ndisplaystringid0\tCat0\ntype1\tENGINE\n"
                               "displaystringid1\tCat1\ntype2\tGENERATOR\ntype3\tBATTERY\ndisplaystringid3\tCat3\n}\n"
                               "CATEGORIES\n{\ntype4\tLATER\ndisplaystringid4\tCat4\n}\n"));
    EXPECT_EQ(database.GetCategory(0)->m_name, "NONE");
    EXPECT_EQ(database.GetCategory(1)->m_name, "ENGINE");
    EXPECT_EQ(database.GetCategory(2)->m_name, "");
    EXPECT_EQ(database.GetCategory(3)->m_name, "");
    EXPECT_EQ(database.GetCategory(4)->m_name, "");

    std::string twenty = "CATEGORIES\n{\n";
    for (int i = 0; i <= COMPONENT_KIND_COUNT; ++i)
        twenty += "type" + std::to_string(i) + "\tC" + std::to_string(i) + "\ndisplaystringid" + std::to_string(i) +
                  "\tCat1\n";
    CShipComponentDatabase full;
    ASSERT_TRUE(Load(full, twenty + "}\n"));
    EXPECT_EQ(full.GetCategory(18)->m_name, "C18");
    EXPECT_EQ(full.GetCategory(19), nullptr);
}

TEST(ComponentDatabase, LookupsOutOfRangeGiveNull)
{
    CShipComponentDatabase database;
    LoadStandardDatabase(database);
    EXPECT_EQ(database.GetComponentDef(COMPONENT_CARGO, 1), nullptr);
    EXPECT_EQ(database.GetComponentDef(COMPONENT_CARGO, -1), nullptr);
    EXPECT_EQ(database.GetComponentDef(COMPONENT_CARGO, 1 << 20), nullptr);
    EXPECT_EQ(database.GetComponentDef(-1, 0), nullptr);
    EXPECT_EQ(database.GetComponentDef(COMPONENT_KIND_COUNT, 0), nullptr);
    EXPECT_EQ(database.GetComponentDef(COMPONENT_ANY_WEAPON, 0), nullptr);
    EXPECT_EQ(database.GetHullDef(3), nullptr);
    EXPECT_EQ(database.GetShipConfig(8), nullptr);
    EXPECT_EQ(database.GetShipConfig(-1), nullptr);
    // An unknown ident gives the first definition, as a design naming it gets.
    EXPECT_EQ(database.GetCategory(COMPONENT_ENGINE)->FindDef("engine_zz"), 0);
    EXPECT_EQ(database.GetCategory(COMPONENT_ENGINE)->FindDef("engine_a"), 0);
    EXPECT_EQ(database.GetCategory(COMPONENT_ANY_WEAPON)->FindDef("x"), 0);
}

TEST(ComponentDatabase, AFileThatCannotBeReadFails)
{
    CShipComponentDatabase database;
    EXPECT_FALSE(database.LoadComponents("no/such/file.txt"));
    EXPECT_NE(database.DescribeProblems().find("no/such/file.txt"), std::string::npos);
}
