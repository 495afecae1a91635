#pragma once
// The progress of one game beyond the zone maps (CampaignState.h holds its values):
// gem stocks, crew, the stored state of the player's ships, the station's record, the
// store of components, the research of every component kind with the research and
// manufacturing slots that run on the zone clock, and the pilot record. The application
// makes one at start-up and installs it as the game's campaign link; the zones reset it
// and move its slots on, the front end spends and refunds its stocks, and a save writes
// its block (CampaignBlock.h).

#include "frontend/CampaignState.h"
#include "world/CampaignLink.h"

#include <cstdint>
#include <string>
#include <vector>

class CFileInterface;
class CShipComponentDatabase;

// A component kind and definition, as the store and the rewards keep them.
struct SItemKey
{
    int32_t kind = 0;
    int32_t definition = 0;
};

// Where the research screen draws the slots' progress graphs (virtual-screen units).
struct SProgressRect
{
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

// Above difficulty 0 a kind may be researched this many stages beyond the pilot's
// reached zone.
int32_t GetResearchStageAllowance(int kind);

class CCampaign : public CCampaignLink
{
public:
    static constexpr const char* OVERLAY_TEXTURE = "data\\targas\\smallwhite.tga";
    static constexpr int REWARD_STACK_SIZE = 100;
    static constexpr int REWARD_LIST_SIZE = 20;
    // A slot draws no gems until this much zone time has passed since its last entry.
    static constexpr uint32_t SLOT_STEP_MIN_MS = 10000;

    CCampaign();
    ~CCampaign() override;
    CCampaign(const CCampaign&) = delete;
    CCampaign& operator=(const CCampaign&) = delete;

    // The designs and definitions the campaign looks at: the running level's unless a
    // database is given (tests, tools).
    void SetComponentDatabase(const CShipComponentDatabase* database) { m_database = database; }
    const CShipComponentDatabase* GetComponentDatabase() const;

    // Stocks, counters and ship states 0, station record -1, mounts empty (their weapon
    // flags kept), store free, every kind's research disabled, both slots idle and the
    // pilot record cleared.
    void Reset() override;
    const SCampaignState& GetState() const { return m_state; }
    SCampaignState& GetState() { return m_state; }

    // ---- gems -------------------------------------------------------------------------
    SGemStock& GetGems() { return m_state.gems; }
    const SGemStock& GetGems() const { return m_state.gems; }
    // The refund of a sale (SGemStock::Add).
    bool AddGems(float normal, float rare, float veryRare) { return m_state.gems.Add(normal, rare, veryRare); }

    // ---- ships ------------------------------------------------------------------------
    // Null for a slot outside 0 to 7.
    SShipState* GetShipState(int slot);
    const SShipState* GetShipState(int slot) const;
    int32_t GetStoredHealth(int slot) const;
    int32_t GetCurrentShip() const { return m_state.currentShip; }
    void SetCurrentShip(int slot);

    // ---- store ------------------------------------------------------------------------
    int FindStoredItem(int32_t kind, int32_t definition) const;
    // Counts a stored item up, or takes the highest free record for it. False when all
    // 75 records are used or the keys are out of range.
    bool AddStoredItem(int32_t kind, int32_t definition);
    int CountStoredItems() const;
    // A walk over the used records of one kind: the first, then the next after the
    // cursor; -1 at the end.
    int FindItemsByKey(int32_t kind);
    int NextItemByKey();
    // One item of a kind whose research is enabled and reached (not HULL), its
    // definition drawn below the kind's stage. Nothing when no kind is eligible.
    bool AddRandomItem();
    // The top pair of the reward stack, or a random item when it is empty.
    bool AddRewardItem();
    // Pairs whose kind is not 0 go onto the reward stack (a wreck's or a pod's).
    void PushRewardItems(const SItemKey* items, int count);
    int GetRewardCount() const { return static_cast<int>(m_rewards.size()); }

    // ---- research ---------------------------------------------------------------------
    // A new game's research table, both slots idle, crew 5 and no friendly aliens.
    void SetNewGameResearch();
    // Whether some enabled, reached kind can be researched further; above difficulty 0 a
    // kind beyond the pilot's reached zone (plus its allowance) does not count.
    bool HasReadyProject() const;
    // Steps the research slot, then the manufacturing slot, to the zone clock.
    void AdvanceResearch(uint32_t zoneClock) override;
    void MoveSlotsToZoneClock(uint32_t fromClock, uint32_t toClock) override;
    // The cost the slot draws on: a research stage, or one manufactured unit. False when
    // there is none (an unknown definition, a stage outside the table).
    bool GetSlotCost(bool research, SCostVector& cost) const;

    // ---- progress graphs --------------------------------------------------------------
    void SetProgressRect(float x, float y, float width, float height);
    // The points of a slot's graph in virtual-screen units (before the screen scale);
    // empty while drawing is off, the slot idle, its history shorter than 2 entries, or
    // any divisor (crew, cost, span) not above 0.
    std::vector<float> ComputeProgressPoints(bool research) const;
    // The research slot's graph in red, the manufacturing slot's in green.
    void DrawResearchProgress(bool research) const;
    bool LoadOverlayTexture();
    void FreeOverlayTexture();

    // ---- pilot record -------------------------------------------------------------------
    SPilotRecord& GetPilot() { return m_state.pilot; }
    const SPilotRecord& GetPilot() const { return m_state.pilot; }
    // The name (when the record has none), the play time of every zone, the crew as the
    // campaign value, the reached zone, and the research stages of kinds 9, 12, 14, 10
    // and 13 that are enabled.
    void RefreshPilotRecord(const char* pilotName, uint32_t totalPlayTime, int32_t reachedZone);
    // The stored ships 2 to 7 whose design exists, ranked by kills.
    void UpdateShipTable();
    // The design name of a storage slot ("" without one), cut to the record's names.
    std::string GetDesignName(int slot) const;

    // ---- saves --------------------------------------------------------------------------
    // The ship table refreshed, then the block.
    bool Write(CFileInterface& file);
    // The block read whole into a copy and taken over only when it is good; false, the
    // campaign unchanged and the reason in `why`, otherwise.
    bool Read(CFileInterface& file, std::string& why);
    // The same, taken over only when `apply` is set (else only checked).
    bool ReadChecked(CFileInterface& file, bool apply, std::string& why);
    // The world's link: the block as it stands (the save refreshes the ship table
    // first), and the block read whole or not at all with a console line.
    bool WriteBlock(CFileInterface& file) const override;
    bool ReadBlock(CFileInterface& file, bool apply) override;

    // ---- the world's link ---------------------------------------------------------------
    int GetDifficulty() const override { return m_state.pilot.difficulty; }
    uint32_t GetScore() const override { return m_state.pilot.score; }
    bool IsStationBelowRepairLimit() const override;
    bool IsShipHullDamaged() const override;
    void FitStation(int n) override;
    void AddShipFlightTime(int slot, uint32_t ms) override;
    void ClearShipState(int slot) override;
    void MarkShipLost(int slot) override;
    void CountCollected() override;
    void AddKill(int32_t points) override;
    int GetGemTotal() const override { return m_state.gems.count[GEM_NORMAL]; }
    void AddGems(int count) override;
    // Stocks 1 (ordinary) to 3 (very rare); 0 for others.
    int GetGemStock(int stock) const override;
    void SpendGemStock(int stock, int amount) override;
    void AddGemStock(int stock, int amount) override;
    int32_t SpendGems(int32_t amount) override { return m_state.gems.Spend(amount); }
    int32_t GetStationMaxHealth() const override { return m_state.stationLimit; }
    int32_t GetStationHealth() const override { return m_state.stationLevel; }
    void SetStationHealth(int32_t maximum, int32_t current) override;
    bool GetStationMount(int index, bool& fitted, bool& weapon, uint32_t& definition) const override;
    void SetStationMountFitted(int index, bool fitted) override;
    int32_t GetStoredShipHealth(int slot) const override { return GetStoredHealth(slot); }
    void SetStoredShipHealth(int slot, int32_t health) override;
    int32_t GetShipFullHealth(int slot) const override { return GetHullHealth(slot); }
    void AddCrew(int count) override;
    void AddFriendlyAliens(int count) override;
    int GetFriendlyAlienCount() const override { return m_state.friendlyAliens; }
    // The research of a kind the zones' alien nodes give (a kind beyond the kinds is
    // passed over).
    void EnableResearch(int componentKind) override;
    void RefreshShipTable() override { UpdateShipTable(); }

private:
    void StepSlot(SWorkSlot& slot, bool research, uint32_t zoneClock);
    void CompleteSlot(SWorkSlot& slot, bool research, uint32_t zoneClock);
    int32_t GetHullHealth(int slot) const;

    SCampaignState m_state;
    const CShipComponentDatabase* m_database = nullptr;
    std::vector<SItemKey> m_rewards;
    int32_t m_walkKind = 0;
    int m_walkCursor = -1;
    SProgressRect m_progressRect;
    bool m_drawProgress = false;
    int m_overlayTexture = -1;
};
