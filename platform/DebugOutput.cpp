#include "platform/DebugOutput.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace
{
DebugOutputSink s_sink = nullptr;
}

void DebugOutput(const char* format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    if (s_sink)
        s_sink(text);
    else if (std::getenv("TESSAVAR_DEBUG"))
        std::fputs(text, stderr);
}

DebugOutputSink SetDebugOutputSink(DebugOutputSink sink)
{
    DebugOutputSink previous = s_sink;
    s_sink = sink;
    return previous;
}
