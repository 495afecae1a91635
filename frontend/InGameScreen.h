#pragma once
// The in-game menu (screen 1), over a paused flight while the ship is at the station:
// launch, the choice of one of four ships, their repairs and the station's, paid in
// gems, and the state of the two research slots.

#include "frontend/FrontEndScreen.h"

class CGameObject;

class CInGameScreen : public CFrontEndScreen
{
public:
    static constexpr const char* LAYOUT = "data/frontend/ingame.txt";
    static constexpr int SHIP_SLOTS = 4;

    enum EControl : int
    {
        LAUNCH = 1002,
        FIRST_SHIP = 1003,    // 1003 to 1006: ships 1 to 4
        FIRST_REPAIR = 1007,  // 1007 to 1010
        FIRST_HULL = 1011,    // 1011 to 1014
        STATION_REPAIR = 1015,
        STATION_HULL = 1016,
        RESEARCH_SLOT_A = 1017,
        RESEARCH_SLOT_B = 1018,
    };

    explicit CInGameScreen(CGameFlow& flow);

    void Show() override;
    void Hide() override;
    // The launch button follows the station and the tutorial while the menu is open.
    void Update() override;

    // The hull in whole percent of the full hull: 0 for a full hull or a hull of 0 or
    // less; a share above 0 that would show below 1 shows 1.
    static int GetHullPercent(int32_t stored, int32_t full);
    // A repair mends what is missing up to a tenth of the full hull, for a tenth of
    // that in gems (at least 1); 0 when nothing is missing.
    static int32_t GetRepairCost(int32_t stored, int32_t full);
    // The hull after paying `paid` gems: 10 a gem, within the repair's share and the
    // full hull.
    static int32_t GetRepairedHull(int32_t stored, int32_t full, int32_t paid);

protected:
    void HandleEvent(int32_t controlId, int32_t event, int32_t value) override;

private:
    void RefreshShips();
    void RefreshStation();
    void RefreshLaunch(const CGameObject& station);
    void RefreshResearch();
    void Launch();
    void ChooseShip(int slot);
    void RepairShip(int slot);
    void RepairStation();
};
