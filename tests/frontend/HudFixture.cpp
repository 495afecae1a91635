#include "tests/frontend/HudFixture.h"

#include "utility/source/QelSpritePacker.h"
#include "world/ObjectFactory.h"

#include <vector>

namespace
{
template <EObjectType Type>
CGameObject* CreateTestObject()
{
    return new (std::nothrow) CRadarTestObject(Type);
}
} // namespace

bool WriteTestSprite(const CTempDir& dir, const std::string& name, uint32_t width, uint32_t height, uint32_t frames)
{
    std::vector<std::vector<uint8_t>> pixels;
    for (uint32_t i = 0; i < frames; ++i)
        pixels.emplace_back(static_cast<size_t>(width) * height * 4, static_cast<uint8_t>(0x40 + i));
    SSpritePackOptions options;
    options.maxPageSide = 256;
    SSpriteFileData data;
    std::vector<uint8_t> bytes;
    if (!PackSpriteFrames(pixels, width, height, options, data) || !WriteSpriteFile(data, bytes))
        return false;
    return dir.WriteFile(name, std::string(bytes.begin(), bytes.end()));
}

std::string CHudFixture::MakeHudText()
{
    static const char* const GAUGES[] = {"HEALTH_BAR",       "SHIELD_BAR",       "ENERGY_BAR",
                                         "GEM_BAR",          "STATION_HEALTH_BAR", "STATION_NGEM_BAR",
                                         "STATION_RGEM_BAR", "STATION_VRGEM_BAR", "BATTERY_BAR"};
    std::string text;
    int x = -100;
    for (const char* gauge : GAUGES)
    {
        text += std::string(gauge) + "\n{\n\ticon\n\t{\n\t\tspriteFile data/sprites/gauge.spr\n\t}\n" +
                "\tbarWidth 8\n\tbarHeight 60\n\toffset " + std::to_string(x) + ", -8\n" +
                "\tflashOnLessThan 0.25\n}\n";
        x -= 20;
    }
    text += "RADAR\n{\n\tframe\n\t{\n\t\tspriteFile data/sprites/radar.spr\n\t}\n"
            "\ticon\n\t{\n\t\tspriteFile data/sprites/blip.spr\n\t}\n"
            "\ticonInst\n\t{\n\t\tdrawPlane 0\n\t}\n}\n";
    text += "STATION_ICONS\n{\n\tspriteFile data/sprites/stationIcons.spr\n\tdrawPlane 0\n\tstartFrame 0\n";
    for (int i = 0; i < 6; ++i)
        text += "\ticonPos" + std::to_string(i) + " " + std::to_string(-20 - 12 * i) + ", -100\n";
    text += "}\n";
    return text;
}

void CHudFixture::SetUp()
{
    RegisterObjectType(OBJECT_PLAYER_SHIP, &CreateTestObject<OBJECT_PLAYER_SHIP>);
    RegisterObjectType(OBJECT_STATION, &CreateTestObject<OBJECT_STATION>);
    RegisterObjectType(OBJECT_ASTEROID, &CreateTestObject<OBJECT_ASTEROID>);
    RegisterObjectType(OBJECT_ENEMY_DRONE, &CreateTestObject<OBJECT_ENEMY_DRONE>);
    m_harness.GetGame().SetDirector(&m_director);
    ASSERT_TRUE(InstallGameHud(m_harness.GetGame()));
}

void CHudFixture::TearDown()
{
    // The HUD's sprites go back to the harness's bank before it goes.
    RemoveGameHud(m_harness.GetGame());
    m_harness.GetGame().SetDirector(nullptr);
    m_cwd.reset();
}

bool CHudFixture::StartLevel(const std::string& hudText, uint32_t iconFrames)
{
    if (!m_dir.WriteFile("data/hud.txt", hudText) || !WriteTestSprite(m_dir, "data/sprites/gauge.spr", 8, 8, 1) ||
        !WriteTestSprite(m_dir, "data/sprites/radar.spr", 64, 64, 1) ||
        !WriteTestSprite(m_dir, "data/sprites/blip.spr", 4, 4, 1) ||
        !WriteTestSprite(m_dir, "data/sprites/stationIcons.spr", 8, 8, iconFrames))
        return false;
    m_cwd = std::make_unique<CCurrentDir>(m_dir.GetPath());
    return m_harness.StartLevel() && GetGameHud()->GetHud() != nullptr;
}

int32_t CHudFixture::Spawn(EObjectType type, float x, float y, int32_t asteroidKind)
{
    const int32_t handle = m_harness.Spawn(type, x, y);
    if (CRadarTestObject* object = m_harness.FindAs<CRadarTestObject>(handle))
        object->m_kind = asteroidKind;
    return handle;
}
