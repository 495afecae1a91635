#include "core/Utf8Text.h"

#include <cstdint>

bool Utf8ToUtf16(const std::string& utf8, std::u16string& out)
{
    out.clear();
    for (size_t i = 0; i < utf8.size();)
    {
        uint8_t lead = static_cast<uint8_t>(utf8[i]);
        int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
        if (extra < 0 || utf8.size() - i <= static_cast<size_t>(extra))
            return false;
        uint32_t code = extra == 0 ? lead : (lead & (0x3Fu >> extra));
        for (int k = 1; k <= extra; ++k)
        {
            uint8_t next = static_cast<uint8_t>(utf8[i + static_cast<size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3Fu);
        }
        static const uint32_t minimum[4] = {0, 0x80, 0x800, 0x10000};
        if (code < minimum[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        if (code >= 0x10000)
        {
            code -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (code >> 10));
            out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        }
        else
            out += static_cast<char16_t>(code);
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

std::string Utf16ToUtf8(const std::u16string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
    {
        uint32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00u);
        else if (code >= 0xD800 && code <= 0xDFFF)
            code = 0xFFFD;
        if (code < 0x80)
            out += static_cast<char>(code);
        else if (code < 0x800)
        {
            out += static_cast<char>(0xC0 | code >> 6);
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
        else if (code < 0x10000)
        {
            out += static_cast<char>(0xE0 | code >> 12);
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
        else
        {
            out += static_cast<char>(0xF0 | code >> 18);
            out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}
