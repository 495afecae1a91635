// The research of the component kinds and the two work slots that run on the zone
// clock: the research slot unlocks the next definition of a kind, the manufacturing
// slot builds components into the store. A slot draws gems from the stocks as its crew
// (its rate) and the time since its last history entry allow.

#include "frontend/Campaign.h"

#include "ships/ShipComponentDatabase.h"

#include <algorithm>
#include <cmath>

namespace
{
struct SNewGameResearch
{
    int32_t stage;
    int32_t limit;
    bool enabled;
    int costCount;
    float costs[CAMPAIGN_COST_STAGES][GEM_KIND_COUNT];
};

// Kinds 0 (none) and 6 (any weapon) are only disabled.
const SNewGameResearch NEW_GAME_RESEARCH[COMPONENT_KIND_COUNT] = {
    {0, 0, false, 0, {}},
    {1, 3, true, 4, {{1, 0, 0}, {25, 7, 3}, {50, 15, 7}, {75, 25, 12}}},
    {1, 3, true, 4, {{1, 0, 0}, {25, 7, 3}, {50, 15, 7}, {75, 25, 12}}},
    {1, 3, true, 4, {{1, 0, 0}, {25, 7, 3}, {75, 30, 15}, {100, 50, 25}}},
    {1, 3, true, 4, {{1, 0, 0}, {25, 7, 3}, {50, 25, 12}, {100, 50, 25}}},
    {1, 2, true, 3, {{1, 0, 0}, {50, 25, 12}, {100, 50, 25}}},
    {0, 0, false, 0, {}},
    {3, 4, true, 5, {{1, 0, 0}, {50, 0, 0}, {100, 50, 25}, {150, 75, 40}, {200, 100, 60}}},
    {1, 2, true, 3, {{1, 0, 0}, {50, 25, 12}, {100, 50, 25}}},
    {1, 3, false, 4, {{1, 0, 0}, {50, 0, 0}, {100, 50, 25}, {150, 75, 40}}},
    {1, 2, false, 3, {{1, 0, 0}, {75, 50, 25}, {100, 75, 50}}},
    {1, 5, true, 6, {{1, 0, 0}, {25, 12, 6}, {50, 25, 12}, {75, 50, 25}, {100, 75, 50}, {125, 100, 75}}},
    {1, 2, false, 3, {{1, 0, 0}, {75, 25, 0}, {100, 50, 25}}},
    {1, 3, false, 4, {{1, 0, 0}, {75, 50, 25}, {100, 75, 50}, {150, 100, 75}}},
    {1, 3, false, 4, {{1, 0, 0}, {50, 25, 12}, {75, 50, 25}, {100, 75, 50}}},
    {1, 0, true, 1, {{1, 0, 0}}},
    {1, 0, false, 1, {{1, 0, 0}}},
    {1, 0, true, 1, {{1, 0, 0}}},
    {1, 1, true, 2, {{1, 0, 0}, {25, 12, 8}}},
};

void ClearSlot(SWorkSlot& slot)
{
    slot.startTime = 0;
    slot.rate = 0;
}

// Appends an entry, or (the history being full) moves the last one on: the graph then
// loses a point but the slot goes on.
void AppendHistory(SWorkSlot& slot, const SCostVector& paid, uint32_t time)
{
    if (slot.historyCount < CAMPAIGN_HISTORY_SIZE)
        ++slot.historyCount;
    SHistoryEntry& entry = slot.history[slot.historyCount - 1];
    entry.paid = paid;
    entry.time = time;
}
} // namespace

int32_t GetResearchStageAllowance(int kind)
{
    switch (kind)
    {
    case COMPONENT_PROJECTILE_GUN:
    case COMPONENT_STATION_VAC:
        return 1;
    case COMPONENT_HULL:
    case COMPONENT_STATION_WEAPON:
        return 2;
    default:
        return 0;
    }
}

void CCampaign::SetNewGameResearch()
{
    ClearSlot(m_state.researchSlot);
    ClearSlot(m_state.manufactureSlot);
    m_state.researchSlot.historyCount = 0;
    m_state.manufactureSlot.historyCount = 0;
    m_state.crew = CAMPAIGN_NEW_GAME_CREW;
    m_state.friendlyAliens = 0;
    for (int kind = 0; kind < COMPONENT_KIND_COUNT; ++kind)
    {
        const SNewGameResearch& row = NEW_GAME_RESEARCH[kind];
        SResearchRecord& research = m_state.research[kind];
        research.enabled = row.enabled;
        if (kind == COMPONENT_NONE || kind == COMPONENT_ANY_WEAPON)
            continue;
        research.stage = row.stage;
        research.limit = row.limit;
        for (int s = 0; s < CAMPAIGN_COST_STAGES; ++s)
            for (int g = 0; g < GEM_KIND_COUNT; ++g)
                research.cost[s].gems[g] = s < row.costCount ? row.costs[s][g] : 0.0f;
    }
}

bool CCampaign::HasReadyProject() const
{
    const SPilotRecord& pilot = m_state.pilot;
    for (int kind = 0; kind < COMPONENT_KIND_COUNT; ++kind)
    {
        const SResearchRecord& research = m_state.research[kind];
        if (pilot.difficulty != 0 && research.stage > pilot.reachedZone + GetResearchStageAllowance(kind))
            continue;
        if (research.enabled && research.stage != -1 && research.limit >= research.stage)
            return true;
    }
    return false;
}

bool CCampaign::GetSlotCost(bool research, SCostVector& cost) const
{
    const SWorkSlot& slot = research ? m_state.researchSlot : m_state.manufactureSlot;
    if (slot.kind < 0 || slot.kind >= COMPONENT_KIND_COUNT)
        return false;
    if (research)
    {
        const int32_t stage = m_state.research[slot.kind].stage;
        if (stage < 0 || stage >= CAMPAIGN_COST_STAGES)
            return false;
        cost = m_state.research[slot.kind].cost[stage];
        return true;
    }
    const CShipComponentDatabase* database = GetComponentDatabase();
    const CShipComponentDef* def = database ? database->GetComponentDef(slot.kind, slot.definition) : nullptr;
    if (!def)
        return false;
    for (int g = 0; g < GEM_KIND_COUNT; ++g)
        cost.gems[g] = def->m_cost[g];
    return true;
}

void CCampaign::AdvanceResearch(uint32_t zoneClock)
{
    StepSlot(m_state.researchSlot, true, zoneClock);
    StepSlot(m_state.manufactureSlot, false, zoneClock);
}

// A slot's times are readings of the zone clock where it runs; the player's move into
// another zone moves a running slot's start by the difference of the two clocks (never
// below 1), and its history starts again with two entries, from the moved start with
// what the first entry had paid to the new clock with all paid so far, so that the
// slot goes on where it stood and its graph keeps its shape.
void CCampaign::MoveSlotsToZoneClock(uint32_t fromClock, uint32_t toClock)
{
    for (SWorkSlot* slot : {&m_state.researchSlot, &m_state.manufactureSlot})
    {
        if (!slot->IsActive())
            continue;
        const int64_t moved = static_cast<int64_t>(slot->startTime) + toClock - static_cast<int64_t>(fromClock);
        slot->startTime = moved < 1 ? 1u : (moved > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(moved));
        const SCostVector first = slot->historyCount > 0 ? slot->history[0].paid : SCostVector();
        const SCostVector last = slot->historyCount > 0 ? slot->history[slot->historyCount - 1].paid : SCostVector();
        slot->history[0].time = slot->startTime;
        slot->history[0].paid = first;
        slot->history[1].time = toClock;
        slot->history[1].paid = last;
        slot->historyCount = 2;
    }
}

void CCampaign::StepSlot(SWorkSlot& slot, bool research, uint32_t zoneClock)
{
    SCostVector cost;
    if (!slot.IsActive() || slot.historyCount < 1 || !GetSlotCost(research, cost))
        return;
    const SHistoryEntry last = slot.history[slot.historyCount - 1];
    if (zoneClock <= last.time)
        return;
    const uint32_t elapsed = zoneClock - last.time;
    SCostVector owed;
    for (int g = 0; g < GEM_KIND_COUNT; ++g)
        owed.gems[g] = cost.gems[g] - last.paid.gems[g];
    const int64_t byTime = static_cast<int64_t>(std::max(slot.rate, 0)) * elapsed / SLOT_STEP_MIN_MS;
    const int64_t byCost = static_cast<int64_t>(std::ceil(std::max(0.0f, owed.Weigh())));
    int64_t budget = std::min(byTime, byCost);
    if (budget == 0 || elapsed < SLOT_STEP_MIN_MS)
        return;

    SCostVector drawn;
    int32_t* stocks = m_state.gems.count;
    bool drewAny = false;
    bool tookLastPass = true;
    while (!slot.stalled && budget > 0 && tookLastPass)
    {
        tookLastPass = false;
        if (budget > 2 && owed.gems[GEM_VERY_RARE] > 0.0f)
        {
            const float most = std::min({static_cast<float>(stocks[GEM_VERY_RARE]), 0.33f * static_cast<float>(budget),
                                         owed.gems[GEM_VERY_RARE]});
            const int32_t gems = static_cast<int32_t>(std::max(0.0f, most));
            stocks[GEM_VERY_RARE] -= gems;
            owed.gems[GEM_VERY_RARE] -= static_cast<float>(gems);
            drawn.gems[GEM_VERY_RARE] += static_cast<float>(gems);
            budget -= 3 * gems;
            tookLastPass = tookLastPass || gems > 0;
        }
        if (budget > 1 && owed.gems[GEM_RARE] > 0.0f)
        {
            const float most = std::min({static_cast<float>(stocks[GEM_RARE]), 0.5f * static_cast<float>(budget),
                                         owed.gems[GEM_RARE]});
            const int32_t gems = static_cast<int32_t>(std::max(0.0f, most));
            stocks[GEM_RARE] -= gems;
            owed.gems[GEM_RARE] -= static_cast<float>(gems);
            drawn.gems[GEM_RARE] += static_cast<float>(gems);
            budget -= 2 * gems;
            tookLastPass = tookLastPass || gems > 0;
        }
        if (budget > 0 && owed.gems[GEM_NORMAL] > 0.0f)
        {
            // Normal gems are drawn by the budget alone; what is owed only stops at 0.
            const int32_t gems = static_cast<int32_t>(std::min<int64_t>(std::max(stocks[GEM_NORMAL], 0), budget));
            stocks[GEM_NORMAL] -= gems;
            owed.gems[GEM_NORMAL] = std::max(0.0f, owed.gems[GEM_NORMAL] - static_cast<float>(gems));
            drawn.gems[GEM_NORMAL] += static_cast<float>(gems);
            budget -= gems;
            tookLastPass = tookLastPass || gems > 0;
        }
        drewAny = drewAny || tookLastPass;
    }

    if (!drewAny || slot.stalled)
    {
        // Idle time does not count: the slot measures from now on.
        AppendHistory(slot, last.paid, zoneClock);
        return;
    }
    if (owed.gems[GEM_NORMAL] < 1.0f && owed.gems[GEM_RARE] < 1.0f && owed.gems[GEM_VERY_RARE] < 1.0f)
    {
        CompleteSlot(slot, research, zoneClock);
        return;
    }
    SCostVector paid = last.paid;
    for (int g = 0; g < GEM_KIND_COUNT; ++g)
    {
        paid.gems[g] += drawn.gems[g];
        float& remaining = slot.remaining.gems[g];
        remaining -= drawn.gems[g];
        if (remaining < 1.0f)
            remaining = 0.0f;
    }
    AppendHistory(slot, paid, zoneClock);
}

void CCampaign::CompleteSlot(SWorkSlot& slot, bool research, uint32_t zoneClock)
{
    if (research)
    {
        ++m_state.research[slot.kind].stage;
        ClearSlot(slot);
        return;
    }
    AddStoredItem(slot.kind, slot.definition);
    --slot.units;
    if (slot.units <= 0)
    {
        slot.units = 0;
        ClearSlot(slot);
        return;
    }
    slot.historyCount = 0;
    AppendHistory(slot, SCostVector(), zoneClock);
}
