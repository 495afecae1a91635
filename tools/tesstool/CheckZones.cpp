// The zone file "data\game1.txt" as the game reads it at start-up: its counts and
// indices, the definition files and sections its records name, the level files its
// zones play, what the warp sequences need (their effects and the station's black
// square), and the galaxy map's pictures (its icon files and each zone's pictures).

#include "core/DefinitionProblems.h"
#include "core/FileBytes.h"
#include "presentation/SpriteTypes.h"
#include "tools/tesstool/DataCheck.h"
#include "tools/tesstool/SpriteFileCheck.h"
#include "utility/source/QelFile.h"
#include "world/GalaxyMap.h"
#include "world/EffectCache.h"
#include "world/LevelConfig.h"
#include "world/ZoneFile.h"

#include <string>
#include <vector>

namespace
{
const char* const WARP_EFFECTS[] = {"WarpIn1", "WarpOut1", "WarpIn2", "WarpOut2", "StationWarpOut", "WarpSkip"};
const char* const WARP_OVERLAY = "data\\sprites\\particles\\blacksquare.spr";

// The station's warp fades its black squares by their colour's alpha, which shows
// only on an alpha-blended picture: an opaque one stays black for the whole warp.
void CheckWarpOverlay(CDefinitionProblems& problems)
{
    constexpr int32_t ALPHA_BLENDED = 2;
    std::vector<uint8_t> bytes;
    SSpriteFile file;
    std::string error;
    if (!ReadFileBytes(WARP_OVERLAY, bytes))
        problems.AddAtLine(0, false, "the station's warp picture %s is not there", WARP_OVERLAY);
    else if (!file.Read(bytes.data(), bytes.size(), error))
        problems.AddAtLine(0, false, "the station's warp picture %s does not read: %s", WARP_OVERLAY, error.c_str());
    else if (file.m_pixelFormat != ALPHA_BLENDED)
        problems.AddAtLine(0, false, "the station's warp picture %s has pixel format %d, not the alpha-blended %d its fades need",
                           WARP_OVERLAY, static_cast<int>(file.m_pixelFormat), ALPHA_BLENDED);
}

void CheckZoneFile(CDataCheckReport& report)
{
    const std::string file = "data/game1.txt";
    report.NoteChecked(file);
    CDefinitionProblems problems;
    ZoneVector zones;
    LoadZoneFile(ZONE_FILE, zones, problems);
    for (size_t z = 0; z < zones.size(); ++z)
    {
        const std::string level = GetLevelFileName(zones[z]->m_iniFileIdx);
        if (!FileExists("", level.c_str()))
            problems.AddAtLine(0, true, "zone %zu plays level file %s, which is not there", z, level.c_str());
    }
    CEffectCache effects;
    if (effects.Load("data\\effect.txt"))
        for (const char* name : WARP_EFFECTS)
            if (!effects.FindDefinition(name))
                problems.AddAtLine(0, false, "the warp effect \"%s\" is not in the effect list", name);
    for (const char* sprites : {CGalaxyMap::ICON_FILE, CGalaxyMap::GROUP_FILE, CGalaxyMap::GAUGE_FILE})
        CheckSpriteFile(sprites, nullptr, problems);
    for (const auto& zone : zones)
        for (const auto& picture : {zone->m_map.hyperBackground, zone->m_map.normalBackground})
            if (picture)
                CheckNamedSpriteFiles(*picture, problems);
    CheckWarpOverlay(problems);
    report.Add(file, problems);
}

CDataChecker s_zones("zone file", &CheckZoneFile);
} // namespace
