#include "core/WideFormat.h"

#include "core/TextRoutines.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>

namespace
{
// Widths and precisions come from texts a user may edit: larger ones are taken as
// this, so "%2000000000d" cannot ask for gigabytes (nor overflow while read).
constexpr int FIELD_MAX = 1024;

int AddDigit(int value, char16_t digit)
{
    return value >= FIELD_MAX ? FIELD_MAX : std::min(value * 10 + (digit - u'0'), FIELD_MAX);
}

struct SSpec
{
    bool left = false;
    bool zero = false;
    int width = 0;
    int precision = -1;
};

void Pad(std::u16string& out, const std::u16string& body, const SSpec& spec, bool numeric)
{
    size_t width = spec.width > 0 ? static_cast<size_t>(spec.width) : 0;
    if (body.size() >= width)
    {
        out += body;
        return;
    }
    size_t fill = width - body.size();
    if (spec.left)
        out += body + std::u16string(fill, u' ');
    else if (spec.zero && numeric)
    {
        // Zeros go after the sign.
        size_t sign = (!body.empty() && (body[0] == u'-' || body[0] == u'+')) ? 1 : 0;
        out += body.substr(0, sign) + std::u16string(fill, u'0') + body.substr(sign);
    }
    else
        out += std::u16string(fill, u' ') + body;
}

std::u16string FromAscii(const char* begin, const char* end)
{
    return std::u16string(begin, end);
}

std::u16string IntegerText(long long value, int base, bool upper, int precision)
{
    char digits[32];
    bool negative = value < 0;
    unsigned long long magnitude = negative ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    std::to_chars_result result = std::to_chars(digits, digits + sizeof(digits), magnitude, base);
    std::string text(digits, result.ptr);
    if (upper)
        for (char& c : text)
            c = (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
    if (precision >= 0 && text.size() < static_cast<size_t>(precision))
        text.insert(0, static_cast<size_t>(precision) - text.size(), '0');
    if (negative)
        text.insert(0, 1, '-');
    return FromAscii(text.data(), text.data() + text.size());
}
} // namespace

void FormatWideV(CWString& out, const char16_t* format, va_list args)
{
    std::u16string text;
    for (const char16_t* at = format; *at != 0; ++at)
    {
        if (*at != u'%')
        {
            text += *at;
            continue;
        }
        const char16_t* start = at++;
        SSpec spec;
        for (; *at == u'-' || *at == u'0'; ++at)
            (*at == u'-' ? spec.left : spec.zero) = true;
        for (; IsDigitUnit(*at); ++at)
            spec.width = AddDigit(spec.width, *at);
        if (*at == u'.')
        {
            spec.precision = 0;
            for (++at; IsDigitUnit(*at); ++at)
                spec.precision = AddDigit(spec.precision, *at);
        }
        switch (*at)
        {
        case u'%':
            text += u'%';
            break;
        case u'd':
        case u'i':
            Pad(text, IntegerText(va_arg(args, int), 10, false, spec.precision), spec, true);
            break;
        case u'u':
        case u'x':
        case u'X':
            Pad(text, IntegerText(va_arg(args, unsigned int), *at == u'u' ? 10 : 16, *at == u'X', spec.precision),
                spec, true);
            break;
        case u'c':
            Pad(text, std::u16string(1, static_cast<char16_t>(va_arg(args, int))), spec, false);
            break;
        case u'f':
        {
            char digits[400];
            double value = va_arg(args, double);
            std::to_chars_result result = std::to_chars(digits, digits + sizeof(digits), value,
                                                        std::chars_format::fixed, spec.precision < 0 ? 6 : spec.precision);
            Pad(text, FromAscii(digits, result.ec == std::errc() ? result.ptr : digits), spec, true);
            break;
        }
        case u's':
        {
            const char16_t* wide = va_arg(args, const char16_t*);
            std::u16string body = wide ? std::u16string(wide) : u"(null)";
            if (spec.precision >= 0 && body.size() > static_cast<size_t>(spec.precision))
                body.resize(static_cast<size_t>(spec.precision));
            Pad(text, body, spec, false);
            break;
        }
        case u'S':
        {
            const char* narrow = va_arg(args, const char*);
            std::u16string body;
            for (const char* c = narrow ? narrow : "(null)"; *c != 0; ++c)
                body += WidenChar(*c);
            if (spec.precision >= 0 && body.size() > static_cast<size_t>(spec.precision))
                body.resize(static_cast<size_t>(spec.precision));
            Pad(text, body, spec, false);
            break;
        }
        default:
            // Not a conversion: copy it as it stands (and stop at the terminator).
            text.append(start, at + (*at != 0 ? 1 : 0));
            if (*at == 0)
                --at;
            break;
        }
    }
    out.AssignWideN(text.data(), text.size());
}

void FormatWide(CWString& out, const char16_t* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatWideV(out, format, args);
    va_end(args);
}
