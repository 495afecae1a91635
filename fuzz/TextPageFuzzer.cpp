// Text-page files as the game reads them: the first block for language 0 (pages by
// key or id against a small string table, literal lines, pictures), then every
// tag of every text as typing meets it.

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "core/StringTable.h"
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
    if (!ParseDataBytes(data, size, nodes) || nodes.empty() || !nodes[0]->IsBlock())
        return 0;
    STextPageFileDesc desc;
    CDefinitionProblems problems;
    ReadTextPageFile(static_cast<const CDataTree&>(*nodes[0]), 0, nullptr, desc, problems);
    for (const STextPageSource& page : desc.pages)
    {
        ScanTags(page.text);
        for (const std::u16string& line : page.lines)
            ScanTags(line);
    }
    return 0;
}
