#include "frontend/CampaignServices.h"

#include "core/Console.h"
#include "frontend/Campaign.h"
#include "frontend/PlayerShipAccess.h"
#include "frontend/ScoreCode.h"
#include "frontend/UserFiles.h"
#include "world/Game.h"
#include "world/ZoneLink.h"

#include <algorithm>

namespace
{
// The parts the tutorial has the player take, build or find on the way to the first
// own ship: an engine, a generator, two guns, two missile launchers, a gravity beam,
// and the hull it has the player manufacture.
const SItemKey TUTORIAL_REWARDS[] = {
    {COMPONENT_ENGINE, 0},     {COMPONENT_GENERATOR, 0},    {COMPONENT_PROJECTILE_GUN, 0},
    {COMPONENT_PROJECTILE_GUN, 0}, {COMPONENT_MISSILE, 0},  {COMPONENT_MISSILE, 0},
    {COMPONENT_GRAVITY_BEAM, 0}, {COMPONENT_HULL, 2},
};
// The tutorial also has the player build a station gun and fit it on an outer mount.
constexpr int TUTORIAL_GUN_MOUNT = 1;
} // namespace

CCampaignServices::CCampaignServices(CGame& game, CCampaign& campaign, const char* recordsFolder)
    : m_game(game), m_campaign(campaign)
{
    if (recordsFolder)
        m_recordsFolder = recordsFolder;
    else if (!GetUserDataFolder(m_recordsFolder))
        m_recordsFolder.clear();
    if (!m_recordsFolder.empty())
        m_hall.Load(m_recordsFolder.c_str());
}

bool CCampaignServices::SaveRecords()
{
    if (!m_recordsFolder.empty() && m_hall.Save(m_recordsFolder.c_str()))
        return true;
    if (g_console)
        g_console->Printf("The records file could not be written");
    return false;
}

int32_t CCampaignServices::GetGemStock(int kind) const
{
    return IsGemKind(kind) ? m_campaign.GetGems().count[kind] : 0;
}

void CCampaignServices::SetGemStock(int kind, int32_t count)
{
    if (IsGemKind(kind))
        m_campaign.GetGems().count[kind] = std::clamp(count, 0, GEM_STOCK_LIMIT);
}

int32_t CCampaignServices::SpendGems(int32_t amount)
{
    return m_campaign.GetGems().Spend(amount);
}

int32_t CCampaignServices::GetStoredHull(int slot) const
{
    return m_campaign.GetStoredHealth(slot);
}

void CCampaignServices::SetStoredHull(int slot, int32_t hull)
{
    if (SShipState* ship = m_campaign.GetShipState(slot))
        ship->storedHealth = hull;
}

float CCampaignServices::GetStoredEnergy(int slot) const
{
    const SShipState* ship = m_campaign.GetShipState(slot);
    return ship ? ship->energy : 0.0f;
}

void CCampaignServices::SetStoredEnergy(int slot, float energy)
{
    if (SShipState* ship = m_campaign.GetShipState(slot))
        ship->energy = energy;
}

void CCampaignServices::SetNewGameResearch()
{
    m_campaign.SetNewGameResearch();
}

void CCampaignServices::AddSkippedTutorialRewards()
{
    for (const SItemKey& item : TUTORIAL_REWARDS)
        m_campaign.AddStoredItem(item.kind, item.definition);
    SMountRecord& mount = m_campaign.GetState().mounts[TUTORIAL_GUN_MOUNT];
    mount.definition = 0;
    mount.weapon = true;
    mount.fitted = true;
}

void CCampaignServices::OnRunStarted()
{
    const int difficulty = m_campaign.GetPilot().difficulty;
    m_campaign.Reset();
    m_campaign.GetPilot().difficulty = difficulty;
    m_campaign.SetNewGameResearch();
    // The ships the pilot starts with are whole (a slot without a ship keeps 0).
    for (int slot = 0; slot < CAMPAIGN_SHIP_SLOTS; ++slot)
        m_campaign.SetStoredShipHealth(slot, GetDesignHullHealth(slot));
}

EResearchSlotState CCampaignServices::GetResearchSlotState(int slot) const
{
    const SCampaignState& state = m_campaign.GetState();
    const SWorkSlot& work = slot == 0 ? state.researchSlot : state.manufactureSlot;
    if (!work.IsActive())
        return RESEARCH_SLOT_EMPTY;
    if (work.stalled)
        return RESEARCH_SLOT_PAUSED;
    if (work.rate > 0 && state.gems.CanPay(work.remaining.gems))
        return RESEARCH_SLOT_WORKING;
    return RESEARCH_SLOT_WAITING;
}

void CCampaignServices::DrawResearchProgress()
{
    m_campaign.DrawResearchProgress(true);
    m_campaign.DrawResearchProgress(false);
}

void CCampaignServices::RefreshPilotRecord()
{
    const CZoneLink& zones = m_game.GetZones();
    // The ship flying is the zone state's; the campaign counts its kills and time.
    m_campaign.SetCurrentShip(zones.GetCurrentShip());
    m_campaign.RefreshPilotRecord(zones.GetPilotName(), zones.GetTotalPlayTime(), zones.GetReachedZone());
}

int CCampaignServices::GetDifficulty() const
{
    return m_campaign.GetPilot().difficulty;
}

void CCampaignServices::SetDifficulty(int difficulty)
{
    m_campaign.GetPilot().difficulty = std::clamp(difficulty, 0, 2);
}

int32_t CCampaignServices::GetScore() const
{
    return static_cast<int32_t>(m_campaign.GetPilot().score);
}

void CCampaignServices::SetScore(int32_t score)
{
    m_campaign.GetPilot().score = static_cast<uint32_t>(std::max(score, 0));
}

std::string CCampaignServices::GetScoreCode() const
{
    const SPilotRecord& pilot = m_campaign.GetPilot();
    return FormatScoreCode(MakeScoreCode(pilot.score, SCORE_CODE_CAMPAIGN, pilot.name));
}

void CCampaignServices::PrepareSave()
{
    RefreshPilotRecord();
    m_campaign.UpdateShipTable();
}

void CCampaignServices::AddSaveCount(int count)
{
    m_campaign.GetPilot().progress[PILOT_SAVES] += count;
}

void CCampaignServices::OnGameLoaded()
{
    m_game.GetZones().SetCurrentShip(m_campaign.GetCurrentShip());
}

void CCampaignServices::EnterHallOfFame()
{
    RefreshPilotRecord();
    m_campaign.UpdateShipTable();
    m_hall.Insert(m_campaign.GetPilot());
    SaveRecords();
}

int32_t CCampaignServices::GetBestSurvivalScore(int variant) const
{
    return static_cast<int32_t>(m_hall.GetBestSurvivalScore(variant));
}

std::string CCampaignServices::GetSurvivalScoreCode(int variant) const
{
    return FormatScoreCode(m_hall.GetSurvivalCode(variant));
}

void CCampaignServices::RecordQuickActionTime(uint32_t ms)
{
    if (m_hall.RecordQuickActionTime(ms))
        SaveRecords();
}

void CCampaignServices::RecordSurvivalScore(int variant, int32_t score)
{
    if (score > 0 && m_hall.RecordSurvivalScore(variant, static_cast<uint32_t>(score), m_game.GetZones().GetPilotName()))
        SaveRecords();
}

const SPilotRecord* CCampaignServices::GetHallOfFameEntry(int index) const
{
    return index >= 0 && index < HALL_OF_FAME_SIZE ? &m_hall.GetEntry(index) : nullptr;
}
