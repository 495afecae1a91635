// The ship's energy economy, once a frame, and the parts' work after the ship has
// moved.

#include "ships/ShipRuntime.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/ZoneLink.h"

#include <algorithm>

// What the parts add up to at the start of a step.
struct CShipRuntime::SStepTotals
{
    float engineDemand = 0.0f;
    float generator = 0.0f;
    float batteryCapacity = 0.0f;
    float batteryPool = 0.0f;
    int32_t missileRounds = 0;
    int32_t missileFull = 0;
    int32_t bombRounds = 0;
    int32_t bombFull = 0;
    float beamDemand = 0.0f;
    int32_t beamPod = -1; // the last beam's pod
    float shieldCapacity = 0.0f;
    int32_t shieldCount = 0;
};

namespace
{
// A per-second rate's share of one frame (divided, so that whole rates give the
// nearest float to their exact share).
float PerFrame(float perSecond)
{
    return perSecond / static_cast<float>(CShipRuntime::FRAMES_PER_SECOND);
}

float PerFrame(int32_t perSecond)
{
    return PerFrame(static_cast<float>(perSecond));
}

// Rounds count only where a part has them (-1 is none).
int32_t Rounds(int32_t ammo)
{
    return ammo > 0 ? ammo : 0;
}

// Below half the rounds is low, none left is empty.
void NoteAmmo(int32_t rounds, int32_t full, SShipControls& controls)
{
    if (full <= 0)
        return;
    if (static_cast<float>(rounds) / static_cast<float>(full) < 0.5f)
        controls.ammoLow = true;
    if (rounds == 0)
        controls.ammoEmpty = true;
}

bool IsAtBossNode()
{
    const CGame* game = GetGame();
    return game && game->GetZones().IsAtBossNode();
}
} // namespace

CShipRuntime::SStepTotals CShipRuntime::SumParts()
{
    SStepTotals totals;
    for (int32_t i = 0; i < m_instanceCount; ++i)
    {
        CShipComponent* instance = m_instances[i].get();
        if (!instance)
            continue;
        const CShipComponentDef& def = instance->GetDef();
        switch (instance->GetKind())
        {
        case COMPONENT_ENGINE:
            totals.engineDemand += PerFrame(def.m_energyRequirement);
            break;
        case COMPONENT_GENERATOR:
            totals.generator += PerFrame(instance->GetDefAs<CGeneratorDef>().m_outputPerSec);
            break;
        case COMPONENT_BATTERY:
            totals.batteryCapacity += instance->GetDefAs<CBatteryDef>().m_maxEnergy;
            totals.batteryPool += static_cast<CBatteryComponent*>(instance)->m_stored;
            break;
        case COMPONENT_MISSILE:
        case COMPONENT_AMMO_MISSILE:
            totals.missileRounds += Rounds(instance->m_ammo);
            totals.missileFull += Rounds(def.m_ammo);
            break;
        case COMPONENT_BOMB:
        case COMPONENT_AMMO_BOMB:
            totals.bombRounds += Rounds(instance->m_ammo);
            totals.bombFull += Rounds(def.m_ammo);
            break;
        case COMPONENT_GRAVITY_BEAM:
            totals.beamDemand += PerFrame(def.m_energyRequirement);
            totals.beamPod = i;
            break;
        case COMPONENT_SHIELD:
            totals.shieldCapacity += static_cast<float>(def.m_energyRequirement);
            ++totals.shieldCount;
            break;
        default:
            break;
        }
        instance->PreUpdate();
    }
    if (m_builtInBeam)
        m_builtInBeam->PreUpdate();
    return totals;
}

void CShipRuntime::SetAmmoFlags(const SStepTotals& totals)
{
    NoteAmmo(totals.missileRounds, totals.missileFull, m_controls);
    NoteAmmo(totals.bombRounds, totals.bombFull, m_controls);
}

void CShipRuntime::Step()
{
    // The warnings say what this step finds; a refill puts them out.
    m_controls.ammoLow = false;
    m_controls.ammoEmpty = false;
    const SStepTotals totals = SumParts();
    m_generatorEnergy = totals.generator;
    m_batteryCapacity = totals.batteryCapacity;
    SetAmmoFlags(totals);

    SFrameEnergy energy;
    energy.generator = totals.generator;
    energy.pool = totals.batteryPool;
    StepThrust(totals.engineDemand, energy);
    StepBeam(totals, energy);
    StepGroup(1, energy);
    StepGroup(2, energy);
    StepShield(totals, energy);
    StepBatteries(energy);
    m_energyLeft = energy.generator;
}

// The engines' demand buys thrust when the energy covers it (an equal amount
// does); boost costs half as much again, reverse the same as thrust.
void CShipRuntime::StepThrust(float demand, SFrameEnergy& energy)
{
    if (m_controls.thrust)
    {
        if (demand <= energy.GetAvailable())
        {
            energy.Spend(demand);
            if (m_controls.boost)
            {
                if (demand * 0.5f <= energy.GetAvailable())
                    energy.Spend(demand * 0.5f);
                else
                    m_controls.boost = false;
            }
        }
        else
        {
            m_controls.thrust = false;
            m_controls.boost = false;
        }
    }
    if (m_controls.reverse)
    {
        if (demand <= energy.GetAvailable())
            energy.Spend(demand);
        else
            m_controls.reverse = false;
    }
}

// A fitted beam works while the energy covers it; at the zone's boss node the
// built-in beam works for nothing; elsewhere the beam goes off.
void CShipRuntime::StepBeam(const SStepTotals& totals, SFrameEnergy& energy)
{
    if (!m_controls.beam)
        return;
    CShipComponent* fitted = GetInstance(totals.beamPod);
    if (fitted && totals.beamDemand <= energy.GetAvailable())
    {
        fitted->SetTrigger(true);
        fitted->Update();
        energy.Spend(totals.beamDemand);
    }
    else if (m_builtInBeam && IsAtBossNode())
    {
        m_builtInBeam->SetTrigger(true);
        m_builtInBeam->Update();
    }
    else
        m_controls.beam = false;
}

// A pressed group triggers each weapon whose cost is strictly below the energy
// left and pays for every weapon, so one that could not fire drains the rest. A
// held group charges its guns and lasers instead, and triggers them.
void CShipRuntime::StepGroup(int group, SFrameEnergy& energy)
{
    if (!m_design)
        return;
    const SWeaponGroup& pods = m_design->GetWeaponGroup(group);
    const SGroupButtons& buttons = GetGroupButtons(group);
    const int32_t count = std::clamp(pods.m_count, 0, WEAPON_GROUP_MAX);
    auto trigger = [&energy](CShipComponent& weapon) {
        float cost = PerFrame(weapon.GetDef().m_energyRequirement);
        if (cost < energy.GetAvailable())
            weapon.SetTrigger(true);
        energy.Spend(cost);
    };
    if (buttons.down || buttons.shortPress)
    {
        for (int32_t i = 0; i < count; ++i)
        {
            CShipComponent* weapon = GetInstance(pods.m_pods[i]);
            if (weapon && IsWeaponKind(weapon->GetKind()))
                trigger(*weapon);
        }
    }
    if (!buttons.longHold)
        return;
    for (int32_t i = 0; i < count; ++i)
    {
        CShipComponent* weapon = GetInstance(pods.m_pods[i]);
        if (!weapon || !IsWeaponKind(weapon->GetKind()))
            continue;
        if (weapon->GetKind() != COMPONENT_PROJECTILE_GUN && weapon->GetKind() != COMPONENT_LASER)
        {
            trigger(*weapon);
            continue;
        }
        CGunComponent& gun = static_cast<CGunComponent&>(*weapon);
        const CGunDef& def = gun.GetDefAs<CGunDef>();
        const float needed = static_cast<float>(def.m_chargeEnergyNeeded);
        if (gun.m_charge < needed)
        {
            float step = std::min(PerFrame(def.m_maxChargeRateSec), needed - gun.m_charge);
            gun.m_charge += energy.Draw(step);
        }
        gun.SetTrigger(true);
    }
}

// The shield's effects follow the ship; each shield pod tops the energy up towards
// the capacity by its rate, while there is energy to pay.
void CShipRuntime::StepShield(const SStepTotals& totals, SFrameEnergy& energy)
{
    m_shield.m_capacity = totals.shieldCapacity;
    if (m_ship)
        m_shield.Follow(*m_ship);
    if (!m_shield.m_def || !(energy.GetAvailable() > 0.0f))
        return;
    for (int32_t i = 0; i < m_instanceCount; ++i)
    {
        CShipComponent* instance = m_instances[i].get();
        if (!instance || instance->GetKind() != COMPONENT_SHIELD)
            continue;
        float room = m_shield.m_capacity - m_shield.m_energy;
        if (room <= 0.0f)
            break;
        float rate = PerFrame(instance->GetDefAs<CShieldDef>().m_maxChargeRateSec);
        m_shield.m_energy += energy.Draw(std::min(rate, room));
    }
}

// What is left of the pool goes back into the batteries in order (their sum is the
// charge the HUD shows); then a battery below its maximum charges from the
// generators' unspent energy at its rate.
void CShipRuntime::StepBatteries(SFrameEnergy& energy)
{
    float pool = energy.pool;
    m_batteryCharge = 0.0f;
    for (int32_t i = 0; i < m_instanceCount; ++i)
    {
        CShipComponent* instance = m_instances[i].get();
        if (!instance || instance->GetKind() != COMPONENT_BATTERY)
            continue;
        CBatteryComponent& battery = static_cast<CBatteryComponent&>(*instance);
        battery.m_stored = std::max(0.0f, std::min(battery.GetDefAs<CBatteryDef>().m_maxEnergy, pool));
        pool -= battery.m_stored;
        m_batteryCharge += battery.m_stored;
    }
    energy.pool = 0.0f;
    for (int32_t i = 0; i < m_instanceCount; ++i)
    {
        CShipComponent* instance = m_instances[i].get();
        if (!instance || instance->GetKind() != COMPONENT_BATTERY)
            continue;
        CBatteryComponent& battery = static_cast<CBatteryComponent&>(*instance);
        const CBatteryDef& def = battery.GetDefAs<CBatteryDef>();
        float charge = std::min({PerFrame(def.m_chargeRateSec), def.m_maxEnergy - battery.m_stored,
                                 energy.generator});
        if (charge > 0.0f)
        {
            battery.m_stored += charge;
            energy.generator -= charge;
        }
    }
}

void CShipRuntime::FireGroup(int group)
{
    if (!m_design)
        return;
    const SWeaponGroup& pods = m_design->GetWeaponGroup(group);
    const SGroupButtons& buttons = GetGroupButtons(group);
    SFireButtons fire;
    fire.shortPress = buttons.shortPress;
    fire.longHold = buttons.longHold;
    const int32_t count = std::clamp(pods.m_count, 0, WEAPON_GROUP_MAX);
    for (int32_t i = 0; i < count; ++i)
    {
        CShipComponent* part = GetInstance(pods.m_pods[i]);
        if (part && IsWeaponKind(part->GetKind()) && part->IsTriggered())
            static_cast<CWeaponComponent*>(part)->Fire(fire);
    }
}

void CShipRuntime::UpdateParts()
{
    FireGroup(1);
    FireGroup(2);
    for (int32_t i = 0; i < m_instanceCount; ++i)
        if (m_instances[i])
            m_instances[i]->Update();
    if (m_ship)
        m_shield.Follow(*m_ship);
    if (m_builtInBeam)
        m_builtInBeam->Update();
}
