#include "core/Random.h"
#include "tests/support/world/WorldHarness.h"
#include "tests/world/TestObjects.h"
#include "world/ObjectFactory.h"
#include "world/Quadtree.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

namespace
{
std::pair<int32_t, int32_t> Ordered(int32_t a, int32_t b)
{
    return a < b ? std::make_pair(a, b) : std::make_pair(b, a);
}

// Objects outside any world, placed by hand.
struct SLooseBall
{
    explicit SLooseBall(float x, float y, float radius)
    {
        ball.SetBall(radius, 1);
        ball.SetPosition(CVector2D(x, y));
        ball.GetInfo().handle = next++;
    }
    CBallObject ball;
    static int32_t next;
};
int32_t SLooseBall::next = 1;

// Collide calls, counted per unordered pair.
class CPairCounter : public CGameObject
{
public:
    CPairCounter() : CGameObject(OBJECT_DUMB) {}
    void Collide(CGameObject& other) override
    {
        std::pair<int32_t, int32_t> key = Ordered(GetHandle(), other.GetHandle());
        ++(*s_pairs)[key];
    }
    static std::map<std::pair<int32_t, int32_t>, int>* s_pairs;
};
std::map<std::pair<int32_t, int32_t>, int>* CPairCounter::s_pairs = nullptr;
} // namespace

TEST(Quadtree, NodesAreNumberedDepthFirst)
{
    CQuadtree tree;
    tree.Init(1000, 2);
    ASSERT_EQ(tree.GetNodeCount(), 21);
    const SQuadNode& root = tree.GetNode(0);
    EXPECT_EQ(root.children[0], 1);
    EXPECT_EQ(root.children[1], 6);
    EXPECT_EQ(root.children[2], 11);
    EXPECT_EQ(root.children[3], 16);
    // Top-right, bottom-right, bottom-left children of 1000: at 500, integer halving.
    EXPECT_EQ(tree.GetNode(6).x, 500);
    EXPECT_EQ(tree.GetNode(6).y, 0);
    EXPECT_EQ(tree.GetNode(11).x, 500);
    EXPECT_EQ(tree.GetNode(11).y, 500);
    EXPECT_EQ(tree.GetNode(16).y, 500);
    EXPECT_EQ(tree.GetNode(7).size, 250);
    EXPECT_EQ(tree.GetNode(7).parent, 6);
    EXPECT_EQ(tree.GetNode(20).level, 2);

    CQuadtree flat;
    flat.Init(1000, 0);
    EXPECT_EQ(flat.GetNodeCount(), 1);
    CQuadtree deep;
    deep.Init(4096, 12);
    EXPECT_EQ(deep.GetDepth(), CQuadtree::MAX_DEPTH);
    EXPECT_EQ(deep.GetNodeCount(), 21845);
}

TEST(Quadtree, ObjectsGoToTheSmallestSquareThatHoldsThemStrictly)
{
    CQuadtree tree;
    tree.Init(1000, 2); // leaves of 250
    struct SCase
    {
        float x, y, radius;
        uint16_t node;
    } cases[] = {
        {100, 100, 10, 2},   // inside the first leaf
        {600, 100, 10, 7},   // top-right quarter's first leaf
        {240, 100, 10, 1},   // touches x = 250: one level up
        {250, 100, 10, 1},   // across a leaf edge inside the quarter
        {500, 500, 10, 0},   // across the middle: the root
        {5, 500, 10, 0},     // across the playfield's edge: the root
        {10, 10, 10, 0},     // exactly touching the playfield's edge
        {125, 125, 124, 2},  // fills the leaf
        {250, 250, 125, 1},  // as wide as a leaf: the quarter
        {300, 300, 300, 0},  // too big for a quarter
        {-50, 100, 10, 0},   // outside the playfield
    };
    for (const SCase& c : cases)
    {
        SLooseBall loose(c.x, c.y, c.radius);
        tree.Insert(loose.ball);
        EXPECT_EQ(loose.ball.GetInfo().treeNode, c.node) << c.x << "," << c.y << " r " << c.radius;
        tree.Remove(loose.ball);
        EXPECT_EQ(loose.ball.GetInfo().treeNode, NOT_IN_TREE);
    }
    for (int i = 0; i < tree.GetNodeCount(); ++i)
    {
        EXPECT_EQ(tree.GetNode(static_cast<uint16_t>(i)).subtreeCount, 0) << i;
        EXPECT_TRUE(tree.GetNode(static_cast<uint16_t>(i)).objects.empty());
    }
}

TEST(Quadtree, SubtreeCountsFollowInsertAndRemove)
{
    CQuadtree tree;
    tree.Init(1000, 2);
    SLooseBall a(100, 100, 10);  // node 2
    SLooseBall b(240, 100, 10);  // node 1
    tree.Insert(a.ball);
    tree.Insert(b.ball);
    EXPECT_EQ(tree.GetNode(0).subtreeCount, 2);
    EXPECT_EQ(tree.GetNode(1).subtreeCount, 1);
    EXPECT_EQ(tree.GetNode(2).subtreeCount, 0);
    tree.Remove(a.ball);
    EXPECT_EQ(tree.GetNode(0).subtreeCount, 1);
    EXPECT_EQ(tree.GetNode(1).subtreeCount, 0);

    // A resting object is not refiled; a moving one is.
    b.ball.SetPosition(CVector2D(600, 100));
    tree.Reinsert(b.ball);
    EXPECT_EQ(b.ball.GetInfo().treeNode, 1);
    b.ball.GetBody().moving = 1;
    tree.Reinsert(b.ball);
    EXPECT_EQ(b.ball.GetInfo().treeNode, 7);
    EXPECT_EQ(tree.GetNode(1).subtreeCount, 0);
    EXPECT_EQ(tree.GetNode(6).subtreeCount, 1);
}

TEST(Quadtree, CollisionPairsEqualABruteForceCheck)
{
    CWorldHarness harness(7);
    ASSERT_TRUE(harness.StartLevel("LEVEL\n{\n worldWidth 2000\n treeDepth 4\n}\n"));
    // As many wandering balls as the table holds, small and large.
    RegisterObjectType(OBJECT_DUMB, &CreateObjectOf<CWandererObject>);
    std::vector<int32_t> handles;
    CRandom random(99);
    for (int i = 0; i < CWorld::DEFAULT_SLOTS; ++i)
    {
        int32_t handle = harness.Spawn(OBJECT_DUMB, static_cast<float>(random.Between(0, 2000)),
                                       static_cast<float>(random.Between(0, 2000)));
        ASSERT_NE(handle, NO_OBJECT);
        CWandererObject* ball = harness.FindAs<CWandererObject>(handle);
        ball->SetBall(static_cast<float>(random.Between(4, 40)), 5);
        ball->m_bounce = false;
        handles.push_back(handle);
    }
    for (int frame = 0; frame < 30; ++frame)
    {
        for (int32_t handle : handles)
            if (CBallObject* ball = harness.FindAs<CBallObject>(handle))
                ball->m_touches.clear();
        harness.RunFrame();
        // Every touching pair of balls was found exactly once, and only those.
        std::set<std::pair<int32_t, int32_t>> found;
        for (int32_t handle : handles)
            if (CBallObject* ball = harness.FindAs<CBallObject>(handle))
                for (int32_t other : ball->m_touches)
                {
                    if (!harness.FindAs<CBallObject>(other))
                        continue;
                    EXPECT_TRUE(found.insert(Ordered(handle, other)).second) << "offered twice";
                }
        std::set<std::pair<int32_t, int32_t>> expected;
        for (size_t i = 0; i < handles.size(); ++i)
            for (size_t j = i + 1; j < handles.size(); ++j)
            {
                CBallObject* a = harness.FindAs<CBallObject>(handles[i]);
                CBallObject* b = harness.FindAs<CBallObject>(handles[j]);
                if (a && b && a->GetBody().shape->Collide(*b->GetBody().shape, nullptr, nullptr, nullptr))
                    expected.insert(Ordered(handles[i], handles[j]));
            }
        ASSERT_EQ(found, expected) << "frame " << frame;
        if (frame == 29)
        {
            EXPECT_GT(expected.size(), 0u) << "the check must see some contacts";
        }
    }
}

TEST(Quadtree, EveryRelatedPairIsOfferedOnceAndNonCollidablesNever)
{
    CWorldHarness harness(3);
    ASSERT_TRUE(harness.StartLevel("LEVEL\n{\n worldWidth 1024\n treeDepth 3\n}\n"));
    RegisterObjectType(OBJECT_DUMB, &CreateObjectOf<CPairCounter>);
    std::map<std::pair<int32_t, int32_t>, int> pairs;
    CPairCounter::s_pairs = &pairs;
    CRandom random(5);
    std::vector<int32_t> handles;
    for (int i = 0; i < 120; ++i)
    {
        int32_t handle = harness.Spawn(OBJECT_DUMB, static_cast<float>(random.Between(-20, 1044)),
                                       static_cast<float>(random.Between(-20, 1044)));
        harness.Find(handle)->GetBody().radius = static_cast<float>(random.Between(1, 100));
        handles.push_back(handle);
    }
    int32_t frozen = handles[7];
    harness.Find(frozen)->GetInfo().collidable = false;
    harness.RunFrame();
    const CQuadtree& tree = *harness.GetGame().GetQuadtree();
    auto isAncestorOrSelf = [&tree](uint16_t up, uint16_t node) {
        for (uint16_t at = node; at != 0xFFFF; at = tree.GetNode(at).parent)
            if (at == up)
                return true;
        return false;
    };
    for (size_t i = 0; i < handles.size(); ++i)
        for (size_t j = i + 1; j < handles.size(); ++j)
        {
            CGameObject* a = harness.Find(handles[i]);
            CGameObject* b = harness.Find(handles[j]);
            uint16_t na = a->GetInfo().treeNode;
            uint16_t nb = b->GetInfo().treeNode;
            bool related = isAncestorOrSelf(na, nb) || isAncestorOrSelf(nb, na);
            bool collidable = a->GetHandle() != frozen && b->GetHandle() != frozen;
            auto key = Ordered(handles[i], handles[j]);
            int offered = pairs.count(key) ? pairs[key] : 0;
            ASSERT_EQ(offered, related && collidable ? 1 : 0) << i << " " << j << " nodes " << na << " " << nb;
        }
    CPairCounter::s_pairs = nullptr;
}

TEST(Quadtree, CircleQueries)
{
    CWorldHarness harness;
    ASSERT_TRUE(harness.StartLevel("LEVEL\n{\n worldWidth 1000\n treeDepth 2\n}\n"));
    auto spawn = [&harness](float x, float y, float radius) {
        int32_t handle = harness.Spawn(OBJECT_DUMB, x, y);
        harness.Find(handle)->GetBody().radius = radius;
        return handle;
    };
    int32_t near = spawn(100, 100, 10);    // leaf 2
    int32_t edge = spawn(240, 100, 10);    // node 1
    int32_t middle = spawn(500, 500, 10);  // root
    int32_t other = spawn(600, 100, 10);   // another quarter
    int32_t farLeaf = spawn(200, 200, 5);  // leaf 2, 141 from the centre
    harness.RunFrame();

    std::vector<int32_t> found;
    harness.GetGame().GetQuadtree()->QueryHandles(CVector2D(110, 100), 20, found, false, true);
    std::set<int32_t> all(found.begin(), found.end());
    EXPECT_EQ(all, (std::set<int32_t>{near, edge, middle, farLeaf}));
    EXPECT_EQ(all.count(other), 0u);

    harness.GetGame().GetQuadtree()->QueryHandles(CVector2D(110, 100), 20, found, true, true);
    EXPECT_EQ(std::set<int32_t>(found.begin(), found.end()), (std::set<int32_t>{near}));
    // Without clearing, the list grows.
    harness.GetGame().GetQuadtree()->QueryHandles(CVector2D(500, 480), 15, found, true, false);
    EXPECT_EQ(std::set<int32_t>(found.begin(), found.end()), (std::set<int32_t>{near, middle}));
}

TEST(Quadtree, SpawnPlacesAwayFromViewEdgesAndStation)
{
    CWorldHarness harness;
    ASSERT_TRUE(harness.StartLevel("LEVEL\n{\n worldWidth 2000\n treeDepth 2\n}\n"));
    CQuadtree& tree = *harness.GetGame().GetQuadtree();
    // The view covers (0, 0) to (640, 480); excluded: x -250..640 with y -250..480.
    harness.GetGame().GetCamera().SetPosition(0, 0);
    CVector2D place(-1, -1);
    tree.FindSpawnPosition(300, place, true);
    EXPECT_EQ(place.x, 1000) << "an empty world: the root itself is free";
    EXPECT_EQ(place.y, 1000);

    // Quarters of 1000 (centres 500 and 1500). A station at (1250, 1250) rules out the
    // bottom-right quarter (within 400 of its centre); objects fill two more.
    auto spawn = [&harness](float x, float y) {
        int32_t handle = harness.Spawn(OBJECT_DUMB, x, y);
        harness.Find(handle)->GetBody().radius = 10;
        return handle;
    };
    harness.GetGame().SetStationHandle(spawn(1250, 1250));
    spawn(700, 700);   // top-left quarter
    spawn(1300, 700);  // top-right quarter, twice
    spawn(1310, 710);
    harness.RunFrame();
    harness.GetGame().GetCamera().SetPosition(0, 0);
    place = CVector2D(-1, -1);
    tree.FindSpawnPosition(300, place, true);
    EXPECT_EQ(place.x, 500) << "the bottom-left quarter is the one free";
    EXPECT_EQ(place.y, 1500);

    // No empty candidate: the least crowded occupied quarter (its leaves of 500 are
    // narrower than twice the clearance); the first of equals wins.
    spawn(760, 1260);
    harness.RunFrame();
    harness.GetGame().GetCamera().SetPosition(0, 0);
    place = CVector2D(-1, -1);
    tree.FindSpawnPosition(300, place, true);
    EXPECT_EQ(place.x, 500);
    EXPECT_EQ(place.y, 500);

    // Nothing wide enough: the place is left alone.
    place = CVector2D(-7, -7);
    tree.FindSpawnPosition(2000, place, true);
    EXPECT_EQ(place.x, -7);
    EXPECT_EQ(place.y, -7);
}
