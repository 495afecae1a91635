#include "frontend/ResearchRules.h"

#include "frontend/Campaign.h"
#include "ships/ShipComponentDatabase.h"

#include <algorithm>

namespace
{
bool IsKind(int32_t kind)
{
    return kind >= 0 && kind < COMPONENT_KIND_COUNT;
}

int32_t CountDefinitions(const CShipComponentDatabase* database, int32_t kind)
{
    const SComponentCategory* category = database ? database->GetCategory(kind) : nullptr;
    return category ? category->m_defCount : 0;
}

void SetCost(SCostVector& cost, const float gems[GEM_KIND_COUNT], float units = 1.0f)
{
    for (int g = 0; g < GEM_KIND_COUNT; ++g)
        cost.gems[g] = gems[g] * units;
}

void StartSlot(SWorkSlot& slot, uint32_t zoneClock)
{
    slot.startTime = std::max<uint32_t>(zoneClock, 1);
    slot.stalled = false;
    slot.historyCount = 1;
    slot.history[0] = SHistoryEntry();
    slot.history[0].time = slot.startTime;
}
} // namespace

uint32_t GetWorkSlotText(EWorkSlotStatus status)
{
    switch (status)
    {
    case WORK_RUNNING:
        return WORK_TEXT_RUNNING;
    case WORK_STARVED:
        return WORK_TEXT_STARVED;
    case WORK_PAUSED:
        return WORK_TEXT_PAUSED;
    default:
        return WORK_TEXT_IDLE;
    }
}

bool IsKindWithinReach(const SCampaignState& state, int32_t kind)
{
    if (!IsKind(kind))
        return false;
    return state.pilot.difficulty == 0 ||
           state.research[kind].stage <= state.pilot.reachedZone + GetResearchStageAllowance(kind);
}

int32_t GetResearchTarget(const SCampaignState& state, const CShipComponentDatabase* database, int32_t kind)
{
    if (!IsKind(kind))
        return -1;
    const int32_t stage = state.research[kind].stage;
    return stage >= 0 && stage < CountDefinitions(database, kind) ? stage : -1;
}

std::vector<int32_t> ListResearchProjects(const SCampaignState& state, const CShipComponentDatabase* database)
{
    std::vector<int32_t> kinds;
    for (int32_t kind = 0; kind < COMPONENT_KIND_COUNT; ++kind)
    {
        const SResearchRecord& research = state.research[kind];
        if (research.enabled && research.stage >= 0 && research.limit >= research.stage &&
            research.stage < CAMPAIGN_COST_STAGES && IsKindWithinReach(state, kind) &&
            GetResearchTarget(state, database, kind) >= 0)
            kinds.push_back(kind);
    }
    return kinds;
}

std::vector<int32_t> ListBuildableDefinitions(const SCampaignState& state, const CShipComponentDatabase* database,
                                              int32_t kind)
{
    std::vector<int32_t> definitions;
    if (!IsKind(kind))
        return definitions;
    const int32_t end = std::min(state.research[kind].stage, CountDefinitions(database, kind));
    for (int32_t def = kind == COMPONENT_HULL ? 1 : 0; def < end; ++def)
        definitions.push_back(def);
    return definitions;
}

std::vector<int32_t> ListManufactureKinds(const SCampaignState& state, const CShipComponentDatabase* database)
{
    std::vector<int32_t> kinds;
    for (int32_t kind = 0; kind < COMPONENT_KIND_COUNT; ++kind)
    {
        const SResearchRecord& research = state.research[kind];
        if (!research.enabled || (kind == COMPONENT_HULL && research.stage == 1))
            continue;
        if (!ListBuildableDefinitions(state, database, kind).empty())
            kinds.push_back(kind);
    }
    return kinds;
}

int32_t GetFreeCrew(const SCampaignState& state)
{
    return state.crew - state.researchSlot.rate - state.manufactureSlot.rate;
}

void BoundSlotCrews(SCampaignState& state)
{
    const int32_t total = std::max(state.crew, 0);
    state.researchSlot.rate = std::clamp(state.researchSlot.rate, 0, total);
    state.manufactureSlot.rate = std::clamp(state.manufactureSlot.rate, 0, total - state.researchSlot.rate);
}

bool GetShownCost(const SCampaignState& state, const CShipComponentDatabase* database, bool research, int32_t kind,
                  int32_t definition, SCostVector& cost)
{
    const SWorkSlot& slot = research ? state.researchSlot : state.manufactureSlot;
    if (slot.IsActive())
    {
        cost = slot.remaining;
        return true;
    }
    cost = SCostVector();
    if (!IsKind(kind))
        return false;
    if (research)
    {
        const int32_t stage = state.research[kind].stage;
        if (stage < 0 || stage >= CAMPAIGN_COST_STAGES)
            return false;
        cost = state.research[kind].cost[stage];
        return true;
    }
    const CShipComponentDef* def = database ? database->GetComponentDef(kind, definition) : nullptr;
    if (!def)
        return false;
    SetCost(cost, def->m_cost);
    return true;
}

EWorkSlotStatus GetWorkSlotStatus(const SCampaignState& state, bool research, const SCostVector& shownCost)
{
    const SWorkSlot& slot = research ? state.researchSlot : state.manufactureSlot;
    const bool staffed = slot.rate > 0 && (research || slot.units > 0);
    if (!slot.IsActive())
        return staffed && state.gems.CanPay(shownCost.gems) ? WORK_READY : WORK_IDLE;
    if (slot.stalled)
        return WORK_PAUSED;
    return staffed && state.gems.CanPay(slot.remaining.gems) ? WORK_RUNNING : WORK_STARVED;
}

bool StartResearch(SCampaignState& state, int32_t kind, uint32_t zoneClock)
{
    if (!IsKind(kind))
        return false;
    const int32_t stage = state.research[kind].stage;
    if (stage < 0 || stage >= CAMPAIGN_COST_STAGES)
        return false;
    SWorkSlot& slot = state.researchSlot;
    slot.remaining = state.research[kind].cost[stage];
    slot.kind = kind;
    StartSlot(slot, zoneClock);
    return true;
}

bool StartManufacture(SCampaignState& state, const CShipComponentDatabase* database, int32_t kind,
                      int32_t definition, int32_t units, uint32_t zoneClock)
{
    const CShipComponentDef* def = database && IsKind(kind) ? database->GetComponentDef(kind, definition) : nullptr;
    if (!def || units < 1)
        return false;
    SWorkSlot& slot = state.manufactureSlot;
    slot.kind = kind;
    slot.definition = definition;
    slot.units = units;
    SetCost(slot.remaining, def->m_cost, static_cast<float>(units));
    StartSlot(slot, zoneClock);
    return true;
}

void CancelWorkSlot(SCampaignState& state, bool research)
{
    SWorkSlot& slot = research ? state.researchSlot : state.manufactureSlot;
    slot.remaining = SCostVector();
    if (research)
        slot.kind = 0;
    slot.units = 0;
    slot.definition = 0;
    slot.rate = 0;
    slot.startTime = 0;
    slot.historyCount = 0;
    slot.stalled = false;
}

bool IsStartAllowed(int tutorialStep, bool research, int32_t kind, int itemPosition, int32_t units, int32_t crew)
{
    if (tutorialStep == TUTORIAL_STEP_STATION_WEAPON)
        return !research && kind == COMPONENT_STATION_WEAPON && units <= 1 && crew >= TUTORIAL_START_CREW;
    if (tutorialStep == TUTORIAL_STEP_HULL)
        return !research && kind == COMPONENT_HULL && itemPosition == 1 && units <= 1 &&
               crew >= TUTORIAL_START_CREW;
    return true;
}
