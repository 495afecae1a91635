// Every definition file under data/ must parse to its end: the grammar drops a
// broken block and everything after it without a word, so a slip in one line would
// silently empty the rest of a file.

#include "core/DataTree.h"
#include "core/DataTreeParser.h"
#include "core/FileBytes.h"
#include "core/TextRoutines.h"
#include "core/Utf8Text.h"
#include "tools/tesstool/DataCheck.h"

namespace
{
void CheckDataTrees(CDataCheckReport& report)
{
    for (const std::string& file : ListDataFiles(".txt"))
    {
        if (IsFontGlyphTable(file))
            continue;
        std::vector<uint8_t> bytes;
        if (!ReadFileBytes(file.c_str(), bytes))
        {
            report.Add(file, 0, "cannot be read");
            continue;
        }
        report.NoteChecked(file);
        std::u16string text = DecodeDataText(bytes.data(), bytes.size());
        SDataParseState state;
        state.textStart = text.c_str();
        const char16_t* cursor = text.c_str();
        while (*SkipBlanksAndCommentsW(cursor) != 0)
        {
            const char16_t* at = SkipBlanksAndCommentsW(cursor);
            if (ParseDataNode(cursor, 0, state))
                continue;
            size_t nameLength = TokenLengthW(at);
            std::string name = Utf16ToUtf8(std::u16string(at, nameLength > 32 ? 32 : nameLength));
            report.Add(file, GetDataTextLine(state, at),
                       "block \"" + name + "\" does not parse; it and everything after it are lost");
            break;
        }
    }
}

CDataChecker s_dataTrees("data trees", &CheckDataTrees);
} // namespace
