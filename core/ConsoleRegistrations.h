#pragma once
// What one object put into a console, taken out again when the object goes. An object
// whose console variables point into it (or whose commands reach it through their user
// data) holds one of these as a member and registers through it. Either side may go
// first: a console deleted before the holder forgets it, so nothing reaches freed memory.

#include "core/Console.h"

class CConsoleRegistrations
{
public:
    CConsoleRegistrations() = default;
    ~CConsoleRegistrations();
    CConsoleRegistrations(const CConsoleRegistrations&) = delete;
    CConsoleRegistrations& operator=(const CConsoleRegistrations&) = delete;

    // Registers into `console` (false when it is null or refuses). Registering into
    // another console than before first takes everything out of the earlier one.
    bool AddFunction(CConsole* console, const char* name, ConsoleFunction callback, void* userData);
    bool AddVariable(CConsole* console, const char* name, void* pointer, int type);
    // Takes everything out of the console.
    void RemoveAll();
    // The console that holds the registrations (null: none).
    CConsole* GetConsole() const { return m_console; }

private:
    friend class CConsole;
    bool Attach(CConsole* console);

    CConsole* m_console = nullptr;
};
