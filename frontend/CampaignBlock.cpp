#include "frontend/CampaignBlock.h"

#include "frontend/CampaignState.h"
#include "frontend/FileTag.h"
#include "utility/source/QelFile.h"

#include <cmath>

namespace
{
const char* const NEWEST_TAG = "V4e";
const char* const OLDER_TAG = "V14";
constexpr int RECORDS_NEWEST = 19;
constexpr int RECORDS_OLDER = 18;
constexpr int RECORDS_OLDEST = 17;
constexpr int32_t MAX_STAGE = CAMPAIGN_COST_STAGES;       // one beyond the last cost
constexpr int32_t MAX_LIMIT = CAMPAIGN_COST_STAGES - 1;

// Reads a block over a state and says what was wrong with it.
class CBlockReader
{
public:
    CBlockReader(CFileInterface& file, std::string& why) : m_file(file), m_why(why) {}

    bool Fail(const char* reason)
    {
        if (m_ok)
            m_why = reason;
        m_ok = false;
        return false;
    }
    bool Ok() const { return m_ok; }

    void S32(int32_t& value, const char* what)
    {
        if (m_ok && !m_file.ReadS32(value))
            Fail(what);
    }
    void U32(uint32_t& value, const char* what)
    {
        if (m_ok && !m_file.ReadU32(value))
            Fail(what);
    }
    // A byte that holds 0 or 1.
    void Flag(bool& value, const char* what)
    {
        uint8_t byte = 0;
        if (!m_ok)
            return;
        if (!m_file.ReadU8(byte) || byte > 1)
            Fail(what);
        value = byte != 0;
    }
    // Gem amounts: finite and not below 0.
    void Cost(SCostVector& cost, const char* what)
    {
        for (float& gems : cost.gems)
            if (m_ok && (!m_file.ReadFloat(gems) || !std::isfinite(gems) || gems < 0.0f))
                Fail(what);
    }
    void Range(int32_t value, int32_t low, int32_t high, const char* what)
    {
        if (m_ok && (value < low || value > high))
            Fail(what);
    }

    CFileInterface& File() { return m_file; }

private:
    CFileInterface& m_file;
    std::string& m_why;
    bool m_ok = true;
};

void SetStoredDefaults(SResearchRecord* research)
{
    SResearchRecord& cargo = research[COMPONENT_CARGO];
    cargo.stage = 1;
    cargo.limit = 0;
    cargo.enabled = true;
    SResearchRecord& vacuum = research[COMPONENT_STATION_VAC];
    vacuum.stage = 1;
    vacuum.limit = 1;
    vacuum.enabled = true;
    vacuum.cost[1] = SCostVector{{25.0f, 12.0f, 8.0f}};
}

bool WriteCost(CFileInterface& file, const SCostVector& cost)
{
    return file.WriteFloat(cost.gems[0]) && file.WriteFloat(cost.gems[1]) && file.WriteFloat(cost.gems[2]);
}

bool WriteHistory(CFileInterface& file, const SWorkSlot& slot)
{
    bool ok = file.WriteS32(slot.historyCount);
    for (const SHistoryEntry& entry : slot.history)
        ok = ok && file.WriteU32(entry.time) && WriteCost(file, entry.paid);
    return ok && WriteCost(file, slot.remaining);
}

void ReadHistory(CBlockReader& reader, SWorkSlot& slot)
{
    reader.S32(slot.historyCount, "a work slot ends early");
    reader.Range(slot.historyCount, 0, CAMPAIGN_HISTORY_SIZE, "a work slot's history count is out of range");
    for (SHistoryEntry& entry : slot.history)
    {
        reader.U32(entry.time, "a work slot's history ends early");
        reader.Cost(entry.paid, "a work slot's history holds a bad amount");
    }
    reader.Cost(slot.remaining, "a work slot's remaining cost is bad");
}

void CheckSlot(CBlockReader& reader, const SWorkSlot& slot)
{
    reader.Range(slot.kind, 0, COMPONENT_KIND_COUNT - 1, "a work slot's component kind is out of range");
    if (slot.rate < 0)
        reader.Fail("a work slot's crew is negative");
    if (slot.IsActive() && slot.historyCount < 1)
        reader.Fail("a running work slot has no history");
}
} // namespace

bool WriteCampaignBlock(CFileInterface& file, const SCampaignState& state)
{
    bool ok = WriteFileTag(file, NEWEST_TAG);
    for (int32_t gems : state.gems.count)
        ok = ok && file.WriteS32(gems);
    ok = ok && file.WriteS32(state.crew) && file.WriteS32(state.friendlyAliens) && file.WriteS32(state.currentShip);
    for (int i = 0; i < CAMPAIGN_SHIPS_STORED; ++i)
        ok = ok && file.WriteS32(state.ships[i].storedHealth) && file.WriteS32(state.ships[i].kills) &&
             file.WriteU32(state.ships[i].flightTime);
    ok = ok && file.WriteS32(state.stationLimit) && file.WriteS32(state.stationLevel);
    for (const SMountRecord& mount : state.mounts)
        ok = ok && file.WriteU32(mount.definition) && file.WriteU8(mount.fitted ? 1 : 0) &&
             file.WriteU8(mount.weapon ? 1 : 0);
    for (const SStoreRecord& item : state.store)
        ok = ok && file.WriteU32(static_cast<uint32_t>(item.definition)) &&
             file.WriteU32(static_cast<uint32_t>(item.kind)) && file.WriteU32(static_cast<uint32_t>(item.count)) &&
             file.WriteU8(item.used ? 1 : 0);
    for (const SResearchRecord& research : state.research)
    {
        ok = ok && file.WriteS32(research.stage) && file.WriteS32(research.limit) &&
             file.WriteU8(research.enabled ? 1 : 0);
        for (const SCostVector& cost : research.cost)
            ok = ok && WriteCost(file, cost);
    }
    const SWorkSlot& lab = state.researchSlot;
    ok = ok && WriteHistory(file, lab) && file.WriteS32(lab.rate) && file.WriteS32(lab.kind) &&
         file.WriteU32(lab.startTime) && file.WriteU8(lab.stalled ? 1 : 0);
    const SWorkSlot& works = state.manufactureSlot;
    ok = ok && WriteHistory(file, works) && file.WriteS32(works.rate) && file.WriteS32(works.kind) &&
         file.WriteS32(works.definition) && file.WriteS32(works.units) && file.WriteU32(works.startTime) &&
         file.WriteU8(works.stalled ? 1 : 0);
    return ok && state.pilot.Write(file);
}

bool ReadCampaignBlock(CFileInterface& file, SCampaignState& state, std::string& why)
{
    CBlockReader reader(file, why);
    const bool newest = ReadFileTag(file, NEWEST_TAG);
    const bool older = ReadFileTag(file, OLDER_TAG);
    const int records = newest ? RECORDS_NEWEST : older ? RECORDS_OLDER : RECORDS_OLDEST;

    for (int32_t& gems : state.gems.count)
        reader.S32(gems, "the gem stocks end early");
    state.gems.Clamp();
    reader.S32(state.crew, "the crew count is missing");
    reader.S32(state.friendlyAliens, "the friendly alien count is missing");
    reader.S32(state.currentShip, "the current ship is missing");
    if (state.crew < 0 || state.friendlyAliens < 0)
        reader.Fail("a crew or alien count is negative");
    reader.Range(state.currentShip, 0, CAMPAIGN_SHIP_SLOTS - 1, "the current ship slot is out of range");

    for (int i = 0; i < CAMPAIGN_SHIPS_STORED; ++i)
    {
        SShipState& ship = state.ships[i];
        reader.S32(ship.storedHealth, "the ship states end early");
        reader.S32(ship.kills, "the ship states end early");
        reader.U32(ship.flightTime, "the ship states end early");
        if (ship.storedHealth < 1)
            ship.storedHealth = 1;
    }
    reader.S32(state.stationLimit, "the station's record is missing");
    reader.S32(state.stationLevel, "the station's record is missing");
    if (state.stationLimit < -1 || state.stationLevel < -1)
        reader.Fail("the station's health is out of range");

    for (SMountRecord& mount : state.mounts)
    {
        reader.U32(mount.definition, "the station mounts end early");
        if (reader.Ok() && mount.definition >= static_cast<uint32_t>(CAMPAIGN_DEFS_PER_KIND))
            reader.Fail("a station mount's definition is out of range");
        reader.Flag(mount.fitted, "a station mount's fitted flag is bad");
        if (newest)
            reader.Flag(mount.weapon, "a station mount's weapon flag is bad");
        else
            mount.weapon = true;
    }

    for (SStoreRecord& item : state.store)
    {
        reader.S32(item.definition, "the store ends early");
        reader.S32(item.kind, "the store ends early");
        reader.S32(item.count, "the store ends early");
        reader.Flag(item.used, "a store record's used flag is bad");
        reader.Range(item.kind, 0, COMPONENT_KIND_COUNT - 1, "a store record's component kind is out of range");
        reader.Range(item.definition, 0, CAMPAIGN_DEFS_PER_KIND - 1, "a store record's definition is out of range");
        reader.Range(item.count, item.used ? 1 : 0, INT32_MAX, "a store record's count is out of range");
    }

    SetStoredDefaults(state.research);
    for (int kind = 0; kind < records; ++kind)
    {
        SResearchRecord& research = state.research[kind];
        reader.S32(research.stage, "the research records end early");
        reader.S32(research.limit, "the research records end early");
        reader.Flag(research.enabled, "a research record's enabled flag is bad");
        reader.Range(research.stage, -1, MAX_STAGE, "a research stage is out of range");
        reader.Range(research.limit, -1, MAX_LIMIT, "a research limit is out of range");
        for (SCostVector& cost : research.cost)
            reader.Cost(cost, "a research cost is bad");
        if (kind == COMPONENT_GRAVITY_BEAM)
        {
            research.limit = 2;
            research.cost[2] = SCostVector{{100.0f, 50.0f, 25.0f}};
        }
    }

    SWorkSlot& lab = state.researchSlot;
    ReadHistory(reader, lab);
    reader.S32(lab.rate, "the research slot ends early");
    reader.S32(lab.kind, "the research slot ends early");
    reader.U32(lab.startTime, "the research slot ends early");
    reader.Flag(lab.stalled, "the research slot's paused flag is bad");
    CheckSlot(reader, lab);
    // A running research draws on the cost of its kind's current stage.
    if (reader.Ok() && lab.IsActive())
        reader.Range(state.research[lab.kind].stage, 0, MAX_LIMIT, "the research slot's kind has no cost to pay");

    SWorkSlot& works = state.manufactureSlot;
    ReadHistory(reader, works);
    reader.S32(works.rate, "the manufacturing slot ends early");
    reader.S32(works.kind, "the manufacturing slot ends early");
    reader.S32(works.definition, "the manufacturing slot ends early");
    reader.S32(works.units, "the manufacturing slot ends early");
    reader.U32(works.startTime, "the manufacturing slot ends early");
    reader.Flag(works.stalled, "the manufacturing slot's paused flag is bad");
    CheckSlot(reader, works);
    reader.Range(works.definition, 0, CAMPAIGN_DEFS_PER_KIND - 1, "the manufactured definition is out of range");
    reader.Range(works.units, 0, INT32_MAX, "the manufactured units are negative");

    if (reader.Ok() && !state.pilot.Read(file))
        reader.Fail("the pilot record is damaged");
    return reader.Ok();
}
