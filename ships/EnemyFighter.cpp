#include "ships/EnemyFighter.h"

#include "core/DefinitionProblems.h"
#include "ships/EnemyTargets.h"
#include "ships/FighterBehaviours.h"
#include "ships/FighterPilot.h"
#include "ships/ShipPlacement.h"
#include "world/Camera.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/Quadtree.h"
#include "world/World.h"
#include "world/ZoneLink.h"

#include <cstdio>
#include <memory>
#include <vector>

CEnemyFighter::CEnemyFighter() : CEnemyObject(OBJECT_ENEMY_FIGHTER) {}

CEnemyFighter::~CEnemyFighter() = default;

CFighterContext& CEnemyFighter::GetContext() const
{
    return *static_cast<CFighterContext*>(m_arbiter.GetContext());
}

CFighterPilot& CEnemyFighter::GetPilot() const
{
    return GetContext().GetPilot();
}

bool CEnemyFighter::ReadKeys(const CDataTree& section, CDefinitionProblems&)
{
    section.GetFloat("armRange", m_armRange);
    section.GetFloat("defensiveRange", m_defensiveRange);
    section.GetFloat("engineForce", m_engineForce);
    section.GetInt("velocityLimit", m_body.velocityLimit);
    m_body.damping = DAMPING;
    ReadEffectName(section, "deathEffect", m_deathEffect);
    std::string wake;
    ReadEffectName(section, "wakeEffect", wake);
    m_wake.Spawn(wake, this);
    for (int i = 0; i < WEAPONS; ++i)
    {
        m_weapons[i] = SFighterWeapon();
        char name[16];
        std::snprintf(name, sizeof(name), "weapon%d", i);
        if (const CDataTree* block = section.FindBlock(name))
            ReadWeapon(*block, m_weapons[i]);
    }

    m_arbiter.Setup(std::make_unique<CFighterContext>(*this), std::make_unique<CFighterPilot>(*this), DECISION_MS);
    m_arbiter.AddBehaviour(std::make_unique<CFighterWander>());
    m_arbiter.AddBehaviour(std::make_unique<CFighterRetreat>());
    m_arbiter.AddBehaviour(std::make_unique<CFighterAttack>());
    return true;
}

void CEnemyFighter::ReadWeapon(const CDataTree& block, SFighterWeapon& weapon)
{
    ReadEffectName(block, "weaponEffect", weapon.effect);
    block.GetFloat("fireRateSec", weapon.fireRate);
    block.GetVec2("offset", weapon.offset);
}

bool CEnemyFighter::IsQueenHeld() const
{
    CGame* game = GetGame();
    if (!m_queen || !game || game->GetZones().GetZoneIndex() != QUEEN_ZONE)
        return false;
    const CDirectorLink& director = game->GetDirector();
    const uint32_t end = director.GetQueenFreezeEnd();
    return director.IsQueenFrozen() || (end != 0 && HasTimeCome(game->GetTime(), end));
}

void CEnemyFighter::Think()
{
    if (!m_loaded)
        return;
    if (m_info.frozen || !m_info.shown || m_info.warpState != WARP_NONE || IsWorldOnHold())
    {
        m_wake.Stop();
        return;
    }
    if (IsQueenHeld())
        return;
    const uint32_t now = GetGameClock();
    if (!m_scanned || now - m_lastScan >= SCAN_MS)
    {
        m_scanned = true;
        m_lastScan = now;
        Scan();
    }
    if (m_asteroidThreat != NO_OBJECT)
    {
        CWorld* world = GetRunningWorld();
        CGameObject* threat = world ? world->GetObject(m_asteroidThreat) : nullptr;
        if (threat && threat->GetBody().health > 0)
        {
            GetPilot().Engage(m_asteroidThreat);
            GetPilot().Sense();
            return;
        }
        m_asteroidThreat = NO_OBJECT;
    }
    m_arbiter.Update(now);
}

void CEnemyFighter::Scan()
{
    CGame* game = GetGame();
    CWorld* world = game ? game->GetWorld() : nullptr;
    CFighterContext& context = GetContext();
    context.m_friendlyCount = 0;
    m_asteroidThreat = NO_OBJECT;
    if (!world || !game->GetQuadtree())
        return;
    CGameObject* leader = world->GetObject(m_leader);
    if (!leader)
        m_leader = NO_OBJECT;
    int32_t bestMass = leader ? leader->GetBody().mass : 0;

    std::vector<CGameObject*> near;
    game->GetQuadtree()->QueryObjects(GetPosition(), m_armRange, near, true, true);
    bool enemyPresent = false;
    std::vector<CGameObject*> others;
    for (CGameObject* object : near)
    {
        const EObjectType type = object->GetType();
        if (type == OBJECT_STATION || type == OBJECT_PLAYER_SHIP)
        {
            enemyPresent = true;
            continue;
        }
        if (object->GetTeam() != BAD_TEAM)
        {
            others.push_back(object);
            continue;
        }
        if (object == this)
            continue;
        ++context.m_friendlyCount;
        const float distance = MeasureTarget(*object, GetPosition(), 0.0f).distance;
        const bool nearerOfItsKind = leader && object->GetType() == leader->GetType() &&
                                     distance < MeasureTarget(*leader, GetPosition(), 0.0f).distance;
        if (object->GetBody().mass > bestMass || nearerOfItsKind)
        {
            leader = object;
            m_leader = object->GetHandle();
            bestMass = object->GetBody().mass;
        }
    }
    if (enemyPresent)
        return;
    // The first other object that comes closer in the next tick, within reach.
    for (CGameObject* object : others)
    {
        const CVector2D now = object->GetPosition() - GetPosition();
        const CVector2D next = (object->GetPosition() + object->GetBody().velocity) - (GetPosition() + m_body.velocity);
        if (next.Dot(next) < now.Dot(now) &&
            MeasureTarget(*object, GetPosition(), 0.0f).distance < m_defensiveRange)
        {
            m_asteroidThreat = object->GetHandle();
            return;
        }
    }
}

bool CEnemyFighter::Move()
{
    if (!m_loaded)
    {
        PlaceShape();
        return false;
    }
    const CGame* game = GetGame();
    m_body.Integrate(game ? game->GetWorldWidth() : 0.0f);
    PlaceShape();
    UpdateBody();
    UpdateWake();
    return true;
}

void CEnemyFighter::UpdateWake()
{
    if (!m_wake.IsValid())
        return;
    CGame* game = GetGame();
    const bool onScreen = game && game->GetCamera().IsVisible(GetPosition(), m_body.radius);
    if (!onScreen || !m_info.shown || m_info.warpState != WARP_NONE)
    {
        m_wake.Stop();
        return;
    }
    m_wake.Place(GetPosition(), m_body.angle, VelocityPerSecond(*this));
    if (!m_wake.IsRunning())
        m_wake.Start();
    else if (m_wake.IsEmittingStopped())
        m_wake.ResumeEmitting();
}

void CEnemyFighter::UpdateSprite()
{
    CAnimatedSprite& sprite = m_objectBody.GetSprite();
    sprite.SetAngle(m_body.angle);
    sprite.SetPosition(GetPosition());
}

void CEnemyFighter::Collide(CGameObject& other)
{
    if (other.GetType() == GetType() || other.GetTeam() == GetTeam())
        return;
    CollideBodies(other);
}

void CEnemyFighter::SetVisible(bool visible)
{
    CEnemyObject::SetVisible(visible);
    if (!visible)
        m_wake.Stop();
}

void CEnemyFighter::SetWarpState(EWarpState state)
{
    m_info.warpState = state;
    m_info.collidable = state == WARP_NONE;
    if (state != WARP_NONE)
    {
        StopMotion();
        m_wake.Stop();
    }
}
