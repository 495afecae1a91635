#include "core/app/FrameTrace.h"

#include "presentation/GuiControl.h"
#include "presentation/GuiManager.h"
#include "world/Game.h"
#include "world/GameFlowLink.h"
#include "world/World.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace
{
std::FILE* s_trace = nullptr;
} // namespace

bool OpenFrameTrace()
{
    CloseFrameTrace();
    const char* path = std::getenv("TESSAVAR_TRACE");
    if (!path || !*path)
        return true;
    s_trace = std::fopen(path, "w");
    if (!s_trace)
    {
        std::fprintf(stderr, "TESSAVAR_TRACE: %s cannot be written\n", path);
        return false;
    }
    // Whole lines reach the file as they are written, so a run that ends badly
    // leaves its last frames.
    std::setvbuf(s_trace, nullptr, _IOLBF, 1024);
    return true;
}

void WriteFrameTrace(uint32_t frame)
{
    if (!s_trace)
        return;
    CGame* game = GetGame();
    int mode = 1, screen = 0, focus = -1;
    int32_t objects = 0, enemies = 0, ship = -1;
    uint32_t time = 0;
    uint64_t checksum = 0;
    if (game)
    {
        mode = static_cast<int>(game->GetGameFlow().GetMode());
        screen = game->GetGameFlow().GetScreenId();
        time = game->GetTime();
        if (const CWorld* world = game->GetWorld())
        {
            checksum = world->ComputeChecksum();
            objects = world->CountObjects();
            enemies = world->CountEnemies();
            if (const CGameObject* player = world->GetObject(game->GetPlayerShipHandle()))
                ship = player->GetBody().health;
        }
    }
    if (g_gui && g_gui->GetFocus())
        focus = g_gui->GetFocus()->GetControlId();
    std::fprintf(s_trace,
                 "frame %u time %u mode %d screen %d focus %d checksum %016" PRIx64 " objects %d enemies %d ship %d\n",
                 frame, time, mode, screen, focus, checksum, static_cast<int>(objects), static_cast<int>(enemies),
                 static_cast<int>(ship));
}

void CloseFrameTrace()
{
    if (s_trace)
        std::fclose(s_trace);
    s_trace = nullptr;
}
