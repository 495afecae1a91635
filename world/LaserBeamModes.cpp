// The beam modes of a laser that run chains of points: homing, bounce and lightning.

#include "world/StraightLaserEmitter.h"

#include "core/Random.h"
#include "world/EffectCache.h"
#include "world/EffectDef.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/Quadtree.h"
#include "world/World.h"

#include <algorithm>
#include <cmath>
#include <vector>

static_assert(sizeof(CVector2D) == 2 * sizeof(float), "chains are handed to the renderer as x, y pairs");

namespace
{
// Lightning bolts grow by steps of 20 to 39 units.
constexpr float BOLT_STEP = 20.0f;
constexpr float BOUNCE_LIFE_MS = 500.0f;

uint32_t Now()
{
    CGame* game = GetGame();
    return game ? game->GetTime() : 0;
}

CVector2D Unit(float degrees)
{
    CVector2D unit;
    unit.SetFromAngle(degrees);
    return unit;
}

CVector2D Normalised(CVector2D vector)
{
    vector.Normalise();
    return vector;
}

CGameObject* FindObject(int32_t handle)
{
    CGame* game = GetGame();
    return handle != 0 && game && game->GetWorld() ? game->GetWorld()->GetObject(handle) : nullptr;
}
} // namespace

// ---- Homing ----------------------------------------------------------------------

bool CStraightLaserEffect::StartHoming()
{
    CStraightLaserEmitter& emitter = Emitter();
    FreeBeams();
    for (SBeam& beam : m_beams)
    {
        beam.fade = 1.0f;
        beam.hit = false;
    }
    const int32_t count = emitter.GetBeamCount();
    const float segment = emitter.GetBeamLength() / static_cast<float>(emitter.GetMaxSegments());
    for (int32_t k = 0; k < count; ++k)
    {
        SBeam& beam = m_beams[k];
        beam.chain = emitter.TakeChain();
        if (beam.chain < 0)
            continue;
        beam.points = 0;
        AppendPoint(beam, m_position);
        AppendPoint(beam, m_position + Unit(m_heading + static_cast<float>(k) * 360.0f / static_cast<float>(count)) *
                                           segment);
        beam.turn = 0.01f;
        beam.active = true;
        beam.hit = false;
        ++m_activeBeams;
        if (emitter.GetAttachedEffect()[0])
            beam.attached.Set(GetDefinition().GetCache().SpawnEffect(emitter.GetAttachedEffect(), m_owner, true));
    }
    // A step of one segment at the beam's speed, never shorter than a millisecond.
    const float period = segment / emitter.GetSpeed() * 1000.0f;
    m_stepPeriod = period >= 1.0f && period < 1e6f ? static_cast<uint32_t>(period) : (period < 1.0f ? 1u : 1000000u);
    m_lastStep = Now();
    if (m_activeBeams == 0)
        return false;
    m_target = SearchHomingTarget();
    return true;
}

int32_t CStraightLaserEffect::SearchHomingTarget() const
{
    CGame* game = GetGame();
    if (!game)
        return 0;
    if (m_owner.team == BAD_TEAM)
    {
        if (CGameObject* ship = FindObject(game->GetPlayerShipHandle()))
            return ship->GetHandle();
    }
    if (!game->GetQuadtree())
        return 0;
    std::vector<CGameObject*> nearby;
    game->GetQuadtree()->QueryObjects(m_position, Emitter().GetMaxBeamLength(), nearby, true, true);
    const CGameObject* nearest = nullptr;
    float best = 0.0f;
    for (const CGameObject* object : nearby)
    {
        if (object->GetTeam() == m_owner.team || object->GetType() == OBJECT_ASTEROID ||
            object->GetBody().health <= 0 || object->GetInfo().warpState != WARP_NONE)
            continue;
        const CVector2D between = object->GetPosition() - m_position;
        const float distance = between.x * between.x + between.y * between.y;
        if (!nearest || distance < best)
        {
            nearest = object;
            best = distance;
        }
    }
    return nearest ? nearest->GetHandle() : 0;
}

void CStraightLaserEffect::RunHoming(uint32_t now)
{
    const uint32_t elapsed = now - m_lastStep;
    if (m_stepPeriod > 0 && elapsed >= m_stepPeriod)
    {
        m_lastStep = now;
        const uint32_t steps = std::max<uint32_t>(1, elapsed / m_stepPeriod);
        const CGameObject* target = FindObject(m_target);
        if (!target)
            target = FindObject(SearchHomingTarget());
        for (SBeam& beam : m_beams)
            for (uint32_t i = 0; i < steps && beam.active; ++i)
                StepHoming(beam, target);
    }
    DrawBeams(false);
}

void CStraightLaserEffect::StepHoming(SBeam& beam, const CGameObject* target)
{
    CStraightLaserEmitter& emitter = Emitter();
    if (beam.hit)
    {
        DropOldestPoint(beam);
        if (beam.points <= 1)
            EndBeam(beam);
        return;
    }
    const CVector2D* chain = emitter.GetChain(beam.chain);
    const CVector2D head = chain[beam.points - 1];
    const CVector2D last = Normalised(head - chain[beam.points - 2]);
    const CVector2D wanted = target ? Normalised(target->GetPosition() - head) : last;
    if (CGameObject* object = FindHitAt(head, 0))
    {
        CGameObject* owner = m_owner.Find();
        Strike(*object, head, owner ? owner->GetBody().velocity * 25.0f : CVector2D());
        beam.hit = true;
        return;
    }
    const CVector2D direction = Normalised(last + (wanted - last) * beam.turn);
    if (beam.turn < 0.25f)
        beam.turn += 0.0001f + static_cast<float>(GameRand() % 100) * 0.00001f;
    const CVector2D next =
        head + direction * (emitter.GetBeamLength() / static_cast<float>(emitter.GetMaxSegments()));
    if (beam.points > CStraightLaserEmitter::CHAIN_POINTS - 1 || beam.points > emitter.GetMaxSegments())
        DropOldestPoint(beam);
    AppendPoint(beam, next);
    if (CEffect* attached = beam.attached.Get())
    {
        attached->SetPosition(next);
        attached->SetHeading(direction.GetAngle());
    }
}

// ---- Bounce ----------------------------------------------------------------------

bool CStraightLaserEffect::StartBounce()
{
    CStraightLaserEmitter& emitter = Emitter();
    const int32_t count = std::min(emitter.GetBeamCount(), CStraightLaserEmitter::MAX_BEAMS);
    const CVector2D& range = emitter.GetAngleRange();
    const float step = count > 1 ? (range.y - range.x) / static_cast<float>(count - 1) : 0.0f;
    const float stepLength = emitter.GetSpeed() / 25.0f;
    const uint32_t now = Now();
    int32_t made = 0;
    int record = 0;
    for (int32_t k = 0; k < count; ++k)
    {
        // Beams still flying from an earlier start keep their records.
        while (record < CStraightLaserEmitter::MAX_BEAMS && m_beams[record].active)
            ++record;
        if (record >= CStraightLaserEmitter::MAX_BEAMS)
            break;
        SBeam& beam = m_beams[record];
        beam.chain = emitter.TakeChain();
        if (beam.chain < 0)
            continue;
        beam.points = 0;
        const CVector2D direction = Unit(m_heading + range.x + static_cast<float>(k) * step);
        AppendPoint(beam, m_position);
        AppendPoint(beam, m_position + direction * stepLength);
        beam.direction = direction;
        beam.fade = 1.0f;
        beam.target = 0;
        beam.endTime = now + static_cast<uint32_t>(BOUNCE_LIFE_MS);
        beam.active = true;
        ++m_activeBeams;
        ++made;
    }
    return made > 0;
}

void CStraightLaserEffect::RunBounce(uint32_t now)
{
    CStraightLaserEmitter& emitter = Emitter();
    const float stepLength = emitter.GetSpeed() / 25.0f;
    for (SBeam& beam : m_beams)
    {
        if (!beam.active)
            continue;
        if (static_cast<int32_t>(now - beam.endTime) > 0)
        {
            beam.fade *= 0.8f;
            if (beam.fade < 0.01f)
                EndBeam(beam);
            continue;
        }
        CVector2D* chain = emitter.GetChain(beam.chain);
        const CVector2D head = chain[beam.points - 1];
        if (CGameObject* object = FindHitAt(head, beam.target))
        {
            CGameObject* owner = m_owner.Find();
            Strike(*object, head, owner ? owner->GetBody().velocity * 25.0f : CVector2D());
            beam.target = object->GetHandle();
            CVector2D away = Normalised(head - object->GetPosition());
            if (away.x == 0.0f && away.y == 0.0f)
                away = Normalised(chain[0] - head);
            if (beam.points > CStraightLaserEmitter::CHAIN_POINTS - 1 || beam.points > emitter.GetMaxSegments())
                DropOldestPoint(beam);
            AppendPoint(beam, emitter.GetChain(beam.chain)[beam.points - 1] + away * stepLength);
        }
        else
        {
            const CVector2D along = Normalised(chain[beam.points - 1] - chain[beam.points - 2]);
            chain[beam.points - 1] += along * stepLength;
        }
        // At most beamLength long: the tail follows.
        chain = emitter.GetChain(beam.chain);
        float total = 0.0f;
        for (int32_t i = 1; i < beam.points; ++i)
            total += (chain[i] - chain[i - 1]).Length();
        const float excess = total - emitter.GetBeamLength();
        if (excess > 1.0f && beam.points >= 2)
        {
            const CVector2D first = chain[1] - chain[0];
            const float firstLength = first.Length();
            if (firstLength < excess && beam.points > 2)
                DropOldestPoint(beam);
            else if (firstLength > 0.0f)
                chain[0] += first * (std::min(excess, firstLength) / firstLength);
        }
        if (CEffect* attached = beam.attached.Get())
            attached->SetPosition(emitter.GetChain(beam.chain)[beam.points - 1]);
    }
    DrawBeams(false);
}

// ---- Lightning -------------------------------------------------------------------

bool CStraightLaserEffect::StartLightning()
{
    CStraightLaserEmitter& emitter = Emitter();
    FreeBeams();
    for (SBeam& beam : m_beams)
    {
        beam.target = 0;
        beam.fade = 1.0f;
        beam.done = false;
        beam.hit = false;
        beam.waiting = true;
    }
    m_beams[0].waiting = false;
    m_beams[0].direction = Unit(m_heading);
    m_defaultAim = m_position + Unit(m_heading) * emitter.GetMaxBeamLength();
    const int32_t count = emitter.GetBeamCount();
    int record = 0;
    for (int32_t i = 0; i < count && record < CStraightLaserEmitter::MAX_BEAMS; ++i)
    {
        SBeam& beam = m_beams[record];
        beam.chain = emitter.TakeChain();
        if (beam.chain < 0)
            continue;
        beam.points = 0;
        AppendPoint(beam, m_position);
        AppendPoint(beam, m_position + Unit(m_heading) * BOLT_STEP);
        beam.active = true;
        ++m_activeBeams;
        ++record;
    }
    if (m_activeBeams == 0)
        return false;
    m_targets.clear();
    CGame* game = GetGame();
    if (game && game->GetQuadtree())
    {
        std::vector<CGameObject*> nearby;
        game->GetQuadtree()->QueryObjects(m_position, emitter.GetMaxBeamLength(), nearby, true, true);
        for (const CGameObject* object : nearby)
            if (object->GetTeam() != m_owner.team && object->GetInfo().warpState == WARP_NONE)
                m_targets.push_back(object->GetHandle());
    }
    return true;
}

void CStraightLaserEffect::RunLightning()
{
    CGameObject* owner = m_owner.Find();
    if (!owner)
        return;
    CStraightLaserEmitter& emitter = Emitter();
    int32_t budget = emitter.GetMaxSegments();
    const int32_t count = std::min(emitter.GetBeamCount(), CStraightLaserEmitter::MAX_BEAMS);
    for (int32_t b = 0; b < count; ++b)
    {
        // Later bolts are shorter.
        budget = static_cast<int32_t>(static_cast<float>(budget) * 0.85f);
        SBeam& beam = m_beams[b];
        if (!beam.active)
            continue;
        if (beam.done)
        {
            beam.fade *= 0.9f;
            continue;
        }
        CVector2D aim = m_defaultAim;
        float aimRadius = 0.0f;
        if (!m_targets.empty())
        {
            CGameObject* target = FindObject(beam.target);
            if (!target || target->GetBody().health <= 0)
            {
                beam.target = m_targets[GameRand() % static_cast<uint32_t>(m_targets.size())];
                target = FindObject(beam.target);
            }
            if (target)
            {
                aim = target->GetPosition();
                aimRadius = *target->GetRadius();
            }
        }
        CVector2D* chain = emitter.GetChain(beam.chain);
        const CVector2D head = chain[beam.points - 1];
        if (beam.points >= CStraightLaserEmitter::CHAIN_POINTS - 1 || beam.points >= budget ||
            (head - owner->GetPosition()).Length() > emitter.GetBeamLength())
        {
            beam.done = true;
            continue;
        }
        bool added = false;
        if (b == 0 || !beam.waiting)
        {
            const CVector2D toward = aim - head;
            const float length = toward.Length();
            if (length - aimRadius < BOLT_STEP)
            {
                added = AppendPoint(beam, head + Normalised(toward) * BOLT_STEP);
                beam.done = true;
            }
            else
            {
                const CVector2D last = Normalised(head - chain[beam.points - 2]);
                CVector2D direction = Normalised(last + (Normalised(toward) - last) * 0.4f);
                float turn = static_cast<float>(GameRand() % 45);
                if (GameRand() % 2 == 1)
                    turn = -turn;
                direction.Rotate(turn);
                added = AppendPoint(beam, head + direction * (BOLT_STEP + static_cast<float>(GameRand() % 20)));
            }
        }
        else
        {
            const SBeam& leader = m_beams[0];
            if (GameRand() % 10 == 1 || beam.points >= leader.points || leader.chain < 0)
                beam.waiting = false;
            else
                added = AppendPoint(beam, emitter.GetChain(leader.chain)[beam.points]);
        }
        if (!added)
            continue;
        const CVector2D point = emitter.GetChain(beam.chain)[beam.points - 1];
        if (CGameObject* object = FindHitAt(point, 0))
        {
            Strike(*object, point, m_velocity);
            beam.done = true;
        }
    }
    DrawBeams(true);
}
