#pragma once
// The values a typed "/set" line gives a console variable. Each parser takes the
// whole token or nothing: on failure the output is left untouched.

#include <cstdint>

// Exactly "true" or "false", in any case.
bool ParseConsoleBool(const char* text, bool& value);
// Decimal digits with an optional sign, within the 32-bit range.
bool ParseConsoleInt(const char* text, int32_t& value);
// Decimal digits within the 32-bit range.
bool ParseConsoleUnsigned(const char* text, uint32_t& value);
bool ParseConsoleFloat(const char* text, float& value);
