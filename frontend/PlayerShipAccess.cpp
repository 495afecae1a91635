#include "frontend/PlayerShipAccess.h"

#include "ships/ComponentDef.h"
#include "ships/PlayerShip.h"
#include "ships/ShipComponent.h"
#include "ships/ShipLevelData.h"
#include "ships/ShipRuntime.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/ObjectTypes.h"
#include "world/World.h"

namespace
{
CShipRuntime* GetRuntime(const CGameObject& ship)
{
    const CPlayerShip* player = dynamic_cast<const CPlayerShip*>(&ship);
    return player ? player->GetRuntime() : nullptr;
}

const CShipConfig* GetDesign(int slot)
{
    CShipComponentDatabase* database = GetLevelShipDatabase();
    return database ? database->GetShipConfig(slot) : nullptr;
}

// The parts whose definitions carry rounds, in pod order: the ship's weapons with
// ammunition and its ammunition pods.
template <typename Visit>
void ForEachRoundsPart(CShipRuntime& runtime, Visit visit)
{
    for (int32_t pod = 0; pod < runtime.GetInstanceCount(); ++pod)
    {
        CShipComponent* part = runtime.GetInstance(pod);
        if (part && part->GetDef().m_ammo > 0 && part->m_ammo >= 0 && !visit(*part))
            return;
    }
}
} // namespace

// The stored energy is what the batteries hold.
bool GetShipEnergy(const CGameObject& ship, float& energy, float& capacity)
{
    energy = capacity = 0.0f;
    CShipRuntime* runtime = GetRuntime(ship);
    if (!runtime)
        return false;
    for (int32_t pod = 0; pod < runtime->GetInstanceCount(); ++pod)
    {
        CShipComponent* part = runtime->GetInstance(pod);
        if (!part || part->GetKind() != COMPONENT_BATTERY)
            continue;
        energy += static_cast<CBatteryComponent*>(part)->m_stored;
        capacity += part->GetDefAs<CBatteryDef>().m_maxEnergy;
    }
    return true;
}

// Filled battery by battery, each up to its own capacity.
void SetShipEnergy(CGameObject& ship, float energy)
{
    CShipRuntime* runtime = GetRuntime(ship);
    if (!runtime)
        return;
    for (int32_t pod = 0; pod < runtime->GetInstanceCount(); ++pod)
    {
        CShipComponent* part = runtime->GetInstance(pod);
        if (!part || part->GetKind() != COMPONENT_BATTERY)
            continue;
        const float room = part->GetDefAs<CBatteryDef>().m_maxEnergy;
        const float stored = energy < room ? (energy > 0.0f ? energy : 0.0f) : room;
        static_cast<CBatteryComponent*>(part)->m_stored = stored;
        energy -= stored;
    }
}

int32_t GetShipReloadCost(const CGameObject& ship)
{
    CShipRuntime* runtime = GetRuntime(ship);
    if (!runtime)
        return 0;
    int32_t missing = 0;
    ForEachRoundsPart(*runtime, [&](CShipComponent& part) {
        missing += part.GetDef().m_ammo - part.m_ammo;
        return part.m_ammo >= part.GetDef().m_ammo;
    });
    return 2 * missing;
}

void RefillFirstWeapon(CGameObject& ship)
{
    CShipRuntime* runtime = GetRuntime(ship);
    if (!runtime)
        return;
    ForEachRoundsPart(*runtime, [](CShipComponent& part) {
        if (part.m_ammo >= part.GetDef().m_ammo)
            return true;
        part.m_ammo = part.GetDef().m_ammo;
        return false;
    });
}

bool IsDesignPresent(int slot)
{
    return GetDesign(slot) != nullptr;
}

int32_t GetDesignHullHealth(int slot)
{
    CShipComponentDatabase* database = GetLevelShipDatabase();
    const CShipConfig* design = GetDesign(slot);
    const CHullDef* hull = design ? database->GetHullDef(design->m_hull) : nullptr;
    return hull ? static_cast<int32_t>(hull->m_health) : 0;
}

std::u16string GetDesignName(int slot)
{
    const CShipConfig* design = GetDesign(slot);
    return design ? std::u16string(design->m_ident.begin(), design->m_ident.end()) : std::u16string();
}

bool IsDesignFlyable(int slot)
{
    CShipComponentDatabase* database = GetLevelShipDatabase();
    if (!database || !GetDesign(slot))
        return false;
    bool beamAndWeapon = false, engine = false;
    database->CheckShipConfig(slot, beamAndWeapon, engine);
    return beamAndWeapon && engine;
}

void RemoveDesign(int slot)
{
    if (CShipComponentDatabase* database = GetLevelShipDatabase())
        database->RemoveShipConfig(slot);
}

int32_t CreatePlayerShip(int slot, const CVector2D& position)
{
    CGame* game = GetGame();
    CWorld* world = game ? game->GetWorld() : nullptr;
    int32_t handle = NO_OBJECT;
    if (!world || !world->CreateObject(OBJECT_PLAYER_SHIP, handle))
        return NO_OBJECT;
    CGameObject* ship = world->GetObject(handle);
    ship->SetPosition(position);
    ship->GetBody().previousPosition = position;
    // A ship of the game must have its design; stand-ins of tests fly as they are.
    if (CPlayerShip* player = dynamic_cast<CPlayerShip*>(ship))
        if (!player->ApplyConfig(slot))
        {
            world->RemoveObject(handle);
            return NO_OBJECT;
        }
    ship->PlaceShape();
    ship->SetVisible(true);
    return handle;
}
