#pragma once
// The system clipboard through SDL, for the core's clipboard text.

class CClipboardHook;

// The hook to install with SetClipboardHook. It uses SDL's video subsystem and
// starts it when nothing has yet.
CClipboardHook* GetSdlClipboardHook();
