#include "core/ConsoleRegistrations.h"

CConsoleRegistrations::~CConsoleRegistrations()
{
    RemoveAll();
}

bool CConsoleRegistrations::Attach(CConsole* console)
{
    if (!console)
        return false;
    if (m_console != console)
    {
        RemoveAll();
        if (!console->AttachRegistrations(this))
            return false;
        m_console = console;
    }
    return true;
}

bool CConsoleRegistrations::AddFunction(CConsole* console, const char* name, ConsoleFunction callback,
                                        void* userData)
{
    return Attach(console) && console->RegisterFunction(name, callback, userData, this);
}

bool CConsoleRegistrations::AddVariable(CConsole* console, const char* name, void* pointer, int type)
{
    return Attach(console) && console->RegisterVariable(name, pointer, type, this);
}

void CConsoleRegistrations::RemoveAll()
{
    if (!m_console)
        return;
    m_console->UnregisterOwner(this);
    m_console->DetachRegistrations(this);
    m_console = nullptr;
}
