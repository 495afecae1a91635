#include "ships/PlayerShip.h"

#include "ships/ShipLevelData.h"
#include "world/CampaignLink.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/GameFlowLink.h"
#include "world/HudLink.h"
#include "world/PushGrid.h"
#include "world/World.h"
#include "world/ZoneLink.h"

#include <algorithm>

int32_t CPlayerShip::s_turnSpeed = 0;

namespace
{
// The node kind whose push grid shoves the player ship about.
constexpr int PUSHING_NODE_KIND = 6;
constexpr float NODE_PUSH = -8.0f;
constexpr float BOOST_SPEED = 1.5f;

bool IsActionOn(const SControlAction& action)
{
    return action.down || action.held;
}
} // namespace

CPlayerShip::CPlayerShip() : CGameObject(OBJECT_PLAYER_SHIP)
{
    const CGame* game = GetGame();
    m_creationStamp = game ? game->GetZones().GetClock() : 0;
}

CPlayerShip::~CPlayerShip()
{
    CGame* game = GetGame();
    if (game && m_runtime)
    {
        uint32_t flown = game->GetZones().GetClock() - m_creationStamp;
        game->GetCampaign().AddShipFlightTime(GetStorageSlot(), flown);
    }
}

int32_t CPlayerShip::GetStorageSlot() const
{
    return m_runtime && m_runtime->GetDesign() ? m_runtime->GetDesign()->m_storageSlot : 0;
}

int32_t CPlayerShip::GetCargoCapacity(int32_t hullIndex, int32_t cargoPods)
{
    int32_t base = hullIndex == 2 ? 30 : hullIndex == 3 ? 40 : hullIndex == 4 ? 50 : SCargoHold::DEFAULT_CAPACITY;
    return base + cargoPods * (base / 4);
}

bool CPlayerShip::ApplyConfig(int32_t slot)
{
    CShipComponentDatabase* database = GetLevelShipDatabase();
    const CShipConfig* design = database ? database->GetShipConfig(slot) : nullptr;
    return design && LoadFromFile(design->m_ident.c_str());
}

bool CPlayerShip::LoadFromFile(const char* ident)
{
    m_runtime.reset();
    CShipComponentDatabase* database = GetLevelShipDatabase();
    const CShipConfig* design = database && ident ? database->GetShipConfigByIdent(ident) : nullptr;
    if (!design)
        return false;
    auto runtime = std::make_unique<CShipRuntime>();
    if (!runtime->Build(*design, *database, *this))
        return false;
    m_runtime = std::move(runtime);
    // A new ship starts without the last one's spin.
    s_turnSpeed = 0;

    m_hullDef = database->GetHullDef(design->m_hull);
    m_hullIndex = design->m_hull;
    m_bodySprite.Destroy();
    m_bodyRef.Release();
    if (m_hullDef->m_bodySprite)
    {
        m_bodyRef.Load(*m_hullDef->m_bodySprite, true);
        m_bodySprite.Load(*m_hullDef->m_bodySprite, m_bodyRef, DRAW_PLANE);
        m_bodySprite.Show();
    }
    m_runtime->GetCargo().m_capacity = GetCargoCapacity(m_hullIndex, m_runtime->CountCargoPods());

    // The last engine pod drives the ship; without one there is no engine.
    m_engineDef = nullptr;
    m_engineOffset = CVector2D();
    const int32_t enginePod = design->FindEnginePod();
    if (enginePod >= 0)
    {
        const SShipPod& pod = design->m_pods[enginePod];
        m_engineDef = static_cast<const CEngineDef*>(database->GetComponentDef(COMPONENT_ENGINE, pod.m_defIndex));
        if (const SHullPodSlot* slot = m_hullDef->FindSlot(pod.m_topLeft))
            m_engineOffset = slot->m_launchOffset;
    }

    m_totalMass = m_runtime->GetTotalMass();
    m_velocityLimit = m_runtime->GetVelocityLimit();
    m_damping = m_runtime->GetDamping();
    m_hullHealth = static_cast<int32_t>(m_hullDef->m_health);
    m_body.mass = static_cast<int32_t>(m_totalMass);
    m_body.velocityLimit = m_velocityLimit;
    m_body.damping = m_damping;
    m_body.health = m_hullHealth;

    m_body.shape = m_hullDef->m_collision ? m_hullDef->m_collision->CloneChain() : nullptr;
    if (m_body.shape && m_body.shape->IsCircle())
        m_body.radius = static_cast<const CCollisionCircle&>(*m_body.shape).GetRadius();
    PlaceShape();

    m_runtime->GetShield().SetUp(*this);
    m_flames.SetUp(*this, m_engineDef, m_hullIndex, design->m_storageSlot == 0);
    m_beamRefusedSound.Set(BEAM_REFUSED_SOUND, BEAM_REFUSED_VOLUME, false, false);
    m_deathTime = 0;
    UpdateSprite();
    return true;
}

void CPlayerShip::UpdateHud()
{
    CHudLink& hud = GetGame()->GetHud();
    if (!hud.IsVisible())
        return;
    const CShipRuntime& runtime = *m_runtime;
    hud.SetGauge(HUD_GAUGE_HEALTH, static_cast<float>(m_hullHealth), static_cast<float>(m_body.health));
    hud.SetGauge(HUD_GAUGE_ENERGY, runtime.GetGeneratorEnergy(), runtime.GetEnergyLeft());
    hud.SetGauge(HUD_GAUGE_GEMS, static_cast<float>(runtime.GetCargo().m_capacity),
                 static_cast<float>(runtime.GetCargo().m_load));
    const SShieldState& shield = runtime.GetShield();
    if (shield.m_capacity != 0.0f)
    {
        hud.SetGauge(HUD_GAUGE_SHIELD, shield.m_capacity, shield.m_energy);
        hud.ShowGauge(HUD_GAUGE_SHIELD);
    }
    else
        hud.HideGauge(HUD_GAUGE_SHIELD);
    if (runtime.GetBatteryCapacity() > 0.0f)
    {
        hud.SetGauge(HUD_GAUGE_BATTERY, runtime.GetBatteryCapacity(), runtime.GetBatteryCharge());
        hud.ShowGauge(HUD_GAUGE_BATTERY);
    }
    else
        hud.HideGauge(HUD_GAUGE_BATTERY);
    const SShipControls& controls = runtime.GetControls();
    hud.SetAmmoIcon(controls.ammoEmpty ? HUD_AMMO_FLASHING : controls.ammoLow ? HUD_AMMO_SHOWN : HUD_AMMO_HIDDEN);
}

// While the exit warning is open the shield holds; otherwise a jamming mothership
// holds it down for as long as it is about.
void CPlayerShip::UpdateShieldJam()
{
    CGame& game = *GetGame();
    if (game.GetGameFlow().IsExitWarningOpen())
        m_runtime->GetShield().SetSuspended(false);
    else if (!m_info.frozen)
        m_runtime->GetShield().SetSuspended(game.GetRun().shieldJam);
}

void CPlayerShip::Steer()
{
    CGame& game = *GetGame();
    if (!game.GetDirector().IsGateOpen(GATE_STEERING))
    {
        m_runtime->SetThrottle(false, false, false);
        return;
    }
    const CControls& controls = game.GetControls();
    if (IsActionOn(controls.GetAction(6)))
        s_turnSpeed = std::max(std::min(s_turnSpeed, 0) - TURN_STEP, -TURN_MAX);
    else if (IsActionOn(controls.GetAction(7)))
        s_turnSpeed = std::min(std::max(s_turnSpeed, 0) + TURN_STEP, TURN_MAX);
    else
        s_turnSpeed = static_cast<int32_t>(static_cast<float>(s_turnSpeed) * TURN_DECAY);
    float angle = m_body.angle + static_cast<float>(s_turnSpeed);
    while (angle >= 360.0f)
        angle -= 360.0f;
    while (angle < 0.0f)
        angle += 360.0f;
    m_body.angle = angle;

    const bool engine = m_engineDef != nullptr;
    const SControlAction& thrust = controls.GetAction(4);
    if (IsActionOn(thrust) && m_info.warpState == WARP_NONE)
    {
        // Boost is a tap of thrust after a pause; the escape pod has none.
        const bool boost = thrust.repressed && GetStorageSlot() != 0;
        m_runtime->SetThrottle(engine, true, boost);
    }
    else if (IsActionOn(controls.GetAction(5)))
        m_runtime->SetThrottle(engine, false, false);
    else
        m_runtime->SetThrottle(false, false, false);
}

void CPlayerShip::ReadWeapons()
{
    CGame& game = *GetGame();
    for (int group = 1; group <= 2; ++group)
    {
        const SControlAction& fire = game.GetControls().GetAction(group - 1);
        if (game.GetDirector().IsGateOpen(group == 1 ? GATE_FIRE_GROUP_1 : GATE_FIRE_GROUP_2))
            m_runtime->SetGroupButtons(group, fire.down, fire.repressed, fire.held);
        else
            m_runtime->SetGroupButtons(group, false, false, false);
    }
}

void CPlayerShip::ReadBeam()
{
    CGame& game = *GetGame();
    const SControlAction& beam = game.GetControls().GetAction(2);
    bool asked = game.GetDirector().IsGateOpen(GATE_GRAVITY_BEAM) && (beam.down || beam.held || beam.repressed);
    if (asked && m_runtime->GetCargo().IsFull())
    {
        m_beamRefusedSound.Play(GetPosition());
        asked = false;
    }
    m_runtime->SetBeam(asked);
}

void CPlayerShip::ReadStationCall()
{
    CGame& game = *GetGame();
    if (!game.GetControls().GetAction(3).down || !game.GetDirector().IsGateOpen(GATE_CALL_STATION))
        return;
    const SRunState& run = game.GetRun();
    if (run.quickShip || run.survival)
        return;
    if (game.GetDirector().GetTutorialState() != 0 && game.GetZones().IsAtBossNode())
        return;
    if (game.GetWorld() && game.GetWorld()->GetObject(game.GetStationHandle()))
        RequestStationHelp(GetPosition());
    else if (run.stationSummonState == 2)
        game.GetGameFlow().SpawnStation();
}

void CPlayerShip::Think()
{
    CGame* game = GetGame();
    if (!game || !m_runtime)
        return;
    UpdateHud();
    UpdateShieldJam();
    if (m_info.frozen)
    {
        if (!m_controlsFlushed)
            game->GetControls().Flush(game->GetFrameCount());
        m_controlsFlushed = true;
        m_runtime->ClearControls();
        m_runtime->Step();
        return;
    }
    m_controlsFlushed = false;
    if (m_deathTime != 0)
    {
        if (game->GetTime() >= m_deathTime)
            Die();
        else
        {
            m_body.velocity = CVector2D();
            m_body.force = CVector2D();
        }
        return;
    }
    Steer();
    game->GetRun().shipBoosting = m_runtime->GetControls().boost;
    ReadWeapons();
    ReadBeam();
    ReadStationCall();
    m_runtime->Step();
    CVector2D direction;
    direction.SetFromAngle(m_body.angle);
    m_body.force += m_runtime->GetThrust(direction);
}

bool CPlayerShip::Move()
{
    CGame* game = GetGame();
    if (!m_runtime)
        return false;
    if (m_info.frozen)
    {
        UpdateSprite();
        m_runtime->UpdateParts();
        return false;
    }
    if (game && game->GetPushGrid() && game->GetZones().GetNodeKind() == PUSHING_NODE_KIND)
        m_body.force += game->GetPushGrid()->GetPush(GetPosition()) * NODE_PUSH;
    const SShipControls& controls = m_runtime->GetControls();
    const bool boosting = controls.thrust && controls.boost;
    m_body.velocityLimit =
        boosting ? static_cast<int32_t>(static_cast<float>(m_velocityLimit) * BOOST_SPEED) : m_velocityLimit;
    m_body.Integrate(game ? game->GetWorldWidth() : 0.0f);
    m_runtime->UpdateParts();
    UpdateSprite();
    if (!m_hidden)
        m_flames.Update(*this, controls, m_engineOffset);
    if (game && game->GetRun().copyShipMotion)
    {
        SRunState& run = game->GetRun();
        run.shipMotionPosition = m_body.position;
        run.shipMotionDirection = m_body.heading;
        run.shipMotionVelocity = m_body.velocity;
    }
    return m_body.moving != 0;
}

void CPlayerShip::UpdateSprite()
{
    m_bodySprite.SetPosition(m_body.position);
    m_bodySprite.SetAngle(m_body.angle);
    m_bodySprite.Animate();
    PlaceShape();
}

void CPlayerShip::SetVisible(bool visible)
{
    m_hidden = !visible;
    if (visible)
        m_bodySprite.Show();
    else
        m_bodySprite.Hide();
}

void CPlayerShip::SetFrozen(bool frozen)
{
    m_info.frozen = frozen;
    // A frozen ship (riding a port, held in the station) touches nothing.
    m_info.collidable = !frozen && m_info.warpState == WARP_NONE;
    if (!m_runtime)
        return;
    m_runtime->GetShield().SetSuspended(frozen);
    if (frozen)
    {
        m_body.velocity = CVector2D();
        m_body.force = CVector2D();
        m_flames.StopAll();
    }
}

void CPlayerShip::SetWarpState(EWarpState state)
{
    m_info.warpState = state;
    CGame* game = GetGame();
    const bool warping = state != WARP_NONE;
    m_info.collidable = !warping;
    if (warping)
    {
        m_body.velocity = CVector2D();
        m_body.force = CVector2D();
    }
    if (game)
        game->GetRun().shipOutOfPlay = warping;
}
