#include "tools/tesstool/CheckConstructionIcons.h"

#include "core/FileBytes.h"
#include "presentation/SpriteTypes.h"
#include "ships/ShipComponentDatabase.h"
#include "ships/ShipConstructGrid.h"
#include "tools/tesstool/DataCheck.h"
#include "utility/source/QelPackArchive.h"

#include <cstdint>
#include <vector>

namespace
{
const char* const HULL_PICTURES = "data\\frontend\\shipconstruct\\hulls.spr";

// The frames of a sprite file; -1 when it cannot be read.
int64_t CountFrames(const char* name)
{
    std::vector<uint8_t> bytes;
    SSpriteFile file;
    std::string error;
    if (!ReadFileBytes(name, bytes) || !file.Read(bytes.data(), bytes.size(), error))
        return -1;
    return static_cast<int64_t>(file.m_frames.size());
}
} // namespace

void CheckConstructionIcons(CDataCheckReport& report, const std::string& file, const CShipComponentDatabase& database)
{
    if (!g_packArchive)
        InitPackArchive();
    int64_t frames[CShipConstructGrid::SET_COUNT];
    for (int set = 0; set < CShipConstructGrid::SET_COUNT; ++set)
    {
        frames[set] = CountFrames(CShipConstructGrid::SPRITE_FILES[set]);
        if (frames[set] < 0)
            report.Add(MakeReportName(CShipConstructGrid::SPRITE_FILES[set]), 0, "is not there or does not read");
    }
    for (int kind = 0; kind < COMPONENT_KIND_COUNT; ++kind)
    {
        if (kind == COMPONENT_HULL || kind == COMPONENT_STATION_WEAPON || kind == COMPONENT_STATION_VAC)
            continue;
        for (int32_t i = 0; i < database.GetCategory(kind)->m_defCount; ++i)
        {
            const CShipComponentDef* def = database.GetComponentDef(kind, i);
            const int set = GetShapeFrameSet(def->m_podShape) + CShipConstructGrid::SET_ICONS_16X16;
            if (frames[set] >= 0 && (def->m_iconFrame < 0 || def->m_iconFrame >= frames[set]))
                report.Add(MakeReportName(file), 0,
                           "\"" + def->m_ident + "\" has iconFrame " + std::to_string(def->m_iconFrame) + ", but " +
                               MakeReportName(CShipConstructGrid::SPRITE_FILES[set]) + " holds " +
                               std::to_string(frames[set]) + " frames");
        }
    }
    const int32_t hulls = database.GetCategory(COMPONENT_HULL)->m_defCount;
    const int64_t pictures = CountFrames(HULL_PICTURES);
    if (pictures < 0)
        report.Add(MakeReportName(HULL_PICTURES), 0, "is not there or does not read");
    else if (hulls > 1 && pictures < hulls - 1)
        report.Add(MakeReportName(file), 0,
                   std::to_string(hulls) + " hulls, but " + MakeReportName(HULL_PICTURES) + " holds " +
                       std::to_string(pictures) + " pictures (one for each hull after the first)");
}
