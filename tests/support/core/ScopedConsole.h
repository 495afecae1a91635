#pragma once
// g_console for one scope: a console of the test's own (or a fresh one) is put in the
// global and the one before comes back when the scope ends, also when a failed
// assertion leaves the test early.

#include "core/Console.h"

#include <memory>

class CScopedConsole
{
public:
    // A fresh console of the scope's own.
    CScopedConsole();
    // A console the test keeps (a capturing one, say); it must outlive the scope.
    explicit CScopedConsole(CConsole& console);
    ~CScopedConsole();
    CScopedConsole(const CScopedConsole&) = delete;
    CScopedConsole& operator=(const CScopedConsole&) = delete;

    CConsole& Get() const { return *m_console; }
    CConsole* operator->() const { return m_console; }

    // Whether any held line contains `text`.
    bool Holds(const char* text) const;

private:
    std::unique_ptr<CConsole> m_own;
    CConsole* m_console;
    CConsole* m_previous;
};
