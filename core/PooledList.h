#pragma once
// A doubly linked list of pointers with a cursor, its nodes taken from the list-node
// pool. It never owns what it points to. Insertions go after the cursor and make
// the new node the cursor, so inserts with the cursor on the last node append.

#include "core/ListNodePool.h"

#include <cstdint>

class CPooledListBase
{
public:
    CPooledListBase() = default;
    ~CPooledListBase() { Clear(); }
    CPooledListBase(const CPooledListBase&) = delete;
    CPooledListBase& operator=(const CPooledListBase&) = delete;
    CPooledListBase(CPooledListBase&& other) noexcept;
    CPooledListBase& operator=(CPooledListBase&& other) noexcept;

    // A list whose pool was freed since reads as empty: its nodes are gone.
    uint32_t GetCount() const { return IsStale() ? 0 : m_count; }
    bool IsEmpty() const { return GetCount() == 0; }

    // Cursor to the head, then index steps on. False (cursor left at the head)
    // when the list is empty or index is not below the count.
    bool Seek(uint32_t index);
    // Cursor to the next node; false (cursor unchanged) at the last node.
    bool Next();
    // Unlinks the cursor's node; the cursor moves to the next node, or to the
    // previous one when the last was removed. False when there is no cursor.
    bool RemoveCurrent();
    // Removes every node (nodes of a pool freed since are only forgotten).
    void Clear();

protected:
    SPooledNode* InsertValue(void* value);
    bool AppendAllValues(const CPooledListBase& other);
    void* GetCurrentValue() const { return m_cursor && !IsStale() ? m_cursor->value : nullptr; }
    const SPooledNode* GetHeadNode() const { return IsStale() ? nullptr : m_head; }
    const SPooledNode* GetCursorNode() const { return IsStale() ? nullptr : m_cursor; }

private:
    void Forget();
    bool IsStale() const;

    uint32_t m_count = 0;
    SPooledNode* m_head = nullptr;
    SPooledNode* m_last = nullptr;
    SPooledNode* m_cursor = nullptr;
    uint32_t m_generation = 0;  // the pool the nodes came from
};

template <class T>
class CPooledList : public CPooledListBase
{
public:
    // The new node, or null when the pool is exhausted (the list is unchanged).
    SPooledNode* Insert(T* value) { return InsertValue(value); }
    bool InsertWithNode(T* value, SPooledNode*& node)
    {
        node = InsertValue(value);
        return node != nullptr;
    }
    // Appends every value of the other list (which may be this one) in order;
    // the cursor ends on the last one added. False when the pool ran out.
    bool AppendAll(const CPooledList& other) { return AppendAllValues(other); }

    T* GetCurrent() const { return static_cast<T*>(GetCurrentValue()); }
    bool GetCurrent(T*& value) const
    {
        value = GetCurrent();
        return GetCursorNode() != nullptr;
    }

    // Visits every value from the head without moving the cursor.
    template <class Visit>
    void ForEach(Visit visit) const
    {
        for (const SPooledNode* node = GetHeadNode(); node; node = node->next)
            visit(static_cast<T*>(node->value));
    }
};
