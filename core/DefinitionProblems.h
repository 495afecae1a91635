#pragma once
// What a definition reader found wrong in a data tree. Readers add each problem
// with the node it concerns (its line) and go on or give up as their format says;
// the game ends on a broken definition it cannot run without, and `tesstool check`
// lists every problem of every file with file and line.

#include <cstdarg>
#include <cstdint>
#include <string>
#include <vector>

class CDataNode;

struct SDefinitionProblem
{
    uint32_t line = 0;   // 0 when no line is known
    bool fatal = false;  // the game cannot use the definition
    std::string text;
};

class CDefinitionProblems
{
public:
    // A problem that makes the definition unusable (a missing required key).
    void AddFatal(const CDataNode* near, const char* format, ...) __attribute__((format(printf, 3, 4)));
    // A problem the game passes over (an unknown name that makes nothing).
    void AddWarning(const CDataNode* near, const char* format, ...) __attribute__((format(printf, 3, 4)));
    // A problem at a line of the text where no node stands (a block that does not parse).
    void AddAtLine(uint32_t line, bool fatal, const char* format, ...) __attribute__((format(printf, 4, 5)));
    // The usual wording for a required key that is not there.
    void AddMissingKey(const CDataNode* block, const char* key);

    bool IsEmpty() const { return m_problems.empty(); }
    bool HasFatal() const;
    const std::vector<SDefinitionProblem>& GetAll() const { return m_problems; }
    void Clear() { m_problems.clear(); }

    // Every problem as "file:line: text", one a line.
    std::string Describe(const char* file) const;

private:
    void Add(uint32_t line, bool fatal, const char* format, va_list arguments) __attribute__((format(printf, 4, 0)));

    std::vector<SDefinitionProblem> m_problems;
};

// A definition the game cannot run without is broken: prints every problem on the
// error output and the console, and ends the program with a failure status.
[[noreturn]] void EndOnBrokenDefinition(const char* file, const CDefinitionProblems& problems);
