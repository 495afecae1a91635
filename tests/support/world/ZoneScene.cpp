#include "tests/support/world/ZoneScene.h"

#include "core/DataTree.h"
#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/world/AsteroidLevel.h"
#include "tests/support/world/EffectScene.h"
#include "world/GalaxyMap.h"
#include "world/ObjectFactory.h"
#include "world/World.h"
#include "world/ZoneFile.h"
#include "world/ZoneManager.h"

#include <gtest/gtest.h>

#include <sstream>

void CZoneTestEnemy::ParseDefinition(const CDataTree& section)
{
    m_mass = 0.0f;
    section.GetFloat("mass", m_mass);
}

void CZoneTestEnemy::SetWarpState(EWarpState state)
{
    m_info.warpState = state;
    m_info.collidable = state == WARP_NONE;
    ++m_warpStates;
}

SZoneSpec SZoneSpec::MakeStart()
{
    SZoneSpec spec;
    spec.danger.push_back({500.0f, 500.0f, 0});
    for (int i = 0; i < 10; ++i)
        spec.normal.push_back({150.0f + 30.0f * static_cast<float>(i), 100.0f, 0});
    spec.transfer.push_back({600.0f, 100.0f, 0});
    spec.groupText = "attckGroup0 { probAtStart 1; containsMiningBarge false; deployRadius 100; spawnDelayS 10; "
                     "spawnDelayMaxS 20; numInfGroups 1; inf0 { idx 0; num 3 }; numFixedGroups 0 }";
    return spec;
}

SZoneSpec SZoneSpec::MakeLine(int normals, float step)
{
    SZoneSpec spec;
    for (int i = 0; i < normals; ++i)
        spec.normal.push_back({100.0f + step * static_cast<float>(i + 1), 0.0f, 0});
    return spec;
}

std::string MakeZoneText(const std::vector<SZoneSpec>& zones)
{
    std::ostringstream out;
    out << "ZONES { numZones " << zones.size() << ";";
    for (size_t z = 0; z < zones.size(); ++z)
    {
        const SZoneSpec& spec = zones[z];
        out << "zone" << z << " { iniFileIdx " << spec.iniFileIdx << ";";
        out << "numFixedResources " << spec.fixedResources << ";" << spec.fixedText << " ";
        out << "numInfiniteResources " << spec.infiniteResources << ";" << spec.infiniteText << " ";
        out << spec.bossText << " ";
        out << "numAttckGroups " << spec.attackGroups << ";" << spec.groupText << " ";
        out << "map { hyperBgndPos 10, 20; hyperBgndTitlePos 10, 5; normalBgndPos 30, 40; normalBgndTitlePos 30, 25;";
        out << "numNormalNodes " << spec.normal.size() << "; numTransferNodes " << spec.transfer.size()
            << "; numDangerNodes " << spec.danger.size() << ";";
        out << "boss { node " << spec.boss.x << ", " << spec.boss.y << " }";
        out << "alienNode1 " << spec.alien1.x << ", " << spec.alien1.y << ";";
        if (z == 0)
            out << "alienNode2 " << spec.alien2.x << ", " << spec.alien2.y << ";";
        auto list = [&out](const char* name, const std::vector<SZoneNodeSpec>& nodes, bool three) {
            if (nodes.empty())
                return;
            out << name << " {";
            for (size_t i = 0; i < nodes.size(); ++i)
            {
                out << "n" << i << " " << nodes[i].x << ", " << nodes[i].y;
                if (three)
                    out << ", " << nodes[i].third;
                out << ";";
            }
            out << "}";
        };
        list("danger", spec.danger, true);
        list("normal", spec.normal, false);
        list("transfer", spec.transfer, true);
        if (!spec.normal.empty())
            out << "crewNode " << spec.crewNode << ";";
        out << "} }";
    }
    out << "}";
    return DefinitionText(out.str());
}

namespace
{
CGameObject* MakeEnemy()
{
    return new (std::nothrow) CZoneTestEnemy();
}

// The registration the scene being made adds after its stand-ins.
CWorldHarness::TypeRegistration g_registerMore = nullptr;

void RegisterZoneEnemies()
{
    for (EObjectType type : {OBJECT_ENEMY_DRONE, OBJECT_ENEMY_FIGHTER, OBJECT_ENEMY_MOTHERSHIP, OBJECT_STAR_BOSS})
        RegisterObjectType(type, &MakeEnemy);
    if (g_registerMore)
        g_registerMore();
}
} // namespace

CZoneScene::CZoneScene(uint32_t seed, CWorldHarness::TypeRegistration registerMore) : m_registerMore(registerMore)
{
    m_dir.WriteFile("data/enemies/fighter.txt", DefinitionText("ENEMY_FIGHTER { mass 10 }"));
    m_dir.WriteFile("data/enemies/barge.txt", DefinitionText("ENEMY_MOTHERSHIP_MINING { mass 60; config mining }"));
    m_dir.WriteFile("data/enemies/boss.txt", DefinitionText("STAR_BOSS { mass 200 }"));
    m_cwd = std::make_unique<CCurrentDir>(m_dir.GetPath());
    g_registerMore = registerMore;
    m_harness = std::make_unique<CWorldHarness>(seed, &RegisterZoneEnemies);
    g_registerMore = nullptr;
    EXPECT_TRUE(m_harness->StartLevel(MakeAsteroidLevel(MakeStandardDefs())));
    m_zones = std::make_unique<CZoneManager>(m_harness->GetGame());
    m_harness->GetGame().SetZones(m_zones.get());
}

CZoneScene::~CZoneScene()
{
    // The galaxy map's sprites go back to the harness's sprite bank while it stands.
    m_zones->GetGalaxyMap().ReleaseSprites();
    g_registerMore = m_registerMore; // the harness registers again as it goes
    m_harness.reset();
    g_registerMore = nullptr;
    m_zones.reset();
    m_cwd.reset();
}

namespace
{
bool ReadZoneText(const std::string& text, ZoneVector& zones)
{
    CDataNodeList nodes;
    ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes);
    CDefinitionProblems problems;
    const bool read = !nodes.empty() && nodes[0]->IsBlock() &&
                      ReadZones(static_cast<const CDataTree&>(*nodes[0]), zones, problems);
    EXPECT_TRUE(read && problems.IsEmpty()) << problems.Describe("game1.txt");
    return read && problems.IsEmpty();
}
} // namespace

bool CZoneScene::Load(const std::string& zoneText)
{
    ZoneVector zones;
    const bool read = ReadZoneText(zoneText, zones);
    m_zones->SetZones(std::move(zones));
    m_zoneText = zoneText;
    return read;
}

std::unique_ptr<CZoneManager> CZoneScene::MakeManager()
{
    auto manager = std::make_unique<CZoneManager>(Game());
    ZoneVector zones;
    ReadZoneText(m_zoneText, zones);
    manager->SetZones(std::move(zones));
    return manager;
}

std::vector<CZoneTestEnemy*> CZoneScene::Enemies() const
{
    std::vector<CZoneTestEnemy*> enemies;
    CWorld& world = m_harness->GetWorld();
    for (int32_t slot = 0; slot < world.GetSlotCount(); ++slot)
        if (CZoneTestEnemy* enemy = dynamic_cast<CZoneTestEnemy*>(world.GetSlot(slot)))
            enemies.push_back(enemy);
    return enemies;
}
