#include "core/ListNodePool.h"

#include <cstdint>
#include <new>

namespace
{
SPooledNode* s_block = nullptr;
SPooledNode* s_free = nullptr;
uint32_t s_capacity = 0;
uint32_t s_inUse = 0;
uint32_t s_generation = 0;
} // namespace

bool InitListNodePool(uint32_t capacity)
{
    if (s_block)
        return true;
    if (capacity == 0)
        return false;
    s_block = new (std::nothrow) SPooledNode[capacity];
    if (!s_block)
        return false;
    for (uint32_t i = 0; i < capacity; ++i)
        s_block[i] = {nullptr, i + 1 < capacity ? &s_block[i + 1] : nullptr, nullptr};
    s_free = s_block;
    s_capacity = capacity;
    s_inUse = 0;
    ++s_generation;
    return true;
}

SPooledNode* AllocListNode()
{
    if (!s_block && !InitListNodePool())
        return nullptr;
    SPooledNode* node = s_free;
    if (!node)
        return nullptr;
    s_free = node->next;
    ++s_inUse;
    *node = {nullptr, nullptr, nullptr};
    return node;
}

void FreeListNode(SPooledNode* node)
{
    // Only nodes of this pool go back on its free list.
    if (!s_block || !node)
        return;
    uintptr_t at = reinterpret_cast<uintptr_t>(node);
    uintptr_t begin = reinterpret_cast<uintptr_t>(s_block);
    if (at < begin || at - begin >= uintptr_t(s_capacity) * sizeof(SPooledNode) || (at - begin) % sizeof(SPooledNode))
        return;
    node->value = nullptr;
    node->prev = nullptr;
    node->next = s_free;
    s_free = node;
    --s_inUse;
}

void FreeListNodePool()
{
    if (!s_block)
        return;
    delete[] s_block;
    s_block = nullptr;
    s_free = nullptr;
    s_capacity = 0;
    s_inUse = 0;
    ++s_generation;
}

bool IsListNodePoolAlive()
{
    return s_block != nullptr;
}

uint32_t GetListNodePoolGeneration()
{
    return s_generation;
}

uint32_t GetListNodesInUse()
{
    return s_inUse;
}
