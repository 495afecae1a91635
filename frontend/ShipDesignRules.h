#pragma once
// The rules of the player's ship designs between flights, as the ship select and ship
// construction screens apply them to the component database's designs and the
// campaign's store and gem stocks: naming and making a design, choosing its hull,
// the fitting limits, taking a pod's component back or selling it, selling or
// dismantling a whole design, and the figures the construction screen shows.
//
// Every action that can be refused checks first and changes nothing when it refuses:
// the store (75 records) must have room for whatever goes back into it, a pod is sold
// only when the stocks take some of its refund, and a weapon group must have room.

#include "frontend/ComponentInfoPanel.h"
#include "ships/ComponentKind.h"

#include <cstdint>
#include <string>
#include <vector>

class CCampaign;
class CShipComponentDatabase;
class CShipConfig;
class CZoneLink;

// The design slots the player owns and names: 2, 3 and 4.
constexpr int FIRST_PLAYER_DESIGN = 2;
constexpr int LAST_PLAYER_DESIGN = 4;
// The longest name the name popup takes.
constexpr size_t DESIGN_NAME_TYPED_MAX = 48;
// The ship a deleted current design hands over to.
constexpr int FALLBACK_SHIP = 1;

// ---- names ------------------------------------------------------------------------
// The typed name without blanks before and after it, at most 48 characters.
std::string TrimDesignName(const std::string& typed);
// A name the design file can hold: not empty and without "//" (which the design file
// would read as the start of a comment).
bool IsValidDesignName(const std::string& name);
// The name as the pilot record keeps it (at most 9 characters); names are compared in
// this form.
std::string GetRecordName(const std::string& name);
// The name (in its record form) is the ident of the design in slot 2, 3 or 4, or one of
// the five ship names of the pilot record.
bool IsDesignNameInUse(const CCampaign& campaign, const CShipComponentDatabase& database, const std::string& name);

// ---- making and deleting designs ----------------------------------------------------
// Whether the stores hold a hull a new design can be built on.
bool HasStoredHull(CCampaign& campaign);
// The stored HULL items' definitions, in store order.
std::vector<int32_t> ListStoredHulls(CCampaign& campaign);
// A new design in the empty slot (2 to 4) with the name and hull 0; the slot's stored
// health becomes the hull's. False for another slot, an occupied one or a bad name.
bool CreateDesign(CCampaign& campaign, CShipComponentDatabase& database, int slot, const std::string& name);
// The design takes the hull: one empty pod per hull slot at its position, no weapon
// groups; the slot's stored health becomes the hull's health. False for an unknown hull.
bool SetDesignHull(CCampaign& campaign, CShipComponentDatabase& database, int slot, int32_t hull);
// A new design is committed: its hull taken from the stores (when they hold it), one
// more ship built in the pilot record, the slot's kills and flight time cleared.
void CommitNewDesign(CCampaign& campaign, const CShipComponentDatabase& database, int slot);
// Sell: the ship leaves the pilot record, each pod's component and then the hull are
// refunded while the stocks take them, the design is deleted. False without a design.
bool SellDesign(CCampaign& campaign, CShipComponentDatabase& database, CZoneLink& zones, int slot);
// Dismantle: every pod's component and the hull go back into the stores and the
// design is deleted. False, and nothing changes, when the store has no room for them.
bool DismantleDesign(CCampaign& campaign, CShipComponentDatabase& database, CZoneLink& zones, int slot);
// The stored health as a whole percentage of the hull's health (0 for a hull of none).
int GetConditionPercent(int32_t stored, int32_t health);

// ---- fitting ------------------------------------------------------------------------
// How many pods of the kind a design may hold (-1: no limit).
int GetFittingLimit(int32_t kind);
bool IsKindAtLimit(const CShipConfig& design, int32_t kind);
// The kinds the add-component lists offer: in kind order, every kind but HULL and the
// station's that the stores hold and that is not at its limit.
std::vector<int32_t> ListFittableKinds(CCampaign& campaign, const CShipConfig& design);
// The used store records of the kind, in store order.
std::vector<int> ListKindRecords(CCampaign& campaign, int32_t kind);
bool HasFittedComponent(const CShipConfig& design);

// ---- one pod --------------------------------------------------------------------------
// The pod's component goes back into the stores; the pod is emptied and leaves its
// weapon group. False (nothing changes) for an empty pod or a full store.
bool ReturnPodToStore(CCampaign& campaign, CShipConfig& design, int32_t pod);
// The pod's component is sold for half its cost; the pod is emptied and leaves its
// weapon group. False (nothing changes) for an empty pod or stocks that are all full.
bool SellPod(CCampaign& campaign, const CShipComponentDatabase& database, CShipConfig& design, int32_t pod);

// ---- figures ----------------------------------------------------------------------------
enum EDesignFigure : int
{
    FIGURE_MASS = 0,
    FIGURE_ENGINE_ENERGY = 1,
    FIGURE_TOTAL_ENERGY = 2,
    FIGURE_GROUP_1 = 3,
    FIGURE_GROUP_2 = 4,
    FIGURE_ARMED = 5,
    FIGURE_FLIES = 6,
    DESIGN_FIGURE_COUNT = 7,
};
struct SDesignFigures
{
    SInfoText texts[DESIGN_FIGURE_COUNT];
};
SDesignFigures ComputeDesignFigures(const CShipConfig& design, const CShipComponentDatabase& database);
