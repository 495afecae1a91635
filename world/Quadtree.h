#pragma once
// A complete region quadtree over the square playfield: every world object is
// filed in the smallest node square that wholly holds its circle (strictly), or in
// the root when it crosses the playfield's edge. It serves the collision pass, the
// circle queries and the search for spawn places. Built once a level, never
// rebalanced: filing and unfiling touch one node's list and its ancestors' counts.
//
// Nodes are numbered depth first (a node, then its first child's whole subtree, and
// so on); children run top-left, top-right, bottom-right, bottom-left.

#include "core/Vector2D.h"

#include <cstdint>
#include <vector>

class CGameObject;

struct SQuadNode
{
    int32_t x = 0;          // top-left corner, world units
    int32_t y = 0;
    int32_t size = 0;       // side; each level halves its parent's (integer halving)
    std::vector<CGameObject*> objects;
    uint16_t parent = 0xFFFF;
    uint16_t children[4] = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    uint16_t subtreeCount = 0;  // objects filed below this node, not in it
    int32_t level = 0;
};

class CQuadtree
{
public:
    // 16-bit node indices (0xFFFF = none) hold trees of depth 7 at most.
    static constexpr int32_t MAX_DEPTH = 7;

    // Builds the nodes; a depth beyond MAX_DEPTH is clamped (with a console line).
    bool Init(int32_t worldWidth, int32_t depth);

    void Insert(CGameObject& object);
    void Remove(CGameObject& object);
    // Refiles a moving object; a resting one stays where it is.
    void Reinsert(CGameObject& object);
    // Offers every pair of collidable filed objects that share a node or lie in a
    // node and one of its ancestors, once each, to CGameObject::Collide of the one
    // earlier in a list or deeper in the tree.
    void CollideAll(uint16_t node = 0);

    // Objects near a circle: those of the deepest node holding the circle strictly,
    // of its subtree and of its ancestors; exact keeps only those whose circle
    // reaches within the radius. Clear first empties the list.
    void QueryObjects(const CVector2D& centre, float radius, std::vector<CGameObject*>& out, bool exact,
                      bool clearFirst) const;
    void QueryHandles(const CVector2D& centre, float radius, std::vector<int32_t>& out, bool exact,
                      bool clearFirst) const;

    // A free place for a new arrival, away from the view, the playfield's edges and
    // the station: the centre of a random empty node at least twice the clearance
    // wide, else of the least crowded such node; unchanged when none qualifies.
    // The view rectangle and the station's place come from the running game.
    void FindSpawnPosition(float clearance, CVector2D& out, bool manyCandidates) const;

    int32_t GetNodeCount() const { return static_cast<int32_t>(m_nodes.size()); }
    int32_t GetDepth() const { return m_depth; }
    int32_t GetWorldWidth() const { return m_worldWidth; }
    const SQuadNode& GetNode(uint16_t index) const { return m_nodes[index]; }

private:
    uint16_t Build(int32_t x, int32_t y, int32_t size, int32_t level, uint16_t parent);
    bool TryInsert(uint16_t node, CGameObject& object, float radius);
    void CollectSubtree(uint16_t node, const CVector2D& centre, float radius, bool exact,
                        std::vector<CGameObject*>& out) const;

    int32_t m_worldWidth = 0;
    int32_t m_depth = 0;
    std::vector<SQuadNode> m_nodes;
};
