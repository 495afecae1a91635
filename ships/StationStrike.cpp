#include "ships/StationStrike.h"

#include "presentation/AnimationClock.h"
#include "presentation/EffectRequests.h"
#include "presentation/ObjectBody.h"
#include "ships/Station.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/World.h"

#include <algorithm>

bool CStationStrike::Launch(CStation& owner, int32_t target)
{
    if (m_active)
        return false;
    m_target = target;
    m_endTime = 0;
    m_active = true;
    CObjectBody& body = owner.GetObjectBody();
    // A body said to have fewer frames shows its last one for each.
    const uint32_t frames = body.GetSpriteRef().GetFrameCount();
    const auto frameOf = [frames](uint32_t frame) { return frames == 0 ? frame : std::min(frame, frames - 1); };
    body.GetSprite().SetFrame(frameOf(SPENT_FRAME));
    m_position = owner.GetPosition();
    m_sprite.Destroy();
    m_sprite.Init(body.GetSpriteRef(), PLANE);
    m_sprite.SetFrame(frameOf(CORE_FRAME));
    m_sprite.SetPosition(m_position);
    m_sprite.SetScale(1.0f, 1.0f);
    m_sprite.Show();
    if (STurret* turret = owner.GetTurrets().GetTurret(0))
        turret->sprite.SetPlane(TURRET_PLANE);
    m_started = true;
    return true;
}

void CStationStrike::End(CStation& owner)
{
    CTurretGroup& turrets = owner.GetTurrets();
    if (STurret* turret = turrets.GetTurret(0))
    {
        turrets.SetDisabled(true, 0);
        turret->sprite.Hide();
        turret->health = 0;
    }
    m_sprite.Hide();
    m_active = false;
    if (CGame* game = GetGame())
        game->GetDirector().OnStationStrikeDone();
}

void CStationStrike::Update(CStation& owner, uint32_t now)
{
    if (!m_active)
        return;
    CWorld* world = GetRunningWorld();
    CGameObject* target = world && m_target != NO_OBJECT ? world->GetObject(m_target) : nullptr;
    if (!target)
    {
        if (m_endTime == 0)
        {
            m_endTime = now + AFTERMATH_MS;
            if (m_endTime == 0)
                m_endTime = 1;
            // Set off where the strike is, belonging to no one.
            GetEffectRequests().StartEffect(EXPLOSION_EFFECT, NO_OBJECT, m_position, CVector2D());
        }
        else if (HasTimeCome(now, m_endTime))
            End(owner);
        return;
    }
    const CVector2D toTarget = target->GetPosition() - m_position;
    const float distance = toTarget.Length();
    if (distance < *target->GetRadius() + REACH)
    {
        target->TakeDamage(0, nullptr, DAMAGE_KIND, DAMAGE);
        return;
    }
    m_position = m_position + toTarget * (SPEED / distance);
    m_sprite.SetPosition(m_position);
    owner.GetTurrets().SetDisabled(true, 0);
}
