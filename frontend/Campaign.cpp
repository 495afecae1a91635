#include "frontend/Campaign.h"

#include "core/Console.h"
#include "frontend/CampaignBlock.h"
#include "ships/ShipComponentDatabase.h"
#include "ships/ShipLevelData.h"

#include <algorithm>
#include <cstring>

namespace
{
// "/fitstation n" names definitions 2n and 2n + 1, which must stay in the table.
constexpr int FIT_STATION_MAX = (CAMPAIGN_DEFS_PER_KIND - 2) / 2;
} // namespace

CCampaign::CCampaign()
{
    Reset();
}

CCampaign::~CCampaign()
{
    FreeOverlayTexture();
}

const CShipComponentDatabase* CCampaign::GetComponentDatabase() const
{
    return m_database ? m_database : GetLevelShipDatabase();
}

void CCampaign::Reset()
{
    SCampaignState fresh;
    for (int i = 0; i < CAMPAIGN_MOUNTS; ++i)
        fresh.mounts[i].weapon = m_state.mounts[i].weapon;
    m_state = fresh;
    m_rewards.clear();
    m_walkCursor = -1;
}

SShipState* CCampaign::GetShipState(int slot)
{
    return slot >= 0 && slot < CAMPAIGN_SHIP_SLOTS ? &m_state.ships[slot] : nullptr;
}

const SShipState* CCampaign::GetShipState(int slot) const
{
    return slot >= 0 && slot < CAMPAIGN_SHIP_SLOTS ? &m_state.ships[slot] : nullptr;
}

int32_t CCampaign::GetStoredHealth(int slot) const
{
    const SShipState* ship = GetShipState(slot);
    return ship ? ship->storedHealth : 0;
}

void CCampaign::SetCurrentShip(int slot)
{
    if (slot >= 0 && slot < CAMPAIGN_SHIP_SLOTS)
        m_state.currentShip = slot;
}

std::string CCampaign::GetDesignName(int slot) const
{
    const CShipComponentDatabase* database = GetComponentDatabase();
    const CShipConfig* config = database ? database->GetShipConfig(slot) : nullptr;
    if (!config)
        return std::string();
    return config->m_ident.substr(0, PILOT_NAME_SIZE - 1);
}

int32_t CCampaign::GetHullHealth(int slot) const
{
    const CShipComponentDatabase* database = GetComponentDatabase();
    const CShipConfig* config = database ? database->GetShipConfig(slot) : nullptr;
    const CHullDef* hull = config ? database->GetHullDef(config->m_hull) : nullptr;
    return hull ? static_cast<int32_t>(hull->m_health) : 0;
}

void CCampaign::RefreshPilotRecord(const char* pilotName, uint32_t totalPlayTime, int32_t reachedZone)
{
    // The kinds the pilot's record shows the research of, in its order.
    static const int SHOWN_KINDS[PILOT_ARRAY_SIZE] = {COMPONENT_SHIELD, COMPONENT_DRONE, COMPONENT_PINBEAM,
                                                      COMPONENT_BOMB, COMPONENT_LASER};
    SPilotRecord& pilot = m_state.pilot;
    if (pilot.name[0] == '\0' && pilotName)
        pilot.SetName(pilotName);
    pilot.playTime = totalPlayTime;
    pilot.campaignValue = m_state.crew - CAMPAIGN_NEW_GAME_CREW;
    pilot.reachedZone = std::clamp(reachedZone, 0, PILOT_MAX_REACHED_ZONE);
    for (int i = 0; i < PILOT_ARRAY_SIZE; ++i)
        if (m_state.research[SHOWN_KINDS[i]].enabled)
            pilot.arrayA[i] = m_state.research[SHOWN_KINDS[i]].stage;
}

void CCampaign::UpdateShipTable()
{
    const CShipComponentDatabase* database = GetComponentDatabase();
    if (!database)
        return;
    SPilotShipSource sources[CAMPAIGN_SHIP_SLOTS];
    std::string names[CAMPAIGN_SHIP_SLOTS];
    int count = 0;
    for (int slot = 2; slot < CAMPAIGN_SHIP_SLOTS; ++slot)
    {
        if (!database->GetShipConfig(slot))
            continue;
        names[count] = GetDesignName(slot);
        sources[count].name = names[count].c_str();
        sources[count].value = m_state.ships[slot].kills;
        sources[count].secondValue = m_state.ships[slot].flightTime;
        ++count;
    }
    m_state.pilot.UpdateShipTable(sources, count);
}

bool CCampaign::Write(CFileInterface& file)
{
    UpdateShipTable();
    return WriteCampaignBlock(file, m_state);
}

bool CCampaign::Read(CFileInterface& file, std::string& why)
{
    return ReadChecked(file, true, why);
}

bool CCampaign::ReadChecked(CFileInterface& file, bool apply, std::string& why)
{
    SCampaignState read = m_state;
    if (!ReadCampaignBlock(file, read, why))
        return false;
    if (apply)
        m_state = read;
    return true;
}

bool CCampaign::WriteBlock(CFileInterface& file) const
{
    return WriteCampaignBlock(file, m_state);
}

bool CCampaign::ReadBlock(CFileInterface& file, bool apply)
{
    std::string why;
    if (ReadChecked(file, apply, why))
        return true;
    if (g_console)
        g_console->Printf("The campaign block of the save is damaged: %s", why.c_str());
    return false;
}

bool CCampaign::IsStationBelowRepairLimit() const
{
    return m_state.stationLevel < m_state.stationLimit;
}

bool CCampaign::IsShipHullDamaged() const
{
    const int slot = m_state.currentShip;
    return GetStoredHealth(slot) < GetHullHealth(slot);
}

void CCampaign::FitStation(int n)
{
    const uint32_t definition = static_cast<uint32_t>(2 * std::clamp(n, 0, FIT_STATION_MAX));
    m_state.mounts[0].definition = definition + 1;
    m_state.mounts[0].fitted = true;
    for (int i = 1; i < CAMPAIGN_MOUNTS; ++i)
    {
        m_state.mounts[i].definition = definition;
        m_state.mounts[i].fitted = true;
    }
}

void CCampaign::AddShipFlightTime(int slot, uint32_t ms)
{
    if (SShipState* ship = GetShipState(slot))
        ship->flightTime += ms;
}

void CCampaign::ClearShipState(int slot)
{
    if (SShipState* ship = GetShipState(slot))
        *ship = SShipState();
}

void CCampaign::MarkShipLost(int slot)
{
    const std::string name = GetDesignName(slot);
    if (!name.empty())
        m_state.pilot.SetShipStatus(name.c_str(), false);
}

void CCampaign::CountCollected()
{
    ++m_state.pilot.progress[PILOT_GEMS_COLLECTED];
}

void CCampaign::AddKill(int32_t points)
{
    ++m_state.pilot.progress[PILOT_KILLS];
    m_state.pilot.score += static_cast<uint32_t>(points > 0 ? points : 0);
    if (SShipState* ship = GetShipState(m_state.currentShip))
        ++ship->kills;
}

void CCampaign::AddGems(int count)
{
    int32_t& stock = m_state.gems.count[GEM_NORMAL];
    stock = std::clamp(stock + count, 0, GEM_STOCK_LIMIT);
}
