// The station's definition "data/station.txt": every STATION section read as the game
// reads it (the body, the animation set, each docking port's block and the turret
// mounts' block), with the sprite files it names. A station that cannot launch through
// two ports is reported too.

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "ships/EnemyObject.h"
#include "ships/Station.h"
#include "tools/tesstool/DataCheck.h"
#include "tools/tesstool/SpriteFileCheck.h"

namespace
{
const char* const STATION_FILE = "data/station.txt";

void CheckStation(CDataCheckReport& report)
{
    CDataNodeList nodes;
    if (!LoadDataFileNodes(STATION_FILE, nodes))
    {
        report.Add(STATION_FILE, 0, "cannot be read");
        return;
    }
    CDefinitionProblems problems;
    int sections = 0;
    for (const auto& node : nodes)
    {
        if (!IsDefinitionSection(*node, "STATION"))
            continue;
        ++sections;
        const CDataTree& section = static_cast<const CDataTree&>(*node);
        CStation station;
        station.ReadDefinition(section, problems);
        CheckNamedSpriteFiles(section, problems);
        if (station.GetPortCount() < 2)
            problems.AddWarning(&section, "the station has %d docking ports: it launches through two",
                                static_cast<int>(station.GetPortCount()));
    }
    if (sections == 0)
        report.Add(STATION_FILE, 0, "holds no STATION section");
    report.Add(STATION_FILE, problems);
    report.NoteChecked(STATION_FILE);
}

CDataChecker s_station("station", &CheckStation);
} // namespace
