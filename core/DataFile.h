#pragma once
// Reading and writing data-tree files through the file layer (disk first, then
// the pack archive). Every caller passes the depth limit 64.

#include "core/DataTree.h"

// Appends every top-level block of the file to nodes (the caller owns them).
// False only when the file cannot be read; an empty file gives no nodes.
bool LoadDataFileNodes(const char* path, CDataNodeList& nodes, int depthLimit = DATA_DEPTH_LIMIT);

// The file's first top-level block; later ones are read and dropped. False when
// the file cannot be read or holds no block. Free the tree with FreeDataNode.
bool LoadDataTree(const char* path, CDataTree** tree, int depthLimit = DATA_DEPTH_LIMIT);

// The same from bytes in memory (a file's whole contents).
bool ParseDataBytes(const uint8_t* bytes, size_t size, CDataNodeList& nodes, int depthLimit = DATA_DEPTH_LIMIT);

// Writes UTF-16 text (scrambled while the scramble flag is set), indented with
// tabs when indent is set. The file is replaced only when all of it was written.
bool SaveDataTree(const char* path, const CDataNode* node, bool indent);
bool SaveDataFileNodes(const char* path, const CDataNodeList& nodes, bool indent);

// The bytes SaveDataTree would write.
std::vector<uint8_t> EncodeDataNode(const CDataNode& node, bool indent);
// The bytes of a list of blocks, scrambled or not whatever the scramble flag says.
std::vector<uint8_t> EncodeDataNodes(const CDataNodeList& nodes, bool indent, bool scrambled);
