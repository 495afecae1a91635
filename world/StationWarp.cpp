// The station's warp sequences (world/WarpEffects.h). Times are ms since the entry's
// start; a skip moves the start back, so the sequence jumps ahead.

#include "platform/CoreInput.h"
#include "platform/Renderer.h"
#include "platform/input/DikCodes.h"
#include "world/Backdrop.h"
#include "world/Camera.h"
#include "world/Controls.h"
#include "world/EffectCache.h"
#include "world/Game.h"
#include "world/GameFlowLink.h"
#include "world/HudLink.h"
#include "world/WarpEffects.h"
#include "world/World.h"
#include "world/ZoneLink.h"

#include <algorithm>

namespace
{
const char* const OVERLAY_FILE = "data\\sprites\\particles\\blacksquare.spr";
constexpr int OVERLAY_A_PLANE = 17;
constexpr int OVERLAY_B_BELOW_STATION = 3;
constexpr float OVERLAY_SCALE_X = 100.0f;
constexpr float OVERLAY_SCALE_Y = 80.0f;
constexpr uint32_t SKIP_TO_END_MS = 999999;
constexpr uint32_t SKIP_TO_ARRIVAL_MS = 6999;

// One-time steps of the entry.
constexpr uint8_t ONCE_ARRIVAL = 0x1;
constexpr uint8_t ONCE_DEPARTURE = 0x2;

uint32_t Black(float alpha)
{
    const float clamped = std::min(255.0f, std::max(0.0f, alpha * 255.0f));
    return static_cast<uint32_t>(clamped) << 24;
}

CVector2D ScreenCentre(CGame& game)
{
    const CCamera& camera = game.GetCamera();
    return camera.GetView() + CVector2D(camera.GetScreenWidth() * 0.5f, camera.GetScreenHeight() * 0.5f);
}

// The two black squares: A in front of the playfield, B three planes behind the
// station (never below the first plane), shown at the screen's centre.
void MakeOverlays(CGame& game, SWarpEntry& entry, const CGameObject& station, bool opaque)
{
    entry.overlay = std::make_unique<CWarpOverlay>();
    CWarpOverlay& overlay = *entry.overlay;
    overlay.m_file.SetFile(OVERLAY_FILE, true);
    const int stationPlane = station.GetInfo().drawPlane;
    overlay.m_a.Init(overlay.m_file, OVERLAY_A_PLANE);
    overlay.m_b.Init(overlay.m_file, std::max(0, stationPlane - OVERLAY_B_BELOW_STATION));
    const CVector2D centre = ScreenCentre(game);
    for (CAnimatedSprite* sprite : {&overlay.m_a, &overlay.m_b})
    {
        sprite->SetPosition(centre);
        sprite->SetScale(OVERLAY_SCALE_X, OVERLAY_SCALE_Y);
        sprite->SetColour(Black(opaque ? 1.0f : 0.0f));
        sprite->Show();
    }
}

void FirstStep(CGame& game, CWorld& world, SWarpEntry& entry, CGameObject& station, bool warpingIn)
{
    entry.started = true;
    entry.fullScreen = IsStationWarpFullScreen(warpingIn);
    const char* name = entry.fullScreen ? "StationWarpOut" : (warpingIn ? "WarpIn2" : "WarpOut2");
    CEffect* effect = game.GetEffectCache().SpawnEffect(name, &station, false);
    if (effect)
        effect->SetPosition(station.GetPosition());
    entry.effect.Set(effect);
    world.SetWarpSoundStarted(false);
    CWarpingStation* hooks = dynamic_cast<CWarpingStation*>(&station);
    if (hooks)
        hooks->SetPortsWarpValue(warpingIn ? 15 : 0);
    if (entry.fullScreen)
    {
        MakeOverlays(game, entry, station, warpingIn);
        if (warpingIn && effect)
        {
            effect->Start();
            entry.effectStarted = true;
        }
        if (!warpingIn)
            game.GetHud().Show(false);
    }
    else if (warpingIn)
    {
        if (effect)
        {
            effect->Start();
            entry.effectStarted = true;
        }
        station.SetVisible(false);
        if (hooks)
        {
            hooks->SetWarpEngineFlames(false);
            hooks->SetMarkedWarping(true);
        }
    }
    game.SetZoneBackdropFrame();
}

// Action 0, a click waiting for the GUI, or Return, Escape or Space.
bool IsSkipPressed(CGame& game)
{
    if (game.GetControls().GetAction(0).down)
        return true;
    if (g_renderer)
        if (const SMouseRingEvent* newest = g_renderer->GetMouseRing().PeekNewest())
            if (newest->event == MOUSE_RING_LEFT_DOWN)
                return true;
    return g_input && (g_input->IsKeyDown(Dik::RETURN) || g_input->IsKeyDown(Dik::ESCAPE) ||
                       g_input->IsKeyDown(Dik::SPACE));
}

void PlaySkipSound(CGame& game, const CGameObject& station)
{
    if (CEffect* sound = game.GetEffectCache().SpawnEffect("WarpSkip", SEffectOwner(), true))
    {
        sound->SetPosition(station.GetPosition());
        sound->Start();
    }
}

void StepIn(CGame& game, CWorld& world, SWarpEntry& entry, CGameObject& station, uint32_t t)
{
    CWarpingStation* hooks = dynamic_cast<CWarpingStation*>(&station);
    CWarpOverlay* overlay = entry.overlay.get();
    CEffect* effect = entry.effect.Get();
    if (t < 2000)
    {
        if (entry.fullScreen)
            world.SetObjectsVisible(false);
    }
    else if (t < 3000)
    {
        if (entry.fullScreen)
        {
            world.SetObjectsVisible(false);
            if (overlay)
                overlay->m_a.SetColour(Black(1.0f - static_cast<float>(t - 2000) * 0.001f));
        }
        else
        {
            SetWarpScale(station, 0.0f);
            station.SetVisible(true);
        }
    }
    else if (t < STATION_ARRIVAL_MS)
    {
        if (entry.fullScreen)
            world.SetObjectsVisible(false);
        else
            SetWarpScale(station, static_cast<float>(t - 3000) * 0.00025f);
    }
    if (t >= STATION_ARRIVAL_MS && !(entry.onceSteps & ONCE_ARRIVAL))
    {
        entry.onceSteps |= ONCE_ARRIVAL;
        SetWarpScale(station, 1.0f);
        if (hooks)
            hooks->RunArrivalStep();
        // The station is back in play: its own warp state ends here.
        if (station.GetInfo().warpState != WARP_NONE)
            station.SetWarpState(WARP_NONE);
        if (entry.fullScreen)
            world.SetObjectsVisible(true);
    }
    if (t >= STATION_ARRIVAL_MS && t < 7500)
    {
        if (effect)
            effect->StopEmitting();
        if (hooks)
        {
            hooks->SetWarpEngineFlames(false);
            hooks->SetMarkedWarping(false);
        }
    }
    if (t >= 7500 && t < STATION_ARRIVAL_END_MS && entry.fullScreen && overlay)
        overlay->m_b.SetColour(Black(1.0f - static_cast<float>(t - 7500) * 0.0005f));
    if (t < STATION_ARRIVAL_END_MS)
        return;
    const bool fullScreen = entry.fullScreen;
    world.EndWarp(entry); // the effect and the overlays go with the entry
    if (fullScreen)
        game.GetHud().Show(true);
}

void StepOut(CGame& game, CWorld& world, SWarpEntry& entry, CGameObject& station, uint32_t t)
{
    CWarpingStation* hooks = dynamic_cast<CWarpingStation*>(&station);
    CWarpOverlay* overlay = entry.overlay.get();
    CEffect* effect = entry.effect.Get();
    if (!(entry.onceSteps & ONCE_DEPARTURE))
    {
        entry.onceSteps |= ONCE_DEPARTURE;
        if (hooks)
            hooks->RunDepartureStep();
    }
    if (t < 2000)
    {
        if (hooks)
            hooks->SetWarpEngineFlames(true);
        if (entry.fullScreen && overlay)
            overlay->m_b.SetColour(Black(static_cast<float>(t) * 0.0005f));
    }
    if (t >= 1000)
    {
        if (!entry.effectStarted && effect)
        {
            effect->Start();
            entry.effectStarted = true;
        }
        if (entry.fullScreen)
            world.SetObjectsVisible(false);
    }
    if (t >= STATION_ARRIVAL_MS && t < STATION_DEPARTURE_END_MS)
    {
        const float x = static_cast<float>(t - STATION_ARRIVAL_MS) * 0.001f;
        if (entry.fullScreen)
        {
            if (overlay)
                overlay->m_a.SetColour(Black(x));
        }
        else
        {
            SetWarpScale(station, 1.0f - x);
            if (hooks)
            {
                hooks->SetWarpEngineFlames(false);
                hooks->SetMarkedWarping(true);
            }
        }
    }
    if (t < STATION_DEPARTURE_END_MS)
        return;
    station.SetVisible(false);
    const bool fullScreen = entry.fullScreen;
    const int32_t handle = station.GetHandle();
    world.EndWarp(entry);
    if (!fullScreen)
    {
        world.RemoveObject(handle);
        game.GetRun().bossState = 2;
        return;
    }
    // The player left with the station: the flight is over. The node keeps what its
    // objects became before they all go.
    game.GetGameFlow().EnterFrontEnd();
    game.GetZones().StoreNode();
    game.GetBackdrop().Show(false);
    world.Clear();
    game.GetEffectCache().Reset();
}
} // namespace

void StationWarpStep(CWorld& world, SWarpEntry& entry)
{
    CGame* game = GetGame();
    CGameObject* station = world.GetObject(entry.handle);
    if (!game || !station)
    {
        world.EndWarp(entry);
        return;
    }
    const bool warpingIn = station->GetInfo().warpState != WARP_OUT;
    if (!entry.started)
        FirstStep(*game, world, entry, *station, warpingIn);

    CEffect* effect = entry.effect.Get();
    if (effect)
        effect->SetPosition(station->GetPosition());
    // Both squares keep to the screen: when the sequence starts the camera may not yet
    // have come to the station it follows, and B must still lie behind it when it does.
    if (entry.overlay)
        for (CAnimatedSprite* sprite : {&entry.overlay->m_a, &entry.overlay->m_b})
            sprite->SetPosition(ScreenCentre(*game));
    uint32_t t = game->GetTime() - entry.startTime;

    if (t > STATION_SKIP_AFTER_MS && entry.fullScreen && !entry.skipped && IsSkipPressed(*game))
    {
        entry.skipped = true;
        PlaySkipSound(*game, *station);
        if (!warpingIn)
            t = SKIP_TO_END_MS;
        else if (t < SKIP_TO_ARRIVAL_MS)
        {
            t = SKIP_TO_ARRIVAL_MS;
            if (entry.overlay)
            {
                entry.overlay->m_a.Hide();
                entry.overlay->m_b.Hide();
            }
            if (effect)
                effect->Stop();
        }
        entry.startTime = game->GetTime() - t;
    }
    if (warpingIn)
        StepIn(*game, world, entry, *station, t);
    else
        StepOut(*game, world, entry, *station, t);
}
