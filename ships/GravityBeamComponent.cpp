#include "ships/GravityBeamComponent.h"

#include "ships/ShipPlacement.h"
#include "ships/ShipRuntime.h"
#include "world/AsteroidKinds.h"
#include "world/CampaignLink.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/Quadtree.h"
#include "world/World.h"

#include <algorithm>
#include <vector>

namespace
{
// Gems, crew, aliens and pods are taken into the hold; rocks, explosive rocks,
// crew sites and alien stations are only slowed.
bool IsCollectable(int32_t kind)
{
    return (kind >= ASTEROID_NORMAL_GEM && kind <= ASTEROID_VERY_RARE_GEM_LARGE) || kind == ASTEROID_CREW_MAN ||
           kind == ASTEROID_WRECK_POD || kind == ASTEROID_DRIVE_POD || kind == ASTEROID_FRIENDLY_ALIEN ||
           kind == ASTEROID_EQUIPMENT_POD;
}

CWorld* GetGameWorld()
{
    CGame* game = GetGame();
    return game ? game->GetWorld() : nullptr;
}

uint32_t GetFrameNumber()
{
    const CGame* game = GetGame();
    return game ? game->GetFrameCount() : 0;
}

// The share of a held rock's speed the beam leaves it each scan.
constexpr float ROCK_DRAG = 0.75f;
constexpr int32_t HELD_HEALTH = 50;
} // namespace

CGravityBeamComponent::CGravityBeamComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod)
    : CShipComponent(def, runtime, pod)
{
    const CGravityBeamDef& beam = GetDefAs<CGravityBeamDef>();
    m_beamEffect.Spawn(beam.m_gravityEffect, &runtime.GetShip());
    for (SHeld& held : m_held)
        held.effect.Spawn(beam.m_objEffect, &runtime.GetShip());
    m_suckSound.Set(CGravityBeamDef::SUCK_SOUND, CGravityBeamDef::SUCK_VOLUME, false, true);
}

int32_t CGravityBeamComponent::GetHeld(int entry) const
{
    return entry >= 0 && entry < HELD_MAX ? m_held[entry].handle : NO_OBJECT;
}

int CGravityBeamComponent::TakeEntry(int32_t handle)
{
    if (handle == NO_OBJECT)
        return -1;
    int free = -1;
    for (int i = 0; i < HELD_MAX; ++i)
    {
        if (m_held[i].handle == handle)
            return i;
        if (free < 0 && m_held[i].handle == NO_OBJECT)
            free = i;
    }
    if (free < 0)
    {
        // All taken: the first entry is handed over.
        free = 0;
        m_held[0].effect.Stop();
    }
    m_held[free].handle = handle;
    m_held[free].touched = false;
    return free;
}

void CGravityBeamComponent::Release(SHeld& held)
{
    held.handle = NO_OBJECT;
    held.touched = false;
    held.effect.Stop();
}

void CGravityBeamComponent::ReleaseAll()
{
    for (SHeld& held : m_held)
        if (held.handle != NO_OBJECT)
            Release(held);
}

bool CGravityBeamComponent::MarkHeld(CGameObject& object) const
{
    if (m_runtime.GetCargo().IsFull())
        return false;
    object.HoldInBeam(GetDefAs<CGravityBeamDef>().m_gemCollision, GetFrameNumber());
    object.GetBody().health = HELD_HEALTH;
    return true;
}

void CGravityBeamComponent::Handle(CGameObject& object)
{
    const int32_t kind = object.GetAsteroidKind();
    if (IsCollectable(kind))
    {
        TakeEntry(object.GetHandle());
        MarkHeld(object);
        return;
    }
    if (object.GetBody().moving)
    {
        int entry = TakeEntry(object.GetHandle());
        SHeld& held = m_held[entry];
        held.effect.SetStartArea(std::max(object.GetBody().radius + 10.0f, 30.0f));
        held.effect.SetPosition(object.GetPosition());
        if (!held.effect.IsRunning())
            held.effect.Start();
        CVector2D& velocity = object.GetBody().velocity;
        velocity = velocity * ROCK_DRAG;
        if (velocity.x < 1.0f && velocity.x > -1.0f && velocity.y < 1.0f && velocity.y > -1.0f)
            velocity = CVector2D();
        return;
    }
    for (SHeld& held : m_held)
        if (held.handle == object.GetHandle())
            Release(held);
}

void CGravityBeamComponent::Scan(float length)
{
    CGame* game = GetGame();
    CQuadtree* tree = game ? game->GetQuadtree() : nullptr;
    if (!tree)
        return;
    const CGameObject& ship = m_runtime.GetShip();
    const float radius = GetDefAs<CGravityBeamDef>().m_radius;
    CVector2D along;
    along.SetFromAngle(ship.GetBody().angle);
    const CVector2D start = ToWorldPoint(ship, m_launchOffset);
    const struct
    {
        float share;
        float radius;
    } circles[3] = {{1.0f, radius}, {0.5f, radius * 0.8f}, {0.25f, radius * 0.7f}};
    std::vector<int32_t> found;
    for (const auto& circle : circles)
        tree->QueryHandles(start + along * (length * circle.share), circle.radius, found, true, false);
    // Each object once, in the order found; held ones are looked up by handle.
    std::vector<int32_t> seen;
    for (int32_t handle : found)
    {
        if (std::find(seen.begin(), seen.end(), handle) != seen.end())
            continue;
        seen.push_back(handle);
        CGameObject* object = game->GetWorld() ? game->GetWorld()->GetObject(handle) : nullptr;
        if (object && object->GetType() == OBJECT_ASTEROID)
            Handle(*object);
    }
}

void CGravityBeamComponent::DrawIn()
{
    CWorld* world = GetGameWorld();
    CGame* game = GetGame();
    CGameObject& ship = m_runtime.GetShip();
    SCargoHold& cargo = m_runtime.GetCargo();
    for (SHeld& held : m_held)
    {
        if (held.handle == NO_OBJECT)
            continue;
        CGameObject* object = world ? world->GetObject(held.handle) : nullptr;
        if (!object)
        {
            Release(held);
            continue;
        }
        held.effect.SetPosition(object->GetPosition());
        if (!IsCollectable(object->GetAsteroidKind()))
            continue;
        if (object->GetBody().health > 0)
            MarkHeld(*object);
        CVector2D towards = ship.GetPosition() - object->GetPosition();
        float between = towards.Length();
        float gap = between - ship.GetBody().radius - object->GetBody().radius;
        if (gap < TAKE_DISTANCE && !cargo.IsFull())
        {
            m_suckSound.Play(object->GetPosition());
            cargo.Add(*object);
            if (game && game->GetRun().survival)
                game->GetCampaign().CountCollected();
            object->GetInfo().collidable = false;
            world->RemoveObject(object->GetHandle());
            Release(held);
            continue;
        }
        if (between > 0.0f)
            object->GetBody().force += towards * (PULL / between);
    }
}

void CGravityBeamComponent::Update()
{
    const CGameObject& ship = m_runtime.GetShip();
    if (!m_trigger)
    {
        if (m_beamEffect.IsRunning())
            m_beamEffect.Stop();
        ReleaseAll();
        return;
    }
    m_beamEffect.Place(ToWorldPoint(ship, m_launchOffset), ship.GetBody().angle, VelocityPerSecond(ship));
    if (!m_beamEffect.IsRunning())
        m_beamEffect.Start();
    // The beam may be updated twice a frame (when the energy step pays for it and
    // with the other parts); it does its work once.
    const uint32_t frame = GetFrameNumber() + 1;
    if (m_workedFrame == frame || !m_beamEffect.IsRunning())
        return;
    m_workedFrame = frame;
    const uint32_t now = GetShipClock();
    if (m_runtime.GetControls().beam && (!m_scanned || now - m_lastScan >= SCAN_MS))
    {
        m_scanned = true;
        m_lastScan = now;
        Scan(m_beamEffect.GetStartExtent());
    }
    DrawIn();
}
