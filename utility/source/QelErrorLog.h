#pragma once
// The utility library's error log: every report is formatted once and handed to
// up to ten listeners (a console, a log box, a test), each with its own user value.

#include <cstdint>
#include <mutex>

using ErrorLogListener = void (*)(const char* text, uint32_t userValue);

class CErrorLog
{
public:
    static constexpr int kMaxListeners = 10;
    static constexpr int kTextSize = 1024;

    // False when all slots are taken.
    bool AddListener(ErrorLogListener listener, uint32_t userValue);
    void RemoveListener(ErrorLogListener listener, uint32_t userValue);

    // Formats "Error:   %s" and calls every listener that is set.
    void Report(const char* text);

private:
    struct SListener
    {
        ErrorLogListener m_function = nullptr;
        uint32_t m_userValue = 0;
    };

    std::mutex m_lock;
    uint32_t m_state = 0;
    char m_text[kTextSize] = {};
    SListener m_listeners[kMaxListeners];
};

extern CErrorLog g_errorLog;
