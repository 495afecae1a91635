#pragma once
// The summary of one pilot's game: progress counters, score, play time, difficulty, the
// table of the pilot's best ships and the pilot's name. The campaign keeps the current
// pilot's record and writes it at the end of every save; the hall of fame keeps eight
// of them in "records.bin". Both files hold the same stream (Write, Read).

#include <cstdint>

class CFileInterface;

// The four progress counters, in this order in every file and table of the game.
enum EPilotProgress : int
{
    PILOT_KILLS = 0,
    PILOT_GEMS_COLLECTED = 1,
    PILOT_SHIPS_BUILT = 2,
    PILOT_SAVES = 3,
    PILOT_PROGRESS_COUNT = 4,
};

// A ship table entry's status.
enum EPilotShipStatus : int32_t
{
    PILOT_SHIP_REMOVED = 0,
    PILOT_SHIP_LISTED = 1,
    PILOT_SHIP_LOST = 2,
};

constexpr int PILOT_NAME_SIZE = 10;       // bytes with the terminator
constexpr int PILOT_SHIP_TABLE_SIZE = 8;
constexpr int PILOT_SHIPS_STORED = 5;     // entries 5 to 7 are not part of the stream
constexpr int PILOT_ARRAY_SIZE = 5;
constexpr int32_t PILOT_MAX_REACHED_ZONE = 5;

struct SPilotShipEntry
{
    char name[PILOT_NAME_SIZE] = {};
    int32_t value = 0;          // the ranking key: the ship's kills
    int32_t status = PILOT_SHIP_REMOVED;
    uint32_t secondValue = 0;   // the ship's flight time
};

// A stored ship as the table takes it: its design's name, kills and flight time.
struct SPilotShipSource
{
    const char* name = "";
    int32_t value = 0;
    uint32_t secondValue = 0;
};

struct SPilotRecord
{
    int32_t progress[PILOT_PROGRESS_COUNT] = {};
    int32_t campaignValue = 0;  // the campaign's crew count minus 5
    int32_t reachedZone = 0;    // one more than the last zone whose boss is beaten
    uint32_t score = 0;
    uint32_t secondValue = 0;
    uint32_t playTime = 0;      // ms: every zone's clock summed
    int32_t difficulty = 1;     // 0, 1 or 2
    SPilotShipEntry ships[PILOT_SHIP_TABLE_SIZE];
    int32_t arrayA[PILOT_ARRAY_SIZE] = {};  // research stages of kinds 9, 12, 14, 10, 13
    int32_t arrayB[PILOT_ARRAY_SIZE] = {};
    char name[PILOT_NAME_SIZE] = {};

    // Every value 0, names empty, difficulty 1.
    void Clear();
    void CopyFrom(const SPilotRecord& other);
    void SetName(const char* text);

    // Each source in turn: a listed entry of its name takes its values; otherwise it is
    // entered before the first entry whose value is below its own (the rest move down,
    // the last drops out), or left out when none is lower.
    void UpdateShipTable(const SPilotShipSource* sources, int count);
    // The listed entry of that name becomes lost, or removed.
    void SetShipStatus(const char* shipName, bool removed);

    bool Write(CFileInterface& file) const;
    // Reads the stream (the older ending of a single difficulty byte too). False, and
    // the record unchanged, when it ends early or holds a name, difficulty, status or
    // reached zone out of range. Ship entries 5 to 7 keep what they held.
    bool Read(CFileInterface& file);
};
