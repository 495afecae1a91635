#include "core/HexText.h"

namespace
{
char HexDigit(uint32_t value)
{
    return value < 16 ? "0123456789abcdef"[value] : '*';
}
} // namespace

void FormatHex32(uint32_t value, char* digits)
{
    for (int i = 0; i < 8; ++i)
        digits[i] = HexDigit((value >> (28 - 4 * i)) & 0xF);
}

void FormatHex32Reversed(uint32_t value, char* digits)
{
    for (int byte = 0; byte < 4; ++byte)
    {
        uint32_t bits = (value >> (8 * byte)) & 0xFF;
        digits[2 * byte] = HexDigit(bits >> 4);
        digits[2 * byte + 1] = HexDigit(bits & 0xF);
    }
}
