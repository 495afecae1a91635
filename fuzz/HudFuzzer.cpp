// The HUD's layout file as the game reads it: every part's block, then a HUD loaded
// from it (without a sprite bank, so no sprite file opens) that is shown, updated,
// fed values and drawn.

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "frontend/Hud.h"
#include "frontend/HudFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CDataNodeList nodes;
    if (!ParseDataBytes(data, size, nodes))
        return 0;
    SHudFileDesc desc;
    CDefinitionProblems problems;
    ReadHudFile(nodes, desc, problems);
    CHud hud;
    hud.Load(nodes);
    hud.SetVisible(true);
    for (int gauge = 0; gauge < HUD_GAUGE_COUNT; ++gauge)
        hud.GetGauge(gauge).SetValue(static_cast<float>(gauge), 3.0f);
    hud.Update();
    hud.Draw(0, 0);
    return 0;
}
