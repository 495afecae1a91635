// Definition blocks as the game's readers take them from data-tree text: every
// block of the text, at any depth, is handed to each definition reader, which
// must report problems and never crash whatever the keys hold. Each reader of a
// definition block adds one line to ReadWithEveryReader.

#include "core/DataFile.h"
#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "presentation/CollisionShape.h"

namespace
{
void ReadWithEveryReader(const CDataTree& block)
{
    CDefinitionProblems problems;
    CollisionChain chain = ReadCollisionShapes(block, problems);
    if (chain)
    {
        chain->SetPosition(CVector2D(1.0f, 2.0f));
        CollisionChain copy = chain->CloneChain();
        CVector2D point;
        CVector2D data;
        chain->Collide(*copy, &point, &data, nullptr);
    }
}

void Walk(const CDataTree& tree, int depth)
{
    ReadWithEveryReader(tree);
    if (depth > 8)
        return;
    for (size_t i = 0; CDataTree* child = tree.GetChildBlock(i); ++i)
        Walk(*child, depth + 1);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CDataNodeList nodes;
    ParseDataBytes(data, size, nodes);
    for (const auto& node : nodes)
        Walk(static_cast<const CDataTree&>(*node), 0);
    return 0;
}
