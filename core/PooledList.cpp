#include "core/PooledList.h"

CPooledListBase::CPooledListBase(CPooledListBase&& other) noexcept
    : m_count(other.m_count), m_head(other.m_head), m_last(other.m_last), m_cursor(other.m_cursor),
      m_generation(other.m_generation)
{
    other.Forget();
}

CPooledListBase& CPooledListBase::operator=(CPooledListBase&& other) noexcept
{
    if (this != &other)
    {
        Clear();
        m_count = other.m_count;
        m_head = other.m_head;
        m_last = other.m_last;
        m_cursor = other.m_cursor;
        m_generation = other.m_generation;
        other.Forget();
    }
    return *this;
}

void CPooledListBase::Forget()
{
    m_count = 0;
    m_head = m_last = m_cursor = nullptr;
}

bool CPooledListBase::IsStale() const
{
    return m_head && (!IsListNodePoolAlive() || m_generation != GetListNodePoolGeneration());
}

SPooledNode* CPooledListBase::InsertValue(void* value)
{
    if (IsStale())
        Forget();
    SPooledNode* node = AllocListNode();
    if (!node)
        return nullptr;
    node->value = value;
    if (!m_head)
    {
        m_head = m_last = node;
        m_generation = GetListNodePoolGeneration();
    }
    else
    {
        // Without a cursor the value goes to the end.
        SPooledNode* after = m_cursor ? m_cursor : m_last;
        node->prev = after;
        node->next = after->next;
        if (after->next)
            after->next->prev = node;
        else
            m_last = node;
        after->next = node;
    }
    m_cursor = node;
    ++m_count;
    return node;
}

bool CPooledListBase::RemoveCurrent()
{
    if (!m_cursor || IsStale())
        return false;
    SPooledNode* node = m_cursor;
    if (node->prev)
        node->prev->next = node->next;
    else
        m_head = node->next;
    if (node->next)
        node->next->prev = node->prev;
    else
        m_last = node->prev;
    m_cursor = node->next ? node->next : node->prev;
    FreeListNode(node);
    --m_count;
    return true;
}

bool CPooledListBase::Seek(uint32_t index)
{
    if (IsStale())
        Forget();
    m_cursor = m_head;
    if (!m_head || index >= m_count)
        return false;
    for (uint32_t i = 0; i < index; ++i)
        m_cursor = m_cursor->next;
    return true;
}

bool CPooledListBase::Next()
{
    if (IsStale())
        Forget();
    if (!m_cursor || !m_cursor->next)
        return false;
    m_cursor = m_cursor->next;
    return true;
}

void CPooledListBase::Clear()
{
    if (IsStale())
    {
        Forget();
        return;
    }
    SPooledNode* node = m_head;
    while (node)
    {
        SPooledNode* next = node->next;
        FreeListNode(node);
        node = next;
    }
    Forget();
}

bool CPooledListBase::AppendAllValues(const CPooledListBase& other)
{
    if (other.IsStale())
        return false;
    // Counted first, so appending a list to itself copies it once.
    uint32_t left = other.m_count;
    const SPooledNode* from = other.m_head;
    m_cursor = m_last;
    for (; left > 0 && from; --left, from = from->next)
        if (!InsertValue(from->value))
            return false;
    return true;
}
