#include "core/DataFile.h"

#include "core/DataTextWriter.h"
#include "core/DataTreeParser.h"
#include "core/FileBytes.h"
#include "utility/source/QelPathResolve.h"

#include <cstdlib>

namespace
{
// Two names for one file must compare equal: separators and letter case differ.
std::string IncludeKey(const char* path)
{
    std::string key = ResolvePathNoCase(path);
    if (char* real = realpath(key.c_str(), nullptr))
    {
        key = real;
        free(real);
    }
    for (char& c : key)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return key;
}
} // namespace

bool LoadDataFileNodesAt(const char* path, CDataNodeList& nodes, int depth, SDataParseState& state)
{
    std::string key = IncludeKey(path);
    for (const std::string& open : state.openFiles)
        if (open == key)
            return false;
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, bytes))
        return false;
    std::u16string text = DecodeDataText(bytes.data(), bytes.size());
    state.openFiles.push_back(key);
    ParseDataText(text.c_str(), nodes, depth, state);
    state.openFiles.pop_back();
    return true;
}

bool LoadDataFileNodes(const char* path, CDataNodeList& nodes, int depthLimit)
{
    SDataParseState state;
    state.depthLimit = depthLimit;
    return LoadDataFileNodesAt(path, nodes, 0, state);
}

bool ParseDataBytes(const uint8_t* bytes, size_t size, CDataNodeList& nodes, int depthLimit)
{
    SDataParseState state;
    state.depthLimit = depthLimit;
    std::u16string text = DecodeDataText(bytes, size);
    ParseDataText(text.c_str(), nodes, 0, state);
    return true;
}

bool LoadDataTree(const char* path, CDataTree** tree, int depthLimit)
{
    CDataNodeList nodes;
    if (!tree || !LoadDataFileNodes(path, nodes, depthLimit) || nodes.empty())
        return false;
    *tree = static_cast<CDataTree*>(nodes.front().release());
    return true;
}

std::vector<uint8_t> EncodeDataNode(const CDataNode& node, bool indent)
{
    CDataTextWriter writer;
    node.Write(writer, 0, indent);
    return writer.Encode(GetDataTreeScramble());
}

bool SaveDataTree(const char* path, const CDataNode* node, bool indent)
{
    return node && WriteFileBytes(path, EncodeDataNode(*node, indent));
}

std::vector<uint8_t> EncodeDataNodes(const CDataNodeList& nodes, bool indent, bool scrambled)
{
    CDataTextWriter writer;
    for (const auto& node : nodes)
        node->Write(writer, 0, indent);
    return writer.Encode(scrambled);
}

bool SaveDataFileNodes(const char* path, const CDataNodeList& nodes, bool indent)
{
    return WriteFileBytes(path, EncodeDataNodes(nodes, indent, GetDataTreeScramble()));
}
