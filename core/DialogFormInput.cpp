#include "core/DialogFormInput.h"

namespace
{
bool IsFocusable(const SDialogControl& control)
{
    return control.kind != EDialogControlKind::Label;
}

bool Inside(int x, int y, int left, int top, int width, int height)
{
    return x >= left && x < left + width && y >= top && y < top + height;
}
} // namespace

CDialogFormInput::CDialogFormInput(CDialogForm& form) : m_form(form)
{
    const std::vector<SDialogControl>& controls = m_form.GetControls();
    for (size_t i = 0; i < controls.size() && m_focus < 0; ++i)
    {
        if (IsFocusable(controls[i]))
            m_focus = static_cast<int>(i);
    }
}

void CDialogFormInput::GetComboItemRect(const SDialogControl& combo, int item, int& x, int& y, int& width,
                                        int& height)
{
    x = combo.x;
    y = combo.y + combo.height * (item + 1);
    width = combo.width;
    height = combo.height;
}

int CDialogFormInput::HitTest(int x, int y) const
{
    const std::vector<SDialogControl>& controls = m_form.GetControls();
    for (size_t i = 0; i < controls.size(); ++i)
    {
        const SDialogControl& c = controls[i];
        if (IsFocusable(c) && Inside(x, y, c.x, c.y, c.width, c.height))
            return static_cast<int>(i);
    }
    return -1;
}

void CDialogFormInput::Activate(int index)
{
    SDialogControl& control = m_form.GetControls()[static_cast<size_t>(index)];
    switch (control.kind)
    {
    case EDialogControlKind::Button:
        m_result = control.id;
        break;
    case EDialogControlKind::CheckBox:
        m_form.SetChecked(control.id, !control.checked);
        break;
    case EDialogControlKind::RadioButton:
        m_form.SetChecked(control.id, true);
        break;
    case EDialogControlKind::ComboBox:
        m_openCombo = m_openCombo >= 0 ? -1 : index;
        break;
    case EDialogControlKind::Label:
        break;
    }
}

void CDialogFormInput::OnMouseDown(int x, int y)
{
    if (m_openCombo >= 0)
    {
        SDialogControl& combo = m_form.GetControls()[static_cast<size_t>(m_openCombo)];
        for (int item = 0; item < static_cast<int>(combo.items.size()); ++item)
        {
            int left = 0, top = 0, width = 0, height = 0;
            GetComboItemRect(combo, item, left, top, width, height);
            if (Inside(x, y, left, top, width, height))
                m_form.Select(combo.id, item);
        }
        m_openCombo = -1; // any click closes the list
        return;
    }
    int hit = HitTest(x, y);
    if (hit < 0)
        return;
    m_focus = hit;
    if (m_form.GetControls()[static_cast<size_t>(hit)].kind == EDialogControlKind::Button)
        m_pressed = hit; // a button acts when released over it
    else
        Activate(hit);
}

void CDialogFormInput::OnMouseUp(int x, int y)
{
    if (m_pressed < 0)
        return;
    int pressed = m_pressed;
    m_pressed = -1;
    if (HitTest(x, y) == pressed)
        Activate(pressed);
}

void CDialogFormInput::MoveFocus(int step)
{
    std::vector<SDialogControl>& controls = m_form.GetControls();
    int count = static_cast<int>(controls.size());
    int index = m_focus;
    for (int tries = 0; tries < count; ++tries)
    {
        index = (index + step + count) % count;
        if (IsFocusable(controls[static_cast<size_t>(index)]))
        {
            m_focus = index;
            return;
        }
    }
}

// Arrow keys on a radio button move to the next one of its group and check it.
void CDialogFormInput::MoveInGroup(int step)
{
    std::vector<SDialogControl>& controls = m_form.GetControls();
    int group = controls[static_cast<size_t>(m_focus)].group;
    int count = static_cast<int>(controls.size());
    int index = m_focus;
    for (int tries = 0; tries < count; ++tries)
    {
        index = (index + step + count) % count;
        const SDialogControl& other = controls[static_cast<size_t>(index)];
        if (other.kind == EDialogControlKind::RadioButton && other.group == group)
        {
            m_focus = index;
            m_form.SetChecked(other.id, true);
            return;
        }
    }
}

void CDialogFormInput::OnKey(EDialogKey key)
{
    int step = 0;
    switch (key)
    {
    case EDialogKey::Tab:
    case EDialogKey::ShiftTab:
        m_openCombo = -1;
        if (m_focus >= 0)
            MoveFocus(key == EDialogKey::Tab ? 1 : -1);
        return;
    case EDialogKey::Escape:
        if (m_openCombo >= 0)
            m_openCombo = -1;
        else
            m_result = m_form.GetCancelButton();
        return;
    case EDialogKey::Enter:
        if (m_openCombo >= 0)
            m_openCombo = -1;
        else if (m_focus >= 0 && m_form.GetControls()[static_cast<size_t>(m_focus)].kind == EDialogControlKind::Button)
            m_result = m_form.GetControls()[static_cast<size_t>(m_focus)].id;
        else
            m_result = m_form.GetDefaultButton();
        return;
    case EDialogKey::Space:
        if (m_focus >= 0)
            Activate(m_focus);
        return;
    case EDialogKey::Up:
    case EDialogKey::Left:
        step = -1;
        break;
    case EDialogKey::Down:
    case EDialogKey::Right:
        step = 1;
        break;
    }
    if (m_focus < 0)
        return;
    const SDialogControl& focused = m_form.GetControls()[static_cast<size_t>(m_focus)];
    if (focused.kind == EDialogControlKind::ComboBox)
        m_form.Select(focused.id, focused.selection + step);
    else if (focused.kind == EDialogControlKind::RadioButton)
        MoveInGroup(step);
    else
        MoveFocus(step);
}
