#pragma once
// Reading "data\game1.txt": the section "ZONES" with "numZones" and "zone0", "zone1",
// ... Each zone has "iniFileIdx", "numFixedResources" with "fixedResource%i",
// "numInfiniteResources" with "infResource%i", "boss", "numAttckGroups" with
// "attckGroup%i", and "map". A resource names its definition file ("iniFile") and
// its "type"; the file's first top-level section whose name begins with the type's
// name gives "mass" (and, for fixed resources, the mothership "config").
//
// Map nodes are numbered: 0 the transfer node at (0, 0), 1 the boss node, 2 alien
// node 1, 3 alien node 2 (zone 0 only), then the danger, normal and transfer nodes
// in file order.
//
// Counts and indices beyond what the zone holds are fatal problems and refuse the
// file; keys that are missing leave their fields at 0 (a missing type or definition
// is reported, and its records make nothing).

#include "world/ZoneDefinition.h"

#include <memory>
#include <vector>

class CDataTree;
class CDefinitionProblems;

constexpr const char* ZONE_FILE = "data\\game1.txt";

// The zones of a "ZONES" section; false (and no zones) when a fatal problem refuses it.
bool ReadZones(const CDataTree& section, ZoneVector& zones, CDefinitionProblems& problems);
// The first top-level "ZONES" section of the file; false when the file cannot be read,
// holds no such section or is refused.
bool LoadZoneFile(const char* path, ZoneVector& zones, CDefinitionProblems& problems);

// The number of a mothership configuration's name, -1 for an unknown one.
int32_t GetMothershipConfigFromName(const char* name);
