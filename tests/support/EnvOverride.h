#pragma once
// An environment variable set (or removed, with a null value) for the life of the
// object; the value before comes back when it ends, also after a failed assertion.

#include <string>

class CEnvOverride
{
public:
    CEnvOverride(const char* name, const char* value);
    ~CEnvOverride();
    CEnvOverride(const CEnvOverride&) = delete;
    CEnvOverride& operator=(const CEnvOverride&) = delete;

private:
    std::string m_name;
    std::string m_previous;
    bool m_had = false;
};
