#pragma once
// printf-style formatting into UTF-16 text, for string-table texts that carry
// placeholders ("Zone %i", "Welcome back, %s"). Wide formats follow the
// convention of wide printf on the original platform: %s takes UTF-16 text
// (const char16_t*) and %S takes 8-bit text (const char*). Also %d %i %u %x %X
// %c (a UTF-16 unit passed as int) %f and %%, with the flags "-" and "0", a width
// and a precision. Numbers never depend on the process locale. A null text
// prints "(null)"; an unknown conversion is copied as it stands.

#include "core/WString.h"

#include <cstdarg>

void FormatWide(CWString& out, const char16_t* format, ...);
void FormatWideV(CWString& out, const char16_t* format, va_list args);
