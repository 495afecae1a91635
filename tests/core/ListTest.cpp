#include "core/LinkedList.h"
#include "core/ListNodePool.h"
#include "core/PooledList.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
int g_values[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

template <class List>
std::vector<int> Values(const List& list)
{
    std::vector<int> out;
    list.ForEach([&](int* value) { out.push_back(*value); });
    return out;
}

// Each test starts with a fresh, empty pool and leaves one behind.
class PooledList : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FreeListNodePool();
        ASSERT_TRUE(InitListNodePool());
    }
    void TearDown() override
    {
        FreeListNodePool();
        InitListNodePool();
    }
};

TEST_F(PooledList, InsertGoesAfterTheCursorAndBecomesIt)
{
    CPooledList<int> list;
    for (int i = 0; i < 3; ++i)
        ASSERT_NE(list.Insert(&g_values[i]), nullptr);
    EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(list.GetCurrent(), &g_values[2]);

    ASSERT_TRUE(list.Seek(0));
    SPooledNode* node = nullptr;
    ASSERT_TRUE(list.InsertWithNode(&g_values[7], node));
    EXPECT_EQ(node->value, &g_values[7]);
    EXPECT_EQ(list.GetCurrent(), &g_values[7]);
    ASSERT_TRUE(list.Seek(3));
    list.Insert(&g_values[8]);
    EXPECT_EQ(Values(list), (std::vector<int>{0, 7, 1, 2, 8}));
    EXPECT_EQ(list.GetCount(), 5u);
    EXPECT_EQ(GetListNodesInUse(), 5u);
}

TEST_F(PooledList, RemoveMovesTheCursorToTheNextOrThePrevious)
{
    CPooledList<int> list;
    for (int i = 0; i < 4; ++i)
        list.Insert(&g_values[i]);
    ASSERT_TRUE(list.Seek(1));
    ASSERT_TRUE(list.RemoveCurrent());
    EXPECT_EQ(list.GetCurrent(), &g_values[2]);
    ASSERT_TRUE(list.Seek(2));
    ASSERT_TRUE(list.RemoveCurrent());  // the last one
    EXPECT_EQ(list.GetCurrent(), &g_values[2]);
    EXPECT_EQ(Values(list), (std::vector<int>{0, 2}));
    // New inserts with the cursor on the last node append.
    list.Insert(&g_values[5]);
    EXPECT_EQ(Values(list), (std::vector<int>{0, 2, 5}));

    ASSERT_TRUE(list.Seek(0));
    while (list.RemoveCurrent())
    {
    }
    EXPECT_TRUE(list.IsEmpty());
    int* value = &g_values[9];
    EXPECT_FALSE(list.GetCurrent(value));
    EXPECT_EQ(value, nullptr);
    EXPECT_EQ(GetListNodesInUse(), 0u);
}

TEST_F(PooledList, SeekAndNextStayInsideTheList)
{
    CPooledList<int> list;
    EXPECT_FALSE(list.Seek(0));
    EXPECT_FALSE(list.Next());
    for (int i = 0; i < 3; ++i)
        list.Insert(&g_values[i]);
    EXPECT_FALSE(list.Seek(3));
    EXPECT_EQ(list.GetCurrent(), &g_values[0]);  // left at the head
    ASSERT_TRUE(list.Seek(2));
    EXPECT_FALSE(list.Next());
    EXPECT_EQ(list.GetCurrent(), &g_values[2]);
    ASSERT_TRUE(list.Seek(0));
    EXPECT_TRUE(list.Next());
    EXPECT_EQ(list.GetCurrent(), &g_values[1]);
}

TEST_F(PooledList, ExhaustedPoolRefusesAndLeavesTheListUnchanged)
{
    CPooledList<int> list;
    for (uint32_t i = 0; i < LIST_NODE_POOL_SIZE; ++i)
        ASSERT_NE(list.Insert(&g_values[i % 10]), nullptr) << i;
    EXPECT_EQ(list.Insert(&g_values[0]), nullptr);
    EXPECT_EQ(list.GetCount(), LIST_NODE_POOL_SIZE);
    EXPECT_EQ(list.GetCurrent(), &g_values[(LIST_NODE_POOL_SIZE - 1) % 10]);

    CPooledList<int> other;
    SPooledNode marker{};
    SPooledNode* node = &marker;
    EXPECT_FALSE(other.InsertWithNode(&g_values[1], node));
    EXPECT_TRUE(other.IsEmpty());

    ASSERT_TRUE(list.Seek(0));
    ASSERT_TRUE(list.RemoveCurrent());
    EXPECT_NE(other.Insert(&g_values[1]), nullptr);
    list.Clear();
    other.Clear();
    EXPECT_EQ(GetListNodesInUse(), 0u);
}

TEST_F(PooledList, AppendAllCopiesInOrderAlsoFromItself)
{
    CPooledList<int> a, b;
    for (int i = 0; i < 3; ++i)
        a.Insert(&g_values[i]);
    b.Insert(&g_values[9]);
    ASSERT_TRUE(b.Seek(0));
    ASSERT_TRUE(b.AppendAll(a));
    EXPECT_EQ(Values(b), (std::vector<int>{9, 0, 1, 2}));
    EXPECT_EQ(b.GetCurrent(), &g_values[2]);
    ASSERT_TRUE(a.AppendAll(a));
    EXPECT_EQ(Values(a), (std::vector<int>{0, 1, 2, 0, 1, 2}));
    CPooledList<int> empty;
    ASSERT_TRUE(a.AppendAll(empty));
    EXPECT_EQ(a.GetCount(), 6u);
}

TEST_F(PooledList, ListsOutlivingThePoolForgetTheirNodes)
{
    CPooledList<int> kept;
    kept.Insert(&g_values[1]);
    kept.Insert(&g_values[2]);
    FreeListNodePool();
    kept.Clear();  // must not touch the freed block
    EXPECT_TRUE(kept.IsEmpty());

    ASSERT_TRUE(InitListNodePool());
    {
        CPooledList<int> stale;
        stale.Insert(&g_values[3]);
        FreeListNodePool();
        ASSERT_TRUE(InitListNodePool());
        CPooledList<int> fresh;
        fresh.Insert(&g_values[4]);
        // stale's destructor must leave the new pool alone.
    }
    EXPECT_EQ(GetListNodesInUse(), 0u);
    CPooledList<int> after;
    after.Insert(&g_values[5]);
    EXPECT_EQ(GetListNodesInUse(), 1u);
}

TEST_F(PooledList, AListOutlivingThePoolReadsAsEmpty)
{
    // Walking it must not touch the freed block, nor the nodes of a new pool.
    CPooledList<int> kept;
    kept.Insert(&g_values[1]);
    kept.Insert(&g_values[2]);
    FreeListNodePool();
    ASSERT_TRUE(InitListNodePool());
    CPooledList<int> fresh;
    fresh.Insert(&g_values[3]);

    EXPECT_EQ(kept.GetCount(), 0u);
    EXPECT_TRUE(kept.IsEmpty());
    EXPECT_TRUE(Values(kept).empty());
    int* value = &g_values[9];
    EXPECT_FALSE(kept.GetCurrent(value));
    EXPECT_EQ(value, nullptr);
    EXPECT_FALSE(kept.Seek(0));
    EXPECT_FALSE(kept.Next());
    EXPECT_EQ(Values(fresh), (std::vector<int>{3}));
}

TEST_F(PooledList, ForeignNodesAreNotTakenIntoThePool)
{
    SPooledNode outside{nullptr, nullptr, nullptr};
    SPooledNode* first = AllocListNode();
    ASSERT_NE(first, nullptr);
    FreeListNode(&outside);
    FreeListNode(reinterpret_cast<SPooledNode*>(reinterpret_cast<char*>(first) + 1));
    EXPECT_EQ(GetListNodesInUse(), 1u);
    FreeListNode(first);
    EXPECT_EQ(GetListNodesInUse(), 0u);
    // The next node comes from the pool, not from the stack.
    SPooledNode* again = AllocListNode();
    EXPECT_EQ(again, first);
    FreeListNode(again);
}

TEST_F(PooledList, MovedListTakesItsNodesAlong)
{
    CPooledList<int> a;
    a.Insert(&g_values[1]);
    a.Insert(&g_values[2]);
    CPooledList<int> b(std::move(a));
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(Values(b), (std::vector<int>{1, 2}));
    CPooledList<int> c;
    c.Insert(&g_values[3]);
    c = std::move(b);
    EXPECT_EQ(Values(c), (std::vector<int>{1, 2}));
    EXPECT_EQ(GetListNodesInUse(), 2u);
}

TEST(LinkedList, AppendAddHeadAndIndexedAccess)
{
    CLinkedList<int> list;
    ASSERT_TRUE(list.Append(&g_values[1]));
    ASSERT_TRUE(list.Append(&g_values[2]));
    ASSERT_TRUE(list.AddHead(&g_values[0]));
    EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 2}));
    int* value = nullptr;
    ASSERT_TRUE(list.GetAt(2, value));
    EXPECT_EQ(value, &g_values[2]);
    EXPECT_FALSE(list.GetAt(3, value));
    EXPECT_EQ(value, &g_values[2]);  // untouched
    EXPECT_FALSE(list.RemoveAt(3));
    ASSERT_TRUE(list.RemoveAt(1));
    EXPECT_EQ(Values(list), (std::vector<int>{0, 2}));
    EXPECT_EQ(list.PopFront(), &g_values[0]);
    EXPECT_EQ(list.PopFront(), &g_values[2]);
    EXPECT_EQ(list.PopFront(), nullptr);
    EXPECT_EQ(list.GetCount(), 0u);
}

TEST(LinkedList, CursorWalksAndSurvivesRemovals)
{
    CLinkedList<int> list;
    int* value = nullptr;
    EXPECT_FALSE(list.MoveToHead());
    EXPECT_FALSE(list.GetCurrent(value));
    for (int i = 0; i < 4; ++i)
        list.Append(&g_values[i]);
    std::vector<int> seen;
    for (bool more = list.MoveToHead(); more; more = list.MoveNext())
    {
        ASSERT_TRUE(list.GetCurrent(value));
        seen.push_back(*value);
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3}));

    ASSERT_TRUE(list.MoveToHead());
    ASSERT_TRUE(list.MoveNext());
    ASSERT_TRUE(list.RemoveAt(1));  // the cursor's node
    ASSERT_TRUE(list.GetCurrent(value));
    EXPECT_EQ(value, &g_values[2]);
    list.PopFront();
    ASSERT_TRUE(list.GetCurrent(value));
    EXPECT_EQ(value, &g_values[2]);
}

TEST(LinkedList, AppendAllCopiesInOrderAlsoFromItself)
{
    CLinkedList<int> a, b;
    for (int i = 0; i < 3; ++i)
        a.Append(&g_values[i]);
    b.Append(&g_values[9]);
    ASSERT_TRUE(b.AppendAll(a));
    EXPECT_EQ(Values(b), (std::vector<int>{9, 0, 1, 2}));
    ASSERT_TRUE(a.AppendAll(a));
    EXPECT_EQ(Values(a), (std::vector<int>{0, 1, 2, 0, 1, 2}));
    a.Clear();
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_FALSE(a.MoveToHead());
}
} // namespace
