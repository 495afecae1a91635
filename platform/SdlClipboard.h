#pragma once
// The system clipboard through SDL, for the core's clipboard text.

class CClipboardHook;

// The hook to install with SetClipboardHook; it needs SDL's video subsystem,
// which the renderer starts.
CClipboardHook* GetSdlClipboardHook();
