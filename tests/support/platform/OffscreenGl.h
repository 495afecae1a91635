#pragma once
// OpenGL without a display, for tests: SDL's offscreen driver (EGL on Mesa).

#include "core/Console.h"

#include <string>
#include <vector>

// Switches this process to the offscreen driver; false (the reason printed and returned)
// when no OpenGL context can be made on this machine at all.
bool UseOffscreenGl(std::string& reason);

// A console that keeps every line printed to it.
class CCapturingConsole : public CConsole
{
public:
    void Printf(const char* format, ...) override __attribute__((format(printf, 2, 3)));
    bool Holds(const std::string& text) const;
    std::vector<std::string> lines;
};
