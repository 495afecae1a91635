#pragma once
// `tesstool check DATAFOLDER`: loads the definition files of a data folder through
// the game's own readers and lists every problem with file and line. Each group of
// files has its checker in a file of its own, registered with one line:
//   static CDataChecker s_levels("level files", &CheckLevelFiles);
// Checkers run in the program folder (the one holding data/), so the paths the game
// uses ("data\init1.txt") open as they do in the game.

#include <cstdint>
#include <string>
#include <vector>

class CDefinitionProblems;

class CDataCheckReport
{
public:
    // Problems of a file, as a reader gave them.
    void Add(const std::string& file, const CDefinitionProblems& problems);
    void Add(const std::string& file, uint32_t line, const std::string& text);
    // A file that was read (for the summary).
    void NoteChecked(const std::string& file) { m_checked.push_back(file); }

    size_t CountProblems() const { return m_lines.size(); }
    size_t CountChecked() const { return m_checked.size(); }
    const std::vector<std::string>& GetLines() const { return m_lines; }

private:
    std::vector<std::string> m_lines;
    std::vector<std::string> m_checked;
};

using DataCheckFunction = void (*)(CDataCheckReport& report);

class CDataChecker
{
public:
    CDataChecker(const char* name, DataCheckFunction check);
    static const std::vector<const CDataChecker*>& GetAll();

    const char* m_name;
    DataCheckFunction m_check;
};

// The files below the program folder's "data" folder whose names end with the
// extension (compared without regard to case), as game paths "data/...", sorted.
std::vector<std::string> ListDataFiles(const char* extension);
// A game path ("data\\gui\\x.txt") as the report names files ("data/gui/x.txt").
std::string MakeReportName(std::string path);
// A bitmap font's glyph table ("data/gui/<name>.txt" beside the font's pages), which
// is not a data tree.
bool IsFontGlyphTable(const std::string& file);
