#include "frontend/ScreenLayout.h"

#include "core/StringTable.h"
#include "presentation/GuiButton.h"
#include "presentation/GuiControl.h"
#include "presentation/GuiEditBox.h"
#include "presentation/GuiListButton.h"
#include "presentation/GuiManager.h"
#include "presentation/GuiTextBox.h"


std::u16string LookUpText(uint32_t stringId)
{
    const CWString* text = nullptr;
    if (!g_stringTable || !g_stringTable->GetText(stringId, text) || !text)
        return std::u16string();
    return std::u16string(text->GetText());
}

bool CScreenLayout::Load(const char* file, int32_t owner)
{
    Destroy();
    return g_gui && g_gui->LoadLayout(file, owner, &m_handles);
}

void CScreenLayout::Destroy()
{
    if (g_gui)
        for (int handle : m_handles)
        {
            CGuiControl* control = g_gui->GetControl(handle);
            if (control && !control->GetParent())
                g_gui->DestroyControl(handle);
        }
    m_handles.clear();
}

int CScreenLayout::FindHandle(int controlId) const
{
    return g_gui ? g_gui->FindControlInLayout(m_handles, controlId) : -1;
}

CGuiControl* CScreenLayout::Find(int controlId) const
{
    const int handle = FindHandle(controlId);
    return handle >= 0 ? g_gui->GetControl(handle) : nullptr;
}

CGuiListButton* CScreenLayout::FindList(int controlId) const
{
    CGuiControl* control = Find(controlId);
    return control && control->GetType() == GUI_TYPE_LIST_BUTTON ? static_cast<CGuiListButton*>(control) : nullptr;
}

void CScreenLayout::SetVisible(int controlId, bool visible) const
{
    if (CGuiControl* control = Find(controlId))
        control->SetVisible(visible);
}

void CScreenLayout::SetEnabled(int controlId, bool enabled) const
{
    if (CGuiControl* control = Find(controlId))
        control->SetEnabled(enabled);
}

bool CScreenLayout::IsVisible(int controlId) const
{
    CGuiControl* control = Find(controlId);
    return control && control->IsVisible();
}

bool CScreenLayout::IsEnabled(int controlId) const
{
    CGuiControl* control = Find(controlId);
    return control && control->IsEnabled();
}

bool CScreenLayout::Focus(int controlId) const
{
    const int handle = FindHandle(controlId);
    return handle >= 0 && g_gui->SetFocus(handle);
}

void CScreenLayout::SetText(int controlId, const std::u16string& text) const
{
    CGuiControl* control = Find(controlId);
    if (!control)
        return;
    switch (control->GetType())
    {
    case GUI_TYPE_BUTTON:
        static_cast<CGuiButton*>(control)->SetCaptionWide(text.c_str());
        break;
    case GUI_TYPE_STATIC_TEXT:
        static_cast<CGuiStaticText*>(control)->SetTextWide(text.c_str());
        break;
    case GUI_TYPE_TEXT_BOX:
        static_cast<CGuiTextBox*>(control)->SetTextWide(text.c_str());
        break;
    case GUI_TYPE_EDIT_BOX:
        static_cast<CGuiEditBox*>(control)->SetTextWide(text.c_str());
        break;
    default:
        break;
    }
}

// By id, the text follows the string table (and the pilot's name) as the control's
// own texts do.
void CScreenLayout::SetTextById(int controlId, uint32_t stringId) const
{
    CGuiControl* control = Find(controlId);
    if (!control)
        return;
    switch (control->GetType())
    {
    case GUI_TYPE_BUTTON:
        static_cast<CGuiButton*>(control)->SetCaptionById(stringId);
        break;
    case GUI_TYPE_STATIC_TEXT:
        static_cast<CGuiStaticText*>(control)->SetTextById(stringId);
        break;
    case GUI_TYPE_TEXT_BOX:
        static_cast<CGuiTextBox*>(control)->SetTextById(stringId);
        break;
    default:
        SetText(controlId, LookUpText(stringId));
        break;
    }
}

std::u16string CScreenLayout::GetText(int controlId) const
{
    CGuiControl* control = Find(controlId);
    if (!control)
        return std::u16string();
    switch (control->GetType())
    {
    case GUI_TYPE_BUTTON:
        return static_cast<CGuiButton*>(control)->GetCaption();
    case GUI_TYPE_STATIC_TEXT:
        return static_cast<CGuiStaticText*>(control)->GetText();
    default:
        return std::u16string();
    }
}

std::string CScreenLayout::GetEditText(int controlId, size_t size) const
{
    CGuiControl* control = Find(controlId);
    if (!control || control->GetType() != GUI_TYPE_EDIT_BOX || size == 0)
        return std::string();
    std::string text(size, '\0');
    static_cast<CGuiEditBox*>(control)->GetText(&text[0], size);
    text.resize(std::char_traits<char>::length(text.c_str()));
    return text;
}
