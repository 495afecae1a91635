#include "core/DialogForm.h"

namespace
{
// Room for a check mark or radio circle and the text beside it, in the dialog
// font's cells (12 x 16 pixels).
constexpr int CELL_WIDTH = 12;
constexpr int ROW_HEIGHT = 24;

int TextWidth(const char* text)
{
    int count = 0;
    while (text[count])
        ++count;
    return count * CELL_WIDTH;
}
} // namespace

CDialogForm::CDialogForm(const char* name, const char* caption, int width, int height)
    : m_name(name), m_caption(caption), m_width(width), m_height(height)
{
}

SDialogControl& CDialogForm::Add(EDialogControlKind kind, int id, int x, int y, int width, int height,
                                 const char* text)
{
    SDialogControl control;
    control.id = id;
    control.kind = kind;
    control.text = text;
    control.x = x;
    control.y = y;
    control.width = width;
    control.height = height;
    m_controls.push_back(control);
    return m_controls.back();
}

SDialogControl& CDialogForm::AddLabel(int x, int y, const char* text)
{
    return Add(EDialogControlKind::Label, -1, x, y, TextWidth(text), ROW_HEIGHT, text);
}

SDialogControl& CDialogForm::AddButton(int id, int x, int y, int width, const char* text, const char* answer)
{
    SDialogControl& control = Add(EDialogControlKind::Button, id, x, y, width, ROW_HEIGHT + 8, text);
    control.answer = answer;
    return control;
}

SDialogControl& CDialogForm::AddCheckBox(int id, int x, int y, const char* text)
{
    return Add(EDialogControlKind::CheckBox, id, x, y, ROW_HEIGHT + TextWidth(text), ROW_HEIGHT, text);
}

SDialogControl& CDialogForm::AddRadioButton(int id, int group, int x, int y, const char* text)
{
    SDialogControl& control =
        Add(EDialogControlKind::RadioButton, id, x, y, ROW_HEIGHT + TextWidth(text), ROW_HEIGHT, text);
    control.group = group;
    return control;
}

SDialogControl& CDialogForm::AddComboBox(int id, int x, int y, int width, const std::vector<std::string>& items)
{
    SDialogControl& control = Add(EDialogControlKind::ComboBox, id, x, y, width, ROW_HEIGHT, "");
    control.items = items;
    return control;
}

SDialogControl* CDialogForm::Find(int id)
{
    for (SDialogControl& control : m_controls)
    {
        if (control.id == id && control.kind != EDialogControlKind::Label)
            return &control;
    }
    return nullptr;
}

const SDialogControl* CDialogForm::Find(int id) const
{
    return const_cast<CDialogForm*>(this)->Find(id);
}

bool CDialogForm::IsChecked(int id) const
{
    const SDialogControl* control = Find(id);
    return control && control->checked;
}

void CDialogForm::SetChecked(int id, bool checked)
{
    SDialogControl* control = Find(id);
    if (!control)
        return;
    if (control->kind == EDialogControlKind::RadioButton && checked)
    {
        for (SDialogControl& other : m_controls)
        {
            if (other.kind == EDialogControlKind::RadioButton && other.group == control->group)
                other.checked = false;
        }
    }
    control->checked = checked;
}

int CDialogForm::GetSelection(int id) const
{
    const SDialogControl* control = Find(id);
    return control ? control->selection : -1;
}

void CDialogForm::Select(int id, int index)
{
    SDialogControl* control = Find(id);
    if (control && control->kind == EDialogControlKind::ComboBox && index >= 0 &&
        index < static_cast<int>(control->items.size()))
        control->selection = index;
}
