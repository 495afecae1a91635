// Sequences "data/**/*.cas": each as the game would play it, with the sprites and
// samples it names read from the program folder and its packs, and its key lines
// looked up in the string table (tools/tesstool/CasCheck.h); and every sequence of the
// director's table, which the screens play as their backdrops and pictures.

#include "core/StringTable.h"
#include "frontend/SequenceTable.h"
#include "tools/tesstool/CasCheck.h"
#include "tools/tesstool/DataCheck.h"
#include "utility/source/QelFile.h"
#include "utility/source/QelPackArchive.h"

namespace
{
// A screen asks for its sequence by the table's path and only logs when it is missing.
void CheckTableSequences(CDataCheckReport& report)
{
    for (int index = 0; index < SEQUENCE_COUNT; ++index)
    {
        const SSequenceEntry* entry = GetSequenceEntry(index);
        if (entry && entry->path && !FileExists("", entry->path))
            report.Add(MakeReportName(entry->path), 0,
                       "sequence " + std::to_string(index) + " of the director's table is not there");
    }
}

void CheckSequences(CDataCheckReport& report)
{
    const bool mounted = !g_packArchive && InitPackArchive();
    CStringTable strings;
    const bool haveStrings = strings.Load(STRING_TABLE_PATH) && strings.SelectLanguage(0);
    CheckTableSequences(report);
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
