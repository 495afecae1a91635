#include "frontend/FatalError.h"

#include "core/Console.h"

#include <cstdio>

namespace
{
FatalErrorHandler s_handler = nullptr;
} // namespace

void SetFatalErrorHandler(FatalErrorHandler handler)
{
    s_handler = handler;
}

void ReportFatalError(const char* caption, const char* text)
{
    if (s_handler)
    {
        s_handler(caption, text);
        return;
    }
    if (g_console)
        g_console->Printf("%s: %s", caption, text);
    else
        std::fprintf(stderr, "%s: %s\n", caption, text);
}
