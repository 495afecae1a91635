#include "core/LinkedList.h"

#include <new>

CLinkedListBase::CLinkedListBase(CLinkedListBase&& other) noexcept
    : m_count(other.m_count), m_head(other.m_head), m_cursor(other.m_cursor)
{
    other.m_count = 0;
    other.m_head = other.m_cursor = nullptr;
}

CLinkedListBase& CLinkedListBase::operator=(CLinkedListBase&& other) noexcept
{
    if (this != &other)
    {
        Clear();
        m_count = other.m_count;
        m_head = other.m_head;
        m_cursor = other.m_cursor;
        other.m_count = 0;
        other.m_head = other.m_cursor = nullptr;
    }
    return *this;
}

bool CLinkedListBase::AppendValue(void* value)
{
    SNode* node = new (std::nothrow) SNode{value, nullptr};
    if (!node)
        return false;
    if (!m_head)
    {
        m_head = node;
    }
    else
    {
        SNode* tail = m_head;
        while (tail->next)
            tail = tail->next;
        tail->next = node;
    }
    ++m_count;
    return true;
}

bool CLinkedListBase::AddHeadValue(void* value)
{
    SNode* node = new (std::nothrow) SNode{value, m_head};
    if (!node)
        return false;
    m_head = node;
    ++m_count;
    return true;
}

void CLinkedListBase::Unlink(SNode* previous, SNode* node)
{
    if (previous)
        previous->next = node->next;
    else
        m_head = node->next;
    // A cursor on the removed node moves on rather than dangle.
    if (m_cursor == node)
        m_cursor = node->next;
    delete node;
    --m_count;
}

void* CLinkedListBase::PopFrontValue()
{
    if (!m_head)
        return nullptr;
    void* value = m_head->value;
    Unlink(nullptr, m_head);
    return value;
}

bool CLinkedListBase::GetValueAt(uint32_t index, void*& value) const
{
    if (index >= m_count)
        return false;
    SNode* node = m_head;
    for (uint32_t i = 0; i < index; ++i)
        node = node->next;
    value = node->value;
    return true;
}

bool CLinkedListBase::GetCurrentValue(void*& value) const
{
    if (!m_cursor)
        return false;
    value = m_cursor->value;
    return true;
}

bool CLinkedListBase::RemoveAt(uint32_t index)
{
    if (index >= m_count)
        return false;
    SNode* previous = nullptr;
    SNode* node = m_head;
    for (uint32_t i = 0; i < index; ++i)
    {
        previous = node;
        node = node->next;
    }
    Unlink(previous, node);
    return true;
}

bool CLinkedListBase::AppendAllValues(const CLinkedListBase& other)
{
    // Counted first, so appending a list to itself copies it once.
    uint32_t left = other.m_count;
    for (const SNode* node = other.m_head; left > 0 && node; --left, node = node->next)
        if (!AppendValue(node->value))
            return false;
    return true;
}

void CLinkedListBase::Clear()
{
    SNode* node = m_head;
    while (node)
    {
        SNode* next = node->next;
        delete node;
        node = next;
    }
    m_count = 0;
    m_head = m_cursor = nullptr;
}

bool CLinkedListBase::MoveToHead()
{
    m_cursor = m_head;
    return m_cursor != nullptr;
}

bool CLinkedListBase::MoveNext()
{
    if (m_cursor)
        m_cursor = m_cursor->next;
    return m_cursor != nullptr;
}
