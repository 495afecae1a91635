#pragma once
// "data\hud.txt": the blocks of the HUD's nine gauges, its radar and its station
// icons, each found by name without regard to case, a name matching any block name
// that starts with it ("HEALTH_BAR" also takes "health_bar_left"). Names are tried in
// the gauges' order (HudLink.h), then "RADAR", then "STATION_ICONS"; the first that
// matches takes the block, and a later block of the same part is loaded over it.
// Other blocks are passed over.

#include "frontend/HudRadar.h"
#include "frontend/HudStationIcons.h"
#include "presentation/HudBar.h"
#include "world/HudLink.h"

#include "core/DataTree.h"

class CDefinitionProblems;

constexpr const char* HUD_FILE = "data\\hud.txt";

enum EHudPart
{
    HUD_PART_RADAR = HUD_GAUGE_COUNT,
    HUD_PART_STATION_ICONS,
    HUD_PART_COUNT,
    HUD_PART_NONE = -1,
};

// The part a block name configures (a gauge index, HUD_PART_RADAR or
// HUD_PART_STATION_ICONS), or HUD_PART_NONE.
int FindHudPart(const std::u16string& name);
const char* GetHudPartName(int part);

// Every part's block as read from the file's top-level nodes (which must outlive it).
struct SHudFileDesc
{
    bool hasGauge[HUD_GAUGE_COUNT] = {};
    SHudBarDesc gauges[HUD_GAUGE_COUNT];
    bool hasRadar = false;
    SHudRadarDesc radar;
    bool hasStationIcons = false;
    SHudStationIconsDesc stationIcons;
};

// Reads each part's block; blocks the HUD passes over, repeated parts and parts the
// file leaves out are problems. Never fails.
void ReadHudFile(const CDataNodeList& nodes, SHudFileDesc& desc, CDefinitionProblems& problems);

// One gauge of the file loaded into a bar of its own (the game flow's and the screens'
// gem gauges take the station's gem sections): false, and the bar as it was, when
// the file cannot be read or has no block for the gauge.
bool LoadHudGauge(CHudBar& bar, int gauge, const char* path = HUD_FILE);
