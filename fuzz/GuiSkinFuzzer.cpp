// GUI skin definitions as the game reads them from a ".skin" data tree: the keys of
// the first block, then the pieces against a few texture sizes.

#include "core/DefinitionProblems.h"
#include "fuzz/FuzzBlocks.h"
#include "presentation/GuiSkinFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CDataNodeList nodes;
    const CDataTree* block = ParseFirstBlock(data, size, nodes);
    if (!block)
        return 0;
    SGuiSkinDefinition skin;
    CDefinitionProblems problems;
    if (!ReadGuiSkinDefinition(*block, skin, problems))
        return 0;
    std::string reason;
    CheckGuiSkinPieces(skin, 256, 256, reason);
    CheckGuiSkinPieces(skin, 1, 0, reason);
    for (int piece = 0; piece < GUI_PIECE_COUNT; ++piece)
        GetGuiSkinPieceName(piece);
    return 0;
}
