#pragma once
// A singly linked list of pointers on the general heap, with a cursor for walking
// it. It never owns what it points to.

#include <cstdint>

class CLinkedListBase
{
public:
    CLinkedListBase() = default;
    ~CLinkedListBase() { Clear(); }
    CLinkedListBase(const CLinkedListBase&) = delete;
    CLinkedListBase& operator=(const CLinkedListBase&) = delete;
    CLinkedListBase(CLinkedListBase&& other) noexcept;
    CLinkedListBase& operator=(CLinkedListBase&& other) noexcept;

    uint32_t GetCount() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    // Unlinks the index-th node (0-based); false when index is not below the count.
    bool RemoveAt(uint32_t index);
    void Clear();

    // The cursor: to the head, then on node by node; false once it has left the list.
    bool MoveToHead();
    bool MoveNext();

protected:
    struct SNode
    {
        void* value;
        SNode* next;
    };

    bool AppendValue(void* value);
    bool AddHeadValue(void* value);
    void* PopFrontValue();
    bool GetValueAt(uint32_t index, void*& value) const;
    bool GetCurrentValue(void*& value) const;
    bool AppendAllValues(const CLinkedListBase& other);
    const SNode* GetHeadNode() const { return m_head; }

private:
    void Unlink(SNode* previous, SNode* node);

    uint32_t m_count = 0;
    SNode* m_head = nullptr;
    SNode* m_cursor = nullptr;
};

template <class T>
class CLinkedList : public CLinkedListBase
{
public:
    // False when no node could be allocated.
    bool Append(T* value) { return AppendValue(value); }
    bool AddHead(T* value) { return AddHeadValue(value); }
    // Removes the first node and gives its value; null when the list is empty.
    T* PopFront() { return static_cast<T*>(PopFrontValue()); }
    bool GetAt(uint32_t index, T*& value) const
    {
        void* raw = nullptr;
        bool found = GetValueAt(index, raw);
        if (found)
            value = static_cast<T*>(raw);
        return found;
    }
    // The value at the cursor; false when the cursor is null.
    bool GetCurrent(T*& value) const
    {
        void* raw = nullptr;
        bool found = GetCurrentValue(raw);
        if (found)
            value = static_cast<T*>(raw);
        return found;
    }
    // Appends every value of the other list (which may be this one) in order.
    bool AppendAll(const CLinkedList& other) { return AppendAllValues(other); }

    template <class Visit>
    void ForEach(Visit visit) const
    {
        for (const SNode* node = GetHeadNode(); node; node = node->next)
            visit(static_cast<T*>(node->value));
    }
};
