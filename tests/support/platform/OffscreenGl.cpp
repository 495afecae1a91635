#include "tests/support/platform/OffscreenGl.h"

#include "platform/GameWindow.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

bool UseOffscreenGl(std::string& reason)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    char why[256] = {};
    if (ProbeGlContext(why, sizeof(why)))
        return true;
    reason = std::string("no OpenGL context can be made here: ") + why;
    std::printf("%s\n", reason.c_str());
    return false;
}

void CCapturingConsole::Printf(const char* format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    lines.emplace_back(text);
}

bool CCapturingConsole::Holds(const std::string& text) const
{
    for (const std::string& line : lines)
        if (line == text)
            return true;
    return false;
}
