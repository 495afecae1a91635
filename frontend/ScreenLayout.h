#pragma once
// One loaded layout of a screen (its page, or a popup): the GUI handles it made, and
// its controls found by control id among them only, so a popup and the page under it
// (or two popups) that use the same ids never find each other's controls. Every use
// goes through the GUI manager by handle: a control that has gone is skipped.

#include <cstdint>
#include <string>
#include <vector>

class CGuiControl;
class CGuiListButton;

class CScreenLayout
{
public:
    CScreenLayout() = default;
    ~CScreenLayout() = default;
    CScreenLayout(const CScreenLayout&) = delete;
    CScreenLayout& operator=(const CScreenLayout&) = delete;

    // Loads the layout file (under the program folder) with the owner value its
    // controls' events carry; its windows start hidden. False when it cannot be
    // read (nothing is made). A layout loaded before is destroyed first.
    bool Load(const char* file, int32_t owner);
    // Closes every window the layout made; the handles are forgotten.
    void Destroy();
    bool IsLoaded() const { return !m_handles.empty(); }

    // The control of the id, or null (not in this layout, or gone).
    CGuiControl* Find(int controlId) const;
    int FindHandle(int controlId) const;
    // The list button of the id, or null (none, or another kind of control).
    CGuiListButton* FindList(int controlId) const;

    void SetVisible(int controlId, bool visible) const;
    void SetEnabled(int controlId, bool enabled) const;
    bool IsVisible(int controlId) const;
    bool IsEnabled(int controlId) const;
    // Gives the control the focus; false when it is missing or refuses.
    bool Focus(int controlId) const;
    // A button's caption or a text's text; other controls are left alone.
    void SetText(int controlId, const std::u16string& text) const;
    void SetTextById(int controlId, uint32_t stringId) const;
    // A button's caption or a text's text as shown ("" for other controls).
    std::u16string GetText(int controlId) const;
    // An edit box's text, at most size - 1 bytes (padding included); "" for any
    // other control.
    std::string GetEditText(int controlId, size_t size) const;

    const std::vector<int>& GetHandles() const { return m_handles; }

private:
    std::vector<int> m_handles;
};

// The string-table text of an id in the selected language ("" when there is none).
std::u16string LookUpText(uint32_t stringId);
