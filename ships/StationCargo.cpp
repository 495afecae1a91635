// The station empties the docked ship's hold one item at a time: gems into the
// campaign's stocks (what a full stock cannot take mends the station and the stored
// ships), the drive pod to the director, crew and aliens to the campaign. Special
// cargo from wreck pods passes to the zone at once, outside the count.

#include "ships/PlayerShip.h"
#include "ships/Station.h"
#include "ships/StationRules.h"
#include "world/CampaignLink.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/World.h"
#include "world/ZoneDefinition.h"
#include "world/ZoneLink.h"
#include "world/ZoneNode.h"

#include <algorithm>

namespace
{
constexpr int POD_DELIVERED_FLAG = 1;
constexpr int DRIVE_POD_SPAWNED_FLAG = 2;
constexpr int TUTORIAL_MINING_STEP = 4;
constexpr int32_t STOCK_FULL = 100;

// The items that pace the unloading (equipment leaves besides them).
int32_t CountPacedItems(const SCargoHold& hold)
{
    return hold.m_normalGems + hold.m_rareGems + hold.m_veryRareGems + (hold.m_drive ? 1 : 0) + hold.m_crew +
           hold.m_aliens;
}

bool IsHoldEmpty(const SCargoHold& hold)
{
    return CountPacedItems(hold) == 0 && hold.m_salvagedEquipment == 0 && hold.m_foundEquipment == 0;
}

// Each kind of special cargo aboard is taken off the ship and kept by the zone.
void HandOverSpecialCargo(SCargoHold& hold)
{
    CGame* game = GetGame();
    if (!game)
        return;
    for (int kind = 0; kind < 2; ++kind)
    {
        if (!hold.m_specialCargo[kind])
            continue;
        hold.m_specialCargo[kind] = false;
        game->GetZones().SetZoneFlag(ZONE_FLAG_SPECIAL_CARGO_1 + kind, true);
    }
}

CPlayerShip* FindDockedShip(int32_t docked)
{
    CWorld* world = GetRunningWorld();
    CGameObject* ship = world ? world->GetObject(docked) : nullptr;
    if (!ship)
        ship = FindPlayerShip();
    return dynamic_cast<CPlayerShip*>(ship);
}
} // namespace

bool CStation::UnloadCargo()
{
    CPlayerShip* ship = FindDockedShip(m_dockedShip);
    CShipRuntime* runtime = ship ? ship->GetRuntime() : nullptr;
    if (!runtime)
        return true;
    SCargoHold& hold = runtime->GetCargo();
    hold.UpdateLoad();
    HandOverSpecialCargo(hold);
    const uint32_t now = GetGameClock();
    const int32_t paced = CountPacedItems(hold);
    if (!m_unloading && paced >= 1)
    {
        m_unloading = true;
        hold.m_unloading = true;
        m_unloadInterval = GetUnloadInterval(paced);
        // It starts a millisecond in the past, so the first item leaves a step later.
        m_unloadTime = now - 1;
    }
    int32_t due = 0;
    if (m_unloading)
    {
        due = static_cast<int32_t>(std::min<uint32_t>((now - m_unloadTime) / m_unloadInterval, 1000));
        m_unloadTime += static_cast<uint32_t>(due) * m_unloadInterval;
    }
    if (paced == 0)
        due = std::max(due, 1);
    int32_t surplus = 0;
    int32_t unloaded = 0;
    for (int32_t i = 0; i < due && !IsHoldEmpty(hold); ++i, ++unloaded)
        DeliverItem(*ship, surplus);
    SpendSurplus(surplus);
    if (unloaded > 0 || !IsHoldEmpty(hold))
        return false;
    m_unloading = false;
    hold.m_unloading = false;
    runtime->RefillAmmo();
    return true;
}

void CStation::DeliverItem(CGameObject& object, int32_t& surplus)
{
    CPlayerShip& ship = static_cast<CPlayerShip&>(object);
    SCargoHold& hold = ship.GetRuntime()->GetCargo();
    CGame* game = GetGame();
    CCampaignLink& campaign = game->GetCampaign();
    const int gemStock = hold.m_normalGems > 0 ? 1 : hold.m_rareGems > 0 ? 2 : hold.m_veryRareGems > 0 ? 3 : 0;
    if (gemStock != 0)
    {
        // Credited here only: the ship's own unloading just takes the gem out.
        campaign.CountCollected();
        if (DoesStockTakeGem(campaign.GetGemStock(gemStock)))
            campaign.AddGemStock(gemStock, 1);
        else
            surplus += GetGemSurplus(gemStock);
        ship.UnloadCargoItem();
        return;
    }
    if (hold.m_drive)
    {
        hold.m_drive = false;
        game->GetDirector().RaiseFlag(DIRECTOR_BOSS_CHAT, POD_DELIVERED_FLAG);
    }
    else if (hold.m_crew > 0)
    {
        --hold.m_crew;
        campaign.AddCrew(1);
    }
    else if (hold.m_aliens > 0)
    {
        --hold.m_aliens;
        campaign.AddFriendlyAliens(1);
    }
    else
        ship.UnloadCargoItem(); // the equipment
    hold.UpdateLoad();
}

bool CStation::IsQuickTurnaround() const
{
    CGame* game = GetGame();
    if (!game)
        return false;
    const CDirectorLink& director = game->GetDirector();
    if (game->GetZones().GetZoneIndex() == ZONE_LAST && director.IsFlagRaised(DIRECTOR_BOSS_CHAT, DRIVE_POD_SPAWNED_FLAG) &&
        !director.IsFlagRaised(DIRECTOR_BOSS_CHAT, POD_DELIVERED_FLAG))
        return true;
    // The tutorial's mining lesson, before its cargo goal is met: while the node still
    // has medium or large rocks the ship goes back out to mine them.
    if (director.GetTutorialStep() != TUTORIAL_MINING_STEP || director.GetSubState() != 0)
        return false;
    SZoneNode* node = game->GetZones().GetCurrentNode();
    if (!node)
        return false;
    node->RefreshRocksFlag();
    return node->rocks;
}

void CStation::DeliverFirstGroupWhole(SCargoHold& hold)
{
    CGame* game = GetGame();
    int32_t* const gems[] = {&hold.m_normalGems, &hold.m_rareGems, &hold.m_veryRareGems};
    for (int stock = 1; stock <= 3; ++stock)
    {
        int32_t& count = *gems[stock - 1];
        if (count <= 0)
            continue;
        // A stock never goes beyond its 100: what it cannot take is lost.
        CCampaignLink& campaign = game->GetCampaign();
        const int32_t room = STOCK_FULL - campaign.GetGemStock(stock);
        if (room > 0)
            campaign.AddGemStock(stock, std::min(count, room));
        count = 0;
        hold.UpdateLoad();
        return;
    }
    if (hold.m_crew > 0)
        hold.m_crew = 0;
    else if (hold.m_aliens > 0)
        hold.m_aliens = 0;
    hold.UpdateLoad();
}

void CStation::SpendSurplus(int32_t points)
{
    if (points <= 0)
        return;
    const int32_t maximum = GetFullHealth();
    if (m_body.health < maximum)
    {
        const int32_t taken = std::min(points, maximum - m_body.health);
        SetHealth(m_body.health + taken);
        points -= taken;
    }
    CGame* game = GetGame();
    if (!game)
        return;
    CCampaignLink& campaign = game->GetCampaign();
    const int current = game->GetZones().GetCurrentShip();
    for (int slot = 1; slot <= 7 && points > 0; ++slot)
    {
        const int32_t stored = campaign.GetStoredShipHealth(slot);
        const int32_t full = campaign.GetShipFullHealth(slot);
        if (stored >= full)
            continue;
        const int32_t taken = std::min(points, full - stored);
        campaign.SetStoredShipHealth(slot, stored + taken);
        points -= taken;
        if (slot == current)
            if (CGameObject* ship = FindPlayerShip())
                ship->GetBody().health = stored + taken;
    }
}
