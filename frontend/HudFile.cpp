#include "frontend/HudFile.h"

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"

#include <cstring>

namespace
{
const char* const PART_NAMES[HUD_PART_COUNT] = {
    "HEALTH_BAR",        "SHIELD_BAR",       "ENERGY_BAR",        "GEM_BAR", "STATION_HEALTH_BAR",
    "STATION_NGEM_BAR",  "STATION_RGEM_BAR", "STATION_VRGEM_BAR", "BATTERY_BAR", "RADAR",
    "STATION_ICONS",
};

char16_t Fold(char16_t unit)
{
    return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
}

bool StartsWithNoCase(const std::u16string& name, const char* prefix)
{
    const size_t length = std::strlen(prefix);
    if (name.size() < length)
        return false;
    for (size_t i = 0; i < length; ++i)
        if (Fold(name[i]) != static_cast<char16_t>(prefix[i]))
            return false;
    return true;
}
} // namespace

int FindHudPart(const std::u16string& name)
{
    for (int part = 0; part < HUD_PART_COUNT; ++part)
        if (StartsWithNoCase(name, PART_NAMES[part]))
            return part;
    return HUD_PART_NONE;
}

const char* GetHudPartName(int part)
{
    return part >= 0 && part < HUD_PART_COUNT ? PART_NAMES[part] : "";
}

void ReadHudFile(const CDataNodeList& nodes, SHudFileDesc& desc, CDefinitionProblems& problems)
{
    desc = SHudFileDesc();
    bool seen[HUD_PART_COUNT] = {};
    for (const std::unique_ptr<CDataNode>& node : nodes)
    {
        // The parser gives blocks alone at the top level.
        if (!node || !node->IsBlock())
            continue;
        const int part = FindHudPart(node->GetName());
        if (part == HUD_PART_NONE)
        {
            problems.AddWarning(node.get(), "the HUD has no part of this name; the block is passed over");
            continue;
        }
        if (seen[part])
            problems.AddWarning(node.get(), "a second %s block is loaded over the first", PART_NAMES[part]);
        seen[part] = true;
        const CDataTree& block = static_cast<const CDataTree&>(*node);
        if (part < HUD_GAUGE_COUNT)
        {
            desc.hasGauge[part] = true;
            ReadHudBarDesc(block, desc.gauges[part], problems);
        }
        else if (part == HUD_PART_RADAR)
        {
            desc.hasRadar = true;
            ReadHudRadarDesc(block, desc.radar, problems);
        }
        else
        {
            desc.hasStationIcons = true;
            ReadHudStationIconsDesc(block, desc.stationIcons, problems);
        }
    }
    for (int part = 0; part < HUD_PART_COUNT; ++part)
        if (!seen[part])
            problems.AddAtLine(0, false, "there is no %s block: that part of the HUD keeps its defaults",
                               PART_NAMES[part]);
}

bool LoadHudGauge(CHudBar& bar, int gauge, const char* path)
{
    if (gauge < 0 || gauge >= HUD_GAUGE_COUNT)
        return false;
    CDataNodeList nodes;
    if (!LoadDataFileNodes(path, nodes))
        return false;
    SHudFileDesc desc;
    CDefinitionProblems problems;
    ReadHudFile(nodes, desc, problems);
    if (!desc.hasGauge[gauge])
        return false;
    bar.Load(desc.gauges[gauge]);
    return true;
}
