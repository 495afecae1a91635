#include "core/app/FrameTrace.h"

#include "frontend/Campaign.h"
#include "frontend/CampaignServices.h"
#include "frontend/GameCampaign.h"
#include "presentation/GuiControl.h"
#include "presentation/GuiManager.h"
#include "ships/Boss.h"
#include "ships/PlayerShip.h"
#include "ships/ShipRuntime.h"
#include "world/DirectorLink.h"
#include "world/GalaxyMap.h"
#include "world/Game.h"
#include "world/GameFlowLink.h"
#include "world/World.h"
#include "world/ZoneManager.h"
#include "world/ZoneNode.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace
{
std::FILE* s_trace = nullptr;
// The zones' part of a line: the current zone and node, the zone clock, the node's
// asteroid field (its map's entries), the alive enemies parked at the node (made or
// still to come), the warps running, the asteroids in the world, and the galaxy map's
// jump state (0 choosing, 1 jumping, 2 holding before a flight), its chosen target
// (-1 none) and view (0 the galaxy, 1 the zone).
void WriteZoneTrace(CGame* game)
{
    int zone = -1, node = -1, field = 0, parked = 0, warps = 0, asteroids = 0;
    int mapState = 0, mapTarget = -1, mapView = 1;
    uint32_t clock = 0;
    if (game)
    {
        const CZoneLink& zones = game->GetZones();
        zone = zones.GetZoneIndex();
        clock = zones.GetClock();
        if (CZoneManager* manager = game->GetZoneManager(); manager && manager == &game->GetZones())
        {
            node = manager->GetCurrentNodeIndex();
            const CGalaxyMap& map = manager->GetGalaxyMap();
            mapState = static_cast<int>(map.GetJumpState());
            mapTarget = static_cast<int>(map.GetTarget());
            mapView = static_cast<int>(map.GetView());
            if (const SZoneNode* record = manager->GetCurrentNode())
            {
                field = record->asteroidCount;
                for (const SParkedGroup& group : record->parked)
                    for (const SParkedEntry& entry : group.entries)
                        parked += group.used && entry.alive ? 1 : 0;
            }
        }
        if (const CWorld* world = game->GetWorld())
        {
            warps = world->GetActiveWarpCount();
            for (int32_t slot = 0; slot < world->GetSlotCount(); ++slot)
                if (const CGameObject* object = world->GetSlot(slot))
                    asteroids += object->GetType() == OBJECT_ASTEROID ? 1 : 0;
        }
    }
    std::fprintf(s_trace, " zone %d node %d zclock %u field %d parked %d warps %d asteroids %d map %d target %d view %d",
                 zone, node, clock, field, parked, warps, asteroids, mapState, mapTarget, mapView);
}

// The player's part: the load of the ship's cargo hold (what the gravity beam brought
// in; -1 without a player ship), the gems in the station's stocks, the pilot's kills
// and the run's score.
void WritePlayerTrace(CGame* game)
{
    int32_t hold = -1, gems = 0, kills = 0, score = 0;
    const CWorld* world = game ? game->GetWorld() : nullptr;
    if (const auto* ship = world ? dynamic_cast<const CPlayerShip*>(world->GetObject(game->GetPlayerShipHandle()))
                                 : nullptr)
        if (const CShipRuntime* runtime = ship->GetRuntime())
            hold = runtime->GetCargo().m_load;
    if (const CCampaign* campaign = GetGameCampaign())
    {
        for (int32_t count : campaign->GetGems().count)
            gems += count;
        kills = campaign->GetPilot().progress[PILOT_KILLS];
    }
    if (const CCampaignServices* services = GetGameCampaignServices())
        score = services->GetScore();
    std::fprintf(s_trace, " hold %d gems %d kills %d score %d", static_cast<int>(hold), static_cast<int>(gems),
                 static_cast<int>(kills), static_cast<int>(score));
}

// The boss's part: the health of the zone's boss in the world, its own (what hits on
// its hull take) and that left in its parts and turrets together (-1 -1 while none is).
void WriteBossTrace(CGame* game)
{
    int32_t own = -1, parts = -1;
    if (const CWorld* world = game ? game->GetWorld() : nullptr)
        for (int32_t slot = 0; slot < world->GetSlotCount() && own < 0; ++slot)
            if (const auto* boss = dynamic_cast<const CBoss*>(world->GetSlot(slot)))
            {
                own = boss->GetBody().health;
                parts = 0;
                for (int index = 0; index < boss->GetPartCount(); ++index)
                    parts += boss->IsPartAlive(index) ? boss->GetPart(index)->m_health : 0;
                const CTurretGroup& turrets = boss->GetTurrets();
                for (int32_t index = 0; index < turrets.GetCount(); ++index)
                    if (const STurret* turret = turrets.GetTurret(index); turret && turret->IsLive())
                        parts += turret->health;
            }
    std::fprintf(s_trace, " boss %d bossparts %d", static_cast<int>(own), static_cast<int>(parts));
}

// The director's part: whether a sequence covers the game (the logo, the intro, an
// ending), the tutorial's step (-1 none) and the chat page on show (-1 none).
void WriteDirectorTrace(CGame* game)
{
    int covering = 0, step = -1, chat = -1;
    if (game)
    {
        const CDirectorLink& director = game->GetDirector();
        covering = director.IsCoveringSequencePlaying() ? 1 : 0;
        step = director.GetTutorialStep();
        chat = director.GetChatPage();
    }
    std::fprintf(s_trace, " covering %d step %d chat %d", covering, step, chat);
}
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
                 "frame %u time %u mode %d screen %d focus %d checksum %016" PRIx64 " objects %d enemies %d ship %d",
                 frame, time, mode, screen, focus, checksum, static_cast<int>(objects), static_cast<int>(enemies),
                 static_cast<int>(ship));
    WriteZoneTrace(game);
    WritePlayerTrace(game);
    WriteBossTrace(game);
    WriteDirectorTrace(game);
    std::fputc('\n', s_trace);
}

void CloseFrameTrace()
{
    if (s_trace)
        std::fclose(s_trace);
    s_trace = nullptr;
}
