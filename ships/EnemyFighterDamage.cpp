// The enemy fighter's hits and death: damage by kind, the last zone's queen, the
// kill counts, and the gems a fighter drops in survival.

#include "core/Random.h"
#include "ships/EnemyFighter.h"
#include "ships/EnemyTargets.h"
#include "ships/ShipPlacement.h"
#include "world/AsteroidKinds.h"
#include "world/CampaignLink.h"
#include "world/DirectorLink.h"
#include "world/EffectCache.h"
#include "world/Game.h"
#include "world/GameFlowLink.h"
#include "world/World.h"
#include "world/ZoneLink.h"
#include "world/ZoneNode.h"

namespace
{
// The strike of the station: the only hits that count on a frozen queen.
constexpr int32_t STRIKE_DAMAGE = 3;
// The queen is spared until the director shows this chat page.
constexpr int QUEEN_DEATH_PAGE = 54;
constexpr int32_t QUEEN_FREEZE_HEALTH = 10;
constexpr uint32_t QUEEN_FREEZE_MS = 10000;
const char* const QUEEN_FREEZE_EFFECT = "queenFreezeGun";

// The queen's drive pod.
constexpr int32_t DRIVE_POD_PAYLOAD = 8;

// Survival drops: a stage's threshold, compared with the survival measure.
constexpr int32_t DROP_THRESHOLDS[] = {15, 25, 100, 200, 300, 350, 375};
constexpr int32_t DROP_STAGES = sizeof(DROP_THRESHOLDS) / sizeof(DROP_THRESHOLDS[0]);

// The gem of a draw e of 0 to 9: normal (e 0, 1), rare (2, 3), very rare (4 to 9);
// the large ones from difficulty 3, the smallest normal gem above it.
int32_t ChooseDropKind(int32_t difficulty)
{
    if (difficulty > 3)
        return ASTEROID_NORMAL_GEM;
    const int32_t e = GetGameRandom().Below(10);
    const int32_t large = difficulty >= 3 ? 1 : 0;
    if (e <= 1)
        return ASTEROID_NORMAL_GEM + large;
    if (e <= 3)
        return ASTEROID_RARE_GEM + large;
    return ASTEROID_VERY_RARE_GEM + large;
}
} // namespace

bool CEnemyFighter::TakeDamage(int32_t sourceType, CGameObject*, int32_t kind, int32_t amount)
{
    CGame* game = GetGame();
    if (!game || m_body.health <= 0 || sourceType == GetType() || !m_info.collidable)
        return false;
    if (kind == 0)
        amount = SaturatedProduct(amount, 2);
    if (m_queen && game->GetZones().GetZoneIndex() == QUEEN_ZONE && !ApplyQueenRules(kind, amount))
        return false;
    m_body.health -= amount;
    if (m_queen)
        m_objectBody.Flash(false);
    if (m_body.health >= 1)
        return false;

    StartEffect(m_deathEffect, GetPosition(), false);
    int32_t points = KILL_POINTS;
    const int difficulty = game->GetCampaign().GetDifficulty();
    if (m_queen)
    {
        KillQueen();
        points = QUEEN_POINTS;
    }
    else if (game->GetRun().survival && difficulty > 1)
    {
        game->GetRun().survivalScore += KILL_POINTS * difficulty;
        points = 0;
    }
    game->GetCampaign().AddKill(points);
    Die();
    return true;
}

bool CEnemyFighter::ApplyQueenRules(int32_t kind, int32_t& amount)
{
    CGame& game = *GetGame();
    CDirectorLink& director = game.GetDirector();
    if (!director.IsQueenFrozen())
    {
        if (m_body.health - amount > QUEEN_FREEZE_HEALTH)
            return true;
        // Frozen instead of hurt; everyone else goes.
        director.FreezeQueen(game.GetTime() + QUEEN_FREEZE_MS);
        if (CEffect* gun = game.GetEffectCache().SpawnEffect(QUEEN_FREEZE_EFFECT, this, true))
        {
            gun->SetPosition(GetPosition());
            gun->SetHeading(m_body.angle);
            gun->SetVelocity(VelocityPerSecond(*this));
            gun->Start();
        }
        if (CWorld* world = game.GetWorld())
            world->DestroyEnemies(GetHandle());
        return false;
    }
    if (kind != STRIKE_DAMAGE)
        return false;
    if (m_body.health - amount < 1 && director.GetChatPage() != QUEEN_DEATH_PAGE)
        amount = m_body.health - 1;
    return true;
}

void CEnemyFighter::KillQueen()
{
    CGame& game = *GetGame();
    game.GetZones().SetZoneFlag(ZONE_FLAG_BOSS_BEATEN, true);
    // She leaves the drive pod behind, drifting off along her heading.
    ThrowPod(ASTEROID_DRIVE_POD, true, DRIVE_POD_PAYLOAD);
    if (CWorld* world = game.GetWorld())
        world->DestroyEnemies(GetHandle());
}

void CEnemyFighter::Die()
{
    CGame* game = GetGame();
    if (!game)
        return;
    SRunState& run = game->GetRun();
    if (run.survival && !run.noDrops)
        DropSurvivalGems();
    if (run.quickShip)
        game->GetGameFlow().CountQuickShipFighterKill();
    RemoveFromWorld();
}

void CEnemyFighter::DropSurvivalGems()
{
    CGame& game = *GetGame();
    const SRunState& run = game.GetRun();
    if (run.survivalStage < 0 || run.survivalStage >= DROP_STAGES)
        return;
    CRandom& random = GetGameRandom();
    if (DROP_THRESHOLDS[run.survivalStage] <= run.survivalMeasure || random.Below(3) != 1)
        return;
    const int32_t count = random.Below(4) + 1;
    const int difficulty = game.GetCampaign().GetDifficulty();
    for (int32_t i = 0; i < count; ++i)
        DropGem(GetPosition(), ChooseDropKind(difficulty));
}
