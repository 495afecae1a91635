// The HUD's layout "data/hud.txt": every part read as the HUD reads it, the sprite
// files it names readable, each gauge's icon frame inside its file, and a station-icon
// file with a frame (and a place) for each of the six icons.

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "core/FileBytes.h"
#include "frontend/HudFile.h"
#include "presentation/SpriteTypes.h"
#include "tools/tesstool/DataCheck.h"
#include "tools/tesstool/SpriteFileCheck.h"

#include <string>
#include <vector>

namespace
{
// The frames of the sprite file a reference block names; false when it names none
// or the file does not read (the sprite-file check names that).
bool CountFrames(const CDataTree* block, int32_t& frames)
{
    char name[DATA_VALUE_MAX + 1] = "";
    if (!block || !block->GetString("spriteFile", name, sizeof(name)))
        return false;
    std::vector<uint8_t> bytes;
    SSpriteFile file;
    std::string error;
    if (!ReadFileBytes(name, bytes) || !file.Read(bytes.data(), bytes.size(), error))
        return false;
    frames = static_cast<int32_t>(file.m_frames.size());
    block->GetInt("numFrames", frames);
    return true;
}

void CheckHudParts(const CDataNodeList& nodes, const SHudFileDesc& desc, CDefinitionProblems& problems)
{
    for (const std::unique_ptr<CDataNode>& node : nodes)
        if (node && node->IsBlock())
            CheckNamedSpriteFiles(static_cast<const CDataTree&>(*node), problems);
    for (int gauge = 0; gauge < HUD_GAUGE_COUNT; ++gauge)
    {
        const SHudBarDesc& bar = desc.gauges[gauge];
        int32_t frames = 0;
        if (desc.hasGauge[gauge] && CountFrames(bar.iconBlock, frames) && bar.startFrame >= frames)
            problems.AddWarning(bar.iconBlock, "%s shows frame %d of an icon file of %d frames",
                                GetHudPartName(gauge), static_cast<int>(bar.startFrame), static_cast<int>(frames));
    }
    int32_t frames = 0;
    if (!desc.hasStationIcons || !CountFrames(desc.stationIcons.block, frames))
        return;
    if (frames < HUD_ICON_COUNT)
        problems.AddWarning(desc.stationIcons.block, "the station-icon file has %d frames: icons %d to %d never show",
                            static_cast<int>(frames), static_cast<int>(frames), HUD_ICON_COUNT - 1);
    for (int icon = 0; icon < HUD_ICON_COUNT && icon < frames; ++icon)
        if (!desc.stationIcons.hasIconPos[icon])
            problems.AddWarning(desc.stationIcons.block, "\"iconPos%d\" is missing: icon %d sits on the corner", icon,
                                icon);
}

void CheckHudFile(CDataCheckReport& report)
{
    const std::string file = "data/hud.txt";
    CDataNodeList nodes;
    if (!LoadDataFileNodes(file.c_str(), nodes))
    {
        report.Add(file, 0, "cannot be read: the HUD shows no gauges");
        return;
    }
    report.NoteChecked(file);
    SHudFileDesc desc;
    CDefinitionProblems problems;
    ReadHudFile(nodes, desc, problems);
    CheckHudParts(nodes, desc, problems);
    report.Add(file, problems);
}

CDataChecker s_hud("HUD", &CheckHudFile);
} // namespace
