#pragma once
// The survival game's rules, run from the game flow's drawing each flight frame of a
// survival run: waves of enemies every three minutes, a lost ship replaced by one of
// the level below, the purchase menu on the station-call action (upgrade, reload,
// repair, paid from the gems in hand), the run's texts, and the end of a timed run.
// Its values live in the game's run block (SRunState).

#include <cstdint>

class CGameFlow;
class CGameObject;
struct SRunState;

enum ESurvivalPurchase : int
{
    SURVIVAL_BUY_UPGRADE = 0,
    SURVIVAL_BUY_RELOAD = 1,
    SURVIVAL_BUY_REPAIR = 2,
    SURVIVAL_MENU_ENTRIES = 3,
};

// The price of the next ship by the current level: 15, 25, 100, 200, 300, 350, 375
// for levels 0 to 6, 0 from level 7 (there is no ship above it).
int32_t GetSurvivalUpgradePrice(int32_t level);
constexpr int32_t SURVIVAL_TOP_LEVEL = 7;

// What the purchase menu's entry would buy for the player's ship as it stands.
struct SSurvivalShipState
{
    float energy = 0.0f;
    float maxEnergy = 0.0f;
    int32_t reloadCost = 0;  // twice the ammunition missing up to the first weapon not full
};

struct SSurvivalPurchaseResult
{
    bool bought = false;
    int32_t paid = 0;          // taken from the gems in hand
    int32_t newLevel = 0;      // an upgrade: the level of the new ship
    float energyAfter = 0.0f;  // a repair: the ship's energy afterwards
};

// The repair's price, a twentieth of the maximum energy; 0 when the energy is full.
int32_t GetSurvivalRepairCost(const SSurvivalShipState& ship);
// Buys nothing unless the gems cover the price: an upgrade below the top level; a
// reload whose cost is above 0; a repair when the energy is not full, raising it by
// two tenths of the maximum, capped there.
SSurvivalPurchaseResult ChooseSurvivalPurchase(int selection, int32_t level, int32_t gems,
                                               const SSurvivalShipState& ship);

class CSurvivalGame
{
public:
    static constexpr uint32_t WAVE_MS = 180000;
    static constexpr int32_t LAST_WAVE = 4;
    static constexpr uint32_t WAVE_TITLE_MS = 3000;
    static constexpr uint32_t MENU_STEP_MS = 250;
    static constexpr uint32_t MENU_BLINK_MS = 100;
    static constexpr uint32_t TIMED_RUN_MS = 300000;
    static constexpr int STATION_CALL_ACTION = 3;

    // One flight frame of a survival run: waves, a lost ship, the purchase menu and
    // the end of a timed run. Texts are drawn by DrawTexts.
    void Update(CGameFlow& flow);
    void DrawTexts(CGameFlow& flow) const;

private:
    void UpdateWaves(CGameFlow& flow, SRunState& run, uint32_t now);
    void ReplaceLostShip(CGameFlow& flow, SRunState& run);
    void UpdateMenu(CGameFlow& flow, SRunState& run, uint32_t now);
    void Buy(CGameFlow& flow, SRunState& run, CGameObject& ship);

    bool m_menuActionWasDown = false;
    uint32_t m_menuStepTime = 0;
};
