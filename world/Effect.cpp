#include "world/Effect.h"

#include "world/EffectCache.h"
#include "world/EffectDef.h"
#include "world/Emitter.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/World.h"

namespace
{
// Every walk over a parent's children has its own number, so a child the walk has
// handled is known when the walk starts again after its list changed under it.
uint32_t s_childPass = 0;
} // namespace

SEffectOwner SEffectOwner::Of(const CGameObject* object)
{
    SEffectOwner owner;
    if (object)
    {
        owner.handle = object->GetHandle();
        owner.team = object->GetTeam();
        owner.type = object->GetType();
    }
    return owner;
}

CGameObject* SEffectOwner::Find() const
{
    CGame* game = GetGame();
    if (handle == NO_OBJECT || !game || !game->GetWorld())
        return nullptr;
    return game->GetWorld()->GetObject(handle);
}

void SEffectRef::Set(CEffect* value)
{
    effect = value;
    serial = value ? value->GetUseSerial() : 0;
}

CEffect* SEffectRef::Get() const
{
    return effect && effect->IsInUse() && effect->GetUseSerial() == serial ? effect : nullptr;
}

CEffect::CEffect(CEmitter& emitter) : m_emitter(emitter)
{
    m_sound.SetEffect(&emitter.GetSound());
}

CEffect::~CEffect()
{
    CEffect::Release(true);
    m_owner = SEffectOwner();
    m_useStamp = 0;
    ReleaseAttachedChildren();
    m_sound.Stop();
}

const CEffectDef& CEffect::GetDefinition() const
{
    return m_emitter.GetDefinition();
}

void CEffect::TakeForUse(const SEffectOwner& owner, uint32_t stamp)
{
    // The reset of a stop, without the stop event: an event fired here would act at
    // the place of the instance's last use.
    StopInternal(false);
    Unlink();
    m_useStamp = stamp ? stamp : 1;
    ++m_useSerial;
    m_owner = owner;
    m_recyclable = false;
    m_trailedParticleGone = false;
    m_followed.Clear();
}

void CEffect::LinkParticle(SParticle& particle)
{
    particle.effect = this;
    particle.next = nullptr;
    particle.prev = m_lastParticle;
    if (m_lastParticle)
        m_lastParticle->next = &particle;
    else
        m_firstParticle = &particle;
    m_lastParticle = &particle;
    ++m_liveParticles;
}

void CEffect::UnlinkParticle(SParticle& particle)
{
    if (particle.effect != this)
        return;
    if (particle.prev)
        particle.prev->next = particle.next;
    else
        m_firstParticle = particle.next;
    if (particle.next)
        particle.next->prev = particle.prev;
    else
        m_lastParticle = particle.prev;
    particle.prev = particle.next = nullptr;
    particle.effect = nullptr;
    --m_liveParticles;
}

void CEffect::RemoveParticle(SParticle& particle)
{
    if (particle.effect != this)
        return;
    UnlinkParticle(particle);
    m_emitter.ReturnParticle(particle);
}

void CEffect::ReturnParticles()
{
    while (SParticle* particle = m_firstParticle)
    {
        UnlinkParticle(*particle);
        m_emitter.ReturnParticle(*particle);
    }
    m_liveParticles = 0;
    ++m_particleEpoch;
}

CVector2D CEffect::GetParticleWorldPosition(const SParticle& particle) const
{
    if (!m_emitter.IsOwnerRelative())
        return particle.position;
    CVector2D offset = particle.position;
    if (m_emitter.IsOwnerRelativeOri())
        offset.Rotate(m_heading);
    return m_position + offset;
}

void CEffect::StartCommon()
{
    SBusy busy(*this);
    for (CEffect* child = m_firstAttached; child; child = child->m_nextSibling)
        child->Start();
    m_running = true;
    m_emittingStopped = false;
    m_positionNotSet = true;
    m_emitter.FireEvent(EMITTER_EVENT_START, this, nullptr);
    m_sound.PlayAt(false, &m_position);
}

void CEffect::Start()
{
    StartCommon();
}

void CEffect::StopInternal(bool fireEvent)
{
    SBusy busy(*this);
    m_running = false;
    m_emittingStopped = false;
    m_sound.FadeOut();
    ReturnParticles();
    for (CEffect* child = m_firstAttached; child; child = child->m_nextSibling)
        child->Stop();
    if (fireEvent)
        m_emitter.FireEvent(EMITTER_EVENT_STOP, this, nullptr);
}

void CEffect::Stop()
{
    StopInternal(true);
}

void CEffect::StopEmitting()
{
    m_emittingStopped = true;
    if (m_sound.GetEffect() && m_sound.GetEffect()->Loops())
        m_sound.StopLooping();
    for (CEffect* child = m_firstAttached; child; child = child->m_nextSibling)
        child->StopEmitting();
}

void CEffect::ResumeEmitting()
{
    m_emittingStopped = false;
    m_sound.Restart(&m_position);
    for (CEffect* child = m_firstAttached; child; child = child->m_nextSibling)
        child->ResumeEmitting();
}

void CEffect::Update()
{
    SBusy busy(*this);
    UpdateChildren();
}

void CEffect::Release(bool detach)
{
    if (detach)
        MakeTrailChildrenIdle();
    ReturnParticles();
    if (IsInUse())
    {
        const bool trail = m_link == EFFECT_LINK_TRAIL;
        Unlink();
        if (trail)
            m_useStamp = 0;
        else
            GetDefinition().GetCache().RemoveLiveEffect(this);
    }
    ReleaseAttachedChildren();
    m_sound.FadeOut();
    m_running = false;
}

void CEffect::MakeIdle()
{
    Unlink();
    MakeTrailChildrenIdle();
    ReturnParticles();
    m_running = false;
    m_sound.FadeOut();
    if (IsInUse())
        GetDefinition().GetCache().RemoveLiveEffect(this);
    m_useStamp = 0;
}

void CEffect::MakeTrailChildrenIdle()
{
    while (CEffect* child = m_firstTrail)
        child->MakeIdle();
}

void CEffect::ReleaseAttachedChildren()
{
    while (CEffect* child = m_firstAttached)
    {
        child->Unlink();
        child->Release(true);
    }
}

void CEffect::Unlink()
{
    if (!m_parent)
        return;
    CEffect*& first = m_link == EFFECT_LINK_TRAIL ? m_parent->m_firstTrail : m_parent->m_firstAttached;
    CEffect*& last = m_link == EFFECT_LINK_TRAIL ? m_parent->m_lastTrail : m_parent->m_lastAttached;
    if (m_prevSibling)
        m_prevSibling->m_nextSibling = m_nextSibling;
    else
        first = m_nextSibling;
    if (m_nextSibling)
        m_nextSibling->m_prevSibling = m_prevSibling;
    else
        last = m_prevSibling;
    m_prevSibling = m_nextSibling = nullptr;
    m_parent = nullptr;
    m_link = EFFECT_LINK_NONE;
    m_followed.Clear();
}

void CEffect::AttachChild(CEffect* child)
{
    if (!child || child == this)
        return;
    child->Unlink();
    child->m_parent = this;
    child->m_link = EFFECT_LINK_ATTACHED;
    child->m_prevSibling = m_lastAttached;
    if (m_lastAttached)
        m_lastAttached->m_nextSibling = child;
    else
        m_firstAttached = child;
    m_lastAttached = child;
}

void CEffect::MakeTrailChild(CEffect& parent, SParticle* particle)
{
    if (&parent == this)
        return;
    Unlink();
    m_parent = &parent;
    m_link = EFFECT_LINK_TRAIL;
    m_prevSibling = parent.m_lastTrail;
    if (parent.m_lastTrail)
        parent.m_lastTrail->m_nextSibling = this;
    else
        parent.m_firstTrail = this;
    parent.m_lastTrail = this;
    m_followed.Set(particle);
}

void CEffect::SetPosition(const CVector2D& point)
{
    m_previousPosition = m_positionNotSet ? point : m_position;
    m_position = point;
    m_positionNotSet = false;
    for (CEffect* child = m_firstAttached; child; child = child->m_nextSibling)
        child->SetPosition(point);
}

void CEffect::SetDrawPlane(int plane)
{
    m_emitter.SetDrawPlane(plane);
}

void CEffect::UpdateChildren()
{
    // Trail children ride their particles; code they run may take a sibling away, so
    // the walk starts again from the front whenever the next one left the list.
    const uint32_t pass = ++s_childPass;
    CEffect* child = m_firstTrail;
    while (child)
    {
        CEffect* next = child->m_nextSibling;
        if (child->m_childPass != pass)
        {
            child->m_childPass = pass;
            SParticle* particle = child->m_followed.Get();
            if (particle && particle->effect == this)
            {
                CVector2D direction = particle->direction;
                if (m_emitter.IsOwnerRelativeOri())
                    direction.Rotate(m_heading);
                child->SetPosition(GetParticleWorldPosition(*particle));
                child->SetVelocity(direction * particle->speed);
                child->SetHeading(direction.GetAngle());
                if (!child->m_running)
                    child->Start();
                child->Update();
            }
            else if (child->m_emitter.WaitsForNoParticles())
            {
                child->m_trailedParticleGone = true;
                child->Update();
                if (child->m_liveParticles == 0 && child->m_parent == this)
                    child->MakeIdle();
            }
            else
            {
                child->MakeIdle();
            }
        }
        child = next && next->m_parent == this && next->m_link == EFFECT_LINK_TRAIL ? next : nullptr;
        if (!child && next)
            child = m_firstTrail;
        if (child && child->m_childPass == pass)
        {
            // Skip to the first one this walk has not handled.
            while (child && child->m_childPass == pass)
                child = child->m_nextSibling;
        }
    }

    const uint32_t attachedPass = ++s_childPass;
    child = m_firstAttached;
    while (child)
    {
        CEffect* next = child->m_nextSibling;
        if (child->m_childPass != attachedPass)
        {
            child->m_childPass = attachedPass;
            child->Update();
        }
        child = next && next->m_parent == this && next->m_link == EFFECT_LINK_ATTACHED ? next : nullptr;
        if (!child && next)
            child = m_firstAttached;
        while (child && child->m_childPass == attachedPass)
            child = child->m_nextSibling;
    }
}
