#include "ships/Station.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "core/Random.h"
#include "presentation/DefinitionBlocks.h"
#include "ships/Bosses.h"
#include "ships/ComponentDef.h"
#include "ships/PlayerShip.h"
#include "ships/ShipLevelData.h"
#include "ships/StationRules.h"
#include "world/AsteroidKinds.h"
#include "world/Camera.h"
#include "world/CampaignLink.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/GameFlowLink.h"
#include "world/HudLink.h"
#include "world/ObjectSpriteOwner.h"
#include "world/Quadtree.h"
#include "world/World.h"
#include "world/ZoneLink.h"
#include "world/ZoneNode.h"

#include <algorithm>

namespace
{
// HUD gauges 4 (the station's health) and 5 to 7 (the gem stocks), icons 1 (guns
// engaged) and 2 (attention).
constexpr int GAUGE_HEALTH = 4;
constexpr int GAUGE_FIRST_STOCK = 5;
constexpr float STOCK_FULL = 100.0f;
constexpr int ICON_GUNS = 1;
constexpr int ICON_ATTENTION = 2;
constexpr int32_t TURRET_LOSS_DAMAGE = 9999;
constexpr int32_t TURRET_LOSS_CHANCE = 25;
constexpr float FIRST_PORT_ANGLE = 180.0f;
constexpr float SECOND_PORT_ANGLE = 0.0f;
constexpr float QUICK_TURNAROUND_ANGLE = 0.0f;
constexpr int TUTORIAL_PROTECTED_STAGE = 2;
constexpr int FINAL_PROGRESS_STAGE = 4;
constexpr int BOSS_WARP_OUT = 1;
constexpr int BOSS_STATION_BACK = 3;
constexpr float STATION_ON_SCREEN_RADIUS = 64.0f;
constexpr float AMBIENT_VOLUME = 0.8f;
constexpr float TUNNEL_VOLUME = 0.85f;

CCampaignLink* Campaign()
{
    CGame* game = GetGame();
    return game ? &game->GetCampaign() : nullptr;
}

// The attention icon's call at the zone's first alien node: the director keeps which
// of the node's chats have shown, the zones whether its business is rewarded.
bool IsAlienCalling(CGame& game)
{
    CZoneLink& zones = game.GetZones();
    if (zones.GetNodeKind() != ZONE_NODE_ALIEN_1)
        return false;
    const int zone = zones.GetZoneIndex();
    const int firstChat = DIRECTOR_ALIEN_CHAT_FLAG_FIRST + 2 * zone;
    const CDirectorLink& director = game.GetDirector();
    return IsAlienNodeCalling(zone, director.IsFlagRaised(DIRECTOR_VISIT_CHAT, firstChat),
                              director.IsFlagRaised(DIRECTOR_VISIT_CHAT, firstChat + 1), zones.HasAlienReward());
}
} // namespace

// The campaign's stocks, as the station's gem vacuums fill them.
class CStation::CGemStore : public CTurretGemStore
{
public:
    int32_t GetStock(int stock) const override { return Campaign() ? Campaign()->GetGemStock(stock) : 0; }
    void AddToStock(int stock, int32_t amount) override
    {
        if (CCampaignLink* campaign = Campaign())
            campaign->AddGemStock(stock, amount);
    }
    void CountDelivered() override
    {
        if (CCampaignLink* campaign = Campaign())
            campaign->CountCollected();
    }
};

CStation::CStation() : CEnemyObject(OBJECT_STATION), m_gemStore(std::make_unique<CGemStore>())
{
    m_arbiter.Setup(std::make_unique<CStationContext>(*this), nullptr, DECISION_MS);
    m_arbiter.AddBehaviour(std::make_unique<CStationDockBehaviour>());
    m_arbiter.AddBehaviour(std::make_unique<CStationKeepClearBehaviour>());
    m_arbiter.AddBehaviour(std::make_unique<CStationComeBehaviour>());
}

CStation::~CStation()
{
    // Whatever the ports hold goes back to the world.
    for (size_t i = 0; i < m_portCount; ++i)
        m_ports[i].ReleaseAll();
    m_nearby.clear();
    m_ambientSound.FadeOut();
}

CStationContext& CStation::GetContext() const
{
    return static_cast<CStationContext&>(*m_arbiter.GetContext());
}

bool CStation::ReadKeys(const CDataTree& section, CDefinitionProblems& problems)
{
    bool complete = true;
    section.GetFloat("defensiveRange", m_defensiveRange);
    const SSpriteOwner owner = MakeSpriteOwner(*this);
    if (const CDataTree* anims = section.FindBlock("Anims"))
    {
        complete = m_anims.Load(*anims, owner, problems) && complete;
        m_anims.RestartTrack(-1);
    }
    if (const CDataTree* ports = section.FindBlock("dockingPorts"))
    {
        int32_t count = 0;
        if (ReadDefinitionCount(*ports, "numPorts", MAX_PORTS, count, problems))
        {
            m_ports.reset(new CDockingPort[static_cast<size_t>(count)]);
            m_portCount = static_cast<size_t>(count);
            for (int32_t i = 0; i < count; ++i)
                if (const CDataTree* port = FindNumberedBlock(*ports, "port", i, true, problems))
                    complete = m_ports[static_cast<size_t>(i)].ParseDefinition(*port, *this, problems) && complete;
                else
                    complete = false;
        }
        else
            complete = false;
    }
    if (const CDataTree* turrets = section.FindBlock("turretGroup"))
        complete = ReadTurrets(*turrets, problems) && complete;
    // Flames that cannot be read are left out, with their problems told.
    if (const CDataTree* engines = section.FindBlock("engines"))
        m_flames.Parse(*engines, *this, problems);
    if (const CDataTree* ambient = section.FindBlock("ambientSfx"))
        m_ambientSound.Read(*ambient, AMBIENT_VOLUME, true);
    if (const CDataTree* tunnel = section.FindBlock("tunnelSfx"))
        m_tunnelSound.Read(*tunnel, TUNNEL_VOLUME, false);

    CGame* game = GetGame();
    m_levelStart = GetGameClock();
    if (CCampaignLink* campaign = Campaign())
    {
        if (campaign->GetStationMaxHealth() == -1)
        {
            const int32_t health = GetNewGameStationHealth(m_body.health, game->GetZones().GetZoneIndex());
            campaign->SetStationHealth(health, health);
        }
        if (game->GetGameFlow().IsTutorialPosition())
            campaign->SetStationHealth(TUTORIAL_HEALTH, TUTORIAL_HEALTH);
        m_body.health = campaign->GetStationHealth();
    }
    return complete;
}

bool CStation::ReadTurrets(const CDataTree& node, CDefinitionProblems& problems)
{
    // Turret i is what the campaign's mount i holds; an empty mount, an unknown
    // definition or a mount beyond the record is an empty turret.
    const CStationWeaponDef* fitted[CTurretGroup::MAX_STATION_TURRETS] = {};
    const CShipComponentDatabase* database = GetLevelShipDatabase();
    CCampaignLink* campaign = Campaign();
    for (int i = 0; i < CTurretGroup::MAX_STATION_TURRETS && campaign && database; ++i)
    {
        bool isFitted = false;
        bool weapon = true;
        uint32_t definition = 0;
        if (!campaign->GetStationMount(i, isFitted, weapon, definition) || !isFitted ||
            definition > static_cast<uint32_t>(INT32_MAX))
            continue;
        const int32_t kind = weapon ? COMPONENT_STATION_WEAPON : COMPONENT_STATION_VAC;
        fitted[i] = dynamic_cast<const CStationWeaponDef*>(
            database->GetComponentDef(kind, static_cast<int32_t>(definition)));
    }
    return m_turrets.ParseStation(node, *this, fitted, m_gemStore.get(), problems);
}

int32_t CStation::GetFullHealth() const
{
    const CCampaignLink* campaign = Campaign();
    const int32_t stored = campaign ? campaign->GetStationMaxHealth() : -1;
    return stored > 0 ? stored : m_objectBody.GetHealth();
}

void CStation::SetHealth(int32_t health)
{
    m_body.health = health;
    // The record follows every change, so that a node change, save or load keeps it.
    if (CCampaignLink* campaign = Campaign())
        campaign->SetStationHealth(campaign->GetStationMaxHealth(), health);
}

void CStation::RaiseAlert(const CVector2D& position)
{
    GetContext().RaiseAlert(position);
}

bool CStation::HoldsPlayerShip() const
{
    return GetContext().IsDocked();
}

void CStation::BeginLaunch()
{
    m_launchPhase = 2;
    // A ship made afresh for the flight takes the docked one's place, inside.
    CGame* game = GetGame();
    CWorld* world = GetRunningWorld();
    if (CGameObject* ship = FindPlayerShip())
        if (ship->GetHandle() != m_dockedShip)
        {
            ship->SetFrozen(true);
            ship->SetVisible(false);
        }
    if (game && world && m_dockedShip != NO_OBJECT && m_dockedShip != game->GetPlayerShipHandle())
        if (world->GetObject(m_dockedShip))
        {
            for (size_t i = 0; i < m_portCount; ++i)
                if (m_ports[i].Holds(m_dockedShip))
                    m_ports[i].ReleaseAll();
            world->RemoveObject(m_dockedShip);
        }
    m_dockedShip = NO_OBJECT;
}

bool CStation::UsesPushGrid() const
{
    CGame* game = GetGame();
    const int kind = game ? game->GetZones().GetNodeKind() : 0;
    return kind != 2 && kind != 5 && kind != 6;
}

void CStation::UpdateGauges()
{
    CGame* game = GetGame();
    if (!game || !game->GetDirector().IsGateOpen(GATE_STATION_GAUGES))
        return;
    CHudLink& hud = game->GetHud();
    hud.SetGauge(GAUGE_HEALTH, static_cast<float>(GetFullHealth()), static_cast<float>(m_body.health));
    for (int stock = 1; stock <= 3; ++stock)
        hud.SetGauge(GAUGE_FIRST_STOCK + stock - 1, STOCK_FULL,
                     static_cast<float>(game->GetCampaign().GetGemStock(stock)));
}

void CStation::UpdateAttention(uint32_t now)
{
    CGame* game = GetGame();
    CHudLink& hud = game->GetHud();
    if (!hud.IsVisible() || !game->GetDirector().IsGateOpen(GATE_STATION_ATTENTION))
    {
        hud.HideStationIcon(ICON_ATTENTION);
        m_attention = false;
        return;
    }
    // It calls a minute after it came (unless an interdictor holds the node), at a
    // boss node whose boss is beaten, and while the first alien node's business waits.
    CZoneLink& zones = game->GetZones();
    const bool waited = !game->GetRun().interdictorPresent && now - m_levelStart > ATTENTION_MS;
    m_attention = waited || (zones.IsAtBossNode() && zones.IsBossBeaten()) || IsAlienCalling(*game);
    hud.ShowStationIcon(ICON_ATTENTION);
    hud.SetStationIconFlashing(m_attention, ICON_ATTENTION);
}

void CStation::Scan(uint32_t now)
{
    if (now - m_lastScan < SCAN_MS && m_lastScan != 0)
        return;
    m_lastScan = now == 0 ? 1 : now;
    CGame* game = GetGame();
    CWorld* world = GetRunningWorld();
    m_nearby.clear();
    if (!game || !world || !game->GetQuadtree())
        return;
    game->GetQuadtree()->QueryHandles(GetPosition(), m_defensiveRange, m_nearby, true, true);
    const int32_t ship = game->GetPlayerShipHandle();
    m_nearby.erase(std::remove_if(m_nearby.begin(), m_nearby.end(),
                                  [&](int32_t handle) {
                                      return handle == GetHandle() || handle == ship || !world->GetObject(handle);
                                  }),
                   m_nearby.end());
    m_turrets.ChooseTargets(*this, m_nearby, false);
}

void CStation::Think()
{
    CGame* game = GetGame();
    if (!m_loaded || !game)
        return;
    const uint32_t now = GetGameClock();
    UpdateGauges();
    if (m_info.warpState != WARP_NONE || !m_info.shown)
    {
        m_ambientSound.FadeOut();
        return;
    }
    if (m_strike.IsActive())
        m_strike.Update(*this, now);
    UpdateAttention(now);
    if (m_deathTime != 0)
    {
        if (HasTimeCome(now, m_deathTime))
            Die();
        else
            StopMotion();
        return;
    }
    if (m_releasedWithoutPlayer)
    {
        // Arrived without the ship: the pilot is aboard, and chooses a ship in the menu
        // before the station launches it.
        m_releasedWithoutPlayer = false;
        if (game->GetRun().bossState != BOSS_STATION_BACK && game->GetDirector().GetTutorialStep() != 5)
        {
            GetContext().SetDocked(true);
            m_launchPhase = 1;
            game->GetGameFlow().EnterInGameMenu();
        }
        m_ambientSound.FadeOut();
        return;
    }
    m_ambientSound.Follow(GetPosition());
    Scan(now);
    m_turrets.Update(*this);
    if (m_turrets.HasTarget())
        game->GetHud().ShowStationIcon(ICON_GUNS);
    else
        game->GetHud().HideStationIcon(ICON_GUNS);
    m_arbiter.Update(now);
    if (GetContext().IsDocked())
        StepDocked(now);
    if (game->GetRun().bossState == BOSS_WARP_OUT && m_info.warpState == WARP_NONE && m_portCount > 0)
    {
        CGameObject* ship = FindPlayerShip();
        const bool closed = std::all_of(m_ports.get(), m_ports.get() + m_portCount,
                                        [](const CDockingPort& port) { return port.GetState() == PORT_CLOSED; });
        if (ship && !ship->GetInfo().frozen && closed)
        {
            SetWarpState(WARP_OUT);
            if (CWorld* world = GetRunningWorld())
                world->AddWarp(GetHandle());
        }
    }
}

void CStation::StepDocked(uint32_t now)
{
    CGame* game = GetGame();
    CDirectorLink& director = game->GetDirector();
    game->GetCampaign().RefreshShipTable();
    if (IsQuickTurnaround())
    {
        // The drive pod is still out there: the ship goes straight back out, no menu.
        if (CGameObject* ship = FindPlayerShip())
        {
            if (CPlayerShip* player = dynamic_cast<CPlayerShip*>(ship))
                if (CShipRuntime* runtime = player->GetRuntime())
                    DeliverFirstGroupWhole(runtime->GetCargo());
            SendShipOut(*ship, 0, QUICK_TURNAROUND_ANGLE);
        }
        return;
    }
    const int step = director.GetTutorialStep();
    if ((step >= 2 && step <= 5) || director.GetChatPage() != -1 || director.GetProgressStage() == FINAL_PROGRESS_STAGE)
        return;
    if (m_launchDeadline == 0)
        m_launchDeadline = now + LAUNCH_WAIT_MS;
    if (LaunchStep(now))
        m_launchDeadline = 0;
}

bool CStation::IsPortClear(size_t index, const CGameObject& ship, uint32_t now)
{
    CGame* game = GetGame();
    CWorld* world = GetRunningWorld();
    if (!game || !world || !game->GetQuadtree())
        return true;
    const CVector2D entrance = m_ports[index].GetEntrancePoint(*this);
    std::vector<int32_t> near;
    game->GetQuadtree()->QueryHandles(entrance, PORT_CLEARANCE, near, true, true);
    bool blocked = false;
    for (int32_t handle : near)
    {
        CGameObject* object = world->GetObject(handle);
        // The ship to launch, hidden and frozen objects stand in nobody's way.
        if (!object || handle == GetHandle() || handle == ship.GetHandle() || object->GetInfo().frozen ||
            !object->GetInfo().shown)
            continue;
        if (object->GetType() == OBJECT_ASTEROID)
        {
            CVector2D away = object->GetPosition() - GetPosition();
            const float length = away.Length();
            if (length > 0.0f)
            {
                object->GetBody().force += away * (CLEARING_PUSH / length);
                object->GetBody().Integrate(game->GetWorldWidth());
                object->PlaceShape();
            }
        }
        blocked = true;
    }
    return !blocked || HasTimeCome(now, m_launchDeadline);
}

bool CStation::LaunchStep(uint32_t now)
{
    CGame* game = GetGame();
    if (m_launchPhase == 0 && game->GetGameFlow().GetMode() != GAME_MODE_IN_GAME_MENU)
    {
        game->GetGameFlow().EnterInGameMenu();
        m_launchPhase = 1;
        return false;
    }
    if (m_launchPhase != 2)
        return false;
    CGameObject* ship = FindPlayerShip();
    if (!ship)
        return false;
    size_t port = 0;
    if (m_portCount > 0)
    {
        const bool empty = m_nearby.empty();
        const bool firstClear = empty || IsPortClear(0, *ship, now);
        const bool secondClear = m_portCount > 1 && (empty || IsPortClear(1, *ship, now));
        if (!firstClear && !secondClear)
            return false;
        if (m_portCount > 1 && secondClear && game->GetGameFlow().UsesSecondLaunchPort())
            port = 1;
    }
    SendShipOut(*ship, port, port == 1 ? SECOND_PORT_ANGLE : FIRST_PORT_ANGLE);
    return true;
}

void CStation::SendShipOut(CGameObject& ship, size_t port, float angle)
{
    CGame* game = GetGame();
    if (port >= m_portCount)
    {
        // Nowhere to launch from: the ship simply leaves beside the station.
        ship.SetPosition(GetPosition() + CVector2D(m_body.radius + ship.GetBody().radius + 10.0f, 0.0f));
        ship.PlaceShape();
        ship.SetFrozen(false);
        ship.SetVisible(true);
    }
    else
    {
        ship.SetFrozen(true);
        ship.SetPosition(GetPosition());
        ship.GetBody().angle = angle;
        ship.PlaceShape();
        m_ports[port].TakeObject(ship.GetHandle(), true, nullptr, nullptr);
    }
    if (CPlayerShip* player = dynamic_cast<CPlayerShip*>(&ship))
        if (CShipRuntime* runtime = player->GetRuntime())
            runtime->GetCargo().m_unloading = false;
    GetContext().SetMode(STATION_IDLE);
    game->GetCamera().Follow(ship.GetHandle(), false);
    GetContext().SetDocked(false);
    m_launchPhase = 0;
    m_launchDeadline = 0;
    m_dockedShip = NO_OBJECT;
}

void CStation::OpenPorts()
{
    for (size_t i = 0; i < m_portCount; ++i)
        if (m_ports[i].GetState() == PORT_CLOSED)
            m_ports[i].Open();
}

bool CStation::ClosePorts()
{
    bool closed = true;
    for (size_t i = 0; i < m_portCount; ++i)
    {
        CDockingPort& port = m_ports[i];
        if (port.GetState() == PORT_OPEN)
            port.Close();
        closed = closed && (port.GetState() == PORT_CLOSED || port.GetState() == PORT_DESTROYED);
    }
    return closed;
}

bool CStation::OfferShipToPorts(CGameObject& ship)
{
    // One port at a time: never a ship already queued or riding anywhere.
    for (size_t i = 0; i < m_portCount; ++i)
        if (m_ports[i].Holds(ship.GetHandle()))
            return false;
    for (size_t i = 0; i < m_portCount; ++i)
    {
        CDockingPort& port = m_ports[i];
        if (port.GetState() != PORT_OPEN ||
            (port.GetEntrancePoint(*this) - ship.GetPosition()).Length() > CStationDockBehaviour::TAKE_IN_REACH)
            continue;
        port.TakeIn(ship.GetHandle(), false, &CStation::OnShipInside, this);
        m_dockedShip = ship.GetHandle();
        return true;
    }
    return false;
}

void CStation::OnShipInside(void* argument)
{
    CStation* station = static_cast<CStation*>(argument);
    station->GetContext().SetMode(STATION_DOCKING);
    // The menu shows, and the repairs mend, the hull the ship came home with.
    CGame* game = GetGame();
    CWorld* world = GetRunningWorld();
    if (CGameObject* ship = game && world ? world->GetObject(station->m_dockedShip) : nullptr)
        game->GetCampaign().SetStoredShipHealth(game->GetZones().GetCurrentShip(), ship->GetBody().health);
}

bool CStation::Move()
{
    if (!m_loaded)
        return false;
    if (m_deathTime != 0 || m_warping)
        StopMotion();
    CGame* game = GetGame();
    const CVector2D thrust = m_body.force;
    m_body.Integrate(game ? game->GetWorldWidth() : 0.0f);
    m_flames.Update(*this, thrust, &m_objectBody);
    PlaceShape();
    if (m_info.shown)
    {
        const SSpriteOwner owner = MakeSpriteOwner(*this);
        if (!m_animsHidden)
            m_anims.Update(owner);
        for (size_t i = 0; i < m_portCount; ++i)
            m_ports[i].Update(*this, &m_objectBody);
    }
    UpdateBody();
    return true;
}

void CStation::UpdateSprite()
{
    if (!m_info.shown)
        return;
    CAnimatedSprite& sprite = m_objectBody.GetSprite();
    sprite.SetPosition(GetPosition());
    sprite.SetScale(1.0f, 1.0f);
    m_turrets.Place(*this, m_ports.get(), m_portCount);
    // The centre turret flies with the strike.
    if (m_strike.IsActive())
        if (STurret* turret = m_turrets.GetTurret(0))
            if (turret->IsLive())
            {
                turret->position = m_strike.GetPosition();
                turret->sprite.SetPosition(turret->position);
                turret->sprite.Show();
            }
}

void CStation::Die()
{
    m_ambientSound.FadeOut();
    RemoveFromWorld();
}

void CStation::Collide(CGameObject& other)
{
    if (m_deathTime == 0 && m_info.warpState == WARP_NONE)
        CollideBodies(other);
}

bool CStation::TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount)
{
    if (m_body.health <= 0)
        return false;
    CGame* game = GetGame();
    SStationHit hit;
    hit.amount = amount;
    // Every hit but a plain collision (kind 0) is halved.
    hit.halve = kind != 0;
    hit.sourceType = sourceType;
    hit.crusher = source && source->GetBossKey() == 7;
    if (const auto* magma = dynamic_cast<const CMagmaBoss*>(source))
        hit.magmaSpecialPart = magma->IsBlobStrikingHard();
    const int32_t damage = GetStationDamage(hit);
    if (game && game->GetDirector().GetProgressStage() == TUTORIAL_PROTECTED_STAGE &&
        static_cast<int64_t>(m_body.health) - damage <= 1)
    {
        game->GetGameFlow().SoundAlarm();
        return false;
    }
    const int64_t left = static_cast<int64_t>(m_body.health) - damage;
    if (left < 1)
    {
        SetHealth(0);
        m_deathTime = GetGameClock() + DEATH_DELAY_MS;
        if (m_deathTime == 0)
            m_deathTime = 1;
        StartEffect(EXPLOSION_EFFECT, GetPosition(), false);
        if (game)
            game->GetCamera().Follow(GetHandle(), true);
        return true;
    }
    SetHealth(static_cast<int32_t>(left));
    if (game && game->GetHud().IsVisible())
        game->GetGameFlow().SoundAlarm();
    RepairFromStocks();
    return false;
}

void CStation::RepairFromStocks()
{
    const int32_t maximum = GetFullHealth();
    const int32_t cost = GetEmergencyRepairCost(m_body.health, maximum);
    CCampaignLink* campaign = Campaign();
    if (cost == 0 || !campaign)
        return;
    const int32_t paid = campaign->SpendGems(cost);
    const int64_t mended = static_cast<int64_t>(m_body.health) + static_cast<int64_t>(paid) * REPAIR_PER_GEM;
    SetHealth(static_cast<int32_t>(std::min<int64_t>(mended, maximum)));
    if (GetGameRandom().Below(TURRET_LOSS_CHANCE) == 1)
        LoseTurret(GetGameClock());
}

void CStation::LoseTurret(uint32_t now)
{
    CGame* game = GetGame();
    if (!game || !game->GetCamera().IsVisible(GetPosition(), STATION_ON_SCREEN_RADIUS) ||
        now - m_lastTurretLoss <= TURRET_LOSS_MS)
        return;
    std::vector<int32_t> live;
    for (int32_t i = 0; i < m_turrets.GetCount(); ++i)
        if (m_turrets.GetTurret(i)->IsLive())
            live.push_back(i);
    if (live.empty())
        return;
    m_lastTurretLoss = now;
    const int32_t chosen =
        live.size() == 1 ? live[0] : live[static_cast<size_t>(GetGameRandom().Below(static_cast<int32_t>(live.size())))];
    m_turrets.Damage(*this, &m_objectBody, TURRET_LOSS_DAMAGE, false, chosen);
    game->GetCampaign().SetStationMountFitted(chosen, false);
}

void CStation::SetVisible(bool visible)
{
    CEnemyObject::SetVisible(visible);
    m_anims.SetVisible(visible && !m_animsHidden);
    for (size_t i = 0; i < m_portCount; ++i)
        m_ports[i].SetVisible(visible);
    m_turrets.SetVisible(visible);
    m_flames.SetAllHidden(!visible || m_info.warpState != WARP_NONE);
}

void CStation::SetWarpState(EWarpState state)
{
    m_info.warpState = state;
    m_flames.SetAllHidden(state != WARP_NONE || !m_info.shown);
    CGame* game = GetGame();
    const int bossState = game ? game->GetRun().bossState : 0;
    if (state != WARP_NONE)
    {
        m_info.collidable = false;
        StopMotion();
        m_warping = true;
        m_tunnelSound.Play(GetPosition());
        const bool keepPlaying = (state == WARP_IN && bossState == BOSS_STATION_BACK) ||
                                 (state == WARP_OUT && bossState == BOSS_WARP_OUT);
        if (game && !keepPlaying)
            game->GetRun().shipOutOfPlay = true;
        return;
    }
    m_info.collidable = true;
    m_warping = false;
    if (!FindPlayerShip())
        m_releasedWithoutPlayer = true;
    if (game)
        game->GetRun().shipOutOfPlay = false;
}
