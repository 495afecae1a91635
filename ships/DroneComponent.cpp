#include "ships/ShipComponent.h"
#include "ships/ShipPlacement.h"
#include "ships/ShipRuntime.h"
#include "world/GameObject.h"

namespace
{
constexpr int DRONE_PLANE = 8; // with the ship

// The station points of the first and the second drone, in ship space.
const CVector2D DRONE_STATIONS[2] = {CVector2D(0.0f, -35.0f), CVector2D(0.0f, 35.0f)};

// Moves the point towards the target by at most the step; true on arrival.
bool StepTowards(CVector2D& point, const CVector2D& target, float step)
{
    CVector2D way = target - point;
    float length = way.Length();
    if (length <= step)
    {
        point = target;
        return true;
    }
    point += way * (step / length);
    return false;
}
} // namespace

CDroneComponent::CDroneComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod, int32_t droneIndex)
    : CWeaponComponent(def, runtime, pod, static_cast<const CDroneDef&>(def).m_weaponEffect)
{
    // A third drone would have no place beside the ship: it stays in its pod.
    m_hasStation = droneIndex >= 0 && droneIndex < 2;
    if (m_hasStation)
        m_station = DRONE_STATIONS[droneIndex];
    if (m_spriteRef.SetFile(GetDefAs<CDroneDef>().m_bodySprite.c_str(), true))
        m_sprite.Init(m_spriteRef, DRONE_PLANE);
}

void CDroneComponent::PreUpdate()
{
    m_trigger = false;
    if (!m_hasStation)
        return;
    if (m_runtime.GetShip().GetInfo().frozen)
    {
        if (m_state == FLYING_OUT || m_state == ON_STATION)
            m_state = RETURNING;
        return;
    }
    if (m_state == DOCKED)
    {
        m_state = FLYING_OUT;
        m_offset = CVector2D();
        m_sprite.Show();
    }
}

void CDroneComponent::Update()
{
    if (m_state == FLYING_OUT && StepTowards(m_offset, m_station, SPEED))
        m_state = ON_STATION;
    else if (m_state == RETURNING && StepTowards(m_offset, CVector2D(), SPEED))
    {
        m_state = DOCKED;
        m_sprite.Hide();
    }
    Place();
    if (m_state != ON_STATION || !m_trigger || !IsDue(GetDefAs<CDroneDef>().m_fireRateSec))
        return;
    // A drone with rounds of its own fires only while they last.
    if (GetDefAs<CDroneDef>().m_usesAmmo)
    {
        if (m_ammo <= 0)
            return;
        --m_ammo;
    }
    Launch(m_weaponEffect, ToWorldPoint(m_runtime.GetShip(), m_offset));
}

void CDroneComponent::Place()
{
    const CGameObject& ship = m_runtime.GetShip();
    CVector2D point = ToWorldPoint(ship, m_offset);
    m_sprite.SetPosition(point);
    m_sprite.SetAngle(ship.GetBody().angle);
    m_weaponEffect.Place(point, ship.GetBody().angle, VelocityPerSecond(ship));
}
