#pragma once
// Short 8-bit texts to and from the system clipboard (hall-of-fame and web codes).
// The platform layer supplies the access through a hook, so the core never sees
// the window system.

#include <cstddef>
#include <string>

constexpr size_t CLIPBOARD_TEXT_SIZE = 128; // bytes with the terminator

enum class EClipboardResult
{
    Ok,
    OpenFailed, // no clipboard to talk to
    EmptyFailed,
    NoText,     // nothing that reads as text
};

class CClipboardHook
{
public:
    virtual ~CClipboardHook() = default;
    virtual EClipboardResult SetText(const char* text) = 0;
    virtual EClipboardResult GetText(std::string& text) = 0;
};

// Installed by the platform layer; null (the default) means no clipboard.
void SetClipboardHook(CClipboardHook* hook);

// At most 127 characters go to the clipboard.
bool CopyTextToClipboard(const char* text);
// Leading blanks and "//" comments are skipped; at most 127 characters and a
// terminator are written into the buffer of 128 bytes.
bool PasteTextFromClipboard(char* buffer);
