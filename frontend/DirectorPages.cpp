#include "frontend/DirectorPages.h"

#include "core/Console.h"
#include "frontend/ScreenLayout.h"
#include "frontend/ScreenTime.h"
#include "presentation/GuiControl.h"
#include "presentation/GuiManager.h"
#include "presentation/TextPageManager.h"

#include <string>

namespace
{
// The owner value the chat box's controls carry.
constexpr int32_t CHAT_OWNER = 50000;

// The one chat box of the game: its layout, the callback it stood in for, the control
// that had the focus before it, and its own 250 ms gate against a press carried over
// from before it showed.
struct SChatBox
{
    CScreenLayout layout;
    GuiEventCallback savedCallback = nullptr;
    int savedFocus = -1;
    uint32_t gate = 0;
    bool acknowledged = true;
};

SChatBox& GetChatBox()
{
    static SChatBox box;
    return box;
}

void OnChatEvent(int32_t owner, int32_t controlId, int32_t event, int32_t value)
{
    SChatBox& box = GetChatBox();
    if (owner != CHAT_OWNER)
    {
        // Events of other layouts still reach the callback the box stood in for.
        if (box.savedCallback)
            box.savedCallback(owner, controlId, event, value);
        return;
    }
    const uint32_t now = GetScreenTime();
    if (controlId != CDirectorPages::CHAT_OK || event != GUI_EVENT_ACTIVATED || !HasTimeCome(now, box.gate))
        return;
    box.acknowledged = true;
    box.gate = now + CDirectorPages::CHAT_GATE_MS;
    if (g_gui)
        g_gui->SetEventCallback(box.savedCallback);
}
} // namespace

int CDirectorPages::LoadPage(const char* file)
{
    int handle = -1;
    if (!g_textPages || !g_textPages->LoadPage(file, 0, handle))
        return -1;
    return handle;
}

bool CDirectorPages::ShowPage(int handle)
{
    return g_textPages && handle >= 0 && g_textPages->ShowPage(handle, nullptr, 0);
}

bool CDirectorPages::IsPageShowing(int handle) const
{
    return g_textPages && handle >= 0 && g_textPages->IsPageShowing(handle);
}

void CDirectorPages::ReleasePages()
{
    if (g_textPages)
        g_textPages->Destroy();
}

bool CDirectorPages::ShowChatBox(const char* file)
{
    SChatBox& box = GetChatBox();
    CloseChatBox();
    const std::string path = std::string("data\\chat\\") + file;
    if (!box.layout.Load(path.c_str(), CHAT_OWNER) || box.layout.FindHandle(CHAT_WINDOW) < 0)
    {
        box.layout.Destroy();
        if (g_console)
            g_console->Printf("The chat box %s cannot show", path.c_str());
        return false;
    }
    if (box.acknowledged)
    {
        box.savedCallback = g_gui->GetEventCallback();
        box.savedFocus = g_gui->GetFocusHandle();
    }
    box.layout.SetVisible(CHAT_WINDOW, true);
    box.layout.Focus(CHAT_OK);
    box.acknowledged = false;
    box.gate = GetScreenTime() + CHAT_GATE_MS;
    g_gui->SetEventCallback(&OnChatEvent);
    return true;
}

bool CDirectorPages::IsChatBoxAcknowledged() const
{
    return GetChatBox().acknowledged;
}

void CDirectorPages::CloseChatBox()
{
    SChatBox& box = GetChatBox();
    if (box.layout.IsLoaded())
    {
        box.layout.SetVisible(CHAT_WINDOW, false);
        box.layout.Destroy();
        // The screen under the box gets back the control it had in focus (not the
        // first of its layer), while that control still shows.
        const CGuiControl* before = g_gui ? g_gui->GetControl(box.savedFocus) : nullptr;
        if (before && before->IsVisible() && before->IsEnabled())
            g_gui->SetFocus(box.savedFocus);
        box.savedFocus = -1;
    }
    if (!box.acknowledged && g_gui && g_gui->GetEventCallback() == &OnChatEvent)
        g_gui->SetEventCallback(box.savedCallback);
    box.acknowledged = true;
}

CDirectorPages& GetGamePages()
{
    static CDirectorPages pages;
    return pages;
}
