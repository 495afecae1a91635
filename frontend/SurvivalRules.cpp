#include "frontend/SurvivalRules.h"

#include "core/WString.h"
#include "core/WideFormat.h"
#include "frontend/GameFlow.h"
#include "frontend/PlayerShipAccess.h"
#include "frontend/ScreenLayout.h"
#include "platform/Renderer.h"
#include "presentation/Font.h"
#include "presentation/GuiManager.h"
#include "world/Controls.h"
#include "world/EffectCache.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/ObjectTypes.h"
#include "world/World.h"
#include "world/ZoneLink.h"

namespace
{
constexpr int32_t UPGRADE_PRICES[SURVIVAL_TOP_LEVEL] = {15, 25, 100, 200, 300, 350, 375};

constexpr uint32_t WAVE_TEXT = 0xa7000003;
constexpr uint32_t TIME_LABEL = 0xdb000000;
constexpr uint32_t SCORE_LABEL = 0x13000002;
constexpr uint32_t GEMS_LABEL = 0x7f000005;
constexpr uint32_t REPAIR_LABEL = 0xd5000003;
constexpr uint32_t RELOAD_LABEL = 0x17000004;
constexpr uint32_t UPGRADE_LABEL = 0x3d000002;
constexpr float LABEL_X = 10.0f;
constexpr float VALUE_X = 90.0f;
constexpr uint32_t WHITE = 0xFFFFFFFF;

bool IsEnemyType(int32_t type)
{
    return type >= OBJECT_ENEMY_DRONE && type <= OBJECT_DISC_BOSS;
}

bool IsBossType(int32_t type)
{
    return type >= OBJECT_STAR_BOSS && type <= OBJECT_DISC_BOSS;
}

void DrawRow(CFont& font, float y, uint32_t label, int32_t value)
{
    font.DrawDataTextWide(LABEL_X, y, 0.0f, LookUpText(label).c_str(), WHITE);
    font.DrawFormatted(VALUE_X, y, 0.0f, WHITE, "%i", static_cast<int>(value));
}
} // namespace

int32_t GetSurvivalUpgradePrice(int32_t level)
{
    return level >= 0 && level < SURVIVAL_TOP_LEVEL ? UPGRADE_PRICES[level] : 0;
}

int32_t GetSurvivalRepairCost(const SSurvivalShipState& ship)
{
    if (ship.energy >= ship.maxEnergy)
        return 0;
    return static_cast<int32_t>(ship.maxEnergy / 20.0f);
}

SSurvivalPurchaseResult ChooseSurvivalPurchase(int selection, int32_t level, int32_t gems,
                                               const SSurvivalShipState& ship)
{
    SSurvivalPurchaseResult result;
    switch (selection)
    {
    case SURVIVAL_BUY_UPGRADE:
    {
        const int32_t price = GetSurvivalUpgradePrice(level);
        // The price must be covered: the gems never go below 0.
        if (level < 0 || level >= SURVIVAL_TOP_LEVEL || gems < price)
            break;
        result.bought = true;
        result.paid = price;
        result.newLevel = level + 1;
        break;
    }
    case SURVIVAL_BUY_RELOAD:
        if (ship.reloadCost <= 0 || gems < ship.reloadCost)
            break;
        result.bought = true;
        result.paid = ship.reloadCost;
        break;
    case SURVIVAL_BUY_REPAIR:
    {
        const int32_t price = static_cast<int32_t>(ship.maxEnergy / 10.0f / 2.0f);
        if (ship.energy >= ship.maxEnergy || gems < price)
            break;
        result.bought = true;
        result.paid = price;
        const float raised = ship.energy + ship.maxEnergy * 0.2f;
        result.energyAfter = raised < ship.maxEnergy ? raised : ship.maxEnergy;
        break;
    }
    default:
        break;
    }
    return result;
}

void CSurvivalGame::Update(CGameFlow& flow)
{
    CGame& game = flow.GetGame();
    SRunState& run = game.GetRun();
    const uint32_t now = game.GetTime();
    // A timed run ends after five minutes of game time.
    if (run.timedRun && now - run.clockCopy >= TIMED_RUN_MS)
    {
        flow.SetRunTime(now - run.clockCopy);
        flow.GetCampaign().RecordSurvivalScore(1, flow.GetCampaign().GetScore());
        if (game.GetWorld())
            game.GetWorld()->Clear();
        game.GetEffectCache().Reset();
        flow.ShowDeadScreen(DEATH_SHIP_LOST);
        return;
    }
    UpdateWaves(flow, run, now);
    ReplaceLostShip(flow, run);
    UpdateMenu(flow, run, now);
}

// Every three minutes without a boss the next wave comes once the last one's enemies
// are gone (those left warp out first); from the last wave on worms come too.
void CSurvivalGame::UpdateWaves(CGameFlow& flow, SRunState& run, uint32_t now)
{
    CGame& game = flow.GetGame();
    if (now - run.waveStartTime < WAVE_MS)
        return;
    if (run.waveIndex >= LAST_WAVE)
    {
        if (SWormPressure* worms = game.GetZones().GetWormPressure())
            worms->permitted = true;
        return;
    }
    CWorld* world = game.GetWorld();
    if (!world)
        return;
    bool boss = false, enemies = false;
    for (int32_t slot = 0; slot < world->GetSlotCount(); ++slot)
        if (const CGameObject* object = world->GetSlot(slot))
        {
            boss = boss || IsBossType(object->GetType());
            enemies = enemies || IsEnemyType(object->GetType());
        }
    if (boss)
        return;
    if (enemies)
    {
        // No new group forms while they go.
        run.waveEnding = true;
        for (int32_t slot = 0; slot < world->GetSlotCount(); ++slot)
        {
            CGameObject* object = world->GetSlot(slot);
            if (!object || !IsEnemyType(object->GetType()) || object->GetInfo().warpState != WARP_NONE)
                continue;
            // Without warp sequences they simply go.
            if (!world->HasWarpStep())
            {
                world->RemoveObject(object->GetHandle());
                continue;
            }
            object->SetWarpState(WARP_OUT);
            world->AddWarp(object->GetHandle());
        }
        return;
    }
    run.waveEnding = false;
    ++run.waveIndex;
    run.waveStartTime = now;
    game.GetZones().ActivateSurvivalWave(run.waveIndex);
}

// A lost ship comes back one level lower while the level is at least 2 and above the
// wave index; otherwise the loss watch ends the run.
void CSurvivalGame::ReplaceLostShip(CGameFlow& flow, SRunState& run)
{
    CGame& game = flow.GetGame();
    CWorld* world = game.GetWorld();
    const int32_t handle = game.GetPlayerShipHandle();
    if (!world || handle == NO_OBJECT || world->GetObject(handle))
    {
        if (world && world->GetObject(handle))
            run.shipPosition = world->GetObject(handle)->GetPosition();
        return;
    }
    if (run.shipLevel < 2 || run.shipLevel <= run.waveIndex)
        return;
    --run.shipLevel;
    flow.SpawnPlayerShip(run.shipLevel, run.shipPosition);
}

// The station-call action opens the menu; while it stays active up and down move the
// selection (with wrap-around) every 250 ms of game time; letting it go buys.
void CSurvivalGame::UpdateMenu(CGameFlow& flow, SRunState& run, uint32_t now)
{
    CGame& game = flow.GetGame();
    const CControls& controls = game.GetControls();
    const SControlAction& call = controls.GetAction(STATION_CALL_ACTION);
    const bool active = call.down || call.held;
    if (active)
    {
        if (!run.menuOpen)
        {
            run.menuOpen = true;
            run.menuBlinkTime = now;
            m_menuStepTime = now;
        }
        else if (now - m_menuStepTime >= MENU_STEP_MS)
        {
            const SControlAction& up = controls.GetAction(4);
            const SControlAction& down = controls.GetAction(5);
            if (up.down || up.held)
            {
                run.menuSelection = (run.menuSelection + SURVIVAL_MENU_ENTRIES - 1) % SURVIVAL_MENU_ENTRIES;
                m_menuStepTime = now;
            }
            else if (down.down || down.held)
            {
                run.menuSelection = (run.menuSelection + 1) % SURVIVAL_MENU_ENTRIES;
                m_menuStepTime = now;
            }
        }
    }
    else if (run.menuOpen)
    {
        run.menuOpen = false;
        CWorld* world = game.GetWorld();
        if (CGameObject* ship = world ? world->GetObject(game.GetPlayerShipHandle()) : nullptr)
            Buy(flow, run, *ship);
    }
    m_menuActionWasDown = active;
}

void CSurvivalGame::Buy(CGameFlow& flow, SRunState& run, CGameObject& ship)
{
    SSurvivalShipState state;
    GetShipEnergy(ship, state.energy, state.maxEnergy);
    state.reloadCost = GetShipReloadCost(ship);
    const SSurvivalPurchaseResult result = ChooseSurvivalPurchase(run.menuSelection, run.shipLevel, run.gemsInHand,
                                                                  state);
    if (!result.bought)
        return;
    run.gemsInHand -= result.paid;
    switch (run.menuSelection)
    {
    case SURVIVAL_BUY_UPGRADE:
    {
        CCampaignFlowLink& campaign = flow.GetCampaign();
        campaign.SetScore(campaign.GetScore() + result.paid);
        const CVector2D place = ship.GetPosition();
        flow.GetGame().GetWorld()->RemoveObject(ship.GetInfo().handle);
        run.shipLevel = result.newLevel;
        flow.SpawnPlayerShip(run.shipLevel, place);
        break;
    }
    case SURVIVAL_BUY_RELOAD:
        RefillFirstWeapon(ship);
        break;
    case SURVIVAL_BUY_REPAIR:
        SetShipEnergy(ship, result.energyAfter);
        break;
    default:
        break;
    }
}

void CSurvivalGame::DrawTexts(CGameFlow& flow) const
{
    if (!g_gui)
        return;
    CGame& game = flow.GetGame();
    const SRunState& run = game.GetRun();
    const uint32_t now = game.GetTime();
    CFont& font = g_gui->GetFontOrSystem(0);
    if (now - run.waveStartTime < WAVE_TITLE_MS)
    {
        CWString title;
        FormatWide(title, u"%s %i", LookUpText(WAVE_TEXT).c_str(), static_cast<int>(run.waveIndex + 1));
        font.DrawDataTextWide(300.0f, 230.0f, 0.0f, title.GetText(), WHITE);
    }
    DrawRunTime(TIME_LABEL, now - run.clockCopy, 250.0f, 440.0f);

    int32_t repair = 0, reload = 0;
    CWorld* world = game.GetWorld();
    if (CGameObject* ship = world ? world->GetObject(game.GetPlayerShipHandle()) : nullptr)
    {
        SSurvivalShipState state;
        GetShipEnergy(*ship, state.energy, state.maxEnergy);
        repair = GetSurvivalRepairCost(state);
        reload = GetShipReloadCost(*ship);
    }
    DrawRow(font, 440.0f, SCORE_LABEL, flow.GetCampaign().GetScore());
    DrawRow(font, 420.0f, GEMS_LABEL, run.gemsInHand);
    DrawRow(font, 400.0f, REPAIR_LABEL, repair);
    DrawRow(font, 380.0f, RELOAD_LABEL, reload);
    DrawRow(font, 360.0f, UPGRADE_LABEL, GetSurvivalUpgradePrice(run.shipLevel));

    // The menu's selection: a white frame blinking every 100 ms.
    if (run.menuOpen && ((now - run.menuBlinkTime) / MENU_BLINK_MS) % 2 == 0 && g_renderer)
    {
        const float scaleX = g_renderer->GetVirtualScaleX(), scaleY = g_renderer->GetVirtualScaleY();
        const float cx = 45.0f, cy = 372.0f + 20.0f * static_cast<float>(run.menuSelection);
        g_renderer->DrawRectF((cx - 40.0f) * scaleX, (cy - 10.0f) * scaleY, 80.0f * scaleX, 20.0f * scaleY, 1.0f,
                              1.0f, 1.0f, 1.0f, false);
    }
}
