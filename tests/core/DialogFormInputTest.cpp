#include "core/DialogFormInput.h"
#include "core/SetupDialog.h"

#include <gtest/gtest.h>

namespace
{
// The centre of a control, where a click lands on it.
void Click(CDialogFormInput& input, const CDialogForm& form, int id)
{
    const SDialogControl* control = form.Find(id);
    ASSERT_NE(control, nullptr);
    int x = control->x + control->width / 2;
    int y = control->y + control->height / 2;
    input.OnMouseDown(x, y);
    input.OnMouseUp(x, y);
}

int FocusedId(const CDialogFormInput& input, const CDialogForm& form)
{
    return input.GetFocus() < 0 ? 0 : form.GetControls()[static_cast<size_t>(input.GetFocus())].id;
}

CDialogForm SetUpForm()
{
    CDialogForm form = MakeSetupForm();
    form.SetChecked(SETUP_FULLSCREEN, true);
    form.SetChecked(SETUP_WIDTH_640, true);
    return form;
}
} // namespace

TEST(DialogFormInput, KeyboardAloneFillsAndConfirmsTheForm)
{
    CDialogForm form = SetUpForm();
    CDialogFormInput input(form);
    EXPECT_EQ(FocusedId(input, form), SETUP_RENDERER); // labels never take the focus

    input.OnKey(EDialogKey::Down); // the combo box steps through its entries
    EXPECT_EQ(form.GetSelection(SETUP_RENDERER), 1);
    input.OnKey(EDialogKey::Down); // and stops at the last
    EXPECT_EQ(form.GetSelection(SETUP_RENDERER), 1);

    input.OnKey(EDialogKey::Tab);
    EXPECT_EQ(FocusedId(input, form), SETUP_FULLSCREEN);
    input.OnKey(EDialogKey::Right); // arrows move within the radio group and check
    EXPECT_EQ(FocusedId(input, form), SETUP_WINDOWED);
    EXPECT_TRUE(form.IsChecked(SETUP_WINDOWED));
    EXPECT_FALSE(form.IsChecked(SETUP_FULLSCREEN));
    EXPECT_TRUE(form.IsChecked(SETUP_WIDTH_640)); // other groups untouched

    input.OnKey(EDialogKey::ShiftTab);
    input.OnKey(EDialogKey::ShiftTab);
    EXPECT_EQ(FocusedId(input, form), SETUP_RENDERER);
    input.OnKey(EDialogKey::ShiftTab); // backwards past the first control wraps to the last
    EXPECT_EQ(FocusedId(input, form), SETUP_BUTTON_QUIT);
    input.OnKey(EDialogKey::Tab);
    EXPECT_EQ(FocusedId(input, form), SETUP_RENDERER);

    while (FocusedId(input, form) != SETUP_ENABLE_AUDIO)
        input.OnKey(EDialogKey::Tab);
    input.OnKey(EDialogKey::Space);
    EXPECT_TRUE(form.IsChecked(SETUP_ENABLE_AUDIO));
    input.OnKey(EDialogKey::Space);
    EXPECT_FALSE(form.IsChecked(SETUP_ENABLE_AUDIO));
    EXPECT_EQ(input.GetResult(), 0);

    input.OnKey(EDialogKey::Enter); // not on a button: the default button
    EXPECT_EQ(input.GetResult(), SETUP_BUTTON_START);
}

TEST(DialogFormInput, EnterOnAButtonAndEscapeCancel)
{
    CDialogForm form = SetUpForm();
    CDialogFormInput advanced(form);
    while (FocusedId(advanced, form) != SETUP_BUTTON_ADVANCED)
        advanced.OnKey(EDialogKey::Tab);
    advanced.OnKey(EDialogKey::Enter);
    EXPECT_EQ(advanced.GetResult(), SETUP_BUTTON_ADVANCED);

    CDialogFormInput escape(form);
    escape.OnKey(EDialogKey::Escape);
    EXPECT_EQ(escape.GetResult(), SETUP_BUTTON_QUIT);

    CDialogFormInput closed(form);
    closed.OnClose();
    EXPECT_EQ(closed.GetResult(), SETUP_BUTTON_QUIT);
}

TEST(DialogFormInput, ComboListOpensPicksAndCloses)
{
    CDialogForm form = SetUpForm();
    CDialogFormInput input(form);
    const SDialogControl& combo = *form.Find(SETUP_RENDERER);
    Click(input, form, SETUP_RENDERER);
    ASSERT_GE(input.GetOpenCombo(), 0);

    // The list covers the radio buttons below the box: a click there picks "OpenGL"
    // and checks nothing underneath.
    int x = 0, y = 0, width = 0, height = 0;
    CDialogFormInput::GetComboItemRect(combo, 1, x, y, width, height);
    input.OnMouseDown(x + width / 2, y + height / 2);
    input.OnMouseUp(x + width / 2, y + height / 2);
    EXPECT_EQ(form.GetSelection(SETUP_RENDERER), 1);
    EXPECT_EQ(input.GetOpenCombo(), -1);
    EXPECT_TRUE(form.IsChecked(SETUP_FULLSCREEN));

    // Escape and Enter first close an open list; a click outside closes it unchanged.
    Click(input, form, SETUP_RENDERER);
    input.OnKey(EDialogKey::Escape);
    EXPECT_EQ(input.GetOpenCombo(), -1);
    EXPECT_EQ(input.GetResult(), 0);
    input.OnKey(EDialogKey::Space);
    input.OnKey(EDialogKey::Enter);
    EXPECT_EQ(input.GetResult(), 0);
    Click(input, form, SETUP_RENDERER);
    input.OnMouseDown(form.GetWidth() - 1, form.GetHeight() - 1);
    EXPECT_EQ(input.GetOpenCombo(), -1);
    EXPECT_EQ(form.GetSelection(SETUP_RENDERER), 1);
}

TEST(DialogFormInput, MouseChecksAndButtonsActOnRelease)
{
    CDialogForm form = SetUpForm();
    CDialogFormInput input(form);
    Click(input, form, SETUP_WIDTH_800);
    EXPECT_TRUE(form.IsChecked(SETUP_WIDTH_800));
    EXPECT_FALSE(form.IsChecked(SETUP_WIDTH_640));
    EXPECT_EQ(FocusedId(input, form), SETUP_WIDTH_800);
    Click(input, form, SETUP_FORCE_Z_RELATIVE);
    EXPECT_TRUE(form.IsChecked(SETUP_FORCE_Z_RELATIVE));

    // Pressed on a button and released elsewhere: nothing.
    const SDialogControl& quit = *form.Find(SETUP_BUTTON_QUIT);
    input.OnMouseDown(quit.x + 2, quit.y + 2);
    EXPECT_EQ(FocusedId(input, form), SETUP_BUTTON_QUIT);
    EXPECT_EQ(input.GetResult(), 0);
    input.OnMouseUp(5, 5);
    EXPECT_EQ(input.GetResult(), 0);
    EXPECT_EQ(input.GetPressedButton(), -1);

    // Clicks on nothing change nothing.
    input.OnMouseDown(form.GetWidth() - 1, 1);
    input.OnMouseUp(form.GetWidth() - 1, 1);
    EXPECT_EQ(input.GetResult(), 0);

    Click(input, form, SETUP_BUTTON_START);
    EXPECT_EQ(input.GetResult(), SETUP_BUTTON_START);
}
