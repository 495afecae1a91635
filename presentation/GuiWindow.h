#pragma once
// A GUI window (type 1): a rectangle with an optional frame, caption and close box
// drawn from the skin, and the controls inside it. Top-level windows sit on one of
// the manager's four layers; a child window lives in its parent's child list.
// The window owns its children: closing it closes them.

#include "presentation/GuiControl.h"

#include <string>
#include <vector>

class CGuiWindow;

using GuiWindowCloseCallback = void (*)(CGuiWindow& window, void* user);
// Runs while the window draws, after its frame and before its children.
using GuiWindowDrawCallback = void (*)(CGuiWindow& window, float z, void* user);
// A character that reached the window while it had the focus.
using GuiWindowCharCallback = void (*)(CGuiWindow& window, void* user, uint32_t code);

// What CGuiManager::CreateWindowControl makes a window from.
struct SGuiWindowDesc
{
    int32_t x = 0, y = 0, w = 0, h = 0;
    bool bordered = false;
    bool captioned = false;
    bool clearArea = false;
    bool closeBox = false;
    bool alphaTest = false;
    bool alphaBlend = false;
    bool dummy = false;             // passed over by the pointer walks
    const char* caption = nullptr;  // copied
    int frameIndex = 0;             // skin frame set 0-3 (others give 0)
    int32_t owner = 0;
    GuiWindowCloseCallback closeCallback = nullptr;
    GuiWindowDrawCallback drawCallback = nullptr;
    void* callbackUser = nullptr;   // given to the close and draw callbacks
};

class CGuiWindow : public CGuiControl
{
public:
    // The inner rectangle lies this much lower when a header control is attached.
    static constexpr int HEADER_HEIGHT = 16;

    explicit CGuiWindow(const SGuiWindowDesc& desc);
    ~CGuiWindow() override;

    int GetType() const override { return GUI_TYPE_WINDOW; }
    void Close() override;
    bool PointerPress(const SGuiPoint& point) override;
    bool PointerClick(const SGuiPoint& point) override;
    void PointerMove(const SGuiPoint& point) override;
    bool Draw(float z) override;
    void CharInput(uint32_t code) override;
    bool TakeFocus() override;
    bool FocusChildAt(const SGuiPoint& point) override;
    void RemoveChild(CGuiControl* child) override;
    void SetVisible(bool visible) override;
    void RefreshStrings() override;
    void ResolveSounds() override;

    // Appends a control to the children (drawn and offered input in this order).
    void AddChild(CGuiControl* child);
    const std::vector<CGuiControl*>& GetChildren() const { return m_children; }
    // The rectangle less the border (when bordered), the caption (when captioned) and
    // the header's 16 pixels (when one is attached), in GUI coordinates.
    SGuiRect GetInnerRect() const;
    void SetCharCallback(GuiWindowCharCallback callback, void* user);
    // Tells the close callback, once, that the window leaves the GUI (closed, or
    // removed with every other control).
    void RunCloseCallback();
    // A control drawn before the children, above them (-1 for none).
    void SetHeaderControl(int handle) { m_headerHandle = handle; }

    const std::string& GetCaption() const { return m_caption; }
    int GetLayer() const { return m_layer; }
    void SetLayer(int layer) { m_layer = layer; }
    bool IsDummy() const { return m_dummy; }
    void SetDummy(bool dummy) { m_dummy = dummy; }
    int GetFrameIndex() const { return m_frameIndex; }

private:
    void DrawFrame(const SGuiRect& rect, float z);

    std::vector<CGuiControl*> m_children;
    std::string m_caption;
    GuiWindowCloseCallback m_closeCallback = nullptr;
    GuiWindowDrawCallback m_drawCallback = nullptr;
    void* m_callbackUser = nullptr;
    GuiWindowCharCallback m_charCallback = nullptr;
    void* m_charUser = nullptr;
    int m_headerHandle = -1;
    bool m_bordered = false;
    bool m_captioned = false;
    bool m_clearArea = false;
    bool m_closeBox = false;
    bool m_alphaTest = false;
    bool m_alphaBlend = false;
    bool m_dummy = false;
    bool m_closing = false;
    bool m_closeCallbackRun = false;
    int m_frameIndex = 0;
    int m_layer = -1;
};
