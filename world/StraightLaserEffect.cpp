// A live laser: its start, its frame by mode, the straight beam, and what every mode
// shares (chains of points, hits, drawing).

#include "world/StraightLaserEmitter.h"

#include "platform/Renderer.h"
#include "presentation/CollisionShape.h"
#include "presentation/SpriteBank.h"
#include "world/EffectCache.h"
#include "world/EffectDef.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/Quadtree.h"
#include "world/SimpleParticleEmitter.h"

#include <cmath>
#include <vector>

namespace
{
constexpr float DEGREES_TO_RADIANS = 3.14159265358979f / 180.0f;
constexpr int32_t HIT_DAMAGE = 1;
constexpr float HEAD_RADIUS = 5.0f;

uint32_t Now()
{
    CGame* game = GetGame();
    return game ? game->GetTime() : 0;
}
} // namespace

CStraightLaserEffect::CStraightLaserEffect(CStraightLaserEmitter& emitter) : CEffect(emitter)
{
    m_targets.reserve(256);
}

CStraightLaserEffect::~CStraightLaserEffect()
{
    Release(false);
    m_targets.clear();
}

CStraightLaserEmitter& CStraightLaserEffect::Emitter() const
{
    return static_cast<CStraightLaserEmitter&>(m_emitter);
}

bool CStraightLaserEffect::HasPassedEnd(uint32_t now) const
{
    // On for onTimeSec: 0.2 s are the five frames at 0, 40, ..., 160 ms.
    return static_cast<int32_t>(now - m_endTime) >= 0;
}

bool CStraightLaserEffect::IsAlive() const
{
    return !HasPassedEnd(Now());
}

void CStraightLaserEffect::FollowWithLaunchEffect()
{
    if (CEffect* launch = m_launch.Get())
    {
        launch->SetHeading(m_heading);
        launch->SetPosition(m_position);
        launch->SetVelocity(m_velocity);
    }
}

void CStraightLaserEffect::Start()
{
    SBusy busy(*this);
    CStraightLaserEmitter& emitter = Emitter();
    const uint32_t now = Now();
    m_firstFrame = true;
    m_finished = false;
    m_endTime = now + emitter.GetOnTimeMs();
    m_offset.x = static_cast<float>(DrawRangeInt(emitter.GetOffsetRangeX().x, emitter.GetOffsetRangeX().y));
    m_offset.y = static_cast<float>(DrawRangeInt(emitter.GetOffsetRangeY().x, emitter.GetOffsetRangeY().y));
    if (emitter.GetLaunchEffect()[0] && !m_launch.Get())
        m_launch.Set(GetDefinition().GetCache().SpawnEffect(emitter.GetLaunchEffect(), m_owner, false));
    if (CEffect* launch = m_launch.Get())
    {
        FollowWithLaunchEffect();
        launch->Start();
    }
    bool beams = true;
    if (emitter.IsBounce())
        beams = StartBounce();
    else if (emitter.IsLightning())
        beams = StartLightning();
    else if (emitter.IsHoming())
        beams = StartHoming();
    if (!beams)
    {
        Finish();
        return;
    }
    m_sound.PlayAt(false, &m_position);
}

void CStraightLaserEffect::Finish()
{
    m_finished = true;
    // Recyclable lasers give themselves back, as other fire-and-forget effects do.
    if (m_recyclable && !IsTrailChild() && IsInUse())
        Release(true);
}

void CStraightLaserEffect::Update()
{
    SBusy busy(*this);
    if (m_finished)
    {
        UpdateChildren();
        return;
    }
    CStraightLaserEmitter& emitter = Emitter();
    const uint32_t now = Now();
    FollowWithLaunchEffect();
    if (emitter.IsBounce())
    {
        if (m_activeBeams == 0)
        {
            Finish();
            return;
        }
    }
    else if (HasPassedEnd(now))
    {
        if (!emitter.IsHoming() || m_activeBeams == 0)
        {
            Finish();
            return;
        }
        // Homing beams pull back their heads once their time is over.
        for (SBeam& beam : m_beams)
        {
            if (beam.active)
                beam.hit = true;
            else if (CEffect* attached = beam.attached.Get())
            {
                attached->Release();
                beam.attached.Clear();
            }
        }
    }
    if (emitter.IsBounce())
        RunBounce(now);
    else if (emitter.IsLightning())
        RunLightning();
    else if (emitter.IsHoming())
        RunHoming(now);
    else
        RunStraight();
    UpdateChildren();
}

void CStraightLaserEffect::Stop()
{
    FreeBeams();
    m_finished = true;
    CEffect::Stop();
}

void CStraightLaserEffect::Release(bool detach)
{
    FreeBeams();
    m_finished = true;
    CEffect::Release(detach);
}

void CStraightLaserEffect::ForgetLaunchEffect()
{
    if (CEffect* launch = m_launch.Get())
        launch->Release(false);
    m_launch.Clear();
}

void CStraightLaserEffect::EndBeam(SBeam& beam)
{
    if (beam.active)
    {
        Emitter().FreeChain(beam.chain);
        --m_activeBeams;
    }
    beam.chain = -1;
    beam.points = 0;
    beam.active = false;
    if (CEffect* attached = beam.attached.Get())
        attached->Release();
    beam.attached.Clear();
}

void CStraightLaserEffect::FreeBeams()
{
    for (SBeam& beam : m_beams)
        EndBeam(beam);
    m_activeBeams = 0;
}

bool CStraightLaserEffect::AppendPoint(SBeam& beam, const CVector2D& point)
{
    if (beam.chain < 0 || beam.points >= CStraightLaserEmitter::CHAIN_POINTS)
        return false;
    Emitter().GetChain(beam.chain)[beam.points++] = point;
    return true;
}

void CStraightLaserEffect::DropOldestPoint(SBeam& beam)
{
    if (beam.chain < 0 || beam.points <= 0)
        return;
    CVector2D* points = Emitter().GetChain(beam.chain);
    for (int32_t i = 1; i < beam.points; ++i)
        points[i - 1] = points[i];
    --beam.points;
}

CGameObject* CStraightLaserEffect::FindHitAt(const CVector2D& point, int32_t excluded) const
{
    CGame* game = GetGame();
    if (!game || !game->GetQuadtree())
        return nullptr;
    std::vector<CGameObject*> nearby;
    game->GetQuadtree()->QueryObjects(point, HEAD_RADIUS, nearby, true, true);
    CCollisionCircle probe(HEAD_RADIUS, true);
    probe.SetPosition(point);
    for (CGameObject* object : nearby)
    {
        if (object->GetTeam() == m_owner.team || object->GetBody().health <= 0 ||
            (excluded != 0 && object->GetHandle() == excluded))
            continue;
        CCollisionShape* shape = object->GetBody().shape.get();
        CVector2D contact, data;
        if (shape && probe.Collide(*shape, &contact, &data, nullptr))
            return object;
    }
    return nullptr;
}

// The collision effect at the point, then the damage.
void CStraightLaserEffect::Strike(CGameObject& object, const CVector2D& point, const CVector2D& velocity)
{
    CStraightLaserEmitter& emitter = Emitter();
    if (emitter.GetCollisionEffect()[0])
    {
        if (CEffect* spark = GetDefinition().GetCache().SpawnEffect(emitter.GetCollisionEffect(), m_owner, true))
        {
            spark->SetPosition(point);
            spark->SetHeading(m_heading);
            spark->SetVelocity(velocity);
            spark->Start();
        }
    }
    object.TakeDamage(m_owner.type, m_owner.Find(), HIT_DAMAGE, emitter.GetDamage());
}

void CStraightLaserEffect::RunStraight()
{
    CGameObject* owner = m_owner.Find();
    if (!owner)
        return;
    CStraightLaserEmitter& emitter = Emitter();
    CVector2D direction;
    direction.SetFromAngle(m_heading);
    CVector2D offset = m_offset;
    offset.Rotate(m_heading);
    const CVector2D start = m_position + offset;
    const float maxLength = emitter.GetMaxBeamLength();
    CGame* game = GetGame();
    if ((m_firstFrame || emitter.CollidesEveryFrame()) && game && game->GetQuadtree())
    {
        m_beamLength = maxLength;
        const CVector2D centre = start + direction * (maxLength * 0.5f);
        CCollisionRect beam(maxLength * 0.5f, 5.0f, m_heading * DEGREES_TO_RADIANS);
        beam.SetPosition(centre);
        std::vector<CGameObject*> nearby;
        game->GetQuadtree()->QueryObjects(centre, maxLength * 0.5f, nearby, true, true);
        const CVector2D reference = owner->GetPosition();
        for (CGameObject* object : nearby)
        {
            if (object == owner || object->GetTeam() == m_owner.team || !object->GetInfo().collidable)
                continue;
            CCollisionShape* shape = object->GetBody().shape.get();
            CVector2D contact, data;
            if (!shape || !beam.Collide(*shape, &contact, &data, &reference))
                continue;
            m_beamLength = (contact - start).Length();
            Strike(*object, start + direction * m_beamLength, owner->GetBody().velocity * 25.0f);
            break;
        }
    }
    m_firstFrame = false;

    CRenderer* renderer = g_renderer;
    CSpriteBank* bank = game ? game->GetSpriteBank() : nullptr;
    if (!renderer || !bank)
        return;
    const CVector2D end = start + direction * m_beamLength;
    const float points[4] = {start.x, start.y, end.x, end.y};
    const float* from = emitter.GetStartColour();
    const float* to = emitter.GetEndColour();
    const float startColour[3] = {from[0] / 255.0f, from[1] / 255.0f, from[2] / 255.0f};
    const float endColour[3] = {to[0] / 255.0f, to[1] / 255.0f, to[2] / 255.0f};
    renderer->DrawRibbon(emitter.GetTexture(), emitter.GetBeamWidth(), points, 1,
                         static_cast<float>(bank->GetCameraX()), static_cast<float>(bank->GetCameraY()), startColour,
                         endColour, emitter.GetStartAlpha() / 255.0f, emitter.GetEndAlpha() / 255.0f, emitter.Blends(),
                         emitter.Tests(), emitter.Adds(), false);
}

void CStraightLaserEffect::DrawBeams(bool quads) const
{
    CGame* game = GetGame();
    CRenderer* renderer = g_renderer;
    CSpriteBank* bank = game ? game->GetSpriteBank() : nullptr;
    if (!renderer || !bank || !m_owner.Find())
        return;
    CStraightLaserEmitter& emitter = Emitter();
    const float* from = emitter.GetStartColour();
    for (const SBeam& beam : m_beams)
    {
        if (!beam.active || beam.points < 2)
            continue;
        const float colour[3] = {from[0] / 255.0f * beam.fade, from[1] / 255.0f * beam.fade,
                                 from[2] / 255.0f * beam.fade};
        const CVector2D* chain = emitter.GetChain(beam.chain);
        renderer->DrawRibbon(emitter.GetTexture(), emitter.GetBeamWidth(), &chain[0].x, beam.points - 1,
                             static_cast<float>(bank->GetCameraX()), static_cast<float>(bank->GetCameraY()), colour,
                             colour, 1.0f, 1.0f, emitter.Blends(), emitter.Tests(), emitter.Adds(), quads);
    }
}
