#include "ships/ShipComponent.h"

#include "ships/GravityBeamComponent.h"

CShipComponent::CShipComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod)
    : m_health(static_cast<int32_t>(def.m_health)), m_ammo(def.m_ammo), m_def(def), m_runtime(runtime), m_pod(pod)
{
}

CBatteryComponent::CBatteryComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod)
    : CShipComponent(def, runtime, pod), m_stored(GetDefAs<CBatteryDef>().m_maxEnergy)
{
}

std::unique_ptr<CShipComponent> MakeShipComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod,
                                                  int32_t droneIndex)
{
    switch (def.m_kind)
    {
    case COMPONENT_ENGINE:
        return std::make_unique<CEngineComponent>(def, runtime, pod);
    case COMPONENT_GENERATOR:
        return std::make_unique<CGeneratorComponent>(def, runtime, pod);
    case COMPONENT_BATTERY:
        return std::make_unique<CBatteryComponent>(def, runtime, pod);
    case COMPONENT_PROJECTILE_GUN:
    case COMPONENT_LASER:
        return std::make_unique<CGunComponent>(def, runtime, pod);
    case COMPONENT_MISSILE:
        return std::make_unique<CMissileComponent>(def, runtime, pod);
    case COMPONENT_PINBEAM:
        return std::make_unique<CPinbeamComponent>(def, runtime, pod);
    case COMPONENT_BOMB:
        return std::make_unique<CBombComponent>(def, runtime, pod);
    case COMPONENT_DRONE:
        return std::make_unique<CDroneComponent>(def, runtime, pod, droneIndex);
    case COMPONENT_GRAVITY_BEAM:
        return std::make_unique<CGravityBeamComponent>(def, runtime, pod);
    case COMPONENT_SHIELD:
        return std::make_unique<CShieldComponent>(def, runtime, pod);
    case COMPONENT_AMMO_MISSILE:
    case COMPONENT_AMMO_BOMB:
        return std::make_unique<CAmmoComponent>(def, runtime, pod);
    case COMPONENT_CARGO:
        return std::make_unique<CCargoComponent>(def, runtime, pod);
    case COMPONENT_HULL:
        return std::make_unique<CHullComponent>(def, runtime, pod);
    default:
        // Empty pods, hull requirements and station mounts make no ship part.
        return nullptr;
    }
}
