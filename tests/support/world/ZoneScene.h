#pragma once
// Zones in a test world: the world harness in a temporary program folder holding the
// enemy definition files that zone texts name ("data\enemies\fighter.txt" with
// ENEMY_FIGHTER of mass 10, "barge.txt" with a mining ENEMY_MOTHERSHIP of mass 60,
// "boss.txt" with STAR_BOSS of mass 200), a level with the standard asteroid kinds,
// and a real zone manager installed on the game. The enemy types are made as
// CZoneTestEnemy, which writes down what the zones did to it.
//
//   CZoneScene scene;
//   SZoneSpec zone = SZoneSpec::MakeLine(10);   // nodes every 20 units on a line
//   ASSERT_TRUE(scene.Load(MakeZoneText({SZoneSpec::MakeStart(), zone})));
//   scene.Zones().SetCurrentZone(1);
//   scene.Zones().InitNodeState();

#include "core/Vector2D.h"
#include "tests/support/TempDir.h"
#include "tests/support/world/WorldHarness.h"
#include "world/GameObject.h"

#include <memory>
#include <string>
#include <vector>

class CCurrentDir;
class CZoneManager;

// An enemy as the zones see it: its definition's mass, its state word, visibility.
class CZoneTestEnemy : public CGameObject
{
public:
    CZoneTestEnemy() : CGameObject(OBJECT_ENEMY_FIGHTER) {}
    void ParseDefinition(const CDataTree& section) override;
    void RestoreStateWord(int32_t word) override { m_word = word; }
    void SaveStateWord(int32_t& word) override { word = m_word; }
    void SetVisible(bool visible) override { m_info.shown = visible; }
    void SetWarpState(EWarpState state) override;

    int32_t m_word = 0;
    float m_mass = -1.0f; // -1 until a definition is given
    int m_warpStates = 0;
};

struct SZoneNodeSpec
{
    float x = 0.0f;
    float y = 0.0f;
    int third = 0; // danger: the variant; transfer: the zone it leads to
};

// One zone of a zone text.
struct SZoneSpec
{
    int iniFileIdx = 1;
    CVector2D boss = CVector2D(100.0f, 0.0f);
    CVector2D alien1 = CVector2D(0.0f, 400.0f);
    CVector2D alien2 = CVector2D(400.0f, 400.0f); // zone 0 only
    std::vector<SZoneNodeSpec> danger;
    std::vector<SZoneNodeSpec> normal;
    std::vector<SZoneNodeSpec> transfer;
    int crewNode = 0;
    // Blocks in the compact form of DefinitionText: "fixedResource0 { ... }" and so on.
    int fixedResources = 0;
    std::string fixedText;
    int infiniteResources = 1;
    std::string infiniteText =
        "infResource0 { num 100; maxInWorld 40; maxInGame 20; iniFile data\\enemies\\fighter.txt; type ENEMY_FIGHTER }";
    std::string bossText = "boss { iniFile data\\enemies\\boss.txt; type STAR_BOSS }";
    int attackGroups = 1;
    std::string groupText = "attckGroup0 { probAtStart 0; containsMiningBarge false; deployRadius 100; "
                            "spawnDelayS 10; spawnDelayMaxS 20; numInfGroups 1; inf0 { idx 0; num 3 }; "
                            "numFixedGroups 0 }";

    // Zone 0 as the game needs it: node 13 a normal node (10 normal nodes, a danger
    // node and a transfer node back to zone 0); one attack group of 3 fighters.
    static SZoneSpec MakeStart();
    // Normal nodes every `step` units along y = 0 from x = 100 + step (the boss node
    // stands at x = 100), no danger or transfer nodes.
    static SZoneSpec MakeLine(int normals, float step = 20.0f);
};

// The game1.txt text of the zones.
std::string MakeZoneText(const std::vector<SZoneSpec>& zones);

class CZoneScene
{
public:
    // `registerMore` registers types of a layer above the world after the scene's
    // stand-ins (a ships test's real mothership).
    explicit CZoneScene(uint32_t seed = 1, CWorldHarness::TypeRegistration registerMore = nullptr);
    ~CZoneScene();
    CZoneScene(const CZoneScene&) = delete;
    CZoneScene& operator=(const CZoneScene&) = delete;

    // Reads the zones of a game1.txt text into the manager; fails the test (false)
    // when the reader reports problems.
    bool Load(const std::string& zoneText);
    // Another manager of the same game with the zones of the last Load, not installed
    // (one game lives at a time, so a second scene cannot stand beside this one).
    std::unique_ptr<CZoneManager> MakeManager();

    CZoneManager& Zones() { return *m_zones; }
    CWorldHarness& Harness() { return *m_harness; }
    CGame& Game() { return m_harness->GetGame(); }
    const CTempDir& Dir() const { return m_dir; }
    CZoneTestEnemy* Enemy(int32_t handle) const { return m_harness->FindAs<CZoneTestEnemy>(handle); }
    // The live enemies of the world, in slot order.
    std::vector<CZoneTestEnemy*> Enemies() const;

private:
    CTempDir m_dir;
    std::unique_ptr<CCurrentDir> m_cwd;
    std::unique_ptr<CZoneManager> m_zones; // outlives the harness, whose world tells it
    std::unique_ptr<CWorldHarness> m_harness;
    std::string m_zoneText;
    CWorldHarness::TypeRegistration m_registerMore = nullptr;
};
