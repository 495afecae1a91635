#pragma once
// The game flow's link to the campaign, the pilot record, the save slots and the hall
// of fame: the real ones, installed on the game flow at start-up in place of its own
// in-memory base. It owns the hall of fame, which it loads from the user's
// "records.bin" when it is made.

#include "frontend/CampaignFlowLink.h"
#include "frontend/HallOfFame.h"

class CCampaign;
class CGame;

class CCampaignServices : public CCampaignFlowLink
{
public:
    // The hall of fame is read from the folder (the user's data folder when null).
    CCampaignServices(CGame& game, CCampaign& campaign, const char* recordsFolder = nullptr);

    CCampaign& GetCampaign() { return m_campaign; }
    CHallOfFame& GetHallOfFame() { return m_hall; }
    // Writes "records.bin"; false (a console line, the old file kept) when it fails.
    bool SaveRecords();

    // ---- campaign -----------------------------------------------------------------
    // Stocks are kept within 0 to 100.
    int32_t GetGemStock(int kind) const override;
    void SetGemStock(int kind, int32_t count) override;
    int32_t SpendGems(int32_t amount) override;
    int32_t GetStoredHull(int slot) const override;
    void SetStoredHull(int slot, int32_t hull) override;
    float GetStoredEnergy(int slot) const override;
    void SetStoredEnergy(int slot, float energy) override;
    void SetNewGameResearch() override;
    // What the tutorial hands out on its way: the parts of a first ship, a hull and a
    // station gun fitted on an outer mount.
    void AddSkippedTutorialRewards() override;
    // A new or loaded game starts from a fresh campaign at the pilot's chosen
    // difficulty (a load then reads its own over it).
    void OnRunStarted() override;
    EResearchSlotState GetResearchSlotState(int slot) const override;
    void DrawResearchProgress() override;

    // ---- pilot record -------------------------------------------------------------
    void RefreshPilotRecord() override;
    int GetDifficulty() const override;
    void SetDifficulty(int difficulty) override;
    int32_t GetScore() const override;
    void SetScore(int32_t score) override;
    std::string GetScoreCode() const override;

    // ---- saves --------------------------------------------------------------------
    void PrepareSave() override;
    void AddSaveCount(int count) override;
    void OnGameLoaded() override;

    // ---- hall of fame -------------------------------------------------------------
    bool IsFirstPlay() const override { return m_hall.IsFirstPlay(); }
    // The current pilot entered, and "records.bin" written.
    void EnterHallOfFame() override;
    uint32_t GetBestQuickActionTime() const override { return m_hall.GetBestQuickActionTime(); }
    int32_t GetBestSurvivalScore(int variant) const override;
    std::string GetSurvivalScoreCode(int variant) const override;
    void RecordQuickActionTime(uint32_t ms) override;
    void RecordSurvivalScore(int variant, int32_t score) override;
    const SPilotRecord* GetHallOfFameEntry(int index) const override;

private:
    CGame& m_game;
    CCampaign& m_campaign;
    CHallOfFame m_hall;
    std::string m_recordsFolder;
};
