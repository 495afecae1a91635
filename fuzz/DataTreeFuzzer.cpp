// Data-tree text, 8-bit or UTF-16 (plain or scrambled), as definition files and
// the settings file are read: every value is then taken by every typed getter.
// Includes open files relative to the scratch folder, which holds a small tree
// and a file that includes itself.

#include "core/DataFile.h"
#include "core/DataTree.h"
#include "core/Vector2D.h"
#include "core/Vector3.h"
#include "core/WString.h"
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

namespace
{
void TakeEveryValue(const CDataTree& tree)
{
    for (size_t i = 0; i < tree.GetChildCount(); ++i)
    {
        const CDataNode* child = tree.GetChild(i);
        if (child->IsBlock())
        {
            TakeEveryValue(*static_cast<const CDataTree*>(child));
            continue;
        }
        const char16_t* name = child->GetName().c_str();
        bool flag = false;
        int32_t number = 0;
        uint32_t count = 0;
        float real = 0.0f;
        char small[8];
        char text[300];
        tree.GetBoolW(name, flag);
        tree.GetIntW(name, number);
        tree.GetUIntW(name, count);
        tree.GetFloatW(name, real);
        tree.GetStringW(name, small, sizeof(small));
        tree.GetStringW(name, text, sizeof(text));
        char narrow[300];
        size_t length = 0;
        for (; name[length] != 0 && length + 1 < sizeof(narrow); ++length)
            narrow[length] = static_cast<char>(name[length]);
        narrow[length] = 0;
        CWString wide;
        CVector2D two;
        CVector3 three;
        float four[4];
        tree.GetWString(narrow, wide);
        tree.GetStringLength(narrow);
        tree.GetVec2(narrow, two);
        tree.GetVec3(narrow, three);
        tree.GetVec4(narrow, four);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CDataNodeList nodes;
    ParseDataBytes(data, size, nodes);
    for (const auto& node : nodes)
        TakeEveryValue(static_cast<const CDataTree&>(*node));
    // What was understood must write out and read back without trouble.
    for (const auto& node : nodes)
    {
        std::vector<uint8_t> bytes = EncodeDataNode(*node, true);
        CDataNodeList again;
        ParseDataBytes(bytes.data(), bytes.size(), again);
    }
    return 0;
}
