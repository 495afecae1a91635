#include "frontend/HudRadar.h"
#include "tests/frontend/HudFixture.h"

#include "presentation/SpriteTypes.h"

#include <cmath>

namespace
{
class HudRadarTest : public CHudFixture
{
protected:
    const SSpriteInstance& Blip(int32_t handle)
    {
        const CGameObject* object = m_harness.Find(handle);
        EXPECT_NE(object, nullptr);
        const CAnimatedSprite* blip = GetHud().GetRadar().GetBlip(object ? object->GetInfo().blip : -1);
        EXPECT_NE(blip, nullptr);
        EXPECT_NE(blip->GetInstance(), nullptr);
        return *blip->GetInstance();
    }
};
} // namespace

// With the HUD shown, every object's blip sits about the radar's centre, the
// frame's half size less 8 pixels standing for half the world: the radar's centre
// is the screen's bottom-right corner less half the 64-pixel frame and 2 pixels.
// The player is green at twice the size, the station cyan, a drone dark red, a
// gold-bearing asteroid (kind 12) orange at twice the size.
TEST_F(HudRadarTest, BlipsStandWhereTheObjectsAreInTheWorld)
{
    ASSERT_TRUE(StartLevel(MakeHudText()));
    GetLink().Show(true);
    const int32_t player = Spawn(OBJECT_PLAYER_SHIP, 2000.0f, 2000.0f);
    const int32_t station = Spawn(OBJECT_STATION, 3000.0f, 1000.0f);
    const int32_t drone = Spawn(OBJECT_ENEMY_DRONE, 0.0f, 4000.0f);
    const int32_t gold = Spawn(OBJECT_ASTEROID, 4000.0f, 4000.0f, 12);
    const int32_t rock = Spawn(OBJECT_ASTEROID, 1000.0f, 3000.0f, 0);
    m_harness.RunFrame();

    const float cameraX = static_cast<float>(GetLink().GetCameraX());
    const float cameraY = static_cast<float>(GetLink().GetCameraY());
    const float centreX = cameraX + 640.0f - 32.0f - 2.0f;
    const float centreY = cameraY + 480.0f - 32.0f - 2.0f;
    EXPECT_FLOAT_EQ(GetHud().GetRadar().GetCentre().x, centreX);
    EXPECT_FLOAT_EQ(GetHud().GetRadar().GetCentre().y, centreY);
    EXPECT_TRUE(GetHud().GetRadar().GetFrame().IsVisible());

    const struct
    {
        int32_t handle;
        float dx, dy; // offset from the centre: 24 pixels per half world
        uint32_t colour;
        float scale;
    } cases[] = {
        {player, 0.0f, 0.0f, 0xFF00FF00, 2.0f},    {station, 12.0f, -12.0f, 0xFF00FFFF, 2.0f},
        {drone, -24.0f, 24.0f, 0xFF540000, 1.0f},  {gold, 24.0f, 24.0f, 0xFFFA9F00, 2.0f},
        {rock, -12.0f, 12.0f, 0xFF404040, 1.0f},
    };
    for (const auto& c : cases)
    {
        const SSpriteInstance& blip = Blip(c.handle);
        EXPECT_TRUE(blip.IsVisible());
        EXPECT_FLOAT_EQ(blip.m_x, centreX + c.dx) << c.colour;
        EXPECT_FLOAT_EQ(blip.m_y, centreY + c.dy) << c.colour;
        EXPECT_EQ(blip.m_colour, c.colour);
        EXPECT_FLOAT_EQ(blip.m_scaleX, c.scale);
        EXPECT_TRUE(blip.m_flags & SPRITE_SNAP);
    }

    // An object that moves drags its blip along; one that goes frees its blip.
    m_harness.Find(player)->SetPosition(CVector2D(2500.0f, 2000.0f));
    const int32_t stationBlip = m_harness.Find(station)->GetInfo().blip;
    m_harness.GetWorld().RemoveObject(station);
    m_harness.RunFrame();
    EXPECT_FLOAT_EQ(Blip(player).m_x, static_cast<float>(GetLink().GetCameraX()) + 606.0f + 6.0f);
    EXPECT_FALSE(GetHud().GetRadar().IsBlipUsed(stationBlip));
    EXPECT_FALSE(GetHud().GetRadar().GetBlip(stationBlip)->IsVisible());
}

// Asteroids by kind, every other type red.
TEST(HudRadarStyle, ColoursByTypeAndKind)
{
    const struct
    {
        EObjectType type;
        int32_t kind;
        uint32_t colour;
        float scale;
    } cases[] = {
        {OBJECT_PLAYER_SHIP, -1, 0xFF00FF00, 2.0f}, {OBJECT_STATION, -1, 0xFF00FFFF, 2.0f},
        {OBJECT_ENEMY_DRONE, -1, 0xFF540000, 1.0f}, {OBJECT_ENEMY_FIGHTER, -1, 0xFFA80000, 1.0f},
        {OBJECT_ASTEROID, 0, 0xFF404040, 1.0f},     {OBJECT_ASTEROID, 1, 0xFF808080, 1.0f},
        {OBJECT_ASTEROID, 2, 0xFFC0C0C0, 1.0f},     {OBJECT_ASTEROID, 9, 0xFFC0C0C0, 1.0f},
        {OBJECT_ASTEROID, 12, 0xFFFA9F00, 2.0f},    {OBJECT_ASTEROID, 13, 0xFFFA9F00, 2.0f},
        {OBJECT_ASTEROID, 3, 0xFFFFFF00, 1.0f},     {OBJECT_ASTEROID, -1, 0xFFFFFF00, 1.0f},
        {OBJECT_ENEMY_MOTHERSHIP, -1, 0xFFFF0000, 1.0f}, {OBJECT_DUMB, -1, 0xFFFF0000, 1.0f},
    };
    for (const auto& c : cases)
    {
        uint32_t colour = 0;
        float scale = 0.0f;
        GetRadarBlipStyle(c.type, c.kind, colour, scale);
        EXPECT_EQ(colour, c.colour) << c.type << " " << c.kind;
        EXPECT_EQ(scale, c.scale) << c.type << " " << c.kind;
    }
}

// 500 blips; objects beyond them share blip 0, so removing one of them frees it.
// A hidden radar leaves its blips alone; a world of no width shows none.
TEST_F(HudRadarTest, FullRadarSharesBlipZeroAndZeroWidthIsSafe)
{
    ASSERT_TRUE(StartLevel(MakeHudText()));
    CHudRadar& radar = GetHud().GetRadar();
    for (int32_t i = 0; i < CHudRadar::BLIP_COUNT; ++i)
        ASSERT_EQ(radar.AddBlip(), i);
    EXPECT_EQ(radar.AddBlip(), 0);
    EXPECT_EQ(radar.AddBlip(), 0);
    radar.RemoveBlip(0);
    EXPECT_FALSE(radar.IsBlipUsed(0));
    EXPECT_EQ(radar.AddBlip(), 0);
    radar.RemoveBlip(-1);
    radar.RemoveBlip(CHudRadar::BLIP_COUNT);

    CRadarTestObject ship(OBJECT_PLAYER_SHIP);
    ship.SetPosition(CVector2D(100.0f, 100.0f));
    radar.UpdateBlip(7, ship, 4000.0f);
    EXPECT_FALSE(radar.GetBlip(7)->IsVisible()) << "hidden radar";
    radar.SetVisible(true);
    radar.UpdateBlip(7, ship, 4000.0f);
    EXPECT_TRUE(radar.GetBlip(7)->IsVisible());
    radar.UpdateBlip(7, ship, 0.0f);
    EXPECT_FALSE(radar.GetBlip(7)->IsVisible());
    EXPECT_TRUE(std::isfinite(radar.GetBlipOffset(7).x));
    radar.UpdateBlip(7, ship, 4000.0f);
    radar.SetVisible(false);
    EXPECT_FALSE(radar.GetBlip(7)->IsVisible());
    EXPECT_FALSE(radar.GetFrame().IsVisible());
}
