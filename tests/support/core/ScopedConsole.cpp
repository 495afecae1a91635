#include "tests/support/core/ScopedConsole.h"

#include <cstring>

CScopedConsole::CScopedConsole() : m_own(std::make_unique<CConsole>()), m_console(m_own.get()), m_previous(g_console)
{
    g_console = m_console;
}

CScopedConsole::CScopedConsole(CConsole& console) : m_console(&console), m_previous(g_console)
{
    g_console = m_console;
}

CScopedConsole::~CScopedConsole()
{
    g_console = m_previous;
}

bool CScopedConsole::Holds(const char* text) const
{
    for (int i = 0; i < m_console->GetLineCount(); ++i)
        if (std::strstr(m_console->GetLine(i), text))
            return true;
    return false;
}
