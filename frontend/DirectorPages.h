#pragma once
// What the sequence director shows over the game: typed text pages (the tutorial's
// and the chats') and small chat boxes, layouts whose window 50000 holds an OK button
// 50001. The game's own answers through the text-page manager and the GUI; tests put
// in their own to turn pages and press OK.

#include <cstdint>

class CDirectorPages
{
public:
    static constexpr int CHAT_WINDOW = 50000;
    static constexpr int CHAT_OK = 50001;
    static constexpr uint32_t CHAT_GATE_MS = 250;

    virtual ~CDirectorPages() = default;
    // A page file read into the page manager: its handle, or -1.
    virtual int LoadPage(const char* file);
    // False when the page cannot show (the caller takes it as read).
    virtual bool ShowPage(int handle);
    virtual bool IsPageShowing(int handle) const;
    // Frees every page.
    virtual void ReleasePages();

    // Loads "data\chat\" + file, shows its window and takes the GUI's events until OK;
    // false (nothing shown) when the layout cannot be read or has no window 50000.
    virtual bool ShowChatBox(const char* file);
    // True when no chat box waits for its OK.
    virtual bool IsChatBoxAcknowledged() const;
    virtual void CloseChatBox();
};

// The game's pages and boxes (the process's one instance).
CDirectorPages& GetGamePages();
