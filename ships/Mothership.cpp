// The mothership's definition, its think and move, its hits and its death.

#include "ships/Mothership.h"

#include "core/Console.h"
#include "core/DefinitionProblems.h"
#include "core/Random.h"
#include "presentation/CollisionTag.h"
#include "presentation/EffectRequests.h"
#include "ships/EnemyDrone.h"
#include "ships/MothershipBehaviours.h"
#include "ships/ShipPlacement.h"
#include "world/Asteroid.h"
#include "world/AsteroidKinds.h"
#include "world/CampaignLink.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/GameFlowLink.h"
#include "world/ObjectSpriteOwner.h"
#include "world/Quadtree.h"
#include "world/TextPageLink.h"
#include "world/World.h"
#include "world/ZoneLink.h"

#include <algorithm>
#include <cstdio>
#include <strings.h>

namespace
{
const char* const CONFIG_NAMES[MOTHERSHIP_CONFIG_COUNT] = {
    "drone", "minelayer", "mining", "starboss", "rainboss", "tronboss", "discboss", "crusher", "interdictor", "spiral",
};
// Gems left on death, by configuration.
const int32_t CONFIG_GEMS[MOTHERSHIP_CONFIG_COUNT] = {14, 10, 30, 0, 0, 0, 0, 17, 20, 20};
// The director's presence trigger of each configuration (-1 none).
const int PRESENCE_FLAGS[MOTHERSHIP_CONFIG_COUNT] = {2, 0, 10, -1, -1, -1, -1, 4, 6, 8};
// Gem counts shrink in the later zones (zone 0 keeps them all).
const float ZONE_GEM_SCALE[] = {1.0f, 0.9f, 0.7f, 0.6f, 0.5f};
constexpr float PATROL_RANGE = 800.0f;
constexpr float MINING_PATROL_RANGE = 200.0f;

int32_t g_liveConfigs[MOTHERSHIP_CONFIG_COUNT] = {};
} // namespace

int32_t MothershipConfigFromName(const char* name)
{
    for (int32_t i = 0; i < MOTHERSHIP_CONFIG_COUNT; ++i)
        if (name && strcasecmp(name, CONFIG_NAMES[i]) == 0)
            return i;
    return -1;
}

int32_t CEnemyMothership::CountLiveConfig(int32_t config)
{
    return config >= 0 && config < MOTHERSHIP_CONFIG_COUNT ? g_liveConfigs[config] : 0;
}

CEnemyMothership::CEnemyMothership(EObjectType type) : CEnemyObject(type)
{
    m_departureCounter = GetGameRandom().Below(3) + 1;
}

CEnemyMothership::~CEnemyMothership()
{
    if (m_registeredConfig < 0)
        return;
    // The flag stays while another mothership of the configuration lives.
    if (--g_liveConfigs[m_registeredConfig] <= 0)
    {
        g_liveConfigs[m_registeredConfig] = 0;
        if (CGame* game = GetGame())
            game->GetDirector().ClearFlag(DIRECTOR_FLIGHT_CHAT, PRESENCE_FLAGS[m_registeredConfig]);
    }
}

CMothershipContext& CEnemyMothership::GetContext() const
{
    return *static_cast<CMothershipContext*>(m_arbiter.GetContext());
}

bool CEnemyMothership::ReadKeys(const CDataTree& section, CDefinitionProblems& problems)
{
    bool complete = true;
    m_portCount = 0;
    m_ports.reset();
    if (const CDataTree* ports = section.FindBlock("dockingPorts"))
    {
        uint32_t count = 0;
        ports->GetUInt("numPorts", count);
        if (count > MAX_PORTS)
        {
            problems.AddWarning(ports, "%u ports: only the first %d are used", count, MAX_PORTS);
            count = MAX_PORTS;
        }
        m_ports.reset(new CDockingPort[count]);
        for (uint32_t i = 0; i < count; ++i)
        {
            char name[16];
            std::snprintf(name, sizeof(name), "port%u", i);
            const CDataTree* port = ports->FindBlock(name);
            if (!port)
            {
                problems.AddMissingKey(ports, name);
                complete = false;
                break;
            }
            if (!m_ports[i].ParseDefinition(*port, *this, problems))
                complete = false;
            m_portCount = static_cast<int>(i + 1);
        }
    }
    section.GetFloat("defensiveRange", m_defensiveRange);
    section.GetInt("launchDelay", m_launchDelay);
    section.GetBool("launchIfThreat", m_launchIfThreat);
    if (const CDataTree* resource = section.FindBlock("resource"))
        m_launcher.Read(*resource, "mothership");
    ReadEffectName(section, "deathEffect", m_deathEffect);
    section.GetBool("coreVulnerableOnly", m_coreVulnerableOnly);
    section.GetBool("coreInvulnerable", m_coreInvulnerable);
    char text[DATA_VALUE_MAX + 1] = "";
    if (section.GetString("config", text, sizeof(text)))
    {
        const int32_t config = MothershipConfigFromName(text);
        if (config < 0)
            problems.AddWarning(section.FindChild("config"), "unknown config \"%s\": drone", text);
        else
            m_config = config;
    }
    // A turret group or engines block that cannot be read is left out with its problems
    // on the console: the mothership still flies, so that a boss can still be beaten.
    ReadTurrets(section, problems);
    if (const CDataTree* engines = section.FindBlock("engines"))
        m_flames.Parse(*engines, *this, problems);
    RegisterPresence();
    AddBehaviours();
    if (m_config == MOTHERSHIP_MINING)
    {
        // The first chance to leave comes a minute after it came.
        m_lastDepartureCheck = GetGameClock();
        const CGame* game = GetGame();
        int32_t level = 0;
        if (game)
            level = game->GetRun().survival ? game->GetCampaign().GetDifficulty() : game->GetZones().GetZoneIndex();
        ApplyMiningDifficulty(level);
    }
    return complete;
}

void CEnemyMothership::RegisterPresence()
{
    if (m_registeredConfig >= 0 && --g_liveConfigs[m_registeredConfig] < 0)
        g_liveConfigs[m_registeredConfig] = 0;
    m_registeredConfig = -1;
    CGame* game = GetGame();
    if (m_config == MOTHERSHIP_MINING && game)
        game->GetRun().miningPresent = true;
    if (PRESENCE_FLAGS[m_config] < 0)
        return;
    m_registeredConfig = m_config;
    ++g_liveConfigs[m_config];
    if (game)
        game->GetDirector().RaiseFlag(DIRECTOR_FLIGHT_CHAT, PRESENCE_FLAGS[m_config]);
}

void CEnemyMothership::AddBehaviours()
{
    m_arbiter.Setup(std::make_unique<CMothershipContext>(*this), nullptr, DECISION_MS);
    auto keepClear = [] { return std::make_unique<CKeepClearBehaviour>(); };
    auto patrol = [](float range) { return std::make_unique<CPatrolBehaviour>(range); };
    switch (m_config)
    {
    case MOTHERSHIP_DRONE:
        m_arbiter.AddBehaviour(keepClear());
        m_arbiter.AddBehaviour(std::make_unique<CHuntBehaviour>());
        m_arbiter.AddBehaviour(std::make_unique<CLaunchBehaviour>());
        m_arbiter.AddBehaviour(std::make_unique<CSelfDestructBehaviour>());
        break;
    case MOTHERSHIP_MINING:
        m_arbiter.AddBehaviour(std::make_unique<CMineBehaviour>());
        m_arbiter.AddBehaviour(keepClear());
        m_arbiter.AddBehaviour(std::make_unique<CLaunchBehaviour>());
        m_arbiter.AddBehaviour(patrol(MINING_PATROL_RANGE));
        break;
    case MOTHERSHIP_RAINBOSS:
    case MOTHERSHIP_DISCBOSS:
    case MOTHERSHIP_SPIRAL:
        m_arbiter.AddBehaviour(patrol(PATROL_RANGE));
        m_arbiter.AddBehaviour(keepClear());
        break;
    case MOTHERSHIP_TRONBOSS:
        m_arbiter.AddBehaviour(patrol(PATROL_RANGE));
        m_arbiter.AddBehaviour(keepClear());
        m_arbiter.AddBehaviour(std::make_unique<CHuntBehaviour>());
        break;
    case MOTHERSHIP_CRUSHER:
        m_arbiter.AddBehaviour(patrol(PATROL_RANGE));
        m_arbiter.AddBehaviour(keepClear());
        m_arbiter.AddBehaviour(std::make_unique<CCrusherGravityBehaviour>(GetGameClock()));
        m_arbiter.AddBehaviour(std::make_unique<CLaunchBehaviour>());
        break;
    default: // minelayer, star boss, interdictor
        m_arbiter.AddBehaviour(patrol(PATROL_RANGE));
        m_arbiter.AddBehaviour(keepClear());
        m_arbiter.AddBehaviour(std::make_unique<CLaunchBehaviour>());
        break;
    }
}

// ---- ports and parts -------------------------------------------------------------

CDockingPort* CEnemyMothership::GetPort(int index)
{
    return index >= 0 && index < m_portCount ? &m_ports[index] : nullptr;
}

bool CEnemyMothership::IsAnyPortBusy() const
{
    for (int i = 0; i < m_portCount; ++i)
        if (m_ports[i].GetTransit() != NO_OBJECT || m_ports[i].GetLaunchQueueLength() > 0 ||
            m_ports[i].GetTakeInQueueLength() > 0)
            return true;
    return false;
}

bool CEnemyMothership::AreAllPortsDestroyed() const
{
    for (int i = 0; i < m_portCount; ++i)
        if (m_ports[i].GetState() != PORT_DESTROYED)
            return false;
    return true;
}

void CEnemyMothership::CloseAllPorts()
{
    for (int i = 0; i < m_portCount; ++i)
        if (m_ports[i].GetState() == PORT_OPEN || m_ports[i].GetState() == PORT_OPENING)
            m_ports[i].Close();
}

bool CEnemyMothership::LaunchThrough(CDockingPort& port)
{
    CGameObject* ship = m_launcher.Launch();
    if (!ship)
        return false;
    if (auto* drone = dynamic_cast<CEnemyDrone*>(ship))
        drone->SetLauncher(GetHandle());
    ship->SetVisible(false);
    ship->SetPosition(GetPosition());
    ship->GetBody().previousPosition = GetPosition();
    ship->GetBody().angle = 0.0f;
    ship->PlaceShape();
    port.TakeObject(ship->GetHandle(), false, nullptr, nullptr);
    ship->SetFrozen(true);
    return true;
}

void CEnemyMothership::DestroyAllPorts(bool withEffects)
{
    for (int i = 0; i < m_portCount; ++i)
        m_ports[i].Destroy(*this, &m_objectBody, withEffects, !withEffects);
}

bool CEnemyMothership::IsPartAlive(int index) const
{
    return index >= 0 && index < GetPartCount() && m_objectBody.GetPart(static_cast<size_t>(index)).m_health > 0;
}

SBodyPart* CEnemyMothership::GetPart(int index)
{
    return index >= 0 && index < GetPartCount() ? &m_objectBody.GetPart(static_cast<size_t>(index)) : nullptr;
}

const SBodyPart* CEnemyMothership::GetPart(int index) const
{
    return index >= 0 && index < GetPartCount() ? &m_objectBody.GetPart(static_cast<size_t>(index)) : nullptr;
}

void CEnemyMothership::DestroyPart(int index)
{
    if (index >= 0 && index < GetPartCount())
        m_objectBody.DestroyPart(MakeSpriteOwner(*this), index);
}

uint32_t CEnemyMothership::GetHitTag() const
{
    const CCollisionShape* hit = m_body.shape ? m_body.shape->GetPartner() : nullptr;
    return hit ? hit->GetTag() : 0;
}

// ---- the state word and the mining set-up ------------------------------------------

int32_t CEnemyMothership::MakeLoadedBargeWord(int32_t zone)
{
    const uint32_t reserve = static_cast<uint32_t>(GetGameRandom().Below(std::max(zone, 0) + 1) + 1);
    return static_cast<int32_t>(1u | (0xFFFu << 8) | (reserve << 20));
}

void CEnemyMothership::SaveStateWord(int32_t& word)
{
    uint32_t value = 1;
    const int parts = std::min(STATE_PARTS, GetPartCount());
    for (int i = 0; i < parts; ++i)
        if (IsPartAlive(i))
            value |= 1u << (8 + i);
    value |= (static_cast<uint32_t>(m_miningReserve) & 0xFFFu) << 20;
    word = static_cast<int32_t>(value);
}

void CEnemyMothership::RestoreStateWord(int32_t word)
{
    const uint32_t value = static_cast<uint32_t>(word);
    if (m_config != MOTHERSHIP_MINING || !(value & 1u))
        return;
    const int parts = std::min(STATE_PARTS, GetPartCount());
    for (int i = 0; i < parts; ++i)
        if (!(value & (1u << (8 + i))))
            DestroyPart(i);
    m_miningReserve = static_cast<int32_t>(value >> 20);
}

void CEnemyMothership::ApplyMiningDifficulty(int32_t level)
{
    level = std::max(level, 0);
    const int parts = std::min(STATE_PARTS, GetPartCount());
    for (int i = 0; i < parts; ++i)
        GetPart(i)->m_health = SaturatedProduct(GetPart(i)->m_health, 1 + level / 2);
    for (int i = 0; i < 3 - level; ++i)
        DisableTurret(i);
    if (level <= 2)
        for (int i = 0; i < 2; ++i)
            if (CDockingPort* port = GetPort(i))
                port->Destroy(*this, &m_objectBody, false, true);
}

// ---- think and move --------------------------------------------------------------

bool CEnemyMothership::RunDeath()
{
    CGame* game = GetGame();
    if (!m_loaded || !game || m_info.warpState != WARP_NONE || IsWorldOnHold() || !m_info.shown)
        return false;
    if (m_config == MOTHERSHIP_INTERDICTOR)
        game->GetRun().interdictorPresent = true;
    else if (m_config == MOTHERSHIP_SPIRAL)
        game->GetRun().shieldJam = true;
    if (m_deathTime == 0)
        return true;
    if (!HasTimeCome(game->GetTime(), m_deathTime))
    {
        StopMotion();
        return false;
    }
    LeaveWreckPod();
    Die();
    return false;
}

void CEnemyMothership::LeaveWreckPod()
{
    CGame* game = GetGame();
    if (!game || IsBossType())
        return;
    CDirectorLink& director = game->GetDirector();
    if (m_config == MOTHERSHIP_MINING)
    {
        // This barge still counts until it has left the world.
        if (std::max(0, game->GetZones().CountMiningBargesLeft() - 1) > 0 ||
            director.IsFlagRaised(DIRECTOR_BOSS_CHAT, DIRECTOR_MINING_CLEAR_FLAG))
            return;
        director.RaiseFlag(DIRECTOR_BOSS_CHAT, DIRECTOR_MINING_CLEAR_FLAG);
    }
    else
    {
        const int zone = game->GetZones().GetZoneIndex();
        const int zones = static_cast<int>(sizeof(PRIZE_CARRIER) / sizeof(PRIZE_CARRIER[0]));
        if (zone < 0 || zone >= zones || PRIZE_CARRIER[zone] != m_config ||
            director.IsFlagRaised(DIRECTOR_VISIT_CHAT, DIRECTOR_WRECK_POD_FLAG))
            return;
        director.RaiseFlag(DIRECTOR_VISIT_CHAT, DIRECTOR_WRECK_POD_FLAG);
    }
    if (CAsteroid* pod = ThrowPod(ASTEROID_WRECK_POD, false, m_config * 256 + GetType()))
        pod->GetInfo().notCountedAsEnemy = true;
}

void CEnemyMothership::Scan()
{
    CGame* game = GetGame();
    m_nearby.clear();
    m_threatened = false;
    CWorld* world = game ? game->GetWorld() : nullptr;
    if (!world || !game->GetQuadtree())
        return;
    std::vector<int32_t> handles;
    game->GetQuadtree()->QueryHandles(GetPosition(), m_defensiveRange, handles, true, true);
    for (int32_t handle : handles)
    {
        CGameObject* object = world->GetObject(handle);
        if (!object || object == this)
            continue;
        if (m_launchIfThreat && object->GetTeam() == GOOD_TEAM)
            m_threatened = true;
        if (object->GetTeam() != BAD_TEAM)
            m_nearby.push_back(handle);
    }
    ChooseTurretTargets();
}

void CEnemyMothership::RunLiving()
{
    const uint32_t now = GetGameClock();
    if (!m_scanned || now - m_lastScan >= SCAN_MS)
    {
        m_scanned = true;
        m_lastScan = now;
        Scan();
    }
    m_launcher.CheckNextSlot();
    if (m_launcher.GetRemaining() <= 0)
        m_allLaunchedGone = m_launcher.IsEmpty();
    if (m_arbiter.Update(now) && !IsAnyTurretAlive())
        GetContext().m_defenceless = true;
    UpdateTurrets();
    CheckDeparture();
}

void CEnemyMothership::CheckDeparture()
{
    CGame* game = GetGame();
    if (!game || m_config != MOTHERSHIP_MINING || m_miningReserve <= 0 || m_departureCounter > 0)
        return;
    const SRunState& run = game->GetRun();
    if (run.quickShip || run.survival || game->GetDirector().GetTutorialState() != 0)
        return;
    const uint32_t now = GetGameClock();
    if (now - m_lastDepartureCheck < DEPARTURE_CHECK_MS || GetGameRandom().Below(DEPARTURE_CHANCE) != 0)
        return;
    m_lastDepartureCheck = now;
    CZoneLink& zones = game->GetZones();
    if (!zones.IsGroupSettled(*this))
        return;
    --m_miningReserve;
    zones.WarpOutGroup(*this);
}

void CEnemyMothership::Think()
{
    if (RunDeath())
        RunLiving();
}

bool CEnemyMothership::Move()
{
    if (!m_loaded)
    {
        PlaceShape();
        return false;
    }
    if (IsWorldOnHold())
        return false;
    const CGame* game = GetGame();
    const CVector2D thrust = m_body.force;
    m_body.Integrate(game ? game->GetWorldWidth() : 0.0f);
    m_flames.Update(*this, thrust, &m_objectBody);
    PlaceShape();
    for (int i = 0; i < m_portCount; ++i)
        m_ports[i].Update(*this, &m_objectBody);
    UpdateBody();
    return true;
}

void CEnemyMothership::UpdateSprite()
{
    if (!m_info.shown)
        return;
    CAnimatedSprite& sprite = m_objectBody.GetSprite();
    sprite.SetAngle(m_body.angle);
    sprite.SetPosition(GetPosition());
    PlaceTurrets();
}

void CEnemyMothership::Collide(CGameObject& other)
{
    if (other.GetType() == GetType() || other.GetTeam() == GetTeam())
        return;
    CollideBodies(other);
}

void CEnemyMothership::SetVisible(bool visible)
{
    CEnemyObject::SetVisible(visible);
    for (int i = 0; i < m_portCount; ++i)
        m_ports[i].SetVisible(visible);
    ShowTurrets(visible);
    m_flames.SetAllHidden(!visible || m_info.warpState != WARP_NONE);
}

void CEnemyMothership::SetWarpState(EWarpState state)
{
    m_info.warpState = state;
    m_info.collidable = state == WARP_NONE;
    if (state != WARP_NONE)
        StopMotion();
    m_flames.SetAllHidden(state != WARP_NONE || !m_info.shown);
    EnableTurrets(state == WARP_NONE);
}

// ---- hits and death --------------------------------------------------------------

bool CEnemyMothership::IsFromOwnSide(const CGameObject* source) const
{
    return source && source->GetTeam() == GetTeam();
}

void CEnemyMothership::StartDying(uint32_t delayMs)
{
    if (m_deathTime != 0)
        return;
    m_body.health = 0;
    m_deathTime = GetGameClock() + delayMs;
    if (m_deathTime == 0)
        m_deathTime = 1;
    if (!m_deathEffect.empty())
        GetEffectRequests().StartEffect(m_deathEffect.c_str(), GetHandle(), GetPosition(),
                                        VelocityPerSecond(*this));
}

bool CEnemyMothership::TakePartHit(int32_t amount, int& partIndex)
{
    partIndex = -1;
    return m_objectBody.HitPart(MakeSpriteOwner(*this), amount, partIndex);
}

bool CEnemyMothership::TakeCoreHit(int32_t kind, int32_t amount, uint32_t deathDelay, int32_t points)
{
    CGame* game = GetGame();
    if (!game)
        return false;
    const uint32_t tag = GetHitTag();
    const bool onCore = tag != 0 && tag == PackCollisionTag("CORE");
    if (m_coreVulnerableOnly && !onCore)
        return false;
    if (m_coreInvulnerable && (kind == 2 || onCore))
        return false;
    const bool still = game->GetTextPages().IsAnyPageShowing() || game->GetDirector().GetChatPage() != -1 ||
                       IsWorldOnHold();
    m_objectBody.Flash(still);
    m_body.health -= amount;
    if (m_body.health >= 1)
        return false;
    StartDying(deathDelay);
    game->GetCampaign().AddKill(points);
    return true;
}

bool CEnemyMothership::TakeDamage(int32_t, CGameObject* source, int32_t kind, int32_t amount)
{
    if (m_body.health <= 0 || !m_info.collidable || !m_loaded)
        return false;
    if (m_config != MOTHERSHIP_CRUSHER && IsFromOwnSide(source))
        return false;
    const bool mining = m_config == MOTHERSHIP_MINING;
    if (mining && source && source->GetType() == OBJECT_ASTEROID)
        return false;
    if (mining && m_objectBody.AreTaggedPartsDestroyed())
    {
        StartDying(DEATH_DELAY_MS);
        if (CGame* game = GetGame())
            game->GetCampaign().AddKill(KILL_POINTS);
        return true;
    }
    if (TakeTurretHit(amount))
        return false;
    int part = -1;
    if (TakePartHit(amount, part))
    {
        if (mining && !IsPartAlive(part))
        {
            SpillGems(GetPart(part)->m_sprite.GetPosition());
            m_departureCounter = std::max(0, m_departureCounter - 1);
        }
        return false;
    }
    return TakeCoreHit(kind, amount, DEATH_DELAY_MS, KILL_POINTS);
}

void CEnemyMothership::DropGems()
{
    CGame* game = GetGame();
    if (!game)
        return;
    const SRunState& run = game->GetRun();
    if (run.survival && run.noDrops)
        return;
    const int difficulty = game->GetCampaign().GetDifficulty();
    const int zone = game->GetZones().GetZoneIndex();
    int level = run.survival ? difficulty : zone;
    level = std::min(std::max(level, 0), 4);
    const int32_t count = static_cast<int32_t>(static_cast<float>(CONFIG_GEMS[m_config]) * ZONE_GEM_SCALE[level]);
    CRandom& random = GetGameRandom();
    for (int32_t i = 0; i < count; ++i)
    {
        int32_t kind = -1;
        if (run.survival && difficulty > 3)
            kind = ASTEROID_NORMAL_GEM;
        else
        {
            const int32_t e = random.Below(10);
            if (e <= 1)
                kind = ASTEROID_NORMAL_GEM_LARGE;
            else if (e <= 3)
                kind = ASTEROID_RARE_GEM_LARGE;
            else if (e <= 6)
                kind = ASTEROID_VERY_RARE_GEM_LARGE;
            else if (random.Below(std::max(zone, 0) + 1) == 0)
                kind = ASTEROID_EQUIPMENT_POD;
        }
        if (kind >= 0)
            DropGem(GetPosition(), kind);
    }
}

void CEnemyMothership::Die()
{
    CGame* game = GetGame();
    if (game)
    {
        SRunState& run = game->GetRun();
        DropGems();
        if (m_config == MOTHERSHIP_INTERDICTOR)
            run.interdictorPresent = false;
        else if (m_config == MOTHERSHIP_SPIRAL)
            run.shieldJam = false;
        else if (m_config == MOTHERSHIP_MINING && run.survival)
            run.miningDone = true;
        if (run.quickShip && m_config != MOTHERSHIP_MINING)
            game->GetGameFlow().CountQuickShipFighterKill();
    }
    RemoveFromWorld();
}
