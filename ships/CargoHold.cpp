#include "ships/CargoHold.h"

#include "world/AsteroidKinds.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/ZoneLink.h"

#include <algorithm>

int32_t GetSurvivalValue(int32_t kind)
{
    switch (kind)
    {
    case ASTEROID_NORMAL_GEM:
        return 1;
    case ASTEROID_NORMAL_GEM_LARGE:
        return 2;
    case ASTEROID_RARE_GEM:
        return 3;
    case ASTEROID_RARE_GEM_LARGE:
        return 4;
    case ASTEROID_VERY_RARE_GEM:
        return 5;
    case ASTEROID_VERY_RARE_GEM_LARGE:
        return 6;
    case ASTEROID_WRECK_POD:
        return 20;
    case ASTEROID_DRIVE_POD:
        return 30;
    case ASTEROID_EQUIPMENT_POD:
        return 10;
    default:
        return 0;
    }
}

void SCargoHold::Add(const CGameObject& asteroid)
{
    if (IsFull())
        return;
    CGame* game = GetGame();
    if (game && game->GetRun().survival)
    {
        game->GetRun().survivalScore += GetSurvivalValue(asteroid.GetAsteroidKind());
        return;
    }
    int32_t zone = game ? game->GetZones().GetZoneIndex() : 0;
    AddItem(asteroid.GetAsteroidKind(), asteroid.GetSpawnerType(), asteroid.GetCargoValue(), zone);
}

void SCargoHold::AddItem(int32_t kind, int32_t spawnerType, int32_t cargoValue, int32_t zoneIndex)
{
    if (IsFull())
        return;
    const int32_t room = std::min(m_capacity - m_load, MOST_AT_ONCE);
    const int32_t smallGems = zoneIndex > 0 && room > 1 ? 2 : 1;
    CGame* game = GetGame();
    switch (kind)
    {
    case ASTEROID_NORMAL_GEM:
        m_normalGems += smallGems;
        break;
    case ASTEROID_RARE_GEM:
        m_rareGems += smallGems;
        break;
    case ASTEROID_VERY_RARE_GEM:
        m_veryRareGems += smallGems;
        break;
    case ASTEROID_NORMAL_GEM_LARGE:
        m_normalGems += room;
        break;
    case ASTEROID_RARE_GEM_LARGE:
        m_rareGems += room;
        break;
    case ASTEROID_VERY_RARE_GEM_LARGE:
        m_veryRareGems += room;
        break;
    case ASTEROID_CREW_MAN:
        ++m_crew;
        break;
    case ASTEROID_FRIENDLY_ALIEN:
        ++m_aliens;
        break;
    case ASTEROID_WRECK_POD:
        m_specialCargo[cargoValue == 0 ? 0 : 1] = true;
        break;
    case ASTEROID_DRIVE_POD:
        m_drive = true;
        break;
    case ASTEROID_EQUIPMENT_POD:
    {
        const bool salvaged = spawnerType == OBJECT_PLAYER_SHIP;
        if (salvaged)
            ++m_salvagedEquipment;
        else
            ++m_foundEquipment;
        if (game)
            game->GetDirector().OnEquipmentPodCollected(!salvaged);
        break;
    }
    default:
        break;
    }
    UpdateLoad();
}

void SCargoHold::UpdateLoad()
{
    m_load = m_normalGems + m_rareGems + m_veryRareGems + m_salvagedEquipment + m_foundEquipment;
}
