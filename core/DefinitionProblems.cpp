#include "core/DefinitionProblems.h"

#include "core/Console.h"
#include "core/DataTree.h"
#include "core/Utf8Text.h"

#include <cstdio>
#include <cstdlib>

void CDefinitionProblems::Add(uint32_t line, bool fatal, const char* format, va_list arguments)
{
    char text[512];
    std::vsnprintf(text, sizeof(text), format, arguments);
    SDefinitionProblem problem;
    problem.line = line;
    problem.fatal = fatal;
    problem.text = text;
    m_problems.push_back(problem);
}

void CDefinitionProblems::AddFatal(const CDataNode* near, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    Add(near ? near->GetLine() : 0, true, format, arguments);
    va_end(arguments);
}

void CDefinitionProblems::AddWarning(const CDataNode* near, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    Add(near ? near->GetLine() : 0, false, format, arguments);
    va_end(arguments);
}

void CDefinitionProblems::AddAtLine(uint32_t line, bool fatal, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    Add(line, fatal, format, arguments);
    va_end(arguments);
}

void CDefinitionProblems::AddMissingKey(const CDataNode* block, const char* key)
{
    std::string name = block ? Utf16ToUtf8(block->GetName()) : std::string();
    AddFatal(block, "missing key \"%s\" in block \"%s\"", key, name.c_str());
}

bool CDefinitionProblems::HasFatal() const
{
    for (const SDefinitionProblem& problem : m_problems)
        if (problem.fatal)
            return true;
    return false;
}

std::string CDefinitionProblems::Describe(const char* file) const
{
    std::string text;
    for (const SDefinitionProblem& problem : m_problems)
    {
        text += file ? file : "?";
        text += ":" + std::to_string(problem.line) + ": " + problem.text + "\n";
    }
    return text;
}

void EndOnBrokenDefinition(const char* file, const CDefinitionProblems& problems)
{
    std::string text = problems.Describe(file);
    if (text.empty())
        text = std::string(file ? file : "?") + ":0: broken definition\n";
    std::fprintf(stderr, "%s", text.c_str());
    std::fflush(stderr);
    if (g_console)
        g_console->Printf("Broken definition in %s", file ? file : "?");
    std::exit(1);
}
