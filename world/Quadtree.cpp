#include "world/Quadtree.h"

#include "core/Console.h"
#include "core/Random.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/World.h"

#include <algorithm>

namespace
{
constexpr uint16_t NONE = 0xFFFF;
}

bool CQuadtree::Init(int32_t worldWidth, int32_t depth)
{
    if (depth < 0)
        depth = 0;
    if (depth > MAX_DEPTH)
    {
        if (g_console)
            g_console->Printf("treeDepth %d is too deep; %d is used", depth, MAX_DEPTH);
        depth = MAX_DEPTH;
    }
    m_worldWidth = worldWidth;
    m_depth = depth;
    m_nodes.clear();
    size_t count = 0;
    for (int32_t level = 0, row = 1; level <= depth; ++level, row *= 4)
        count += static_cast<size_t>(row);
    m_nodes.reserve(count);
    Build(0, 0, worldWidth, 0, NONE);
    return true;
}

uint16_t CQuadtree::Build(int32_t x, int32_t y, int32_t size, int32_t level, uint16_t parent)
{
    uint16_t index = static_cast<uint16_t>(m_nodes.size());
    m_nodes.emplace_back();
    SQuadNode& node = m_nodes.back();
    node.x = x;
    node.y = y;
    node.size = size;
    node.parent = parent;
    node.level = level;
    if (level < m_depth)
    {
        int32_t half = size / 2;
        const int32_t corners[4][2] = {{x, y}, {x + half, y}, {x + half, y + half}, {x, y + half}};
        for (int i = 0; i < 4; ++i)
        {
            uint16_t child = Build(corners[i][0], corners[i][1], half, level + 1, index);
            m_nodes[index].children[i] = child;
        }
    }
    return index;
}

bool CQuadtree::TryInsert(uint16_t index, CGameObject& object, float radius)
{
    SQuadNode& node = m_nodes[index];
    const CVector2D& centre = object.GetPosition();
    float size = static_cast<float>(node.size);
    float x = static_cast<float>(node.x);
    float y = static_cast<float>(node.y);
    if (2.0f * radius > size)
        return false;
    if (!(x < centre.x - radius && y < centre.y - radius && x + size > centre.x + radius &&
          y + size > centre.y + radius))
        return false;
    if (node.children[0] != NONE && 2.0f * radius < static_cast<float>(m_nodes[node.children[0]].size))
    {
        for (uint16_t child : node.children)
        {
            if (TryInsert(child, object, radius))
            {
                ++m_nodes[index].subtreeCount;
                return true;
            }
        }
    }
    m_nodes[index].objects.push_back(&object);
    object.GetInfo().treeNode = index;
    return true;
}

void CQuadtree::Insert(CGameObject& object)
{
    if (m_nodes.empty())
        return;
    if (!TryInsert(0, object, *object.GetRadius()))
    {
        m_nodes[0].objects.push_back(&object);
        object.GetInfo().treeNode = 0;
    }
}

void CQuadtree::Remove(CGameObject& object)
{
    uint16_t index = object.GetInfo().treeNode;
    if (index == NONE || index >= m_nodes.size())
        return;
    std::vector<CGameObject*>& list = m_nodes[index].objects;
    auto found = std::find(list.begin(), list.end(), &object);
    if (found != list.end())
        list.erase(found);
    object.GetInfo().treeNode = NONE;
    for (uint16_t up = m_nodes[index].parent; up != NONE; up = m_nodes[up].parent)
        --m_nodes[up].subtreeCount;
}

void CQuadtree::Reinsert(CGameObject& object)
{
    if (!object.GetBody().moving)
        return;
    Remove(object);
    Insert(object);
}

// The lists are walked by index and nothing is filed or unfiled while they are:
// objects made during the pass wait for the next frame, removals are deferred.
void CQuadtree::CollideAll(uint16_t index)
{
    if (index >= m_nodes.size())
        return;
    const SQuadNode& node = m_nodes[index];
    for (size_t i = 0; i < node.objects.size(); ++i)
    {
        CGameObject* s = node.objects[i];
        if (!s->IsInTree() || !s->GetInfo().collidable)
            continue;
        for (size_t j = i + 1; j < node.objects.size(); ++j)
        {
            CGameObject* o = node.objects[j];
            if (o->IsInTree() && o->GetInfo().collidable)
                s->Collide(*o);
        }
        for (uint16_t up = node.parent; up != NONE; up = m_nodes[up].parent)
            for (CGameObject* a : m_nodes[up].objects)
                if (a->IsInTree() && a->GetInfo().collidable)
                    s->Collide(*a);
    }
    if (node.subtreeCount == 0)
        return;
    for (uint16_t child : node.children)
        if (child != NONE && (!m_nodes[child].objects.empty() || m_nodes[child].subtreeCount != 0))
            CollideAll(child);
}

void CQuadtree::CollectSubtree(uint16_t index, const CVector2D& centre, float radius, bool exact,
                               std::vector<CGameObject*>& out) const
{
    const SQuadNode& node = m_nodes[index];
    for (CGameObject* object : node.objects)
    {
        if (exact)
        {
            CVector2D apart = object->GetPosition() - centre;
            if (apart.Length() >= radius + object->GetQueryRadius())
                continue;
        }
        out.push_back(object);
    }
    if (node.subtreeCount == 0)
        return;
    for (uint16_t child : node.children)
        if (child != NONE)
            CollectSubtree(child, centre, radius, exact, out);
}

void CQuadtree::QueryObjects(const CVector2D& centre, float radius, std::vector<CGameObject*>& out, bool exact,
                             bool clearFirst) const
{
    if (clearFirst)
        out.clear();
    if (m_nodes.empty())
        return;
    uint16_t at = 0;
    for (;;)
    {
        uint16_t next = NONE;
        for (uint16_t child : m_nodes[at].children)
        {
            if (child == NONE)
                break;
            const SQuadNode& node = m_nodes[child];
            float x = static_cast<float>(node.x);
            float y = static_cast<float>(node.y);
            float size = static_cast<float>(node.size);
            if (x < centre.x - radius && y < centre.y - radius && x + size > centre.x + radius &&
                y + size > centre.y + radius)
            {
                next = child;
                break;
            }
        }
        if (next == NONE)
            break;
        at = next;
    }
    CollectSubtree(at, centre, radius, exact, out);
    // The ancestors' own lists (not their other children).
    for (uint16_t up = m_nodes[at].parent; up != NONE; up = m_nodes[up].parent)
    {
        for (CGameObject* object : m_nodes[up].objects)
        {
            if (exact)
            {
                CVector2D apart = object->GetPosition() - centre;
                if (apart.Length() >= radius + object->GetQueryRadius())
                    continue;
            }
            out.push_back(object);
        }
    }
}

void CQuadtree::QueryHandles(const CVector2D& centre, float radius, std::vector<int32_t>& out, bool exact,
                             bool clearFirst) const
{
    if (clearFirst)
        out.clear();
    std::vector<CGameObject*> objects;
    QueryObjects(centre, radius, objects, exact, true);
    for (CGameObject* object : objects)
        out.push_back(object->GetHandle());
}

void CQuadtree::FindSpawnPosition(float clearance, CVector2D& out, bool manyCandidates) const
{
    if (m_nodes.empty())
        return;
    CGame* game = GetGame();
    CVector2D view;
    CVector2D screen(640.0f, 480.0f);
    CVector2D station;
    if (game)
    {
        view = game->GetCamera().GetView();
        screen = CVector2D(game->GetCamera().GetScreenWidth(), game->GetCamera().GetScreenHeight());
        if (game->GetWorld())
            if (CGameObject* object = game->GetWorld()->GetObject(game->GetStationHandle()))
                station = object->GetPosition();
    }
    const size_t limit = manyCandidates ? 999u : static_cast<size_t>(GetGameRandom().Below(3) + 3);
    const float excludeLeft = view.x - 250.0f;
    const float excludeTop = view.y - 250.0f;
    const float excludeRight = view.x + screen.x;
    const float excludeBottom = view.y + screen.y;
    const float width = static_cast<float>(m_worldWidth);

    std::vector<uint16_t> empty;
    std::vector<uint16_t> occupied;
    std::vector<uint16_t> stack(1, 0);
    while (!stack.empty() && empty.size() < limit)
    {
        uint16_t index = stack.back();
        stack.pop_back();
        const SQuadNode& node = m_nodes[index];
        float size = static_cast<float>(node.size);
        if (size < 2.0f * clearance)
            continue;
        float cx = static_cast<float>(node.x) + size * 0.5f;
        float cy = static_cast<float>(node.y) + size * 0.5f;
        bool insideEdges = cx > 400.0f && cy > 400.0f && cx < width - 400.0f && cy < width - 400.0f;
        bool outsideView = cx < excludeLeft || cx > excludeRight || cy < excludeTop || cy > excludeBottom;
        CVector2D fromStation = CVector2D(cx, cy) - station;
        bool farFromStation = fromStation.Dot(fromStation) > 160000.0f;
        bool hasChildren = node.children[0] != NONE;
        if (insideEdges && outsideView && farFromStation)
        {
            if (node.objects.empty() && node.subtreeCount == 0)
            {
                empty.push_back(index);
                continue;
            }
            if (!hasChildren)
                continue;
            if (static_cast<float>(m_nodes[node.children[0]].size) < 2.0f * clearance)
            {
                occupied.push_back(index);
                continue;
            }
        }
        // Depth first in child order: the first child is visited next.
        for (int i = 3; i >= 0; --i)
            if (node.children[i] != NONE)
                stack.push_back(node.children[i]);
    }
    auto centreOf = [this](uint16_t index) {
        const SQuadNode& node = m_nodes[index];
        float half = static_cast<float>(node.size) * 0.5f;
        return CVector2D(static_cast<float>(node.x) + half, static_cast<float>(node.y) + half);
    };
    if (!empty.empty())
    {
        out = centreOf(empty[static_cast<size_t>(GetGameRandom().Below(static_cast<int32_t>(empty.size())))]);
        return;
    }
    if (occupied.empty())
        return;
    uint16_t best = occupied[0];
    size_t fewest = m_nodes[best].objects.size() + m_nodes[best].subtreeCount;
    for (uint16_t index : occupied)
    {
        size_t count = m_nodes[index].objects.size() + m_nodes[index].subtreeCount;
        if (count < fewest)
        {
            best = index;
            fewest = count;
        }
    }
    out = centreOf(best);
}
