#include "ships/ShipRuntime.h"

#include "ships/ShipComponentDatabase.h"
#include "world/GameObject.h"

#include <algorithm>

void SFrameEnergy::Spend(float amount)
{
    if (amount <= generator)
    {
        generator -= amount;
        return;
    }
    amount -= generator;
    generator = 0.0f;
    pool = std::max(0.0f, pool - amount);
}

float SFrameEnergy::Draw(float amount)
{
    float paid = std::max(0.0f, std::min(amount, GetAvailable()));
    Spend(paid);
    return paid;
}

void CShipRuntime::Clear()
{
    m_hull.reset();
    for (std::unique_ptr<CShipComponent>& instance : m_instances)
        instance.reset();
    m_builtInBeam.reset();
    m_instanceCount = 0;
    m_overloadFactor = 0.0f;
    m_shield.Reset();
    m_cargo = SCargoHold();
    m_controls = SShipControls();
    m_generatorEnergy = m_energyLeft = m_batteryCapacity = m_batteryCharge = 0.0f;
    std::fill(std::begin(m_hullSlots), std::end(m_hullSlots), nullptr);
}

bool CShipRuntime::Build(const CShipConfig& design, const CShipComponentDatabase& database, CGameObject& ship)
{
    Clear();
    const CHullDef* hull = database.GetHullDef(design.m_hull);
    if (!hull)
        return false;
    m_design = &design;
    m_database = &database;
    m_ship = &ship;
    m_hull = std::make_unique<CHullComponent>(*hull, *this, -1);

    m_instanceCount = std::clamp(design.m_podCount, 0, INSTANCE_MAX);
    int32_t drones = 0;
    for (int32_t i = 0; i < m_instanceCount; ++i)
    {
        const SShipPod& pod = design.m_pods[i];
        const CShipComponentDef* def = database.GetComponentDef(pod.m_kind, pod.m_defIndex);
        if (!def || pod.m_kind == COMPONENT_NONE)
            continue;
        m_instances[i] = MakeShipComponent(*def, *this, i, drones);
        if (def->m_kind == COMPONENT_DRONE)
            ++drones;
        if (def->m_kind == COMPONENT_SHIELD && !m_shield.m_def)
            m_shield.m_def = static_cast<const CShieldDef*>(def);
    }
    // A new ship sets out with its shield full.
    for (int32_t i = 0; i < m_instanceCount; ++i)
        if (m_instances[i] && m_instances[i]->GetKind() == COMPONENT_SHIELD)
            m_shield.m_capacity += static_cast<float>(m_instances[i]->GetDef().m_energyRequirement);
    m_shield.m_energy = m_shield.m_capacity;
    for (int32_t i = 0; i < m_instanceCount; ++i)
        m_hullSlots[i] = hull->FindSlot(design.m_pods[i].m_topLeft);
    SetLaunchOffsets();

    if (const CShipComponentDef* beam = database.GetFirstDef(COMPONENT_GRAVITY_BEAM))
        m_builtInBeam = std::make_unique<CGravityBeamComponent>(*beam, *this, -1);

    // With engines rated for less than the ship weighs it drifts: the overload.
    float mass = static_cast<float>(GetTotalMass());
    float rated = 0.0f;
    for (int32_t i = 0; i < m_instanceCount; ++i)
        if (m_instances[i] && m_instances[i]->GetKind() == COMPONENT_ENGINE)
            rated += static_cast<float>(m_instances[i]->GetDefAs<CEngineDef>().m_massDampingRated);
    m_overloadFactor = rated > 0.0f && mass > rated ? (mass - rated) / rated : 0.0f;
    return true;
}

// Shots leave from the pod's own cell when it is on the hull's edge, else from the
// cell to its right when that one is; otherwise from the ship's centre.
void CShipRuntime::SetLaunchOffsets()
{
    const CHullDef* hull = m_database->GetHullDef(m_design->m_hull);
    for (int32_t i = 0; i < m_instanceCount; ++i)
    {
        CShipComponent* instance = m_instances[i].get();
        if (!instance)
            continue;
        const EComponentKind kind = instance->GetKind();
        CVector2D offset;
        const SHullPodSlot* slot = m_hullSlots[i];
        const CVector2D right(m_design->m_pods[i].m_topLeft.x + 1.0f, m_design->m_pods[i].m_topLeft.y);
        const SHullPodSlot* rightSlot = hull->FindSlot(right);
        if (slot && !slot->m_internal)
            offset = slot->m_launchOffset;
        else if (rightSlot && !rightSlot->m_internal)
            offset = rightSlot->m_launchOffset;
        if (kind == COMPONENT_PROJECTILE_GUN || kind == COMPONENT_LASER || kind == COMPONENT_MISSILE ||
            kind == COMPONENT_PINBEAM)
            static_cast<CWeaponComponent*>(instance)->SetLaunchOffset(offset);
        else if (kind == COMPONENT_GRAVITY_BEAM)
            static_cast<CGravityBeamComponent*>(instance)->SetLaunchOffset(offset);
    }
}

void CShipRuntime::SetThrottle(bool engine, bool forward, bool boost)
{
    if (engine && forward)
    {
        m_controls.thrust = true;
        m_controls.reverse = false;
        m_controls.boost = m_controls.boost || boost;
        return;
    }
    m_controls.reverse = engine;
    m_controls.thrust = false;
    m_controls.boost = false;
}

void CShipRuntime::SetGroupButtons(int group, bool down, bool shortPress, bool longHold)
{
    SGroupButtons& buttons = m_controls.groups[group == 1 ? 0 : 1];
    buttons.down = down;
    buttons.shortPress = shortPress;
    buttons.longHold = longHold;
}

void CShipRuntime::ClearControls()
{
    bool ammoLow = m_controls.ammoLow;
    bool ammoEmpty = m_controls.ammoEmpty;
    m_controls = SShipControls();
    m_controls.ammoLow = ammoLow;
    m_controls.ammoEmpty = ammoEmpty;
}

CVector2D CShipRuntime::GetThrust(const CVector2D& direction) const
{
    if (!m_controls.thrust && !m_controls.reverse)
        return CVector2D();
    float thrust = 0.0f;
    for (int32_t i = 0; i < m_instanceCount; ++i)
        if (m_instances[i] && m_instances[i]->GetKind() == COMPONENT_ENGINE)
            thrust += static_cast<float>(m_instances[i]->GetDefAs<CEngineDef>().m_thrust);
    if (m_controls.thrust && m_controls.boost)
        thrust *= 2.0f;
    if (m_controls.reverse)
        return direction * (thrust * -0.5f);
    return direction * thrust;
}

uint32_t CShipRuntime::GetTotalMass() const
{
    uint32_t mass = m_hull ? m_hull->GetDef().m_mass : 0;
    for (int32_t i = 0; i < m_instanceCount; ++i)
        if (m_instances[i])
            mass += m_instances[i]->GetDef().m_mass;
    return mass;
}

CShipComponent* CShipRuntime::GetInstance(int32_t pod) const
{
    return pod >= 0 && pod < m_instanceCount ? m_instances[pod].get() : nullptr;
}

CShipComponent* CShipRuntime::FindInstance(EComponentKind kind) const
{
    for (int32_t i = 0; i < m_instanceCount; ++i)
        if (m_instances[i] && m_instances[i]->GetKind() == kind)
            return m_instances[i].get();
    return nullptr;
}

int32_t CShipRuntime::GetVelocityLimit() const
{
    const CShipComponent* engine = FindInstance(COMPONENT_ENGINE);
    return engine ? engine->GetDefAs<CEngineDef>().m_velocityLimit : 0;
}

float CShipRuntime::GetDamping() const
{
    // Without an engine nothing holds the ship's drift back.
    const CShipComponent* engine = FindInstance(COMPONENT_ENGINE);
    if (!engine)
        return 1.0f;
    const float dampening = engine->GetDefAs<CEngineDef>().m_inertialDampening;
    if (dampening >= 1.0f)
        return dampening;
    if (m_overloadFactor > 1.0f)
        return 1.0f;
    return dampening + m_overloadFactor * (1.0f - dampening);
}

int32_t CShipRuntime::CountCargoPods() const
{
    int32_t count = 0;
    for (int32_t i = 0; i < m_instanceCount; ++i)
        if (m_instances[i] && m_instances[i]->GetKind() == COMPONENT_CARGO)
            ++count;
    return count;
}

bool CShipRuntime::TakeAmmo(EComponentKind weaponKind)
{
    EComponentKind store = weaponKind == COMPONENT_MISSILE ? COMPONENT_AMMO_MISSILE
                           : weaponKind == COMPONENT_BOMB  ? COMPONENT_AMMO_BOMB
                                                           : COMPONENT_NONE;
    for (int32_t i = 0; i < m_instanceCount; ++i)
    {
        CShipComponent* instance = m_instances[i].get();
        if (store != COMPONENT_NONE && instance && instance->GetKind() == store && instance->m_ammo > 0)
        {
            --instance->m_ammo;
            return true;
        }
    }
    return false;
}

void CShipRuntime::RefillAmmo()
{
    for (int32_t i = 0; i < m_instanceCount; ++i)
        if (m_instances[i] && m_instances[i]->GetDef().m_ammo > 0)
            m_instances[i]->m_ammo = m_instances[i]->GetDef().m_ammo;
}

bool CShipRuntime::IsListedWithoutHold(int32_t pod) const
{
    for (int group = 1; group <= 2; ++group)
        if (m_design && m_design->GetWeaponGroup(group).Contains(pod) && !GetGroupButtons(group).longHold)
            return true;
    return false;
}
