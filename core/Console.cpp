#include "core/Console.h"

#include "core/ConsoleRegistrations.h"
#include "core/ConsoleValueParse.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>
#include <strings.h>

CConsole* g_console = nullptr;

namespace
{
const char* SkipBlanks(const char* text)
{
    while (*text == ' ')
        ++text;
    return text;
}

// The text up to the next blank; `rest` is left on that blank (or the end).
std::string TakeToken(const char* text, const char*& rest)
{
    const char* end = text;
    while (*end && *end != ' ')
        ++end;
    rest = end;
    return std::string(text, static_cast<size_t>(end - text));
}

bool StartsWithNoCase(const char* text, const char* prefix)
{
    return strncasecmp(text, prefix, std::strlen(prefix)) == 0;
}

// A typed name matches a registered one when it equals its first characters,
// ignoring case. An empty name would match everything, so it matches nothing.
bool MatchesPrefix(const std::string& registered, const std::string& typed)
{
    return !typed.empty() && typed.size() <= registered.size() &&
           strncasecmp(registered.c_str(), typed.c_str(), typed.size()) == 0;
}
} // namespace

CConsole::CConsole() = default;

CConsole::~CConsole()
{
    // Holders that outlive the console have nothing left to take out.
    for (CConsoleRegistrations* holder : m_holders)
        holder->m_console = nullptr;
}

bool CConsole::AttachRegistrations(CConsoleRegistrations* holder)
{
    try
    {
        m_holders.push_back(holder);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    return true;
}

void CConsole::DetachRegistrations(CConsoleRegistrations* holder)
{
    m_holders.erase(std::remove(m_holders.begin(), m_holders.end(), holder), m_holders.end());
}

bool CConsole::RegisterFunction(const char* name, ConsoleFunction callback, void* userData, const void* owner)
{
    if (!name || !*name || !callback)
        return false;
    try
    {
        m_functions.push_back(SConsoleFunction {userData, name, callback, owner});
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    return true;
}

bool CConsole::RegisterVariable(const char* name, void* pointer, int type, const void* owner)
{
    if (!name || !*name || !pointer)
        return false;
    try
    {
        m_variables.push_back(SConsoleVariable {name, pointer, type, owner});
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    return true;
}

int CConsole::UnregisterOwner(const void* owner)
{
    if (!owner)
        return 0;
    size_t before = m_functions.size() + m_variables.size();
    m_functions.erase(std::remove_if(m_functions.begin(), m_functions.end(),
                                     [owner](const SConsoleFunction& f) { return f.owner == owner; }),
                      m_functions.end());
    m_variables.erase(std::remove_if(m_variables.begin(), m_variables.end(),
                                     [owner](const SConsoleVariable& v) { return v.owner == owner; }),
                      m_variables.end());
    return static_cast<int>(before - m_functions.size() - m_variables.size());
}

void CConsole::Printf(const char* format, ...)
{
    char text[LINE_SIZE];
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    if (written < 0)
        text[0] = '\0';
    AddLine(text);
}

void CConsole::AddLine(const char* text)
{
    int slot;
    if (m_lineCount == LINE_COUNT)
    {
        slot = m_oldest;
        m_oldest = (m_oldest + 1) % LINE_COUNT;
    }
    else
    {
        slot = (m_oldest + m_lineCount) % LINE_COUNT;
        ++m_lineCount;
    }
    std::snprintf(m_lines[slot], LINE_SIZE, "%s", text);
    if (m_echo)
        std::fprintf(stderr, "%s\n", m_lines[slot]);
}

const char* CConsole::GetLine(int index) const
{
    if (index < 0 || index >= m_lineCount)
        return nullptr;
    return m_lines[(m_oldest + index) % LINE_COUNT];
}

bool CConsole::OnKeyPressed(uint32_t keyCode)
{
    if (keyCode != TOGGLE_KEY_CODE)
        return false;
    m_open = !m_open;
    return true;
}

void CConsole::KeyChar(int character)
{
    if (!m_open)
        return;
    if (character >= 32 && character <= 127 && character != '`')
    {
        if (m_inputLength < INPUT_SIZE - 1)
        {
            m_input[m_inputLength++] = static_cast<char>(character);
            m_input[m_inputLength] = '\0';
        }
    }
    else if (character == 8)
    {
        if (m_inputLength > 0)
            m_input[--m_inputLength] = '\0';
    }
    else if (character == 13)
    {
        std::string line(m_input, static_cast<size_t>(m_inputLength));
        m_inputLength = 0;
        m_input[0] = '\0';
        ExecuteLine(line.c_str());
    }
}

void CConsole::ExecuteLine(const char* line)
{
    // The typed text is data, never a format.
    Printf("%s", line);
    if (*line)
        Interpret(line);
}

void CConsole::Interpret(const char* line)
{
    if (StartsWithNoCase(line, "/set "))
        SetVariable(line + 5);
    else if (StartsWithNoCase(line, "/show "))
        ShowVariable(line + 6);
    else if (StartsWithNoCase(line, "/listvars"))
        ListVariables();
    else if (StartsWithNoCase(line, "/listfuncs"))
        ListFunctions();
    else
        RunCommand(line);
}

const SConsoleVariable* CConsole::FindVariable(const std::string& typedName) const
{
    for (const SConsoleVariable& variable : m_variables)
    {
        if (MatchesPrefix(variable.name, typedName))
            return &variable;
    }
    return nullptr;
}

void CConsole::SetVariable(const char* arguments)
{
    const char* rest = nullptr;
    std::string name = TakeToken(SkipBlanks(arguments), rest);
    std::string value = TakeToken(SkipBlanks(rest), rest);
    const SConsoleVariable* variable = FindVariable(name);
    if (!variable)
    {
        Printf("Unknown variable - %s", name.c_str());
        return;
    }
    // A value that does not parse leaves the variable as it was.
    switch (variable->type)
    {
    case CONSOLE_VAR_BOOL:
        ParseConsoleBool(value.c_str(), *static_cast<bool*>(variable->pointer));
        break;
    case CONSOLE_VAR_INT:
        ParseConsoleInt(value.c_str(), *static_cast<int32_t*>(variable->pointer));
        break;
    case CONSOLE_VAR_UINT:
        ParseConsoleUnsigned(value.c_str(), *static_cast<uint32_t*>(variable->pointer));
        break;
    case CONSOLE_VAR_FLOAT:
        ParseConsoleFloat(value.c_str(), *static_cast<float*>(variable->pointer));
        break;
    default:
        break;
    }
}

void CConsole::ShowVariable(const char* arguments)
{
    const char* rest = nullptr;
    std::string name = TakeToken(SkipBlanks(arguments), rest);
    const SConsoleVariable* variable = FindVariable(name);
    if (!variable)
    {
        Printf("Unknown variable - %s", name.c_str());
        return;
    }
    const char* shown = variable->name.c_str();
    switch (variable->type)
    {
    case CONSOLE_VAR_BOOL:
        Printf("%s = <boolean>%s", shown, *static_cast<const bool*>(variable->pointer) ? "true" : "false");
        break;
    case CONSOLE_VAR_INT:
        Printf("%s = <int>%d", shown, *static_cast<const int32_t*>(variable->pointer));
        break;
    case CONSOLE_VAR_UINT:
        Printf("%s = <uint>%u", shown, *static_cast<const uint32_t*>(variable->pointer));
        break;
    case CONSOLE_VAR_FLOAT:
        Printf("%s = <float>%f", shown, static_cast<double>(*static_cast<const float*>(variable->pointer)));
        break;
    default:
        break;
    }
}

void CConsole::ListVariables()
{
    for (const SConsoleVariable& variable : m_variables)
    {
        const char* name = variable.name.c_str();
        switch (variable.type)
        {
        case CONSOLE_VAR_BOOL:
            Printf("Var - %s : type - <boolean> : value = %s", name,
                   *static_cast<const bool*>(variable.pointer) ? "true" : "false");
            break;
        case CONSOLE_VAR_INT:
            Printf("Var - %s : type - <int> : value = %d", name, *static_cast<const int32_t*>(variable.pointer));
            break;
        case CONSOLE_VAR_FLOAT:
            Printf("Var - %s : type - <float> : value = %f", name,
                   static_cast<double>(*static_cast<const float*>(variable.pointer)));
            break;
        default:
            break; // unsigned variables are not listed
        }
    }
}

void CConsole::ListFunctions()
{
    for (const SConsoleFunction& function : m_functions)
        Printf("Function - %s", function.name.c_str());
}

void CConsole::RunCommand(const char* line)
{
    const char* rest = nullptr;
    std::string token = TakeToken(line, rest);
    for (const SConsoleFunction& function : m_functions)
    {
        if (MatchesPrefix(function.name, token))
        {
            // The command may change the registry (its owner may go): nothing of the
            // record is used once it runs.
            ConsoleFunction callback = function.callback;
            callback(function.userData, SkipBlanks(rest));
            return;
        }
    }
    Printf("unknown command \"%s\"", token.c_str());
}
