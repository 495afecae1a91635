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

// The whole token as a number of the type; from_chars reports values out of range.
template <typename T>
bool ParseWholeNumber(const char* text, T& value)
{
    const char* end = text + std::strlen(text);
    T parsed = 0;
    auto result = std::from_chars(text, end, parsed);
    if (result.ec != std::errc() || result.ptr != end)
        return false;
    value = parsed;
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
    // from_chars takes no "+".
    return AllDigits(digits) && ParseWholeNumber(*text == '+' ? text + 1 : text, value);
}

bool ParseConsoleUnsigned(const char* text, uint32_t& value)
{
    return AllDigits(text) && ParseWholeNumber(text, value);
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
