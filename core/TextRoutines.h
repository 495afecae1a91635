#pragma once
// Small routines over 8-bit text and 16-bit (UTF-16) "wide" text, shared by the
// data-tree reader, the string table and the GUI. Every routine stops at a
// terminator and never writes past the buffer size it is given.

#include <cstddef>
#include <cstdint>

// 8-bit text widens byte by byte with sign extension, so 0x80..0xFF become the
// units 0xFF80..0xFFFF on every platform, whatever the signedness of char.
inline char16_t WidenChar(char c)
{
    return static_cast<char16_t>(static_cast<int16_t>(static_cast<int8_t>(c)));
}

// Units of 128 and above have no 8-bit form and become spaces.
inline char NarrowChar(char16_t unit)
{
    return unit < 128 ? static_cast<char>(unit) : ' ';
}

// a-z folded to A-Z; every other unit as it is.
inline char16_t FoldUnit(char16_t unit)
{
    return (unit >= u'a' && unit <= u'z') ? static_cast<char16_t>(unit - (u'a' - u'A')) : unit;
}

inline bool IsDigitUnit(char16_t unit)
{
    return unit >= u'0' && unit <= u'9';
}

inline bool IsAsciiLetterUnit(char16_t unit)
{
    return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z');
}

// The units that end a name or a token: NUL, tab, LF, CR and space.
inline bool IsTokenEnd(char16_t unit)
{
    return unit == 0 || unit == u'\t' || unit == u'\n' || unit == u'\r' || unit == u' ';
}

// Units up to the terminator.
size_t WideLength(const char16_t* text);

// Copies at most size units including the terminator (the result is always
// terminated when size > 0).
void WidenText(const char* text, char16_t* wide, size_t size);
void NarrowText(const char16_t* wide, char* text, size_t size);

// -1, 0 or 1 over at most n units; the NoCase form folds a-z to A-Z.
int CompareWideN(const char16_t* a, const char16_t* b, size_t n);
int CompareWideNoCaseN(const char16_t* a, const char16_t* b, size_t n);

// Terminated copies into a buffer of size units; false when the text was cut.
bool CopyWide(char16_t* destination, size_t size, const char16_t* source);
bool AppendWideText(char16_t* destination, size_t size, const char16_t* source);

// Units up to NUL, tab, LF, CR or space.
size_t TokenLengthW(const char16_t* text);

// Optional sign, then decimal digits up to the first non-digit; false when no
// digit was read. Values beyond 32 bits wrap instead of overflowing.
bool ParseInt(const char* text, int32_t& out);
bool ParseIntW(const char16_t* text, int32_t& out);
// Decimal digits only, no sign.
bool ParseUInt(const char* text, uint32_t& out);
bool ParseUIntW(const char16_t* text, uint32_t& out);
// The first five units: a case-insensitive prefix "true" or "yes" gives true,
// "false" or "no" gives false; anything else fails.
bool ParseBoolW(const char16_t* text, bool& out);
bool ParseBool(const char* text, bool& out);
// Optional sign, digits, then optionally "." and fraction digits and, only after
// a fraction, "e" or "E" with a signed exponent. Never fails; text without digits
// gives 0. With end given, it receives the unit after the number and
// exponentDigits tells whether an exponent marker had digits after it.
float ParseFloatW(const char16_t* text, const char16_t** end = nullptr, bool* exponentOk = nullptr);
float ParseFloat(const char* text, const char** end = nullptr, bool* exponentOk = nullptr);
// Like the C library's "%f" conversion, but always with "." as the decimal point:
// blanks are skipped, then a decimal or "inf"/"nan" number is read. False when
// nothing converts.
bool ScanFloat(const char* text, float& out, const char** end);

// Skips tab, LF, CR, space and "//" comments (to the end of their line).
const char* SkipBlanksAndComments(const char* text);
const char16_t* SkipBlanksAndCommentsW(const char16_t* text);

// The value text up to the first "//" with trailing spaces, tabs and terminators
// removed; an empty or all-blank text keeps its first unit. Gives the number of
// units of the trimmed text before the terminator; the copy is always terminated.
size_t TrimmedValueLengthW(const char16_t* text, size_t length);
size_t CopyTrimmedValueW(char16_t* destination, size_t size, const char16_t* source);
size_t CopyTrimmedValue(char* destination, size_t size, const char* source);

// Locale-independent number text: "%i" and "%f" (six decimals).
void FormatInt(int32_t value, char* buffer, size_t size);
void FormatFloat(float value, char* buffer, size_t size);
