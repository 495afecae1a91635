#include "core/TextRoutines.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace
{
inline char16_t Unit(char c)
{
    return WidenChar(c);
}

inline char16_t Unit(char16_t c)
{
    return c;
}

template <typename T>
bool ParseIntT(const T* text, int32_t& out)
{
    bool negative = false;
    if (Unit(*text) == u'-' || Unit(*text) == u'+')
        negative = Unit(*text++) == u'-';
    uint32_t value = 0;
    bool anyDigit = false;
    for (; IsDigitUnit(Unit(*text)); ++text)
    {
        value = value * 10u + static_cast<uint32_t>(Unit(*text) - u'0');
        anyDigit = true;
    }
    if (!anyDigit)
        return false;
    if (negative)
        value = 0u - value;
    out = static_cast<int32_t>(value);
    return true;
}

template <typename T>
bool ParseUIntT(const T* text, uint32_t& out)
{
    uint32_t value = 0;
    bool anyDigit = false;
    for (; IsDigitUnit(Unit(*text)); ++text)
    {
        value = value * 10u + static_cast<uint32_t>(Unit(*text) - u'0');
        anyDigit = true;
    }
    if (!anyDigit)
        return false;
    out = value;
    return true;
}

template <typename T>
bool ParseBoolT(const T* text, bool& out)
{
    char head[6] = {};
    for (int i = 0; i < 5 && Unit(text[i]) != 0; ++i)
        head[i] = static_cast<char>(FoldUnit(static_cast<char16_t>(NarrowChar(Unit(text[i])))));
    if (std::strncmp(head, "TRUE", 4) == 0 || std::strncmp(head, "YES", 3) == 0)
    {
        out = true;
        return true;
    }
    if (std::strncmp(head, "FALSE", 5) == 0 || std::strncmp(head, "NO", 2) == 0)
    {
        out = false;
        return true;
    }
    return false;
}

template <typename T>
float ParseFloatT(const T* text, const T** end, bool* exponentOk)
{
    bool negative = false;
    if (Unit(*text) == u'-' || Unit(*text) == u'+')
        negative = Unit(*text++) == u'-';
    double value = 0.0;
    for (; IsDigitUnit(Unit(*text)); ++text)
        value = value * 10.0 + (Unit(*text) - u'0');
    bool ok = true;
    if (Unit(*text) == u'.')
    {
        ++text;
        double scale = 0.1;
        for (; IsDigitUnit(Unit(*text)); ++text, scale *= 0.1)
            value += (Unit(*text) - u'0') * scale;
        if (Unit(*text) == u'e' || Unit(*text) == u'E')
        {
            ++text;
            bool negativeExponent = false;
            if (Unit(*text) == u'-' || Unit(*text) == u'+')
                negativeExponent = Unit(*text++) == u'-';
            int exponent = 0;
            ok = IsDigitUnit(Unit(*text));
            for (; IsDigitUnit(Unit(*text)); ++text)
                if (exponent < 10000)
                    exponent = exponent * 10 + (Unit(*text) - u'0');
            value *= std::pow(10.0, negativeExponent ? -exponent : exponent);
        }
    }
    if (end)
        *end = text;
    if (exponentOk)
        *exponentOk = ok;
    return static_cast<float>(negative ? -value : value);
}

template <typename T>
const T* SkipBlanksAndCommentsT(const T* text)
{
    for (;;)
    {
        char16_t unit = Unit(*text);
        if (unit == u' ' || unit == u'\t' || unit == u'\r' || unit == u'\n')
            ++text;
        else if (unit == u'/' && Unit(text[1]) == u'/')
        {
            while (Unit(*text) != 0 && Unit(*text) != u'\n')
                ++text;
        }
        else
            return text;
    }
}

// Length of the value text that survives trimming.
template <typename T>
size_t TrimmedLengthT(const T* text, size_t length)
{
    size_t cut = 0;
    while (cut < length && Unit(text[cut]) != 0 && !(Unit(text[cut]) == u'/' && cut + 1 < length && Unit(text[cut + 1]) == u'/'))
        ++cut;
    while (cut > 1 && (Unit(text[cut - 1]) == u' ' || Unit(text[cut - 1]) == u'\t'))
        --cut;
    return cut;
}

// The first length units of text into a buffer of size, cut to fit and terminated.
template <typename T>
void CopyCut(const T* text, size_t length, T* buffer, size_t size)
{
    if (size == 0)
        return;
    size_t copied = length < size - 1 ? length : size - 1;
    std::memcpy(buffer, text, copied * sizeof(T));
    buffer[copied] = 0;
}

template <typename T>
size_t LengthT(const T* text)
{
    size_t length = 0;
    while (Unit(text[length]) != 0)
        ++length;
    return length;
}
} // namespace

size_t WideLength(const char16_t* text)
{
    return LengthT(text);
}

void WidenText(const char* text, char16_t* wide, size_t size)
{
    if (size == 0)
        return;
    size_t i = 0;
    for (; i + 1 < size && text[i] != 0; ++i)
        wide[i] = WidenChar(text[i]);
    wide[i] = 0;
}

void NarrowText(const char16_t* wide, char* text, size_t size)
{
    if (size == 0)
        return;
    size_t i = 0;
    for (; i + 1 < size && wide[i] != 0; ++i)
        text[i] = NarrowChar(wide[i]);
    text[i] = 0;
}

int CompareWideN(const char16_t* a, const char16_t* b, size_t n)
{
    for (size_t i = 0; i < n; ++i)
    {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
        if (a[i] == 0)
            return 0;
    }
    return 0;
}

int CompareWideNoCaseN(const char16_t* a, const char16_t* b, size_t n)
{
    for (size_t i = 0; i < n; ++i)
    {
        char16_t x = FoldUnit(a[i]);
        char16_t y = FoldUnit(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
    return 0;
}

bool CopyWide(char16_t* destination, size_t size, const char16_t* source)
{
    if (size == 0)
        return false;
    destination[0] = 0;
    return AppendWideText(destination, size, source);
}

bool AppendWideText(char16_t* destination, size_t size, const char16_t* source)
{
    size_t at = 0;
    while (at < size && destination[at] != 0)
        ++at;
    if (at >= size)
        return false;
    for (; *source != 0; ++source, ++at)
    {
        if (at + 1 >= size)
        {
            destination[at] = 0;
            return false;
        }
        destination[at] = *source;
    }
    destination[at] = 0;
    return true;
}

size_t TokenLengthW(const char16_t* text)
{
    size_t length = 0;
    while (!IsTokenEnd(text[length]))
        ++length;
    return length;
}

bool ParseInt(const char* text, int32_t& out)
{
    return ParseIntT(text, out);
}

bool ParseIntW(const char16_t* text, int32_t& out)
{
    return ParseIntT(text, out);
}

bool ParseUInt(const char* text, uint32_t& out)
{
    return ParseUIntT(text, out);
}

bool ParseUIntW(const char16_t* text, uint32_t& out)
{
    return ParseUIntT(text, out);
}

bool ParseBoolW(const char16_t* text, bool& out)
{
    return ParseBoolT(text, out);
}

bool ParseBool(const char* text, bool& out)
{
    return ParseBoolT(text, out);
}

float ParseFloatW(const char16_t* text, const char16_t** end, bool* exponentOk)
{
    return ParseFloatT(text, end, exponentOk);
}

float ParseFloat(const char* text, const char** end, bool* exponentOk)
{
    return ParseFloatT(text, end, exponentOk);
}

bool ScanFloat(const char* text, float& out, const char** end)
{
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    const char* start = text;
    if (*start == '+' && start[1] != '-' && start[1] != '+')
        ++start;
    const char* last = start + std::strlen(start);
    float value = 0.0f;
    std::from_chars_result result = std::from_chars(start, last, value, std::chars_format::general);
    if (result.ec == std::errc::invalid_argument)
        return false;
    // Out of range still converts, like "%f", to infinity or zero.
    if (result.ec == std::errc::result_out_of_range)
        value = (*start == '-') ? -HUGE_VALF : HUGE_VALF;
    out = value;
    if (end)
        *end = result.ptr;
    return true;
}

const char* SkipBlanksAndComments(const char* text)
{
    return SkipBlanksAndCommentsT(text);
}

const char16_t* SkipBlanksAndCommentsW(const char16_t* text)
{
    return SkipBlanksAndCommentsT(text);
}

size_t TrimmedValueLengthW(const char16_t* text, size_t length)
{
    return TrimmedLengthT(text, length);
}

size_t CopyTrimmedValueW(char16_t* destination, size_t size, const char16_t* source)
{
    size_t length = TrimmedLengthT(source, LengthT(source));
    CopyCut(source, length, destination, size);
    return length;
}

size_t CopyTrimmedValue(char* destination, size_t size, const char* source)
{
    size_t length = TrimmedLengthT(source, LengthT(source));
    CopyCut(source, length, destination, size);
    return length;
}

void FormatInt(int32_t value, char* buffer, size_t size)
{
    char text[16];
    std::to_chars_result result = std::to_chars(text, text + sizeof(text), value);
    CopyCut(text, static_cast<size_t>(result.ptr - text), buffer, size);
}

void FormatFloat(float value, char* buffer, size_t size)
{
    char text[64];
    std::to_chars_result result = std::to_chars(text, text + sizeof(text), value, std::chars_format::fixed, 6);
    CopyCut(text, result.ec == std::errc() ? static_cast<size_t>(result.ptr - text) : 0, buffer, size);
}
