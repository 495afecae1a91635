// What gems buy: the survival game's purchase menu, the in-game menu's repairs and
// the hull percentages it shows, and how gems are spent from the three stocks.

#include "frontend/CampaignFlowLink.h"
#include "frontend/InGameScreen.h"
#include "frontend/SurvivalRules.h"
#include "platform/input/DikCodes.h"
#include "tests/support/frontend/FrontEndHarness.h"
#include "world/GameObject.h"
#include "world/ObjectFactory.h"
#include "world/World.h"

#include <gtest/gtest.h>

TEST(SurvivalPurchase, AnEntryIsBoughtOnlyWhenTheGemsCoverIt)
{
    struct SCase
    {
        int selection;
        int32_t level;
        int32_t gems;
        float energy;
        float maxEnergy;
        int32_t reloadCost;
        bool bought;
        int32_t paid;
        int32_t newLevel;
        float energyAfter;
    };
    const SCase cases[] = {
        // Upgrades: the price by the current level; never on credit; none above level 6.
        {SURVIVAL_BUY_UPGRADE, 1, 25, 0, 0, 0, true, 25, 2, 0},
        {SURVIVAL_BUY_UPGRADE, 1, 24, 0, 0, 0, false, 0, 0, 0},
        {SURVIVAL_BUY_UPGRADE, 0, 15, 0, 0, 0, true, 15, 1, 0},
        {SURVIVAL_BUY_UPGRADE, 6, 400, 0, 0, 0, true, 375, 7, 0},
        {SURVIVAL_BUY_UPGRADE, 7, 1000, 0, 0, 0, false, 0, 0, 0},
        {SURVIVAL_BUY_UPGRADE, 3, 199, 0, 0, 0, false, 0, 0, 0},
        // Reloads: their cost, when there is one.
        {SURVIVAL_BUY_RELOAD, 1, 10, 0, 0, 8, true, 8, 0, 0},
        {SURVIVAL_BUY_RELOAD, 1, 7, 0, 0, 8, false, 0, 0, 0},
        {SURVIVAL_BUY_RELOAD, 1, 10, 0, 0, 0, false, 0, 0, 0},
        // Repairs: half a tenth of the maximum energy buys two tenths, up to the maximum.
        {SURVIVAL_BUY_REPAIR, 1, 20, 100, 400, 0, true, 20, 0, 180},
        {SURVIVAL_BUY_REPAIR, 1, 25, 350, 400, 0, true, 20, 0, 400},
        {SURVIVAL_BUY_REPAIR, 1, 19, 100, 400, 0, false, 0, 0, 0},
        {SURVIVAL_BUY_REPAIR, 1, 50, 400, 400, 0, false, 0, 0, 0},
        {SURVIVAL_MENU_ENTRIES, 1, 500, 100, 400, 8, false, 0, 0, 0},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << "entry " << c.selection << " level " << c.level << " gems " << c.gems);
        SSurvivalShipState ship;
        ship.energy = c.energy;
        ship.maxEnergy = c.maxEnergy;
        ship.reloadCost = c.reloadCost;
        const SSurvivalPurchaseResult result = ChooseSurvivalPurchase(c.selection, c.level, c.gems, ship);
        EXPECT_EQ(result.bought, c.bought);
        EXPECT_EQ(result.paid, c.paid);
        if (c.selection == SURVIVAL_BUY_UPGRADE)
        {
            EXPECT_EQ(result.newLevel, c.newLevel);
        }
        if (c.selection == SURVIVAL_BUY_REPAIR && c.bought)
        {
            EXPECT_FLOAT_EQ(result.energyAfter, c.energyAfter);
        }
    }
}

TEST(SurvivalPurchase, PricesAndTheRepairCostShown)
{
    const int32_t prices[] = {15, 25, 100, 200, 300, 350, 375, 0, 0};
    for (int32_t level = 0; level < 9; ++level)
        EXPECT_EQ(GetSurvivalUpgradePrice(level), prices[level]) << level;
    EXPECT_EQ(GetSurvivalUpgradePrice(-1), 0);
    SSurvivalShipState ship;
    ship.maxEnergy = 400;
    ship.energy = 100;
    EXPECT_EQ(GetSurvivalRepairCost(ship), 20);
    ship.energy = 400;
    EXPECT_EQ(GetSurvivalRepairCost(ship), 0);
}

namespace
{
class CStandInShip : public CGameObject
{
public:
    CStandInShip() : CGameObject(OBJECT_PLAYER_SHIP) { m_body.health = 100; }
};
} // namespace

TEST(SurvivalPurchase, TheMenuOpensOnTheCallActionMovesAndBuysOnRelease)
{
    CFrontEndHarness harness;
    RegisterObjectType(OBJECT_PLAYER_SHIP, &CreateObjectOf<CStandInShip>);
    CGame& game = harness.GetGame();
    harness.RunFrame(); // the main menu, which clears the run's flags
    game.GetRun().survival = true;
    ASSERT_TRUE(harness.StartFlight());
    const int32_t first = game.GetPlayerShipHandle();
    ASSERT_NE(game.GetWorld()->GetObject(first), nullptr);
    SRunState& run = game.GetRun();
    run.gemsInHand = 30;
    run.menuSelection = SURVIVAL_BUY_REPAIR;
    harness.RunFrames(7); // the controls' lockout after the flight's flush
    const int call = game.GetControls().GetKey(CSurvivalGame::STATION_CALL_ACTION);
    harness.PressKey(call); // call the station: the menu
    harness.RunFrames(2);
    EXPECT_TRUE(run.menuOpen);
    harness.PressKey(Dik::DOWN); // 2 -> 0, with wrap-around
    harness.RunFrames(7);
    harness.ReleaseKey(Dik::DOWN);
    EXPECT_EQ(run.menuSelection, SURVIVAL_BUY_UPGRADE);
    harness.ReleaseKey(call);
    harness.RunFrames(2);
    EXPECT_FALSE(run.menuOpen);
    EXPECT_EQ(run.gemsInHand, 5);
    EXPECT_EQ(run.shipLevel, 2);
    EXPECT_EQ(harness.GetFlow().GetCampaign().GetScore(), 25);
    EXPECT_NE(game.GetPlayerShipHandle(), first);
    EXPECT_NE(game.GetWorld()->GetObject(game.GetPlayerShipHandle()), nullptr);
}

TEST(InGameRepair, HullPercentages)
{
    struct SCase
    {
        int32_t stored, full;
        int percent;
    };
    const SCase cases[] = {
        {50, 100, 50}, {100, 100, 100}, {0, 100, 0}, {1, 1000, 1}, {1, 100000, 1},
        {999, 1000, 99}, {10, 0, 0}, {0, 0, 0}, {-5, 100, 0},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(CInGameScreen::GetHullPercent(c.stored, c.full), c.percent) << c.stored << " of " << c.full;
}

TEST(InGameRepair, ARepairMendsUpToATenthForATenthOfThatInGems)
{
    struct SCase
    {
        int32_t stored, full, cost, paid, after;
    };
    const SCase cases[] = {
        {500, 1000, 10, 10, 600},  // a tenth of 1000 for 10 gems
        {500, 1000, 10, 4, 540},   // 10 a gem when fewer are paid
        {960, 1000, 4, 4, 1000},   // what is missing, for a tenth of it
        {995, 1000, 1, 1, 1000},   // at least one gem
        {1000, 1000, 0, 0, 1000},  // nothing missing
        {1200, 1000, 0, 0, 1200},  // above full: nothing
        {500, 1000, 10, 0, 500},   // no gems: nothing
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.stored << " of " << c.full << " paid " << c.paid);
        EXPECT_EQ(CInGameScreen::GetRepairCost(c.stored, c.full), c.cost);
        EXPECT_EQ(CInGameScreen::GetRepairedHull(c.stored, c.full, c.paid), c.after);
    }
}

TEST(GemSpending, EachGemComesFromTheLargestStock)
{
    struct SCase
    {
        int32_t normal, rare, veryRare, amount, paid, normalAfter, rareAfter, veryRareAfter;
    };
    const SCase cases[] = {
        {10, 0, 0, 4, 4, 6, 0, 0},
        {0, 0, 0, 4, 0, 0, 0, 0},
        {2, 2, 2, 3, 3, 2, 2, 1},   // a tie: the very rare stock first
        {1, 3, 3, 5, 5, 1, 2, 2},   // very rare (3), then rare (2)
        {0, 5, 0, 3, 3, 0, 3, 0},   // 2 + 2 covers 3: one more than asked is spent
        {1, 0, 0, 5, 1, 0, 0, 0},   // all there is
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.normal << "/" << c.rare << "/" << c.veryRare << " for " << c.amount);
        CCampaignFlowLink campaign;
        campaign.SetGemStock(GEM_NORMAL, c.normal);
        campaign.SetGemStock(GEM_RARE, c.rare);
        campaign.SetGemStock(GEM_VERY_RARE, c.veryRare);
        EXPECT_EQ(campaign.SpendGems(c.amount), c.paid);
        EXPECT_EQ(campaign.GetGemStock(GEM_NORMAL), c.normalAfter);
        EXPECT_EQ(campaign.GetGemStock(GEM_RARE), c.rareAfter);
        EXPECT_EQ(campaign.GetGemStock(GEM_VERY_RARE), c.veryRareAfter);
    }
}
