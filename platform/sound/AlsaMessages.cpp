#include "platform/sound/AlsaMessages.h"

#include "platform/DebugOutput.h"

#include <cstdarg>
#include <cstdio>
#include <dlfcn.h>

namespace
{
extern "C" __attribute__((format(printf, 5, 6))) void WriteAlsaMessage(const char* file, int line,
                                                                     const char* function, int,
                                                                     const char* format, ...)
{
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    text[0] = '\0';
    if (format)
        std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    DebugOutput("ALSA %s:%d (%s) %s\n", file ? file : "?", line, function ? function : "?", text);
}

using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using SetAlsaErrorHandler = int (*)(AlsaErrorHandler);
} // namespace

void RouteAlsaMessagesToDebugOutput()
{
    static bool s_done = false;
    if (s_done)
        return;
    s_done = true;
    // The library stays loaded for the life of the process (SDL opens and closes it
    // in turn), so the handler is still in place whenever SDL reaches it.
    void* library = dlopen("libasound.so.2", RTLD_NOW | RTLD_NODELETE);
    if (!library)
        return;
    auto setHandler = reinterpret_cast<SetAlsaErrorHandler>(dlsym(library, "snd_lib_error_set_handler"));
    if (setHandler)
        setHandler(&WriteAlsaMessage);
}
