#pragma once
// Hexadecimal text of 32-bit values, lower case, without a terminator.

#include <cstdint>

// Eight digits, most significant first: 0x12AB gives "000012ab".
void FormatHex32(uint32_t value, char* digits);
// The four bytes least significant first, each as two digits: 0x12AB gives "ab120000".
void FormatHex32Reversed(uint32_t value, char* digits);
