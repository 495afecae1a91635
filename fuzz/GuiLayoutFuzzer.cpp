// GUI layout files as the game reads them: the windows of the first block and the
// controls inside them, into the records the GUI's create operations take.

#include "core/DefinitionProblems.h"
#include "fuzz/FuzzBlocks.h"
#include "presentation/GuiLayoutFile.h"

namespace
{
size_t CountControls(const SGuiLayoutWindow& window)
{
    size_t count = 1;
    for (const SGuiLayoutControl& control : window.children)
    {
        if (const SGuiLayoutWindow* inner = std::get_if<SGuiLayoutWindow>(&control.desc))
            count += CountControls(*inner);
        else
            ++count;
        GetGuiLayoutClassName(control.GetClass());
    }
    return count;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CDataNodeList nodes;
    const CDataTree* block = ParseFirstBlock(data, size, nodes);
    if (!block)
        return 0;
    SGuiLayout layout;
    CDefinitionProblems problems;
    ReadGuiLayout(*block, nullptr, layout, problems);
    for (const SGuiLayoutWindow& window : layout.windows)
        CountControls(window);
    return 0;
}
