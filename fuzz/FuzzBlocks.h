#pragma once
// For the harnesses of readers that take one block of a data-tree file.

#include "core/DataFile.h"
#include "core/DataTree.h"

// The first top-level block of the bytes, kept alive by nodes; null when there is none.
inline const CDataTree* ParseFirstBlock(const uint8_t* data, size_t size, CDataNodeList& nodes)
{
    if (!ParseDataBytes(data, size, nodes) || nodes.empty() || !nodes[0]->IsBlock())
        return nullptr;
    return static_cast<const CDataTree*>(nodes[0].get());
}
