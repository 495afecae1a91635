// Sequences "data/**/*.cas": each as the game would play it, with the sprites and
// samples it names read from the program folder and its packs, and its key lines
// looked up in the string table (tools/tesstool/CasCheck.h).

#include "core/StringTable.h"
#include "tools/tesstool/CasCheck.h"
#include "tools/tesstool/DataCheck.h"
#include "utility/source/QelPackArchive.h"

namespace
{
void CheckSequences(CDataCheckReport& report)
{
    const bool mounted = !g_packArchive && InitPackArchive();
    CStringTable strings;
    const bool haveStrings = strings.Load(STRING_TABLE_PATH) && strings.SelectLanguage(0);
    for (const std::string& file : ListDataFiles(".cas"))
    {
        report.NoteChecked(file);
        std::vector<std::string> problems;
        CheckCasSequence(file.c_str(), haveStrings ? &strings : nullptr, problems);
        for (const std::string& problem : problems)
            report.Add(file, 0, problem);
    }
    if (mounted)
        FreePackArchive();
}

CDataChecker s_sequences("sequences", &CheckSequences);
} // namespace
