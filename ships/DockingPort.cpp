#include "ships/DockingPort.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "presentation/CollisionShape.h"
#include "presentation/CollisionTag.h"
#include "presentation/EffectRequests.h"
#include "presentation/ObjectBody.h"
#include "presentation/SpritePath.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/ObjectSpriteOwner.h"
#include "world/World.h"

#include <algorithm>
#include <cmath>

namespace
{
CGameObject* FindObject(int32_t handle)
{
    CGame* game = GetGame();
    CWorld* world = game ? game->GetWorld() : nullptr;
    return world && handle != NO_OBJECT && handle != 0 ? world->GetObject(handle) : nullptr;
}

uint32_t Now()
{
    const CGame* game = GetGame();
    return game ? game->GetTime() : 0;
}

// Shown again at full size and free to move.
void LetGo(CGameObject& object)
{
    object.SetFrozen(false);
    object.SetVisible(true);
    object.GetBody().scale[0] = 1.0f;
    object.GetBody().scale[1] = 1.0f;
}
} // namespace

CDockingPort::~CDockingPort()
{
    ReleaseAll();
}

bool CDockingPort::ParseDefinition(const CDataTree& node, const CGameObject& owner, CDefinitionProblems& problems)
{
    const SSpriteOwner spriteOwner = MakeSpriteOwner(owner);
    if (const CDataTree* anims = node.FindBlock("anims"))
    {
        if (!m_anims.Load(*anims, spriteOwner, problems))
            return false;
    }
    node.GetInt("openAnimIdx", m_openAnim);
    node.GetInt("numOpenAnims", m_openCount);
    node.GetInt("objEntranceAnimIdx", m_entranceAnim);
    node.GetInt("openStandbyAnimIdx", m_standbyAnim);
    node.GetInt("numOpenStandbyAnims", m_standbyCount);
    node.GetVec2("objCatchment", m_catchment);
    node.GetFloat("pushOnExit", m_pushOnExit);
    if (!std::isfinite(m_pushOnExit))
        m_pushOnExit = 0.0f;
    if (!std::isfinite(m_catchment.x) || !std::isfinite(m_catchment.y))
        m_catchment = CVector2D();
    char effect[MAX_DEATH_EFFECT + 1] = "";
    if (node.GetString("deathEffect", effect, sizeof(effect)))
        m_deathEffect = effect;
    CheckRanges(node, problems);

    // The doors stand in their closed pose, where opening starts.
    for (int32_t i = m_openAnim; i < m_openAnim + m_openCount; ++i)
    {
        CKeyTrack& track = m_anims.GetTrack(static_cast<size_t>(i));
        CPathSlot* path =
            track.GetPathId() >= 0 ? &m_anims.GetPath(static_cast<size_t>(track.GetPathId())) : nullptr;
        for (int32_t s = 0; s < track.GetSpriteCount(); ++s)
        {
            CAnimatedSprite& sprite = m_anims.GetSprites().GetSprite(static_cast<size_t>(track.GetFirstSprite() + s));
            if (path)
                path->ParkSpriteRider(sprite, spriteOwner);
            sprite.Show();
        }
    }
    return true;
}

// Every animation index the port uses is kept within the set.
void CDockingPort::CheckRanges(const CDataTree& node, CDefinitionProblems& problems)
{
    const int32_t tracks = static_cast<int32_t>(m_anims.GetTrackCount());
    auto clampRange = [&](const char* what, int32_t& first, int32_t& count) {
        if (count <= 0)
        {
            first = 0;
            count = 0;
            return;
        }
        if (first < 0 || first >= tracks)
        {
            problems.AddWarning(&node, "%s animations from %d: the port has %d", what, static_cast<int>(first),
                                static_cast<int>(tracks));
            first = 0;
            count = 0;
        }
        else if (count > tracks - first)
        {
            problems.AddWarning(&node, "%d %s animations from %d: the port has %d", static_cast<int>(count), what,
                                static_cast<int>(first), static_cast<int>(tracks));
            count = tracks - first;
        }
    };
    clampRange("open", m_openAnim, m_openCount);
    clampRange("standby", m_standbyAnim, m_standbyCount);
    if (m_entranceAnim != -1 && (m_entranceAnim < 0 || m_entranceAnim >= tracks))
    {
        problems.AddWarning(&node, "entrance animation %d: the port has %d; it takes nothing in or out",
                            static_cast<int>(m_entranceAnim), static_cast<int>(tracks));
        m_entranceAnim = -1;
    }
    else if (m_entranceAnim >= 0 && m_anims.GetTrack(static_cast<size_t>(m_entranceAnim)).GetPathId() < 0)
        problems.AddWarning(&node, "entrance animation %d has no path: objects pass at once",
                            static_cast<int>(m_entranceAnim));
}

CPathSlot* CDockingPort::GetEntrancePath()
{
    if (m_entranceAnim < 0 || static_cast<size_t>(m_entranceAnim) >= m_anims.GetTrackCount())
        return nullptr;
    const int32_t path = m_anims.GetTrack(static_cast<size_t>(m_entranceAnim)).GetPathId();
    return path >= 0 ? &m_anims.GetPath(static_cast<size_t>(path)) : nullptr;
}

CAnimatedSprite* CDockingPort::GetAnimationSprite(int32_t animation)
{
    if (animation < 0 || static_cast<size_t>(animation) >= m_anims.GetTrackCount())
        return nullptr;
    const CKeyTrack& track = m_anims.GetTrack(static_cast<size_t>(animation));
    if (track.GetSpriteCount() <= 0)
        return nullptr;
    return &m_anims.GetSprites().GetSprite(static_cast<size_t>(track.GetFirstSprite()));
}

CVector2D CDockingPort::GetEntrancePoint(const CGameObject& owner) const
{
    return owner.GetPosition() + m_catchment;
}

void CDockingPort::RunOpenAnimations(bool opening)
{
    for (int32_t i = m_openAnim; i < m_openAnim + m_openCount; ++i)
    {
        const int32_t path = m_anims.GetTrack(static_cast<size_t>(i)).GetPathId();
        if (path >= 0)
            m_anims.GetPath(static_cast<size_t>(path)).SetReversed(!opening);
        m_anims.RestartTrack(i);
    }
}

void CDockingPort::Open()
{
    if (m_state != PORT_CLOSED && m_state != PORT_CLOSING)
        return;
    RunOpenAnimations(true);
    m_state = PORT_OPENING;
}

void CDockingPort::Close()
{
    if (m_state != PORT_OPEN && m_state != PORT_OPENING)
        return;
    RunOpenAnimations(false);
    for (int32_t i = m_standbyAnim; i < m_standbyAnim + m_standbyCount; ++i)
        m_anims.RestartTrack(i);
    m_state = PORT_CLOSING;
}

bool CDockingPort::HaveOpenAnimationsEnded()
{
    for (int32_t i = m_openAnim; i < m_openAnim + m_openCount; ++i)
    {
        CSpriteAnimSet& anims = m_anims;
        const CKeyTrack& track = anims.GetTrack(static_cast<size_t>(i));
        if (track.IsEmpty())
            continue;
        if (track.IsRestartPending() || track.IsStartPending())
            return false;
        if (track.GetPathId() >= 0 && anims.GetPath(static_cast<size_t>(track.GetPathId())).IsRunning())
            return false;
    }
    return true;
}

void CDockingPort::TakeObject(int32_t handle, bool closeWhenDone, Callback callback, void* argument)
{
    CGameObject* object = FindObject(handle);
    if (!object || m_state == PORT_DESTROYED || Holds(handle))
        return;
    object->SetVisible(false);
    m_launchQueue.push_back(handle);
    m_closeWhenDone = closeWhenDone;
    m_callback = callback;
    m_callbackArgument = argument;
}

void CDockingPort::TakeIn(int32_t handle, bool closeWhenDone, Callback callback, void* argument)
{
    if (!FindObject(handle) || m_state == PORT_DESTROYED || Holds(handle))
        return;
    m_takeInQueue.push_back(handle);
    m_closeWhenDone = closeWhenDone;
    m_callback = callback;
    m_callbackArgument = argument;
}

bool CDockingPort::Holds(int32_t handle) const
{
    if (handle == NO_OBJECT)
        return false;
    return m_transit == handle || std::find(m_launchQueue.begin(), m_launchQueue.end(), handle) != m_launchQueue.end() ||
           std::find(m_takeInQueue.begin(), m_takeInQueue.end(), handle) != m_takeInQueue.end();
}

CVector2D CDockingPort::GetWaitingPoint(const SSpriteOwner& owner)
{
    CPathSlot* path = GetEntrancePath();
    if (!path)
        return owner.position;
    path->SetReversed(false);
    const CVector2D start = path->GetStartPoint(owner.angle);
    return CVector2D(owner.position.x + start.x * owner.scaleX, owner.position.y + start.y * owner.scaleY);
}

void CDockingPort::StartLaunch(int32_t handle, const SSpriteOwner& owner)
{
    CGameObject* object = FindObject(handle);
    m_transit = handle;
    object->SetPosition(GetWaitingPoint(owner));
    object->PlaceShape();
    object->SetFrozen(true);
    // Shown as it leaves: a launched object is seen riding out.
    object->SetVisible(true);
    if (CPathSlot* path = GetEntrancePath())
    {
        path->ReleaseObjectRider(handle);
        path->SetReversed(false);
        path->AddObjectRider(handle, owner);
    }
    m_state = PORT_LAUNCHING;
}

void CDockingPort::StartTakeIn(int32_t handle, const SSpriteOwner& owner)
{
    CGameObject* object = FindObject(handle);
    m_transit = handle;
    object->SetFrozen(true);
    if (CPathSlot* path = GetEntrancePath())
    {
        path->ReleaseObjectRider(handle);
        path->SetReversed(true);
        path->AddObjectRider(handle, owner);
    }
    m_state = PORT_TAKING_IN;
}

void CDockingPort::UpdateQueues(const SSpriteOwner& owner)
{
    auto dropGone = [](std::vector<int32_t>& queue) {
        queue.erase(std::remove_if(queue.begin(), queue.end(), [](int32_t handle) { return !FindObject(handle); }),
                    queue.end());
    };
    dropGone(m_launchQueue);
    if (!m_launchQueue.empty())
    {
        if (m_state == PORT_CLOSED)
            Open();
        else if (m_state == PORT_OPEN)
        {
            const int32_t handle = m_launchQueue.front();
            m_launchQueue.erase(m_launchQueue.begin());
            StartLaunch(handle, owner);
        }
        else
        {
            // The queued wait inside the owner, at the start of the way out.
            const CVector2D waiting = GetWaitingPoint(owner);
            for (int32_t handle : m_launchQueue)
                if (CGameObject* object = FindObject(handle))
                {
                    object->SetPosition(waiting);
                    object->PlaceShape();
                }
            return;
        }
        return;
    }
    if (!m_takeInQueue.empty())
    {
        if (m_state == PORT_CLOSED)
            Open();
        else if (m_state == PORT_OPEN)
        {
            const int32_t handle = m_takeInQueue.front();
            m_takeInQueue.erase(m_takeInQueue.begin());
            if (FindObject(handle))
                StartTakeIn(handle, owner);
        }
        return;
    }
    if (m_state == PORT_OPEN && m_closeWhenDone)
        Close();
}

bool CDockingPort::GetExitDirection(CVector2D& direction)
{
    CPathSlot* path = GetEntrancePath();
    if (!path || path->GetPath().GetWaypointCount() < 2)
        return false;
    const size_t last = path->GetPath().GetWaypointCount() - 1;
    CVector2D segment = path->GetPath().GetWaypoint(last).m_working - path->GetPath().GetWaypoint(last - 1).m_working;
    const float length = std::sqrt(segment.x * segment.x + segment.y * segment.y);
    if (!(length > 0.0f))
        return false;
    direction = CVector2D(segment.x / length, segment.y / length);
    return true;
}

void CDockingPort::EndRide()
{
    if (CPathSlot* path = GetEntrancePath())
        path->ReleaseObjectRider(m_transit);
    m_transit = NO_OBJECT;
    m_state = PORT_OPEN;
}

void CDockingPort::UpdateRide()
{
    CGameObject* object = FindObject(m_transit);
    CPathSlot* path = GetEntrancePath();
    if (!object)
    {
        // It went away on the way: the port is free again.
        EndRide();
        return;
    }
    const SPathRider* rider = path ? path->FindObjectRider(m_transit) : nullptr;
    if (rider && (rider->m_joining || rider->m_moving))
        return;
    const bool launching = m_state == PORT_LAUNCHING;
    EndRide();
    if (launching)
    {
        object->SetFrozen(false);
        CVector2D direction;
        if (m_pushOnExit != 0.0f && GetExitDirection(direction))
        {
            object->GetBody().force += direction * m_pushOnExit;
            object->Move();
        }
    }
    else
    {
        object->SetVisible(false);
        if (m_callback)
            m_callback(m_callbackArgument);
    }
}

void CDockingPort::LoopStandby()
{
    for (int32_t i = m_standbyAnim; i < m_standbyAnim + m_standbyCount; ++i)
    {
        const CKeyTrack& track = m_anims.GetTrack(static_cast<size_t>(i));
        // Tracks without a path loop by their own keys; one waiting out its start
        // delay is on its way.
        if (track.IsEmpty() || track.GetPathId() < 0 || track.IsRestartPending() ||
            (track.IsRunning() && track.IsStartPending()))
            continue;
        if (!track.IsRunning() || !m_anims.GetPath(static_cast<size_t>(track.GetPathId())).IsRunning())
            m_anims.RestartTrack(i);
    }
}

void CDockingPort::HideDoors(const SSpriteOwner& owner, CObjectBody* body)
{
    for (int32_t i = m_openAnim; i < m_openAnim + m_openCount; ++i)
    {
        const CKeyTrack& track = m_anims.GetTrack(static_cast<size_t>(i));
        for (int32_t s = 0; s < track.GetSpriteCount(); ++s)
        {
            CAnimatedSprite& sprite = m_anims.GetSprites().GetSprite(static_cast<size_t>(track.GetFirstSprite() + s));
            sprite.Hide();
            const uint32_t tag = sprite.GetCollisionTag();
            if (!body || tag == 0)
                continue;
            for (size_t p = 0; p < body->GetPartCount(); ++p)
                if (body->GetPart(p).m_tag == tag && body->GetPart(p).m_health > 0)
                    body->DestroyPart(owner, static_cast<int>(p));
        }
    }
}

void CDockingPort::Update(CGameObject& owner, CObjectBody* body)
{
    const SSpriteOwner spriteOwner = MakeSpriteOwner(owner);
    if (m_hideTime != 0 && Now() >= m_hideTime)
    {
        m_hideTime = 0;
        HideDoors(spriteOwner, body);
    }
    m_anims.Update(spriteOwner);
    if (m_state == PORT_DESTROYED)
        return;

    if (m_state != PORT_LAUNCHING && m_state != PORT_TAKING_IN)
        UpdateQueues(spriteOwner);
    else if (!m_launchQueue.empty())
    {
        // Waiting for the ride ahead of them.
        const CVector2D waiting = GetWaitingPoint(spriteOwner);
        for (int32_t handle : m_launchQueue)
            if (CGameObject* object = FindObject(handle))
            {
                object->SetPosition(waiting);
                object->PlaceShape();
            }
    }

    switch (m_state)
    {
    case PORT_OPENING:
    case PORT_CLOSING:
        if (HaveOpenAnimationsEnded())
            m_state = m_state == PORT_OPENING ? PORT_OPEN : PORT_CLOSED;
        break;
    case PORT_LAUNCHING:
    case PORT_TAKING_IN:
        UpdateRide();
        break;
    default:
        break;
    }
    if (m_state == PORT_LAUNCHING || m_state == PORT_TAKING_IN || m_state == PORT_OPEN)
        LoopStandby();
}

void CDockingPort::Destroy(const CGameObject& owner, CObjectBody* body, bool withEffects, bool hideNow)
{
    ReleaseAll();
    m_state = PORT_DESTROYED;
    const SSpriteOwner spriteOwner = MakeSpriteOwner(owner);
    if (withEffects && !m_deathEffect.empty())
    {
        const CVector2D velocity = owner.GetBody().velocity * static_cast<float>(CGame::TICKS_PER_SECOND);
        for (int32_t i = m_openAnim; i < m_openAnim + m_openCount; ++i)
        {
            const CKeyTrack& track = m_anims.GetTrack(static_cast<size_t>(i));
            for (int32_t s = 0; s < track.GetSpriteCount(); ++s)
            {
                const CAnimatedSprite& sprite =
                    m_anims.GetSprites().GetSprite(static_cast<size_t>(track.GetFirstSprite() + s));
                GetEffectRequests().StartEffect(m_deathEffect.c_str(), owner.GetHandle(), sprite.GetPosition(),
                                                velocity);
            }
        }
        m_hideTime = Now() + HIDE_DELAY_MS;
        if (m_hideTime == 0)
            m_hideTime = 1;
    }
    else if (hideNow)
        HideDoors(spriteOwner, body);
}

void CDockingPort::ReleaseAll()
{
    CPathSlot* path = GetEntrancePath();
    auto release = [path](int32_t handle) {
        if (path)
            path->ReleaseObjectRider(handle);
        if (CGameObject* object = FindObject(handle))
            LetGo(*object);
    };
    if (m_transit != NO_OBJECT)
        release(m_transit);
    for (int32_t handle : m_launchQueue)
        release(handle);
    for (int32_t handle : m_takeInQueue)
        release(handle);
    m_transit = NO_OBJECT;
    m_launchQueue.clear();
    m_takeInQueue.clear();
    if (m_state == PORT_LAUNCHING || m_state == PORT_TAKING_IN)
        m_state = PORT_OPEN;
}

bool CDockingPort::IsHitOnPort(const CGameObject& object) const
{
    const CCollisionShape* shapes = object.GetBody().shape.get();
    const CCollisionShape* hit = shapes ? shapes->GetPartner() : nullptr;
    if (!hit || hit->GetTag() == 0)
        return false;
    const CSpriteSet& sprites = m_anims.GetSprites();
    for (size_t i = 0; i < sprites.GetSpriteCount(); ++i)
    {
        const CAnimatedSprite& sprite = sprites.GetSprite(i);
        const uint32_t tag = sprite.GetCollisionTag();
        if (tag == 0)
            continue;
        const uint32_t count = sprite.GetCollisionTagCount();
        if (count <= 1)
        {
            if (tag == hit->GetTag())
                return true;
            continue;
        }
        for (uint32_t n = 0; n < count && n < 10; ++n)
            if (ReplaceTagFirstCharacter(tag, static_cast<char>('0' + n)) == hit->GetTag())
                return true;
    }
    return false;
}

void CDockingPort::SetVisible(bool visible)
{
    m_anims.SetVisible(visible);
}
