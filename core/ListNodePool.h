#pragma once
// The one pool of list nodes that every CPooledList takes its nodes from, so the
// per-frame collections never touch the heap. Main thread only: it has no lock.
// Start-up makes it (a pooled list used earlier makes it on first use) and
// shutdown frees it; lists still holding nodes then simply forget them.

#include <cstdint>

struct SPooledNode
{
    void* value;
    SPooledNode* next;
    SPooledNode* prev;
};

constexpr uint32_t LIST_NODE_POOL_SIZE = 100000;

// Allocates and chains the nodes; true when a pool exists afterwards.
bool InitListNodePool(uint32_t capacity = LIST_NODE_POOL_SIZE);
// A free node, or null when every node is in use (or no memory for the pool).
SPooledNode* AllocListNode();
// Gives a node back. A pointer that is not a node of the current pool is ignored.
void FreeListNode(SPooledNode* node);
void FreeListNodePool();

bool IsListNodePoolAlive();
// Changes whenever a pool is made or freed; lists use it to tell stale nodes.
uint32_t GetListNodePoolGeneration();
uint32_t GetListNodesInUse();
