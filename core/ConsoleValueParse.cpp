#include "core/ConsoleValueParse.h"

#include "core/TextRoutines.h"

#include <cctype>
#include <charconv>
#include <cstring>
#include <strings.h>

namespace
{
bool AllDigits(const char* text)
{
    if (!*text)
        return false;
    for (; *text; ++text)
    {
        if (!std::isdigit(static_cast<unsigned char>(*text)))
            return false;
    }
    return true;
}
} // namespace

bool ParseConsoleBool(const char* text, bool& value)
{
    if (strcasecmp(text, "true") == 0)
        value = true;
    else if (strcasecmp(text, "false") == 0)
        value = false;
    else
        return false;
    return true;
}

bool ParseConsoleInt(const char* text, int32_t& value)
{
    const char* digits = (*text == '-' || *text == '+') ? text + 1 : text;
    if (!AllDigits(digits))
        return false;
    // from_chars takes no "+", and reports values outside the range.
    const char* start = *text == '+' ? text + 1 : text;
    const char* end = text + std::strlen(text);
    int32_t parsed = 0;
    auto result = std::from_chars(start, end, parsed);
    if (result.ec != std::errc() || result.ptr != end)
        return false;
    value = parsed;
    return true;
}

bool ParseConsoleUnsigned(const char* text, uint32_t& value)
{
    if (!AllDigits(text))
        return false;
    const char* end = text + std::strlen(text);
    uint32_t parsed = 0;
    auto result = std::from_chars(text, end, parsed);
    if (result.ec != std::errc() || result.ptr != end)
        return false;
    value = parsed;
    return true;
}

bool ParseConsoleFloat(const char* text, float& value)
{
    // The data trees' number reader, held to the whole token and at least one digit.
    const char* end = nullptr;
    bool exponentOk = true;
    float parsed = ParseFloat(text, &end, &exponentOk);
    if (!end || *end != '\0' || !exponentOk || std::strpbrk(text, "0123456789") == nullptr)
        return false;
    value = parsed;
    return true;
}
