#pragma once
// UTF-8 <-> UTF-16 for tools and terminal output; the game itself keeps text in UTF-16.

#include <string>

// False on malformed UTF-8 (the output then holds what was decoded before it).
bool Utf8ToUtf16(const std::string& utf8, std::u16string& out);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(const std::u16string& text);
