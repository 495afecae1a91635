#include "ships/EngineFlameSet.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "presentation/AnimationClock.h"
#include "presentation/CollisionTag.h"
#include "presentation/DefinitionBlocks.h"
#include "presentation/ObjectBody.h"
#include "presentation/SpriteTypes.h"
#include "ships/EnemyObject.h"
#include "ships/EnemyTargets.h"
#include "world/GameObject.h"

#include <cmath>

namespace
{
constexpr float LIT_SCALE = 2.0f;
constexpr float BRAKING_SCALE = 1.0f;

uint16_t FrameOf(int32_t value)
{
    return static_cast<uint16_t>(value < 0 ? 0 : (value > 0xFFFF ? 0xFFFF : value));
}
} // namespace

bool CEngineFlameSet::Parse(const CDataTree& node, const CGameObject& owner, CDefinitionProblems& problems)
{
    m_flames.reset();
    m_count = 0;
    int32_t count = 0;
    if (!ReadDefinitionCount(node, "numEngines", MAX_ENGINES, count, problems))
        return false;
    if (count == 0)
        return true;
    if (const CDataTree* sprite = node.FindBlock("sprite"))
        m_spriteRef.Load(*sprite, true);
    m_flames.reset(new SEngineFlame[static_cast<size_t>(count)]);
    m_count = count;
    bool complete = true;
    for (int32_t i = 0; i < count; ++i)
    {
        const CDataTree* block = FindNumberedBlock(node, "engine", i, true, problems);
        if (!block)
        {
            complete = false;
            continue;
        }
        SEngineFlame& flame = m_flames[static_cast<size_t>(i)];
        block->GetVec2("pos", flame.pos);
        int32_t plane = 0;
        block->GetInt("drawPlane", plane);
        block->GetFloat("angle", flame.angle);
        block->GetFloat("fallOff", flame.fallOff);
        block->GetBool("rotated", flame.rotated);
        std::string emitter;
        ReadEffectName(*block, "emitter", emitter);
        flame.emitter.Spawn(emitter, &owner);
        char tag[DATA_VALUE_MAX + 1] = "";
        if (block->GetString("tag", tag, sizeof(tag)) && tag[0])
            flame.tag = PackCollisionTag(tag);
        int32_t frame = 0;
        if (block->GetInt("startFrame", frame))
            flame.startFrame = FrameOf(frame);
        frame = flame.startFrame;
        block->GetInt("endFrame", frame);
        flame.endFrame = FrameOf(frame);
        flame.frame = flame.startFrame;
        block->GetBool("flash", flame.flash);
        block->GetBool("invertX", flame.invertX);
        block->GetBool("invertY", flame.invertY);
        flame.sprite.Init(m_spriteRef, BASE_PLANE + plane);
        flame.sprite.SetForceRotate(true);
        flame.sprite.SetScale(LIT_SCALE, LIT_SCALE);
        flame.sprite.SetFrame(flame.frame);
        if (flame.rotated)
            flame.sprite.SetAngle(flame.angle);
    }
    return complete;
}

const SEngineFlame* CEngineFlameSet::GetFlame(int32_t index) const
{
    return index >= 0 && index < m_count ? &m_flames[static_cast<size_t>(index)] : nullptr;
}

void CEngineFlameSet::SetAllEnabled(bool enabled)
{
    m_allOn = enabled;
    for (int32_t i = 0; i < m_count; ++i)
        m_flames[static_cast<size_t>(i)].lit = enabled;
}

void CEngineFlameSet::Hide(SEngineFlame& flame)
{
    flame.lit = m_allOn;
    flame.sprite.Hide();
    flame.emitter.StopEmitting();
}

void CEngineFlameSet::Update(const CGameObject& owner, const CVector2D& thrust, const CObjectBody* body)
{
    const CVector2D& velocity = owner.GetBody().velocity;
    CVector2D direction = thrust;
    m_braking = false;
    if (direction.x == 0.0f && direction.y == 0.0f && velocity.Length() > BRAKING_SPEED)
    {
        // Coasting: the engines brake against the motion.
        direction = CVector2D(-velocity.x, -velocity.y);
        m_braking = true;
    }
    const bool hideAll = m_allHidden || (!m_allOn && direction.x == 0.0f && direction.y == 0.0f);
    const float heading = HeadingOf(direction);
    const CVector2D emitterVelocity = velocity * static_cast<float>(GAME_TICKS_PER_SECOND);
    const uint32_t now = GetGameClock();
    for (int32_t i = 0; i < m_count; ++i)
    {
        SEngineFlame& flame = m_flames[static_cast<size_t>(i)];
        CVector2D base = owner.GetPosition();
        // A tag that names no live part leaves the flame on the owner.
        if (flame.tag != 0 && body)
            for (size_t p = 0; p < body->GetPartCount(); ++p)
                if (body->GetPart(p).m_tag == flame.tag)
                {
                    base = body->GetPart(p).m_sprite.GetPosition();
                    break;
                }
        const CVector2D place = base + flame.pos;
        flame.sprite.SetPosition(place);
        flame.sprite.SetScale(BRAKING_SCALE, BRAKING_SCALE);
        flame.emitter.Place(place, flame.angle - 180.0f, emitterVelocity);
        const bool lit = !hideAll && (m_allOn || std::fabs(TurnBetween(heading, flame.angle)) < flame.fallOff);
        if (!lit)
        {
            Hide(flame);
            continue;
        }
        flame.lit = true;
        flame.sprite.Show();
        const float scale = m_braking && !m_allOn ? BRAKING_SCALE : LIT_SCALE;
        flame.sprite.SetScale(scale, scale);
        flame.emitter.SetEmissionScale(m_braking && !m_allOn ? BRAKING_RATE : 1.0f);
        if (!flame.emitter.IsRunning() || flame.emitter.IsEmittingStopped())
        {
            flame.emitter.Start();
            flame.emitter.ResumeEmitting();
        }
        flame.sprite.SetFlags(SPRITE_MIRROR_X, flame.invertX);
        flame.sprite.SetFlags(SPRITE_MIRROR_Y, flame.invertY);
        if (flame.rotated)
            flame.sprite.SetAngle(flame.angle);
        else if (flame.startFrame != flame.endFrame && now - flame.frameTime >= FRAME_MS)
        {
            flame.frameTime = now;
            flame.frame = flame.frame >= flame.endFrame ? flame.startFrame : static_cast<uint16_t>(flame.frame + 1);
            flame.sprite.SetFrame(flame.frame);
        }
        if (flame.flash)
        {
            flame.flashShown = !flame.flashShown;
            if (!flame.flashShown)
                flame.sprite.Hide();
        }
    }
}
