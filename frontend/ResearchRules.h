#pragma once
// The rules behind the research screen, over the campaign's values and the component
// database: which kinds the research and manufacture lists offer and which
// definitions, what a work slot's status is, and starting and cancelling a slot.
//
// A kind's research at stage s unlocks its definition s, and definitions 0 to s - 1
// can be built (a hull from definition 1: hull 0 is never built). Stages and indices
// that a save brings beyond the kind's definitions are kept within them, and a kind
// whose next stage has no definition is not offered for research (it would unlock
// nothing).

#include "frontend/CampaignState.h"

#include <cstdint>
#include <vector>

class CShipComponentDatabase;

enum EWorkSlotStatus : int
{
    WORK_IDLE = 0,
    WORK_READY = 1,
    WORK_RUNNING = 2,
    WORK_STARVED = 3,
    WORK_PAUSED = 4,
};

// The status texts (the idle and ready texts are one).
enum EWorkSlotText : uint32_t
{
    WORK_TEXT_IDLE = 0x25000003,
    WORK_TEXT_RUNNING = 0x8c000003,
    WORK_TEXT_STARVED = 0xd6000004,
    WORK_TEXT_PAUSED = 0x83000001,
};

// The tutorial steps in which only one start is allowed.
constexpr int TUTORIAL_STEP_STATION_WEAPON = 21;
constexpr int TUTORIAL_STEP_HULL = 24;
constexpr int32_t TUTORIAL_START_CREW = 5;

uint32_t GetWorkSlotText(EWorkSlotStatus status);

// Above difficulty 0 a kind whose stage lies beyond the pilot's reached zone (plus the
// kind's allowance) is not offered.
bool IsKindWithinReach(const SCampaignState& state, int32_t kind);
// The kinds the project list offers while the research slot is idle, in kind order.
std::vector<int32_t> ListResearchProjects(const SCampaignState& state, const CShipComponentDatabase* database);
// The definition the kind's research would unlock (its stage), -1 when there is none.
int32_t GetResearchTarget(const SCampaignState& state, const CShipComponentDatabase* database, int32_t kind);
// The definitions of the kind that can be built, in order (a hull from definition 1).
std::vector<int32_t> ListBuildableDefinitions(const SCampaignState& state, const CShipComponentDatabase* database,
                                              int32_t kind);
// The kinds the category list offers while the manufacturing slot is idle: enabled
// kinds with something to build, but not hulls while their stage is 1.
std::vector<int32_t> ListManufactureKinds(const SCampaignState& state, const CShipComponentDatabase* database);

// The crew total less the crews of both slots.
int32_t GetFreeCrew(const SCampaignState& state);
// Crews as a save may bring them: each within 0 and the crew total, the two together
// no more than it (the manufacturing slot gives way first).
void BoundSlotCrews(SCampaignState& state);
// The cost a slot shows: what remains while it runs, else the research stage's cost of
// the kind or one unit of the definition. False when there is no such cost.
bool GetShownCost(const SCampaignState& state, const CShipComponentDatabase* database, bool research, int32_t kind,
                  int32_t definition, SCostVector& cost);
// The status of the research or manufacturing slot; `shownCost` is what an idle slot
// would have to pay.
EWorkSlotStatus GetWorkSlotStatus(const SCampaignState& state, bool research, const SCostVector& shownCost);

// Starts the research of the kind's next stage at the zone clock (a clock of 0 counts
// as 1, since 0 marks an idle slot). False for a kind without a cost at its stage.
bool StartResearch(SCampaignState& state, int32_t kind, uint32_t zoneClock);
// Starts building units of the definition. False for a definition without a cost or
// units below 1.
bool StartManufacture(SCampaignState& state, const CShipComponentDatabase* database, int32_t kind,
                      int32_t definition, int32_t units, uint32_t zoneClock);
// Research: all cleared. Manufacture: all but the kind cleared.
void CancelWorkSlot(SCampaignState& state, bool research);
// In the tutorial's two steps only the start it asks for is allowed: one station weapon,
// then one hull from the list's second place, each with the whole crew.
bool IsStartAllowed(int tutorialStep, bool research, int32_t kind, int itemPosition, int32_t units, int32_t crew);
