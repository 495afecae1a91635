#include "utility/source/QelErrorLog.h"

#include <cstdio>

CErrorLog g_errorLog;

bool CErrorLog::AddListener(ErrorLogListener listener, uint32_t userValue)
{
    std::lock_guard<std::mutex> hold(m_lock);
    for (SListener& slot : m_listeners)
    {
        if (!slot.m_function)
        {
            slot.m_function = listener;
            slot.m_userValue = userValue;
            return true;
        }
    }
    return false;
}

void CErrorLog::RemoveListener(ErrorLogListener listener, uint32_t userValue)
{
    std::lock_guard<std::mutex> hold(m_lock);
    for (SListener& slot : m_listeners)
        if (slot.m_function == listener && slot.m_userValue == userValue)
            slot = SListener();
}

void CErrorLog::Report(const char* text)
{
    // Held while the listeners run: the text buffer is shared by all reporters.
    std::lock_guard<std::mutex> hold(m_lock);
    ++m_state;
    std::snprintf(m_text, sizeof(m_text), "Error:   %s", text ? text : "");
    for (const SListener& slot : m_listeners)
        if (slot.m_function)
            slot.m_function(m_text, slot.m_userValue);
}
