#include "frontend/ShipDesignRules.h"

#include "core/WString.h"
#include "core/WideFormat.h"
#include "frontend/Campaign.h"
#include "frontend/StoreRules.h"
#include "ships/ShipComponentDatabase.h"
#include "world/ZoneLink.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace
{
constexpr uint32_t TEXT_YES = 0x56000003;
constexpr uint32_t TEXT_NO = 0xab000003;

bool IsPlayerDesignSlot(int slot)
{
    return slot >= FIRST_PLAYER_DESIGN && slot <= LAST_PLAYER_DESIGN;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Sums that data can make huge are cut into an int's range.
int32_t ToInt(double value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<int32_t>(std::clamp(value, -2147483647.0, 2147483647.0));
}

SInfoText Literal(const std::u16string& text)
{
    SInfoText out;
    out.literal = text;
    return out;
}

SInfoText TextId(uint32_t id)
{
    SInfoText out;
    out.isId = true;
    out.id = id;
    return out;
}

SInfoText FormatPair(int32_t used, int32_t available, bool over)
{
    CWString text;
    FormatWide(text, over ? u"%i/%i!" : u"%i/%i", used, available);
    return Literal(std::u16string(text.GetText()));
}

// The pod's component and the pod emptied and out of its weapon group.
void EmptyPod(CShipConfig& design, int32_t pod)
{
    SShipPod& target = design.m_pods[pod];
    design.RemovePodFromWeaponGroup(target.m_topLeft.x, target.m_topLeft.y);
    target.m_kind = COMPONENT_NONE;
    target.m_defIndex = 0;
}

bool IsFittedPod(const CShipConfig& design, int32_t pod)
{
    return pod >= 0 && pod < design.m_podCount && pod < SHIP_CONFIG_POD_MAX &&
           design.m_pods[pod].m_kind != COMPONENT_NONE;
}

// The design's components and its hull, as items of the store.
std::vector<SItemKey> ListDesignItems(const CShipConfig& design)
{
    std::vector<SItemKey> items;
    for (int32_t i = 0; i < design.m_podCount && i < SHIP_CONFIG_POD_MAX; ++i)
        if (design.m_pods[i].m_kind != COMPONENT_NONE)
            items.push_back(SItemKey{design.m_pods[i].m_kind, design.m_pods[i].m_defIndex});
    items.push_back(SItemKey{COMPONENT_HULL, design.m_hull});
    return items;
}

// Whether the store can take every item: those it holds count up, each other kind of
// item needs a free record.
bool StoreHasRoomFor(const CCampaign& campaign, const std::vector<SItemKey>& items)
{
    std::vector<std::pair<int32_t, int32_t>> fresh;
    for (const SItemKey& item : items)
    {
        if (item.kind < 0 || item.kind >= COMPONENT_KIND_COUNT || item.definition < 0 ||
            item.definition >= CAMPAIGN_DEFS_PER_KIND)
            return false;
        if (campaign.FindStoredItem(item.kind, item.definition) >= 0)
            continue;
        const std::pair<int32_t, int32_t> key(item.kind, item.definition);
        if (std::find(fresh.begin(), fresh.end(), key) == fresh.end())
            fresh.push_back(key);
    }
    return static_cast<int>(fresh.size()) <= CAMPAIGN_STORE_SIZE - campaign.CountStoredItems();
}

// The ship leaves the pilot record and the design goes; a current ship that goes
// hands over to ship 1.
void DeleteDesign(CCampaign& campaign, CShipComponentDatabase& database, CZoneLink& zones, int slot)
{
    const std::string name = campaign.GetDesignName(slot);
    if (!name.empty())
        campaign.GetPilot().SetShipStatus(name.c_str(), true);
    database.RemoveShipConfig(slot);
    if (zones.GetCurrentShip() == slot)
        zones.SetCurrentShip(FALLBACK_SHIP);
    if (campaign.GetCurrentShip() == slot)
        campaign.SetCurrentShip(FALLBACK_SHIP);
}
} // namespace

// ---- names ----------------------------------------------------------------------------

std::string TrimDesignName(const std::string& typed)
{
    size_t begin = 0;
    size_t end = typed.find('\0');
    if (end == std::string::npos)
        end = typed.size();
    while (begin < end && IsBlank(typed[begin]))
        ++begin;
    while (end > begin && IsBlank(typed[end - 1]))
        --end;
    return typed.substr(begin, std::min(end - begin, DESIGN_NAME_TYPED_MAX));
}

bool IsValidDesignName(const std::string& name)
{
    return !name.empty() && name.find("//") == std::string::npos;
}

std::string GetRecordName(const std::string& name)
{
    return name.substr(0, PILOT_NAME_SIZE - 1);
}

bool IsDesignNameInUse(const CCampaign& campaign, const CShipComponentDatabase& database, const std::string& name)
{
    const std::string wanted = GetRecordName(name);
    for (int slot = FIRST_PLAYER_DESIGN; slot <= LAST_PLAYER_DESIGN; ++slot)
    {
        const CShipConfig* design = database.GetShipConfig(slot);
        if (design && GetRecordName(design->m_ident) == wanted)
            return true;
    }
    const SPilotRecord& pilot = campaign.GetPilot();
    for (int i = 0; i < PILOT_SHIPS_STORED; ++i)
    {
        const SPilotShipEntry& entry = pilot.ships[i];
        const std::string listed(entry.name, strnlen(entry.name, PILOT_NAME_SIZE));
        if (!listed.empty() && listed == wanted)
            return true;
    }
    return false;
}

// ---- making and deleting designs --------------------------------------------------------

std::vector<int32_t> ListStoredHulls(CCampaign& campaign)
{
    std::vector<int32_t> hulls;
    for (int record = campaign.FindItemsByKey(COMPONENT_HULL); record >= 0; record = campaign.NextItemByKey())
        hulls.push_back(campaign.GetState().store[record].definition);
    return hulls;
}

bool HasStoredHull(CCampaign& campaign)
{
    return campaign.FindItemsByKey(COMPONENT_HULL) >= 0;
}

bool CreateDesign(CCampaign& campaign, CShipComponentDatabase& database, int slot, const std::string& name)
{
    if (!IsPlayerDesignSlot(slot) || database.GetShipConfig(slot) || !IsValidDesignName(name))
        return false;
    auto design = std::make_unique<CShipConfig>(&database);
    design->m_storageSlot = slot;
    design->m_ident = name.substr(0, SHIP_CONFIG_IDENT_MAX);
    design->m_hull = 0;
    if (!database.StoreShipConfig(std::move(design)))
        return false;
    const CHullDef* hull = database.GetHullDef(0);
    if (SShipState* ship = campaign.GetShipState(slot))
        ship->storedHealth = hull ? static_cast<int32_t>(hull->m_health) : 0;
    return true;
}

bool SetDesignHull(CCampaign& campaign, CShipComponentDatabase& database, int slot, int32_t hull)
{
    CShipConfig* design = database.GetShipConfig(slot);
    const CHullDef* def = database.GetHullDef(hull);
    if (!design || !def)
        return false;
    design->m_hull = hull;
    design->m_group1 = SWeaponGroup();
    design->m_group2 = SWeaponGroup();
    design->m_podCount = 0;
    for (const SHullPodSlot& hullSlot : def->m_podSlots)
    {
        if (design->m_podCount >= SHIP_CONFIG_POD_MAX)
            break;
        SShipPod& pod = design->m_pods[design->m_podCount++];
        pod = SShipPod();
        pod.m_topLeft = hullSlot.m_position;
    }
    if (SShipState* ship = campaign.GetShipState(slot))
        ship->storedHealth = static_cast<int32_t>(def->m_health);
    return true;
}

void CommitNewDesign(CCampaign& campaign, const CShipComponentDatabase& database, int slot)
{
    const CShipConfig* design = database.GetShipConfig(slot);
    if (!design)
        return;
    TakeFromRecord(campaign, campaign.FindStoredItem(COMPONENT_HULL, design->m_hull));
    ++campaign.GetPilot().progress[PILOT_SHIPS_BUILT];
    if (SShipState* ship = campaign.GetShipState(slot))
    {
        ship->kills = 0;
        ship->flightTime = 0;
    }
}

bool SellDesign(CCampaign& campaign, CShipComponentDatabase& database, CZoneLink& zones, int slot)
{
    const CShipConfig* design = IsPlayerDesignSlot(slot) ? database.GetShipConfig(slot) : nullptr;
    if (!design)
        return false;
    // Refunds go in while the stocks take them; the design goes in any case.
    for (const SItemKey& item : ListDesignItems(*design))
        RefundComponent(campaign, &database, item.kind, item.definition);
    DeleteDesign(campaign, database, zones, slot);
    return true;
}

bool DismantleDesign(CCampaign& campaign, CShipComponentDatabase& database, CZoneLink& zones, int slot)
{
    const CShipConfig* design = IsPlayerDesignSlot(slot) ? database.GetShipConfig(slot) : nullptr;
    if (!design)
        return false;
    const std::vector<SItemKey> items = ListDesignItems(*design);
    if (!StoreHasRoomFor(campaign, items))
        return false;
    for (const SItemKey& item : items)
        campaign.AddStoredItem(item.kind, item.definition);
    DeleteDesign(campaign, database, zones, slot);
    return true;
}

int GetConditionPercent(int32_t stored, int32_t health)
{
    if (health <= 0)
        return 0;
    return ToInt(static_cast<double>(stored) / static_cast<double>(health) * 100.0);
}

// ---- fitting ------------------------------------------------------------------------------

int GetFittingLimit(int32_t kind)
{
    switch (kind)
    {
    case COMPONENT_ENGINE:
    case COMPONENT_GENERATOR:
    case COMPONENT_GRAVITY_BEAM:
    case COMPONENT_SHIELD:
        return 1;
    case COMPONENT_BOMB:
        return 4;
    case COMPONENT_DRONE:
        return 2;
    default:
        return -1;
    }
}

bool IsKindAtLimit(const CShipConfig& design, int32_t kind)
{
    const int limit = GetFittingLimit(kind);
    if (limit < 0)
        return false;
    int fitted = 0;
    for (int32_t i = 0; i < design.m_podCount && i < SHIP_CONFIG_POD_MAX; ++i)
        fitted += design.m_pods[i].m_kind == kind ? 1 : 0;
    return fitted >= limit;
}

std::vector<int32_t> ListFittableKinds(CCampaign& campaign, const CShipConfig& design)
{
    std::vector<int32_t> kinds;
    for (int32_t kind = COMPONENT_ENGINE; kind < COMPONENT_KIND_COUNT; ++kind)
    {
        if (kind == COMPONENT_HULL || kind == COMPONENT_STATION_WEAPON || kind == COMPONENT_STATION_VAC)
            continue;
        if (campaign.FindItemsByKey(kind) >= 0 && !IsKindAtLimit(design, kind))
            kinds.push_back(kind);
    }
    return kinds;
}

std::vector<int> ListKindRecords(CCampaign& campaign, int32_t kind)
{
    std::vector<int> records;
    for (int record = campaign.FindItemsByKey(kind); record >= 0; record = campaign.NextItemByKey())
        records.push_back(record);
    return records;
}

bool HasFittedComponent(const CShipConfig& design)
{
    for (int32_t i = 0; i < design.m_podCount && i < SHIP_CONFIG_POD_MAX; ++i)
        if (design.m_pods[i].m_kind != COMPONENT_NONE)
            return true;
    return false;
}

// ---- one pod ----------------------------------------------------------------------------------

bool ReturnPodToStore(CCampaign& campaign, CShipConfig& design, int32_t pod)
{
    if (!IsFittedPod(design, pod))
        return false;
    const SShipPod& target = design.m_pods[pod];
    if (!campaign.AddStoredItem(target.m_kind, target.m_defIndex))
        return false;
    EmptyPod(design, pod);
    return true;
}

bool SellPod(CCampaign& campaign, const CShipComponentDatabase& database, CShipConfig& design, int32_t pod)
{
    if (!IsFittedPod(design, pod))
        return false;
    const SShipPod& target = design.m_pods[pod];
    if (!RefundComponent(campaign, &database, target.m_kind, target.m_defIndex))
        return false;
    EmptyPod(design, pod);
    return true;
}

// ---- figures --------------------------------------------------------------------------------

SDesignFigures ComputeDesignFigures(const CShipConfig& design, const CShipComponentDatabase& database)
{
    double engineNeed = 0.0;
    double weaponNeed = 0.0;
    double shieldCharge = 0.0;
    double batteryEnergy = 0.0;
    int32_t generatorOutput = 0;
    int32_t ratedMass = 0;
    int32_t engineRequirement = 0;
    bool engine = false;
    bool generator = false;
    bool beam = false;
    for (int32_t i = 0; i < design.m_podCount && i < SHIP_CONFIG_POD_MAX; ++i)
    {
        const SShipPod& pod = design.m_pods[i];
        const CShipComponentDef* def = database.GetComponentDef(pod.m_kind, pod.m_defIndex);
        if (!def)
            continue;
        switch (pod.m_kind)
        {
        case COMPONENT_GENERATOR:
            if (!generator)
                generatorOutput = static_cast<const CGeneratorDef*>(def)->m_outputPerSec;
            generator = true;
            break;
        case COMPONENT_BATTERY:
            batteryEnergy += static_cast<const CBatteryDef*>(def)->m_maxEnergy;
            break;
        case COMPONENT_SHIELD:
            shieldCharge += static_cast<const CShieldDef*>(def)->m_maxChargeRateSec;
            break;
        case COMPONENT_GRAVITY_BEAM:
            beam = true;
            break;
        default:
            if (IsWeaponKind(pod.m_kind))
                weaponNeed += def->m_energyRequirement;
            else
                engineNeed += def->m_energyRequirement;
            break;
        }
        if (pod.m_kind == COMPONENT_ENGINE && !engine)
        {
            engine = true;
            ratedMass = static_cast<const CEngineDef*>(def)->m_massDampingRated;
            engineRequirement = def->m_energyRequirement;
        }
    }
    int32_t grouped[2] = {0, 0};
    for (int group = 1; group <= 2; ++group)
    {
        const SWeaponGroup& list = design.GetWeaponGroup(group);
        for (int32_t i = 0; i < list.m_count && i < WEAPON_GROUP_MAX; ++i)
        {
            const int32_t pod = list.m_pods[i];
            if (pod >= 0 && pod < design.m_podCount && pod < SHIP_CONFIG_POD_MAX &&
                IsWeaponKind(design.m_pods[pod].m_kind))
                ++grouped[group - 1];
        }
    }
    SDesignFigures figures;
    const int32_t mass = ToInt(design.GetTotalMass());
    figures.texts[FIGURE_MASS] = FormatPair(mass, ratedMass, mass > ratedMass);
    const int32_t engines = ToInt(engineNeed);
    figures.texts[FIGURE_ENGINE_ENERGY] = FormatPair(engines, generatorOutput, generatorOutput < engines);
    const int32_t demand = ToInt(engineNeed + weaponNeed + shieldCharge);
    const int32_t supply = ToInt(static_cast<double>(generatorOutput) + batteryEnergy);
    figures.texts[FIGURE_TOTAL_ENERGY] = FormatPair(demand, supply, supply < demand);
    figures.texts[FIGURE_GROUP_1] = Literal(FormatNumber(grouped[0]));
    figures.texts[FIGURE_GROUP_2] = Literal(FormatNumber(grouped[1]));
    const bool armed = grouped[0] + grouped[1] > 0 && beam && generator;
    figures.texts[FIGURE_ARMED] = TextId(armed ? TEXT_YES : TEXT_NO);
    const bool flies = generator && engine && ratedMass > 0 && generatorOutput >= engineRequirement;
    figures.texts[FIGURE_FLIES] = TextId(flies ? TEXT_YES : TEXT_NO);
    return figures;
}
