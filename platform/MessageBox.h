#pragma once
// Message boxes. The text always goes to standard error too, so it is never lost
// when no display is there or when an automated run answers the dialogs.

enum class EMessageIcon
{
    Information,
    Error,
};

void ShowMessageBox(const char* caption, const char* text, EMessageIcon icon);

// True when a window can be shown where a person sees it: a display exists, the
// video driver is a real one, and no script answers the dialogs.
bool CanShowWindows();
