// The campaign's side of the station: its stored health, its mounts, the gem stocks
// it fills and the stored ships it mends.

#include "frontend/Campaign.h"

#include <algorithm>

namespace
{
// Stocks are numbered 1 (ordinary) to 3 (very rare) by the world.
bool StockIndex(int stock, int& index)
{
    index = stock - 1;
    return index >= 0 && index < GEM_KIND_COUNT;
}
} // namespace

int CCampaign::GetGemStock(int stock) const
{
    int index = 0;
    return StockIndex(stock, index) ? m_state.gems.count[index] : 0;
}

void CCampaign::SpendGemStock(int stock, int amount)
{
    int index = 0;
    if (StockIndex(stock, index))
        m_state.gems.count[index] = std::max(0, m_state.gems.count[index] - std::max(0, amount));
}

void CCampaign::AddGemStock(int stock, int amount)
{
    int index = 0;
    if (StockIndex(stock, index))
        m_state.gems.count[index] = std::clamp(m_state.gems.count[index] + amount, 0, GEM_STOCK_LIMIT);
}

void CCampaign::SetStationHealth(int32_t maximum, int32_t current)
{
    m_state.stationLimit = std::max(-1, maximum);
    m_state.stationLevel = std::max(-1, current);
}

bool CCampaign::GetStationMount(int index, bool& fitted, bool& weapon, uint32_t& definition) const
{
    if (index < 0 || index >= CAMPAIGN_MOUNTS)
        return false;
    const SMountRecord& mount = m_state.mounts[index];
    fitted = mount.fitted;
    weapon = mount.weapon;
    definition = mount.definition;
    return true;
}

void CCampaign::SetStationMountFitted(int index, bool fitted)
{
    if (index >= 0 && index < CAMPAIGN_MOUNTS)
        m_state.mounts[index].fitted = fitted;
}

void CCampaign::SetStoredShipHealth(int slot, int32_t health)
{
    if (SShipState* ship = GetShipState(slot))
        ship->storedHealth = health;
}

void CCampaign::AddCrew(int count)
{
    m_state.crew = std::max(0, m_state.crew + count);
}

void CCampaign::AddFriendlyAliens(int count)
{
    m_state.friendlyAliens = std::max(0, m_state.friendlyAliens + count);
}

void CCampaign::EnableResearch(int componentKind)
{
    if (componentKind >= 0 && componentKind < COMPONENT_KIND_COUNT)
        m_state.research[componentKind].enabled = true;
}
