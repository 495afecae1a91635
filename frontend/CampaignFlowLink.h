#pragma once
// What the game flow and its screens need of the campaign, the pilot record, the save
// slots and the hall of fame (CampaignServices.h answers with the real ones, installed
// at start-up). This base keeps the few values a run sets and reads back (gem stocks,
// the ships' stored hull and energy, the difficulty, the score) in memory, with no
// saves, records or research: the game flow's own until one is installed, and tests'.

#include "frontend/GemStock.h"
#include "frontend/PilotRecord.h"

#include <cstdint>
#include <string>

// What a research or manufacturing slot is doing, as the screens word it.
enum EResearchSlotState : int
{
    RESEARCH_SLOT_EMPTY = 0,
    RESEARCH_SLOT_PAUSED = 1,
    RESEARCH_SLOT_WORKING = 2,   // crewed, and its remaining cost can be met
    RESEARCH_SLOT_WAITING = 3,
};

class CCampaignFlowLink
{
public:
    static constexpr int SHIP_SLOTS = 8;

    virtual ~CCampaignFlowLink() = default;

    // ---- campaign ---------------------------------------------------------------
    virtual int32_t GetGemStock(int kind) const { return IsGemKind(kind) ? m_gems[kind] : 0; }
    virtual void SetGemStock(int kind, int32_t count)
    {
        if (IsGemKind(kind))
            m_gems[kind] = count;
    }
    // Takes gems one at a time, each from the largest stock (on a tie the very rare
    // one first, then the rare one), until their value (1, 2 or 3) reaches the amount
    // or none are left; gives min(amount, value paid).
    virtual int32_t SpendGems(int32_t amount)
    {
        int32_t paid = 0;
        while (paid < amount)
        {
            int kind = GEM_VERY_RARE;
            for (int k = GEM_RARE; k >= GEM_NORMAL; --k)
                if (m_gems[k] > m_gems[kind])
                    kind = k;
            if (m_gems[kind] <= 0)
                break;
            --m_gems[kind];
            paid += kind + 1;
        }
        return paid < amount ? paid : amount;
    }
    // The stored state of the ship in a storage slot: its hull and its energy.
    virtual int32_t GetStoredHull(int slot) const { return IsSlot(slot) ? m_hull[slot] : 0; }
    virtual void SetStoredHull(int slot, int32_t hull)
    {
        if (IsSlot(slot))
            m_hull[slot] = hull;
    }
    virtual float GetStoredEnergy(int slot) const { return IsSlot(slot) ? m_energy[slot] : 0.0f; }
    virtual void SetStoredEnergy(int slot, float energy)
    {
        if (IsSlot(slot))
            m_energy[slot] = energy;
    }
    // A new game's research table, crew and histories.
    virtual void SetNewGameResearch() {}
    // Without the tutorial its rewards are given at once.
    virtual void AddSkippedTutorialRewards() {}
    // A run has started or been taken up again.
    virtual void OnRunStarted() {}
    virtual EResearchSlotState GetResearchSlotState(int /*slot*/) const { return RESEARCH_SLOT_EMPTY; }
    // The front end's research graphs (each front-end frame).
    virtual void DrawResearchProgress() {}

    // ---- pilot record -----------------------------------------------------------
    virtual void RefreshPilotRecord() {}
    // 0, 1 or 2.
    virtual int GetDifficulty() const { return m_difficulty; }
    virtual void SetDifficulty(int difficulty) { m_difficulty = difficulty; }
    virtual int32_t GetScore() const { return m_score; }
    virtual void SetScore(int32_t score) { m_score = score; }
    // The pilot's score as the opaque code the score page takes.
    virtual std::string GetScoreCode() const { return std::string(); }

    // ---- saves --------------------------------------------------------------------
    // A save is about to be written: the pilot record and its ship table brought up
    // to date.
    virtual void PrepareSave() {}
    // The pilot record's save counter moved on (or back, when the save failed).
    virtual void AddSaveCount(int /*count*/) {}
    // A saved game has been read over the running one: what the zones keep apart
    // from the campaign (the ship flying) follows it.
    virtual void OnGameLoaded() {}

    // ---- hall of fame -----------------------------------------------------------
    // Set until the first game has been played through the tutorial.
    virtual bool IsFirstPlay() const { return true; }
    virtual void EnterHallOfFame() {}
    // The best quick-action time in ms (0 none); the best survival score of a
    // variant and its code.
    virtual uint32_t GetBestQuickActionTime() const { return 0; }
    virtual int32_t GetBestSurvivalScore(int /*variant*/) const { return 0; }
    virtual std::string GetSurvivalScoreCode(int /*variant*/) const { return std::string(); }
    // A quick-action or survival run has ended: its time or score is entered when
    // it beats the best.
    virtual void RecordQuickActionTime(uint32_t /*ms*/) {}
    virtual void RecordSurvivalScore(int /*variant*/, int32_t /*score*/) {}
    // An entry of the table, best first (null: none).
    virtual const SPilotRecord* GetHallOfFameEntry(int /*index*/) const { return nullptr; }
    // The entry the gravity-drive screen shows in full, and its page (-1: none).
    void SetShownEntry(int entry, int page)
    {
        m_shownEntry = entry;
        m_shownPage = page;
    }
    int GetShownEntry() const { return m_shownEntry; }
    int GetShownPage() const { return m_shownPage; }

protected:
    static bool IsGemKind(int kind) { return kind >= 0 && kind < GEM_KIND_COUNT; }
    static bool IsSlot(int slot) { return slot >= 0 && slot < SHIP_SLOTS; }

private:
    int32_t m_gems[GEM_KIND_COUNT] = {};
    int32_t m_hull[SHIP_SLOTS] = {};
    float m_energy[SHIP_SLOTS] = {};
    int m_difficulty = 1;
    int32_t m_score = 0;
    int m_shownEntry = -1;
    int m_shownPage = 0;
};
