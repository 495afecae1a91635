// The star boss: bursts of thrown rocks under its warp effect, parts shielded by
// turret pairs, and the queen fighter it leaves.

#include "core/DataTree.h"
#include "core/Random.h"
#include "ships/Bosses.h"
#include "ships/EnemyTargets.h"
#include "ships/ShipPlacement.h"
#include "world/Asteroid.h"
#include "world/AsteroidField.h"
#include "world/AsteroidKinds.h"
#include "world/Game.h"
#include "world/World.h"

#include <cmath>

namespace
{
// Part p is shielded while either turret of its pair lives.
struct SShield
{
    int part;
    int turretA;
    int turretB;
};
const SShield SHIELDS[] = {{3, 0, 1}, {0, 2, 3}, {1, 4, 5}, {2, 6, 7}};
constexpr uint8_t THROWN_PLANE = 14;
constexpr int32_t THROWN_SPEED_LIMIT = 9999;
} // namespace

CStarBoss::CStarBoss() : CBoss(OBJECT_STAR_BOSS, 44, 1000) {}

void CStarBoss::GetScriptNeeds(int& parts, int& ports, int& turrets) const
{
    parts = 3;
    ports = -1;
    turrets = 7;
}

bool CStarBoss::ReadBossKeys(const CDataTree& section, CDefinitionProblems&)
{
    std::string warp;
    ReadEffectName(section, "warpEffect", warp);
    m_warp.Release();
    m_warpOn = false;
    if (m_warp.Spawn(warp, this))
        m_warp.Place(GetPosition(), 0.0f, CVector2D());
    section.GetUInt("spawnAsteroidDelay", m_delay);
    uint32_t count = 0;
    section.GetUInt("numSpawnedAsteroids", count);
    m_perBurst = static_cast<int32_t>(count > 1000 ? 1000 : count);
    m_queen = ReadQueenFile(section, "queenFighterFile", m_queenFile);
    return true;
}

bool CStarBoss::Move()
{
    if (!HasGo())
        return false;
    const bool moved = CBoss::Move();
    m_warp.SetPosition(GetPosition());
    return moved;
}

void CStarBoss::Collide(CGameObject& other)
{
    if (other.GetType() != OBJECT_ASTEROID)
        CBoss::Collide(other);
}

void CStarBoss::Attack(uint32_t now)
{
    const bool partsGone = m_objectBody.AreTaggedPartsDestroyed();
    if (partsGone)
        m_coreInvulnerable = false;
    if (!partsGone && !IsAllLaunchedGone())
        return;
    CGame* game = GetGame();
    if (!HasTimeCome(now, m_nextSpawn) || !game->GetWorld()->GetObject(game->GetPlayerShipHandle()))
        return;
    if (m_burstCount < m_perBurst)
    {
        m_nextSpawn = now + THROW_INTERVAL_MS;
        if (!m_warpOn)
        {
            // The warp opens first; the rocks come through it from the next step.
            m_warpOn = true;
            if (!m_warp.IsRunning())
                m_warp.Start();
            else
                m_warp.ResumeEmitting();
            return;
        }
        ++m_burstCount;
        ThrowAsteroid();
        return;
    }
    m_burstCount = 0;
    m_nextSpawn = now + m_delay;
    m_warpOn = false;
    m_warp.StopEmitting();
    ThrowAsteroid();
}

void CStarBoss::ThrowAsteroid()
{
    CGame* game = GetGame();
    CGameObject* ship = game->GetWorld()->GetObject(game->GetPlayerShipHandle());
    const CVector2D where = GetPosition();
    // Its own type lets the rock pass out of it unbounced.
    CAsteroid* rock = SpawnAsteroid(false, ASTEROID_EXPLOSIVE, nullptr, &where, GetType());
    const int32_t turn = GetGameRandom().Below(4) - 2;
    ++m_thrown;
    if (!rock || !ship)
        return;
    rock->SetPosition(where);
    CMotionBody& body = rock->GetBody();
    body.previousPosition = where;
    body.scale[0] = body.scale[1] = 0.5f;
    body.radius *= 0.5f;
    if (body.shape && body.shape->IsCircle())
    {
        auto& circle = static_cast<CCollisionCircle&>(*body.shape);
        circle.SetRadius(circle.GetRadius() * 0.5f);
    }
    rock->SetDrawPlane(THROWN_PLANE);
    CVector2D course;
    course.SetFromAngle(HeadingOf(ship->GetPosition() - where) + static_cast<float>(turn));
    body.velocity = course * THROW_SPEED;
    body.damping = 1.0f;
    body.velocityLimit = THROWN_SPEED_LIMIT;
    body.additiveBounce = 1;
    rock->SetTransient(true);
    rock->SetCargoValue(THROW_PAYLOAD);
    rock->PlaceShape();
}

bool CStarBoss::TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount)
{
    if (m_body.health <= 0 || !m_info.collidable || !m_loaded || IsIgnoredSource(sourceType, source) ||
        TakeTurretHit(amount))
        return false;
    const uint32_t tag = GetHitTag();
    for (const SShield& shield : SHIELDS)
    {
        const SBodyPart* part = GetPart(shield.part);
        if (tag != 0 && part && part->m_tag == tag &&
            (IsTurretAlive(shield.turretA) || IsTurretAlive(shield.turretB)))
            return false;
    }
    int partIndex = -1;
    if (TakePartHit(amount, partIndex))
    {
        if (!IsPartAlive(partIndex))
            DamageTurretsOnHitPart(9999);
        return false;
    }
    if (!TakeBossCoreHit(kind, amount))
        return false;
    m_warpOn = false;
    m_warp.StopEmitting();
    return true;
}

void CStarBoss::Die()
{
    if (LeaveQueen(m_queen, nullptr))
        RemoveFromWorld();
}
