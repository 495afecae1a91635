// The mothership's turrets, reached by number: one the data does not have counts as
// dead and absent.

#include "core/DataTree.h"
#include "ships/Mothership.h"
#include "world/Game.h"

namespace
{
uint32_t TurretBit(int index)
{
    return index >= 0 && index < CTurretGroup::MAX_TURRETS ? 1u << index : 0u;
}

CVector2D VelocityPerSecondOf(const CGameObject& object)
{
    return object.GetBody().velocity * static_cast<float>(GAME_TICKS_PER_SECOND);
}
} // namespace

void CEnemyMothership::ReadTurrets(const CDataTree& section, CDefinitionProblems& problems)
{
    m_turretsOffForGood = 0;
    if (const CDataTree* node = section.FindBlock("turretGroup"))
        m_turrets.Parse(*node, *this, problems);
    else
        m_turrets.Clear();
}

void CEnemyMothership::ChooseTurretTargets()
{
    m_turrets.ChooseTargets(*this, m_nearby, false);
}

void CEnemyMothership::PlaceTurrets()
{
    m_turrets.Place(*this, m_ports.get(), static_cast<size_t>(m_portCount));
}

void CEnemyMothership::ShowTurrets(bool visible)
{
    m_turrets.SetVisible(visible);
}

void CEnemyMothership::EnableTurrets(bool enabled)
{
    m_turrets.SetDisabled(!enabled, -1);
}

void CEnemyMothership::UpdateTurrets()
{
    m_turrets.Update(*this);
}

void CEnemyMothership::SpillGems(const CVector2D& point)
{
    m_turrets.SpillGems(point);
}

int CEnemyMothership::GetTurretCount() const
{
    return m_turrets.GetCount();
}

bool CEnemyMothership::IsTurretAlive(int index) const
{
    const STurret* turret = m_turrets.GetTurret(index);
    return turret && turret->IsLive();
}

bool CEnemyMothership::IsAnyTurretAlive() const
{
    for (int i = 0; i < GetTurretCount(); ++i)
        if (IsTurretAlive(i))
            return true;
    return false;
}

void CEnemyMothership::SwitchTurret(int index, bool on)
{
    if (!m_turrets.GetTurret(index) || (m_turretsOffForGood & TurretBit(index)))
        return;
    m_turrets.SetDisabled(!on, index);
}

void CEnemyMothership::DisableTurret(int index)
{
    if (!m_turrets.GetTurret(index))
        return;
    m_turretsOffForGood |= TurretBit(index);
    m_turrets.SetDisabled(true, index);
}

void CEnemyMothership::DamageTurretsOnHitPart(int32_t damage)
{
    m_turrets.Damage(*this, &m_objectBody, damage, true, -1);
}

void CEnemyMothership::DamageTurret(int index, int32_t damage)
{
    m_turrets.Damage(*this, &m_objectBody, damage, false, index);
}

bool CEnemyMothership::GetTurretCycle(int index, uint32_t& lastShot, uint32_t& interval, uint32_t& charge) const
{
    const STurret* turret = m_turrets.GetTurret(index);
    if (!turret)
        return false;
    lastShot = turret->lastFire;
    interval = turret->fireInterval;
    charge = turret->chargeTime;
    return true;
}

void CEnemyMothership::RestartTurretCycle(int index, uint32_t now)
{
    if (STurret* turret = m_turrets.GetTurret(index))
        turret->lastFire = now;
}

void CEnemyMothership::RunTurretBeam(int index, int stage)
{
    STurret* turret = m_turrets.GetTurret(index);
    if (!turret || !turret->IsLive())
    {
        if (turret)
        {
            turret->weaponEffect.StopEmitting();
            turret->notFiringEffect.StopEmitting();
        }
        return;
    }
    // The muzzle: the launch offset turned by the turret's resting heading.
    CVector2D muzzle = turret->launchOffset;
    muzzle.Rotate(turret->defaultAngle);
    const CVector2D velocity = VelocityPerSecondOf(*this);
    const CVector2D at = turret->position + muzzle;
    switch (stage)
    {
    case 0:
        // A new cycle charges: the beam of the last one has stopped.
        turret->weaponEffect.StopEmitting();
        turret->notFiringEffect.Place(at, turret->defaultAngle, velocity);
        if (!turret->notFiringEffect.IsRunning() || turret->notFiringEffect.IsEmittingStopped())
        {
            turret->notFiringEffect.Start();
            turret->notFiringEffect.ResumeEmitting();
        }
        break;
    case 1:
        turret->notFiringEffect.StopEmitting();
        break;
    default:
        turret->notFiringEffect.StopEmitting();
        turret->weaponEffect.Place(at, turret->defaultAngle, velocity);
        if (!turret->weaponEffect.IsRunning() || turret->weaponEffect.IsEmittingStopped())
        {
            turret->weaponEffect.Start();
            turret->weaponEffect.ResumeEmitting();
        }
        break;
    }
}

bool CEnemyMothership::TakeTurretHit(int32_t amount)
{
    return m_turrets.Damage(*this, &m_objectBody, amount, false, -1);
}
