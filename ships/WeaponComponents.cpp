// Guns, lasers, missiles, pinbeams and bombs: when they fire, and where their
// effects go.

#include "ships/ShipComponent.h"
#include "ships/ShipPlacement.h"
#include "ships/ShipRuntime.h"
#include "world/GameObject.h"

namespace
{
// A charge is full when it lacks no more than this.
constexpr float FULL_CHARGE_MARGIN = 0.0001f;

// A missile or a bomb takes a round: its own while it has any, then one from the
// ammunition pods.
bool TakeRound(int32_t& ownRounds, CShipRuntime& runtime, EComponentKind kind)
{
    if (ownRounds > 0)
    {
        --ownRounds;
        return true;
    }
    return runtime.TakeAmmo(kind);
}
} // namespace

CWeaponComponent::CWeaponComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod,
                                   const std::string& effect)
    : CShipComponent(def, runtime, pod)
{
    m_weaponEffect.Spawn(effect, &runtime.GetShip());
}

void CWeaponComponent::Update()
{
    PlaceAtLaunchPoint(m_weaponEffect);
}

bool CWeaponComponent::IsDue(float ratePerSecond) const
{
    // A rate of 0 (or less) never comes round.
    if (!(ratePerSecond > 0.0f))
        return false;
    const float sinceShot = static_cast<float>(GetShipClock() - m_lastShot);
    return sinceShot > 1000.0f / ratePerSecond;
}

bool CWeaponComponent::IsDueByButtons(const SFireButtons& buttons, float fireRate, float tapRate, bool holdFires) const
{
    if (buttons.shortPress)
        return false;
    if (buttons.longHold)
        return holdFires && IsDue(fireRate);
    return IsDue(tapRate);
}

CVector2D CWeaponComponent::GetLaunchPoint() const
{
    return ToWorldPoint(m_runtime.GetShip(), m_launchOffset);
}

void CWeaponComponent::PlaceAtLaunchPoint(CShipEffect& effect) const
{
    const CGameObject& ship = m_runtime.GetShip();
    effect.Place(GetLaunchPoint(), ship.GetBody().angle, VelocityPerSecond(ship));
}

void CWeaponComponent::Launch(CShipEffect& effect, const CVector2D& point)
{
    const CGameObject& ship = m_runtime.GetShip();
    m_lastShot = GetShipClock();
    effect.Place(point, ship.GetBody().angle, VelocityPerSecond(ship));
    effect.Start();
}

CGunComponent::CGunComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod)
    : CWeaponComponent(def, runtime, pod, static_cast<const CGunDef&>(def).m_weaponEffect)
{
    const CGunDef& gun = GetDefAs<CGunDef>();
    m_chargeWeaponEffect.Spawn(gun.m_chargeWeaponEffect, &runtime.GetShip());
    m_chargeEffect.Spawn(gun.m_chargeEffect, &runtime.GetShip());
    m_fullChargeEffect.Spawn(gun.m_fullChargeEffect, &runtime.GetShip());
}

bool CGunComponent::IsChargeFull() const
{
    return static_cast<float>(GetDefAs<CGunDef>().m_chargeEnergyNeeded) - m_charge <= FULL_CHARGE_MARGIN;
}

void CGunComponent::PreUpdate()
{
    m_trigger = false;
    if (!m_runtime.IsListedWithoutHold(m_pod))
        return;
    // The fire action was let go: a full charge goes off as the charged shot. A gun
    // that needs no charge has none to let go.
    m_chargeEffect.Stop();
    m_fullChargeEffect.Stop();
    if (IsChargeable() && GetDefAs<CGunDef>().m_chargeEnergyNeeded > 0 && IsChargeFull())
    {
        Launch(m_chargeWeaponEffect, GetLaunchPoint());
        m_charge = 0.0f;
    }
}

void CGunComponent::Update()
{
    CWeaponComponent::Update();
    PlaceAtLaunchPoint(m_chargeWeaponEffect);
    PlaceAtLaunchPoint(m_chargeEffect);
    PlaceAtLaunchPoint(m_fullChargeEffect);
}

void CGunComponent::Fire(const SFireButtons& buttons)
{
    const CGunDef& gun = GetDefAs<CGunDef>();
    if (IsDueByButtons(buttons, gun.m_fireRateSec, gun.m_maxTapSec, !IsChargeable()))
    {
        Launch(m_weaponEffect, GetLaunchPoint());
        m_charge = 0.0f;
    }
    if (!IsChargeable() || !buttons.longHold)
        return;
    if (!m_chargeEffect.IsRunning() && !IsChargeFull())
    {
        PlaceAtLaunchPoint(m_chargeEffect);
        m_chargeEffect.Start();
    }
    if (IsChargeFull())
    {
        if (!m_fullChargeEffect.IsRunning())
        {
            PlaceAtLaunchPoint(m_fullChargeEffect);
            m_fullChargeEffect.Start();
        }
        m_chargeEffect.Stop();
    }
}

CMissileComponent::CMissileComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod)
    : CWeaponComponent(def, runtime, pod, static_cast<const CMissileDef&>(def).m_weaponEffect)
{
}

void CMissileComponent::Fire(const SFireButtons& buttons)
{
    const CMissileDef& missile = GetDefAs<CMissileDef>();
    if (!IsDueByButtons(buttons, missile.m_fireRateSec, missile.m_maxTapSec, true))
        return;
    if (TakeRound(m_ammo, m_runtime, COMPONENT_MISSILE))
        Launch(m_weaponEffect, GetLaunchPoint());
}

CPinbeamComponent::CPinbeamComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod)
    : CWeaponComponent(def, runtime, pod, static_cast<const CPinbeamDef&>(def).m_weaponEffect)
{
}

void CPinbeamComponent::Fire(const SFireButtons& buttons)
{
    const CPinbeamDef& pinbeam = GetDefAs<CPinbeamDef>();
    if (IsDueByButtons(buttons, pinbeam.m_fireRateSec, pinbeam.m_maxTapSec, true))
        Launch(m_weaponEffect, GetLaunchPoint());
}

CBombComponent::CBombComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod)
    : CWeaponComponent(def, runtime, pod, static_cast<const CBombDef&>(def).m_weaponEffect)
{
}

void CBombComponent::Fire(const SFireButtons&)
{
    if (!IsDue(GetDefAs<CBombDef>().m_fireRateSec))
        return;
    if (TakeRound(m_ammo, m_runtime, COMPONENT_BOMB))
        Launch(m_weaponEffect, m_runtime.GetShip().GetPosition());
}
