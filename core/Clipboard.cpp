#include "core/Clipboard.h"

#include "core/Console.h"
#include "core/TextRoutines.h"

#include <cstdio>
#include <cstring>

namespace
{
CClipboardHook* s_hook = nullptr;

void Report(const char* message)
{
    if (g_console)
        g_console->Printf("%s", message);
    else
        std::fprintf(stderr, "%s\n", message);
}

const char* MessageFor(EClipboardResult result)
{
    switch (result)
    {
    case EClipboardResult::EmptyFailed:
        return "Failed to empty clipboard!";
    case EClipboardResult::NoText:
        return "Failed to get clipboard data, is it really text?";
    default:
        return "Failed to open clipboard!";
    }
}
} // namespace

void SetClipboardHook(CClipboardHook* hook)
{
    s_hook = hook;
}

bool CopyTextToClipboard(const char* text)
{
    if (!s_hook)
    {
        Report(MessageFor(EClipboardResult::OpenFailed));
        return false;
    }
    char block[CLIPBOARD_TEXT_SIZE];
    std::strncpy(block, text, sizeof(block) - 1);
    block[sizeof(block) - 1] = '\0';
    EClipboardResult result = s_hook->SetText(block);
    if (result != EClipboardResult::Ok)
    {
        Report(MessageFor(result));
        return false;
    }
    return true;
}

bool PasteTextFromClipboard(char* buffer)
{
    std::string text;
    EClipboardResult result = s_hook ? s_hook->GetText(text) : EClipboardResult::OpenFailed;
    if (result != EClipboardResult::Ok)
    {
        Report(MessageFor(result));
        return false;
    }
    const char* start = SkipBlanksAndComments(text.c_str());
    std::strncpy(buffer, start, CLIPBOARD_TEXT_SIZE - 1);
    buffer[CLIPBOARD_TEXT_SIZE - 1] = '\0';
    return true;
}
