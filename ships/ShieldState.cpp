#include "ships/ShieldState.h"

#include "ships/ComponentDef.h"
#include "ships/ShipPlacement.h"
#include "world/GameObject.h"

void SShieldState::Reset()
{
    m_effect.Release();
    m_edgeEffect.Release();
    m_energy = m_capacity = 0.0f;
    m_def = nullptr;
    m_active = m_raised = m_suspended = false;
}

void SShieldState::SetUp(const CGameObject& ship)
{
    if (m_def)
    {
        m_effect.Spawn(m_def->m_shieldEffect, &ship);
        m_edgeEffect.Spawn(m_def->m_shieldEdgeEffect, &ship);
    }
    m_active = true;
}

void SShieldState::Absorb(int32_t& damage)
{
    if (!m_active || m_suspended || !m_def)
        return;
    const int32_t energy = static_cast<int32_t>(m_energy);
    if (damage < energy)
    {
        m_energy -= static_cast<float>(damage);
        damage = 0;
    }
    else
    {
        damage -= energy;
        m_energy = 0.0f;
    }
    if (!m_effect.IsRunning())
        m_effect.Start();
}

void SShieldState::SetSuspended(bool suspended)
{
    m_suspended = suspended;
    if (suspended)
        m_edgeEffect.Stop();
}

float SShieldState::GetStrength() const
{
    // A design whose shields need no energy has nothing to show.
    return m_capacity > 0.0f ? m_energy / m_capacity : 0.0f;
}

void SShieldState::Follow(const CGameObject& ship)
{
    m_raised = m_energy > 0.0f;
    if (m_suspended)
        return;
    const CVector2D velocity = VelocityPerSecond(ship);
    m_effect.Place(ship.GetPosition(), ship.GetBody().angle, velocity);
    m_edgeEffect.Place(ship.GetPosition(), ship.GetBody().angle, velocity);
    m_edgeEffect.SetEmissionScale(GetStrength());
    if (m_energy > 0.0f)
    {
        if (!m_edgeEffect.IsRunning())
            m_edgeEffect.Start();
    }
    else if (m_edgeEffect.IsRunning())
        m_edgeEffect.Stop();
}
