#include "world/World.h"

#include "world/Game.h"
#include "world/HudLink.h"
#include "world/ObjectFactory.h"
#include "world/PushGrid.h"
#include "world/Quadtree.h"
#include "world/TextPageLink.h"
#include "world/ZoneLink.h"

#include <algorithm>
#include <cstring>

namespace
{
int32_t SlotOf(int32_t handle)
{
    return handle & CWorld::HANDLE_SLOT_MASK;
}

// The factory's sides: as the type helper says, but mounted parts fight for the enemy.
ETeam FactoryTeam(int32_t type)
{
    return type == OBJECT_MOUNTED_PART ? BAD_TEAM : GetTeamOfType(type);
}

void Mix(uint64_t& hash, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
    {
        hash ^= (value >> (8 * i)) & 0xFF;
        hash *= 0x100000001B3ull;
    }
}

void MixFloat(uint64_t& hash, float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    Mix(hash, bits);
}
} // namespace

CWorld::CWorld(CGame* game) : m_game(game) {}

CWorld::~CWorld()
{
    for (SWarpEntry& entry : m_warps)
        ReleaseWarp(entry);
    if (m_game)
        m_game->GetZones().OnWorldCleared();
    for (CGameObject*& object : m_objects)
    {
        delete object;
        object = nullptr;
    }
}

bool CWorld::Init(int32_t slots)
{
    if (slots < 1 || slots > HANDLE_SLOT_MASK)
        return false;
    m_objects.assign(static_cast<size_t>(slots), nullptr);
    m_generations.assign(static_cast<size_t>(slots), 0);
    m_queuedThisFrame.assign(static_cast<size_t>(slots), 0);
    m_freeSlots.clear();
    for (int32_t slot = 0; slot < slots; ++slot)
        m_freeSlots.push_back(slot);
    m_removals.clear();
    return true;
}

uint32_t CWorld::GetFrameCounter() const
{
    return m_game ? m_game->GetFrameCount() : 0;
}

bool CWorld::CreateObject(int32_t type, int32_t& handle)
{
    if (m_freeSlots.empty())
        return false;
    int32_t slot = m_freeSlots.back();
    CGameObject* object = MakeObjectOfType(type);
    if (!object)
        return false; // the slot stays on the stack
    m_freeSlots.pop_back();
    uint8_t generation = static_cast<uint8_t>(m_generations[slot] + 1);
    if (generation == 0)
        generation = 1; // handle 0 would read as "none" in places
    m_generations[slot] = generation;
    handle = slot | static_cast<int32_t>(static_cast<uint32_t>(generation) << 24);
    SObjectInfo& info = object->GetInfo();
    info.handle = handle;
    info.type = static_cast<EObjectType>(type);
    info.team = FactoryTeam(type);
    info.drawPlane = GetDefaultDrawPlane(type);
    m_objects[slot] = object;
    m_queuedThisFrame[slot] = 0;
    if (m_game)
        info.blip = m_game->GetHud().AddBlip(*object);
    return true;
}

CGameObject* CWorld::GetObject(int32_t handle) const
{
    if (handle == NO_OBJECT)
        return nullptr;
    int32_t slot = SlotOf(handle);
    if (slot >= static_cast<int32_t>(m_objects.size()) || !m_objects[slot])
        return nullptr;
    if (static_cast<int8_t>(static_cast<uint32_t>(handle) >> 24) != static_cast<int8_t>(m_generations[slot]))
        return nullptr;
    return m_objects[slot];
}

bool CWorld::GetObject(int32_t handle, CGameObject*& object) const
{
    object = GetObject(handle);
    return object != nullptr;
}

CGameObject* CWorld::GetSlot(int32_t slot) const
{
    return slot >= 0 && slot < static_cast<int32_t>(m_objects.size()) ? m_objects[slot] : nullptr;
}

int32_t CWorld::CountObjects() const
{
    return static_cast<int32_t>(m_objects.size() - m_freeSlots.size());
}

void CWorld::RemoveObject(int32_t handle)
{
    CGameObject* object = GetObject(handle);
    if (!object)
        return;
    uint32_t frame = GetFrameCounter();
    if (frame != m_queueFrame)
    {
        std::fill(m_queuedThisFrame.begin(), m_queuedThisFrame.end(), 0);
        m_queueFrame = frame;
    }
    int32_t slot = SlotOf(handle);
    if (m_queuedThisFrame[slot])
        return;
    m_queuedThisFrame[slot] = 1;
    m_removals.push_back(handle);
    if (m_game)
    {
        m_game->GetZones().OnObjectRemoved(*object);
        m_game->GetHud().RemoveBlip(object->GetInfo().blip);
    }
}

void CWorld::Destroy(int32_t slot, bool withBlip)
{
    CGameObject* object = m_objects[slot];
    DropWarp(object->GetHandle());
    if (m_game && m_game->GetQuadtree() && object->IsInTree())
        m_game->GetQuadtree()->Remove(*object);
    if (withBlip && m_game)
        m_game->GetHud().RemoveBlip(object->GetInfo().blip);
    m_objects[slot] = nullptr;
    // The slot's flag goes with the object, so a reused slot can be removed at once
    // even while the frame counter stands still.
    m_queuedThisFrame[slot] = 0;
    delete object;
    m_freeSlots.push_back(slot);
}

void CWorld::FlushRemovals()
{
    std::vector<int32_t> removals;
    removals.swap(m_removals);
    for (int32_t handle : removals)
        if (GetObject(handle))
            Destroy(SlotOf(handle), false);
}

void CWorld::Clear()
{
    for (SWarpEntry& entry : m_warps)
        ReleaseWarp(entry);
    m_activeWarps = 0;
    if (m_game)
        m_game->GetZones().OnWorldCleared();
    for (int32_t slot = 0; slot < static_cast<int32_t>(m_objects.size()); ++slot)
        if (m_objects[slot])
            Destroy(slot, true);
    m_removals.clear();
}

CGameObject* CWorld::First(CGameObject* from)
{
    m_cursor = -1;
    int32_t count = static_cast<int32_t>(m_objects.size());
    if (from)
    {
        int32_t slot = SlotOf(from->GetHandle());
        if (slot < count && m_objects[slot] == from)
        {
            m_cursor = slot;
            return from;
        }
    }
    for (int32_t slot = 0; slot < count; ++slot)
        if (m_objects[slot])
        {
            m_cursor = slot;
            return m_objects[slot];
        }
    return nullptr;
}

CGameObject* CWorld::Next(bool& wrapped)
{
    int32_t count = static_cast<int32_t>(m_objects.size());
    for (int32_t slot = m_cursor + 1; slot < count; ++slot)
        if (m_objects[slot])
        {
            m_cursor = slot;
            return m_objects[slot];
        }
    wrapped = true;
    m_cursor = -1;
    return nullptr;
}

CGameObject* CWorld::FindBoss(int32_t key) const
{
    for (CGameObject* object : m_objects)
    {
        if (!object)
            continue;
        EObjectType type = object->GetType();
        if (key == -1 && type >= OBJECT_ENEMY_MOTHERSHIP && type <= OBJECT_MOUNTED_PART)
            return object;
        if (key != -1 && type == OBJECT_ENEMY_MOTHERSHIP && object->GetBossKey() == key)
            return object;
    }
    return nullptr;
}

CGameObject* CWorld::FindAsteroidByKind(int32_t kind) const
{
    for (CGameObject* object : m_objects)
        if (object && object->GetType() == OBJECT_ASTEROID && object->GetAsteroidKind() == kind)
            return object;
    return nullptr;
}

int32_t CWorld::CountEnemies() const
{
    int32_t count = 0;
    for (CGameObject* object : m_objects)
        if (object && object->GetTeam() == BAD_TEAM && !object->GetInfo().notCountedAsEnemy)
            ++count;
    return count;
}

int32_t CWorld::CountRemovedEnemies() const
{
    int32_t count = 0;
    for (int32_t handle : m_removals)
    {
        CGameObject* object = GetObject(handle);
        if (object && object->GetTeam() == BAD_TEAM && !object->GetInfo().notCountedAsEnemy)
            ++count;
    }
    return count;
}

void CWorld::DestroyEnemies(int32_t exceptHandle)
{
    for (CGameObject* object : m_objects)
    {
        if (!object || object->GetTeam() != BAD_TEAM || object->GetBody().health <= 0 ||
            object->GetHandle() == exceptHandle)
            continue;
        bool seen = m_game && m_game->GetCamera().IsVisible(object->GetPosition(), *object->GetRadius());
        if (seen)
            object->TakeDamage(0, nullptr, 1, 9999);
        else
            RemoveObject(object->GetHandle());
    }
}

void CWorld::SetObjectsVisible(bool visible)
{
    for (CGameObject* object : m_objects)
        if (object && object->GetType() != OBJECT_STATION)
            object->SetVisible(visible);
}

void CWorld::AddWarp(int32_t handle)
{
    for (SWarpEntry& entry : m_warps)
    {
        if (entry.handle != NO_OBJECT)
            continue;
        entry = SWarpEntry();
        entry.handle = handle;
        entry.startTime = m_game ? m_game->GetTime() : 0;
        ++m_activeWarps;
        return;
    }
}

void CWorld::EndWarp(SWarpEntry& entry)
{
    if (entry.handle == NO_OBJECT)
        return;
    ReleaseWarp(entry);
    --m_activeWarps;
}

// The entry's effect goes back to its pool and its overlay comes down; the entry is empty.
void CWorld::ReleaseWarp(SWarpEntry& entry)
{
    if (CEffect* effect = entry.effect.Get())
        effect->Release();
    entry = SWarpEntry();
}

void CWorld::DropWarp(int32_t handle)
{
    for (SWarpEntry& entry : m_warps)
        if (entry.handle == handle)
            EndWarp(entry);
}

void CWorld::Update()
{
    if (m_game && m_game->GetTextPages().IsAnyPageShowing())
        return;
    CQuadtree* tree = m_game ? m_game->GetQuadtree() : nullptr;
    CPushGrid* push = m_game ? m_game->GetPushGrid() : nullptr;
    const int32_t count = static_cast<int32_t>(m_objects.size());

    // New objects join the tree.
    if (tree)
        for (CGameObject* object : m_objects)
            if (object && !object->IsInTree())
                tree->Insert(*object);

    FlushRemovals();

    // Warp sequences; an entry whose object went is simply over.
    for (SWarpEntry& entry : m_warps)
    {
        if (m_activeWarps == 0)
            break;
        if (entry.handle == NO_OBJECT)
            continue;
        if (!GetObject(entry.handle))
            EndWarp(entry);
        else if (m_warpStep)
            m_warpStep(*this, entry);
    }

    // Passes walk the slots afresh each time: an object made during a pass waits
    // for the next frame (it is not in the tree), one removed stays until then.
    for (int32_t slot = 0; slot < count; ++slot)
        if (CGameObject* object = m_objects[slot])
            object->Think();

    for (int32_t slot = 0; slot < count; ++slot)
    {
        CGameObject* object = m_objects[slot];
        if (!object || !object->IsInTree())
            continue;
        object->Move();
        if (tree)
            tree->Reinsert(*object);
        if (push && object->UsesPushGrid() && (object->GetBody().moving || object->GetInfo().pushPending))
        {
            const SPushPlacement& placed = object->GetBody().push;
            bool moved = CPushGrid::CellOf(object->GetPosition().x) != placed.cellX ||
                         CPushGrid::CellOf(object->GetPosition().y) != placed.cellY;
            if (moved || object->GetInfo().pushPending)
            {
                float half = 2.0f * *object->GetRadius();
                push->AddPush(*object, half, half, false);
            }
        }
    }

    for (int32_t slot = 0; slot < count; ++slot)
    {
        CGameObject* object = m_objects[slot];
        if (!object || !object->IsInTree())
            continue;
        object->UpdateSprite();
        if (m_game)
            m_game->GetHud().UpdateBlip(object->GetInfo().blip, *object);
    }

    if (tree)
        tree->CollideAll(0);
}

uint64_t CWorld::ComputeChecksum() const
{
    std::vector<const CGameObject*> live;
    for (const CGameObject* object : m_objects)
        if (object)
            live.push_back(object);
    std::sort(live.begin(), live.end(), [](const CGameObject* a, const CGameObject* b) {
        return static_cast<uint32_t>(a->GetHandle()) < static_cast<uint32_t>(b->GetHandle());
    });
    uint64_t hash = 0xCBF29CE484222325ull;
    for (const CGameObject* object : live)
    {
        const CMotionBody& body = object->GetBody();
        Mix(hash, static_cast<uint32_t>(object->GetHandle()));
        Mix(hash, static_cast<uint32_t>(object->GetType()));
        MixFloat(hash, body.position.x);
        MixFloat(hash, body.position.y);
        MixFloat(hash, body.velocity.x);
        MixFloat(hash, body.velocity.y);
        MixFloat(hash, body.angle);
        Mix(hash, static_cast<uint32_t>(body.health));
    }
    return hash;
}
