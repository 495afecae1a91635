// Text-page files, every ".txt" under "data/chat/": read for language 0 as the game
// builds them, each picture readable as a TGA image, and every tag of their texts
// one the game acts on: a picture tag must name a picture of the list, and a "["
// with a number that never closes shows as text.

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "core/StringTable.h"
#include "core/Utf8Text.h"
#include "platform/Tga.h"
#include "presentation/TextPageFile.h"
#include "tools/tesstool/DataCheck.h"

#include <strings.h>

namespace
{
bool IsDigit(char16_t unit)
{
    return unit >= u'0' && unit <= u'9';
}

void CheckTags(const std::u16string& text, const STextPageFileDesc& desc, const CDataNode* node,
               CDefinitionProblems& problems)
{
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != u'[')
            continue;
        size_t length = 0;
        int32_t image = 0;
        const ETextPageTag tag = FindTextPageTag(text.c_str() + i, text.size() - i, length, image);
        if (tag == TEXT_PAGE_NO_TAG)
        {
            const size_t next = i + 1 < text.size() && text[i + 1] == u'-' ? i + 2 : i + 1;
            if (next < text.size() && IsDigit(text[next]))
                problems.AddWarning(node, "\"%s\" is no picture tag (it does not close): it shows as text",
                                    Utf16ToUtf8(text.substr(i, 8)).c_str());
            continue;
        }
        i += length - 1;
        if (tag != TEXT_PAGE_IMAGE_TAG || image == -1)
            continue;
        bool listed = false;
        for (const STextPageImageDesc& picture : desc.images)
            listed = listed || picture.id == image;
        if (!listed)
            problems.AddWarning(node, "picture tag [%d] names no picture of \"PrecacheImages\"", static_cast<int>(image));
    }
}

void CheckPageFile(const std::string& file, const CStringTable* strings, CDataCheckReport& report)
{
    CDataTree* tree = nullptr;
    if (!LoadDataTree(file.c_str(), &tree))
    {
        report.NoteChecked(file);
        report.Add(file, 0, "cannot be read as a data tree");
        return;
    }
    // The front end's chat boxes live here too: they are layouts, which the GUI checker reads.
    if (tree->FindBlock("window"))
    {
        FreeDataNode(&tree);
        return;
    }
    report.NoteChecked(file);
    STextPageFileDesc desc;
    CDefinitionProblems problems;
    ReadTextPageFile(*tree, 0, strings, desc, problems);
    for (const STextPageImageDesc& image : desc.images)
    {
        STgaImage picture;
        if (!LoadTga(image.file.c_str(), picture))
            problems.AddFatal(image.node, "picture %d \"%s\" does not read as a TGA image", static_cast<int>(image.id),
                              image.file.c_str());
    }
    for (const STextPageSource& page : desc.pages)
    {
        CheckTags(page.text, desc, page.node, problems);
        for (const std::u16string& line : page.lines)
            CheckTags(line, desc, page.node, problems);
    }
    FreeDataNode(&tree);
    report.Add(file, problems);
}

void CheckTextPageFiles(CDataCheckReport& report)
{
    CStringTable strings;
    const bool haveStrings = strings.Load(STRING_TABLE_PATH) && strings.SelectLanguage(0);
    for (const std::string& file : ListDataFiles(".txt"))
        if (strncasecmp(file.c_str(), "data/chat/", 10) == 0)
            CheckPageFile(file, haveStrings ? &strings : nullptr, report);
}

CDataChecker s_textPages("text pages", &CheckTextPageFiles);
} // namespace
