// Text-page files as the game reads them: the first block for language 0 (pages by
// key or id against a small string table, literal lines, pictures), then every
// tag of every text as typing meets it.

#include "core/DefinitionProblems.h"
#include "core/StringTable.h"
#include "fuzz/FuzzBlocks.h"
#include "presentation/TextPageFile.h"

namespace
{
void ScanTags(const std::u16string& text)
{
    for (size_t i = 0; i < text.size();)
    {
        size_t length = 0;
        int32_t image = 0;
        if (FindTextPageTag(text.c_str() + i, text.size() - i, length, image) == TEXT_PAGE_NO_TAG || length == 0)
            ++i;
        else
            i += length;
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CDataNodeList nodes;
    const CDataTree* block = ParseFirstBlock(data, size, nodes);
    if (!block)
        return 0;
    STextPageFileDesc desc;
    CDefinitionProblems problems;
    ReadTextPageFile(*block, 0, nullptr, desc, problems);
    for (const STextPageSource& page : desc.pages)
    {
        ScanTags(page.text);
        for (const std::u16string& line : page.lines)
            ScanTags(line);
    }
    return 0;
}
