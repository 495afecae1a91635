#pragma once
// The hall of fame: the eight best pilots by score, the best quick-action time and the
// best survival score of each variant with its score code, and the first-play flag,
// kept in "records.bin" in the user's data folder. The game flow owns one; every save
// enters the pilot, quick-action and survival runs record their results, and the hall
// of fame screen shows it.
//
// "records.bin", little-endian: the tag "V_3"; the eight pilot records (PilotRecord.h)
// best first; the best quick-action time (32-bit ms); the first-play flag (a byte); the
// best survival scores of variants 0 and 1 (32-bit each); the two score codes
// interleaved: low word of code 0, low word of code 1, high word of code 0, high word
// of code 1. A file without the tag ends after the flag.

#include "frontend/PilotRecord.h"

#include <cstdint>
#include <string>

class CFileInterface;

constexpr int HALL_OF_FAME_SIZE = 8;
constexpr int SURVIVAL_VARIANTS = 2;

class CHallOfFame
{
public:
    static constexpr const char* FILE_NAME = "records.bin";
    static constexpr uint32_t DEFAULT_QUICK_ACTION_TIME = 90000;

    CHallOfFame() { SetDefaults(); }

    // Eight cleared records (difficulty 1), best time 90000 ms, best scores and codes 0,
    // the first-play flag set.
    void SetDefaults();

    // Reads the file of the folder (its path with the trailing "/"). A missing file gives
    // the defaults; a damaged one too, with a console line, and it stays on disk until
    // the next save replaces it. True when a file was read.
    bool Load(const char* folder);
    // Written under a temporary name and renamed: a failed write keeps the old file.
    bool Save(const char* folder) const;
    bool Write(CFileInterface& file) const;
    // The whole file, or false (and nothing changed) with the reason in `why`: a file
    // that ends early, holds a damaged record or a flag other than 0 or 1, or goes on
    // after its last field.
    bool Read(CFileInterface& file, std::string& why);

    // A pilot already listed with a score at least as high changes nothing; a lower one
    // leaves first. The record then goes before the first entry of a lower score (the
    // last drops out), or stays out when none is lower. True when it was entered.
    bool Insert(const SPilotRecord& record);

    // A quick-action run lasts until its ship is lost: a longer time beats the best.
    bool RecordQuickActionTime(uint32_t ms);
    // A higher score of the variant beats its best and gets a new code.
    bool RecordSurvivalScore(int variant, uint32_t score, const char* pilotName);

    const SPilotRecord& GetEntry(int index) const { return m_table[index]; }
    uint32_t GetBestQuickActionTime() const { return m_bestQuickActionTime; }
    // 0 for a variant outside 0 and 1.
    uint32_t GetBestSurvivalScore(int variant) const;
    uint64_t GetSurvivalCode(int variant) const;
    bool IsFirstPlay() const { return m_firstPlay; }
    void SetFirstPlay(bool firstPlay) { m_firstPlay = firstPlay; }

private:
    SPilotRecord m_table[HALL_OF_FAME_SIZE];
    uint32_t m_bestQuickActionTime = DEFAULT_QUICK_ACTION_TIME;
    uint32_t m_bestSurvival[SURVIVAL_VARIANTS] = {};
    uint64_t m_survivalCode[SURVIVAL_VARIANTS] = {};
    bool m_firstPlay = true;
};
