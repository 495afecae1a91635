#include "tests/support/world/EffectScene.h"

#include "core/DataTree.h"
#include "platform/Tga.h"
#include "tests/support/CurrentDir.h"
#include "utility/source/QelSpriteFormat.h"
#include "utility/source/QelSpritePacker.h"
#include "world/EffectCache.h"
#include "world/EffectDef.h"
#include "world/Emitter.h"
#include "world/Game.h"
#include "world/ObjectFactory.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
// Eight discs of radius 3.5 in eight colours, alpha blended.
bool WriteParticleSprite(const CTempDir& dir)
{
    const uint8_t colours[8][3] = {{255, 255, 255}, {255, 64, 64}, {64, 255, 64}, {64, 64, 255},
                                   {255, 255, 64},  {64, 255, 255}, {255, 64, 255}, {128, 128, 128}};
    std::vector<std::vector<uint8_t>> frames;
    for (const auto& colour : colours)
    {
        std::vector<uint8_t> pixels(8 * 8 * 4, 0);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
            {
                const float dx = float(x) + 0.5f - 4.0f, dy = float(y) + 0.5f - 4.0f;
                if (std::sqrt(dx * dx + dy * dy) > 3.5f)
                    continue;
                uint8_t* p = &pixels[size_t(y * 8 + x) * 4];
                p[0] = colour[2];
                p[1] = colour[1];
                p[2] = colour[0];
                p[3] = 255;
            }
        frames.push_back(pixels);
    }
    SSpritePackOptions options;
    options.pixelFormat = 2;
    options.maxPageSide = 32;
    SSpriteFileData sprite;
    std::vector<uint8_t> bytes;
    return PackSpriteFrames(frames, 8, 8, options, sprite) && WriteSpriteFile(sprite, bytes) &&
           dir.WriteFile("fx.spr", std::string(bytes.begin(), bytes.end()));
}

// 8 x 8: opaque white in the middle columns, fading to nothing at the edges.
bool WriteBeamTexture(const CTempDir& dir)
{
    std::vector<uint8_t> pixels(8 * 8 * 4, 255);
    const uint8_t alpha[8] = {0, 64, 160, 255, 255, 160, 64, 0};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pixels[size_t(y * 8 + x) * 4 + 3] = alpha[x];
    return SaveTga32(dir.Join("beam.tga").c_str(), 8, 8, pixels.data());
}

CGameObject* MakeTarget()
{
    return new (std::nothrow) CTargetObject();
}
} // namespace

int CountEffectsInUse(const CEffectCache& cache, const char* name)
{
    const CEffectDef* definition = cache.FindDefinition(name);
    int count = 0;
    for (int32_t i = 0; definition && i < definition->GetEmitter()->GetPoolSize(); ++i)
        count += definition->GetEmitter()->GetPoolEffect(i)->IsInUse() ? 1 : 0;
    return count;
}

std::string DefinitionText(const std::string& compact)
{
    std::string text;
    for (char c : compact)
    {
        if (c == '{' || c == '}')
            text += std::string("\n") + c + "\n";
        else if (c == ';')
            text += '\n';
        else
            text += c;
    }
    return text + "\n";
}

void CTargetObject::SetUp(float radius, ETeam team, int32_t health)
{
    m_info.team = team;
    m_body.radius = radius;
    m_body.health = health;
    m_body.mass = 10;
    m_body.shape = CollisionChain(new CCollisionCircle(radius, true));
    PlaceShape();
}

void CTargetObject::SetSquare(float halfSize)
{
    if (m_body.shape)
        m_body.shape->Append(CollisionChain(new CCollisionRect(halfSize, halfSize, 0.0f)));
    PlaceShape();
}

bool CTargetObject::TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount)
{
    m_hits.push_back({sourceType, source ? source->GetHandle() : -1, kind, amount});
    m_body.health -= amount;
    return m_body.health <= 0;
}

bool CTargetObject::Move()
{
    PlaceShape();
    return false;
}

int32_t CTargetObject::TotalDamage() const
{
    int32_t total = 0;
    for (const SRecordedHit& hit : m_hits)
        total += hit.amount;
    return total;
}

CEffectScene::CEffectScene(uint32_t seed, std::unique_ptr<CRenderer> renderer,
                           CWorldHarness::TypeRegistration registerMore)
{
    EXPECT_TRUE(WriteParticleSprite(m_dir));
    EXPECT_TRUE(WriteBeamTexture(m_dir));
    m_cwd = std::make_unique<CCurrentDir>(m_dir.GetPath());
    m_harness = std::make_unique<CWorldHarness>(seed, registerMore, std::move(renderer));
    RegisterObjectType(OBJECT_DUMB, &MakeTarget);
    RegisterObjectType(OBJECT_PLAYER_SHIP, &MakeTarget);
    RegisterObjectType(OBJECT_ASTEROID, &MakeTarget);
    RegisterObjectType(OBJECT_STATION, &MakeTarget);
    EXPECT_TRUE(m_harness->StartLevel());
}

CEffectScene::~CEffectScene()
{
    m_harness.reset();
    m_cwd.reset();
}

CEffectCache& CEffectScene::Cache()
{
    return m_harness->GetGame().GetEffectCache();
}

std::vector<std::string> CEffectScene::LoadWithProblems(const std::string& text)
{
    const size_t before = Cache().GetFileProblems().size();
    EXPECT_TRUE(Cache().LoadFromBytes(text, "test effects"));
    std::vector<std::string> lines;
    const auto& reports = Cache().GetFileProblems();
    for (size_t i = before; i < reports.size(); ++i)
        for (const SDefinitionProblem& problem : reports[i].problems.GetAll())
            lines.push_back(std::to_string(problem.line) + ": " + problem.text);
    return lines;
}

bool CEffectScene::Load(const std::string& text)
{
    std::vector<std::string> problems = LoadWithProblems(text);
    for (const std::string& line : problems)
        ADD_FAILURE() << line;
    return problems.empty();
}

int32_t CEffectScene::SpawnTarget(float x, float y, float radius, ETeam team, int32_t health, int32_t type)
{
    int32_t handle = m_harness->Spawn(type, x, y);
    if (CTargetObject* target = Target(handle))
        target->SetUp(radius, team, health);
    return handle;
}

CTargetObject* CEffectScene::Target(int32_t handle) const
{
    return m_harness->FindAs<CTargetObject>(handle);
}
