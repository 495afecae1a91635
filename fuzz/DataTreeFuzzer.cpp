// Data-tree text, 8-bit or UTF-16 (plain or scrambled), as definition files and
// the settings file are read. Includes open files relative to the scratch
// folder, which holds a small tree and a file that includes itself.

#include "core/DataFile.h"
#include "core/DataTree.h"
#include "fuzz/FuzzSupport.h"

#include <cstring>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char tree[] = "inc { a 1\n b { c 2 }\n}\n";
    const char loop[] = "loop {\n#include loop.txt\n}\n";
    WriteFuzzFile("inc.txt", reinterpret_cast<const uint8_t*>(tree), std::strlen(tree));
    WriteFuzzFile("loop.txt", reinterpret_cast<const uint8_t*>(loop), std::strlen(loop));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CDataNodeList nodes;
    ParseDataBytes(data, size, nodes);
    // What was understood must write out and read back without trouble.
    for (const auto& node : nodes)
    {
        std::vector<uint8_t> bytes = EncodeDataNode(*node, true);
        CDataNodeList again;
        ParseDataBytes(bytes.data(), bytes.size(), again);
    }
    return 0;
}
