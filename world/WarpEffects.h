#pragma once
// Ships, enemies and the station arrive and leave by warping. The caller gives the
// object its warp state (CGameObject::SetWarpState) and a warp entry
// (CWorld::AddWarp); every world update then runs the entry's timed sequence:
//
// - ships and enemies: an effect ("WarpIn1" / "WarpOut1", a mothership's "WarpIn2" /
//   "WarpOut2") on the object; after 1500 ms the object grows from nothing (or shrinks
//   to nothing) over its duration (500 to 2499 ms, a mothership's 1000 to 3999 ms);
//   1000 ms later the effect goes and the entry ends. One that warped out goes back
//   to its group at the node and leaves the world without counting as a kill.
// - the station: a long sequence (9.5 s in, 8 s out) that, when full-screen, fades
//   the screen through black, hides the other objects (and on leaving the HUD), and
//   ends the flight when the station leaves with the player; the player may skip it.

#include <cstdint>

class CGameObject;
class CWorld;
struct SWarpEntry;

// What the station's sequences need of the station; the station class implements it.
class CWarpingStation
{
public:
    virtual ~CWarpingStation() = default;
    // The value its docking ports take (15 arriving, 0 leaving).
    virtual void SetPortsWarpValue(int value) = 0;
    virtual void SetWarpEngineFlames(bool on) = 0;
    // Marked while it grows or shrinks in sight (a sequence that is not full-screen).
    virtual void SetMarkedWarping(bool warping) = 0;
    // Its own steps as it has arrived, and as it starts to leave.
    virtual void RunArrivalStep() = 0;
    virtual void RunDepartureStep() = 0;
};

// Times of the sequences (ms after the entry's start).
constexpr uint32_t WARP_GROW_START_MS = 1500;
constexpr uint32_t WARP_EFFECT_TAIL_MS = 1000;
constexpr uint32_t STATION_SKIP_AFTER_MS = 500;
constexpr uint32_t STATION_ARRIVAL_MS = 7000;
constexpr uint32_t STATION_ARRIVAL_END_MS = 9500;
constexpr uint32_t STATION_DEPARTURE_END_MS = 8000;

// The step the world runs for each entry: the station's sequence for the station,
// the ships' one for every other object (drones and worms too, so nothing that
// warps stays out of play for good).
void RunWarpStep(CWorld& world, SWarpEntry& entry);
void WarpStep(CWorld& world, SWarpEntry& entry);
void StationWarpStep(CWorld& world, SWarpEntry& entry);

// Both scale factors of the object.
void SetWarpScale(CGameObject& object, float scale);

// Whether the station's sequence would be full-screen now: no boss present, or the
// boss state is 1 and it warps in, or 3 and it warps out; never while the director
// plays its station sequence.
bool IsStationWarpFullScreen(bool warpingIn);
