#include "ships/ComponentKind.h"

#include <gtest/gtest.h>

#include <string>

TEST(ComponentKind, EveryNameReadsBackAsItsKind)
{
    for (int kind = 0; kind < COMPONENT_KIND_COUNT; ++kind)
    {
        EComponentKind read = static_cast<EComponentKind>(-5);
        ASSERT_TRUE(ComponentKindFromName(GetComponentKindName(kind), read)) << kind;
        EXPECT_EQ(read, kind) << GetComponentKindName(kind);
    }
    EXPECT_STREQ(GetComponentKindName(COMPONENT_STATION_VAC), "STATION_VAC");
    EXPECT_STREQ(GetComponentKindName(COMPONENT_PROJECTILE_GUN), "WEAPON_PROJECTILE_GUN");
}

TEST(ComponentKind, ATextThatBeginsWithANameIsThatKind)
{
    struct SCase
    {
        const char* text;
        bool found;
        EComponentKind kind;
    };
    const SCase cases[] = {
        {"ENGINE_BIG", true, COMPONENT_ENGINE},
        {"NONEXISTENT", true, COMPONENT_NONE},
        {"GRAVITY_BEAMS", true, COMPONENT_GRAVITY_BEAM},
        {"AMMO_BOMBER", true, COMPONENT_AMMO_BOMB},
        {"HULLS", true, COMPONENT_HULL},
        {"engine", false, COMPONENT_CARGO}, // names are compared with their case
        {"ENGIN", false, COMPONENT_CARGO},
        {"", false, COMPONENT_CARGO},
        {"WEAPON", false, COMPONENT_CARGO},
    };
    for (const SCase& c : cases)
    {
        EComponentKind kind = COMPONENT_CARGO;
        EXPECT_EQ(ComponentKindFromName(c.text, kind), c.found) << c.text;
        EXPECT_EQ(kind, c.kind) << c.text;
    }
    EComponentKind untouched = COMPONENT_CARGO;
    EXPECT_FALSE(ComponentKindFromName(nullptr, untouched));
}

TEST(ComponentKind, PodShapes)
{
    const char* names[] = {"POD_NONE", "ONE", "TWO_HORIZ", "TWO_VERT", "TWO_BY_TWO"};
    for (int i = 0; i < 5; ++i)
    {
        EPodShape shape = static_cast<EPodShape>(-1);
        ASSERT_TRUE(PodShapeFromName(names[i], shape));
        EXPECT_EQ(shape, i);
    }
    EPodShape shape = POD_SHAPE_ONE;
    EXPECT_FALSE(PodShapeFromName("THREE", shape));
    EXPECT_FALSE(PodShapeFromName("TWO", shape));
    EXPECT_EQ(shape, POD_SHAPE_ONE);
}

TEST(ComponentKind, WeaponKindsAndValuesOutOfRange)
{
    std::string weapons;
    for (int kind = -2; kind < COMPONENT_KIND_COUNT + 3; ++kind)
        if (IsWeaponKind(kind))
            weapons += std::to_string(kind) + " ";
    EXPECT_EQ(weapons, "4 5 6 10 12 13 14 ");
    // A kind from a damaged save reads as an empty pod instead of ending the game.
    EXPECT_STREQ(GetComponentKindName(19), "NONE");
    EXPECT_STREQ(GetComponentKindName(-1), "NONE");
    EXPECT_STREQ(GetComponentKindName(1 << 30), "NONE");
}
