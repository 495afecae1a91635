#include "tests/support/presentation/AnimationScene.h"

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "presentation/SpriteBank.h"
#include "presentation/SpriteOwner.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/presentation/SpriteScene.h"

#include <cmath>

namespace
{
const CVector2D kPatrolCentre(190.0f, 100.0f);
const int kBodyPlane = 11;

const CDataTree* FindTopBlock(const CDataNodeList& nodes, const char* name)
{
    for (const auto& node : nodes)
        if (node->IsBlock() && node->HasName(WidenToU16(name).c_str()))
            return static_cast<const CDataTree*>(node.get());
    return nullptr;
}
} // namespace

CAnimationScene::CAnimationScene()
{
    InstallAnimationClock(this);
    InstallRiderObjects(this);
}

CAnimationScene::~CAnimationScene()
{
    InstallRiderObjects(nullptr);
    InstallAnimationClock(nullptr);
}

bool CAnimationScene::GetObjectPosition(int32_t handle, CVector2D& position) const
{
    if (handle != SCOUT_HANDLE)
        return false;
    position = m_scoutPosition;
    return true;
}

void CAnimationScene::SetObjectPosition(int32_t handle, const CVector2D& position)
{
    if (handle != SCOUT_HANDLE)
        return;
    const CVector2D step = position - m_scoutPosition;
    if (step.Length() > 0.01f)
        m_scoutAngle = std::atan2(step.y, step.x) * 57.29578f;
    m_scoutPosition = position;
}

bool CAnimationScene::LoadDefinitions(std::string& error)
{
    const std::string samples = std::string(TESS_SOURCE_DIR) + "/data-src/samples/";
    CDataNodeList planet, scout;
    if (!LoadDataFileNodes((samples + "planet.txt").c_str(), planet) ||
        !LoadDataFileNodes((samples + "scout.txt").c_str(), scout))
    {
        error = "cannot read the sample definitions in " + samples;
        return false;
    }
    const CDataTree* planetDef = FindTopBlock(planet, "PLANET");
    const CDataTree* scoutDef = FindTopBlock(scout, "SCOUT");
    const CDataTree* patrolDef = FindTopBlock(scout, "PATROL");
    CDefinitionProblems problems;
    SSpriteOwner anchor;
    anchor.position = kPatrolCentre;
    anchor.drawPlane = kBodyPlane;
    SSpriteOwner scoutOwner = anchor;
    scoutOwner.handle = SCOUT_HANDLE;
    if (!planetDef || !scoutDef || !patrolDef || !m_planetDef.Load(*planetDef, problems) ||
        !m_body.Load(*scoutDef, scoutOwner, problems) || !m_patrol.Load(*patrolDef, anchor, problems) ||
        !problems.IsEmpty())
    {
        error = "the sample definitions do not load:\n" + problems.Describe("sample");
        return false;
    }
    if (!m_turning.SetFile("data\\sprites\\scout.spr", true) || !m_planetDef.GetSprite().HasFile() ||
        !m_body.GetSpriteRef().HasFile())
    {
        error = "the sample sprites (built into the resource pack folder) do not load";
        return false;
    }
    return true;
}

void CAnimationScene::Tick()
{
    m_now += GAME_TICK_MS;
    SSpriteOwner anchor;
    anchor.position = kPatrolCentre;
    anchor.drawPlane = kBodyPlane;
    m_patrol.Update(anchor);
    SSpriteOwner scout;
    scout.handle = SCOUT_HANDLE;
    scout.position = m_scoutPosition;
    scout.angle = m_scoutAngle;
    scout.drawPlane = kBodyPlane;
    m_body.GetSprite().SetPosition(m_scoutPosition);
    m_body.GetSprite().SetAngle(m_scoutAngle);
    m_body.Update(scout);
}

bool CAnimationScene::Build(CSpriteBank& bank, std::string& error)
{
    CSpriteBank* savedBank = g_spriteBank;
    g_spriteBank = &bank;
    bool loaded = false;
    {
        // The definitions name their sprites by program-folder paths; the build puts
        // them under the resource pack folder beside the program folder.
        CCurrentDir respack(std::string(TESS_BIN_DIR) + "/../respack");
        loaded = LoadDefinitions(error);
    }
    g_spriteBank = savedBank;
    if (!loaded)
        return false;

    const float headings[5] = {0.0f, 40.0f, 100.0f, 200.0f, 290.0f};
    for (int i = 0; i < 5; ++i)
    {
        m_headings[i].Init(m_turning, 10);
        m_headings[i].SetPosition(CVector2D(24.0f + 44.0f * float(i), 22.0f));
        m_headings[i].SetAngle(headings[i]);
        m_headings[i].Show();
    }
    if (!m_planet.Create(m_planetDef))
    {
        error = "the tiled picture has no cells";
        return false;
    }
    m_planet.CenterOn(CVector2D(72.0f, 120.0f));
    m_planet.SetVisible(true);

    m_scoutPosition = kPatrolCentre;
    m_patrol.SetObject(0, SCOUT_HANDLE);
    m_patrol.RestartTrack(-1);
    for (int tick = 0; tick < TICKS; ++tick)
        Tick();

    // The last tick: a shot at the left pod (it flashes), and the right pod shot off.
    SSpriteOwner scout;
    scout.handle = SCOUT_HANDLE;
    scout.position = m_scoutPosition;
    CCollisionCircle shot(2.0f, true);
    shot.SetPosition(m_scoutPosition + m_body.GetPart(0).m_sprite.GetOffset());
    m_body.GetShapes()->SetPosition(m_scoutPosition);
    int part = -1;
    if (!shot.Collide(*m_body.GetShapes(), nullptr, nullptr, nullptr) || !m_body.HitPart(scout, 5, part))
    {
        error = "the shot missed the left pod";
        return false;
    }
    m_body.DestroyPart(scout, 1);
    return true;
}

std::vector<uint8_t> CAnimationScene::Draw(CRenderer& renderer, CSpriteBank& bank, const CTempDir& dir)
{
    return DrawBankFrame(renderer, bank, dir, ANIMATION_SCENE_WIDTH, ANIMATION_SCENE_HEIGHT);
}
