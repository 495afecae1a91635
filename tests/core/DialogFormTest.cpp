#include "core/DialogForm.h"
#include "core/LauncherDialog.h"
#include "core/ScriptedDialogView.h"
#include "core/SetupDialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
CDialogForm MakeSampleForm()
{
    CDialogForm form("sample", "Sample", 300, 200);
    form.AddLabel(0, 0, "Pick");
    form.AddRadioButton(10, 10, 0, 20, "A");
    form.AddRadioButton(11, 10, 0, 40, "B");
    form.AddRadioButton(20, 20, 0, 60, "C");
    form.AddRadioButton(21, 20, 0, 80, "D");
    form.AddCheckBox(30, 0, 100, "Box");
    form.AddComboBox(40, 0, 120, 100, {"one", "two"});
    form.AddButton(1, 0, 160, 60, "Go", "ok");
    form.AddButton(2, 80, 160, 60, "Stop", "cancel");
    form.SetDefaultButton(1);
    form.SetCancelButton(2);
    return form;
}

// A view that presses given buttons in turn and notes the dialogs it saw.
class CPressingView : public CDialogView
{
public:
    explicit CPressingView(std::vector<int> presses) : m_presses(std::move(presses)) {}
    int RunForm(CDialogForm& form) override
    {
        m_seen.push_back(form.GetName());
        if (m_next >= m_presses.size())
            return form.GetCancelButton();
        return m_presses[m_next++];
    }
    std::vector<std::string> m_seen;

private:
    std::vector<int> m_presses;
    size_t m_next = 0;
};

std::vector<std::string> s_opened;
bool RecordOpen(const char* address)
{
    s_opened.push_back(address);
    return true;
}
} // namespace

TEST(DialogForm, RadioGroupsExcludeOnlyTheirOwnMembers)
{
    CDialogForm form = MakeSampleForm();
    form.SetChecked(10, true);
    form.SetChecked(20, true);
    form.SetChecked(11, true);
    EXPECT_FALSE(form.IsChecked(10));
    EXPECT_TRUE(form.IsChecked(11));
    EXPECT_TRUE(form.IsChecked(20)); // the other group is untouched

    form.SetChecked(30, true);
    form.SetChecked(30, false);
    EXPECT_FALSE(form.IsChecked(30));

    form.Select(40, 1);
    form.Select(40, 2);  // outside the entries
    form.Select(40, -1);
    EXPECT_EQ(form.GetSelection(40), 1);

    // Unknown ids change and report nothing.
    form.SetChecked(99, true);
    EXPECT_FALSE(form.IsChecked(99));
    EXPECT_EQ(form.GetSelection(99), -1);
    EXPECT_EQ(form.Find(-1), nullptr); // labels are not controls
}

// Every control of the three start-up dialogs lies inside its window, beside the
// others, and each button has room for its text (12-pixel cells) with 8 pixels on
// either side: a text cut off at the window's edge or running over a button's frame
// is caught here.
TEST(DialogForm, StartUpDialogsFitTheirWindows)
{
    const CDialogForm forms[] = {MakeLauncherForm({"Tessavar V1.5c", "u"}), MakeSetupForm(), MakeAdvancedForm()};
    for (const CDialogForm& form : forms)
    {
        const std::vector<SDialogControl>& controls = form.GetControls();
        for (size_t i = 0; i < controls.size(); ++i)
        {
            const SDialogControl& c = controls[i];
            SCOPED_TRACE(form.GetName() + ": " + c.text);
            EXPECT_GE(c.x, 0);
            EXPECT_GE(c.y, 0);
            EXPECT_LE(c.x + c.width, form.GetWidth());
            EXPECT_LE(c.y + c.height, form.GetHeight());
            if (c.kind == EDialogControlKind::Button)
            {
                EXPECT_GE(c.width, static_cast<int>(c.text.size()) * 12 + 16);
            }
            for (size_t j = i + 1; j < controls.size(); ++j)
            {
                const SDialogControl& d = controls[j];
                bool apart = c.x + c.width <= d.x || d.x + d.width <= c.x || c.y + c.height <= d.y ||
                             d.y + d.height <= c.y;
                EXPECT_TRUE(apart) << "overlaps " << d.text;
            }
        }
    }
}

TEST(ScriptedDialogView, EachDialogTakesItsOwnAnswersInOrder)
{
    CScriptedDialogView view(" launcher:updates , setup:advanced,launcher:settings, advanced:ok ,setup:cancel,bogus");
    CDialogForm launcher = MakeLauncherForm({"Tessavar V1.5c", "https://example.invalid/u"});
    CDialogForm sample = MakeSampleForm();
    EXPECT_EQ(view.RunForm(launcher), LAUNCHER_BUTTON_UPDATES);
    EXPECT_EQ(view.RunForm(launcher), LAUNCHER_BUTTON_SETTINGS);
    EXPECT_EQ(view.RunForm(launcher), LAUNCHER_BUTTON_QUIT); // no answer left: closed
    EXPECT_EQ(view.RunForm(sample), 2);                       // "sample" has no answers

    // Names and answers match without regard to case; an unknown answer closes.
    CScriptedDialogView mixed("SAMPLE:OK,sample:explode");
    EXPECT_EQ(mixed.RunForm(sample), 1);
    EXPECT_EQ(mixed.RunForm(sample), 2);
    ASSERT_EQ(mixed.GetHistory().size(), 2u);
    EXPECT_EQ(mixed.GetHistory()[1].second, "explode");
}

TEST(LauncherDialog, ButtonsGiveTheirResultsAndPagesKeepItUp)
{
    SLauncherRecord record {"Tessavar V1.5c", "https://example.invalid/update"};
    const struct
    {
        std::vector<int> presses;
        int result;
        std::vector<std::string> opened;
    } cases[] = {
        {{LAUNCHER_BUTTON_START}, LAUNCHER_START, {}},
        {{LAUNCHER_BUTTON_SETTINGS}, LAUNCHER_SETTINGS, {}},
        {{LAUNCHER_BUTTON_QUIT}, LAUNCHER_QUIT, {}},
        {{}, LAUNCHER_QUIT, {}}, // the window closed
        {{LAUNCHER_BUTTON_UPDATES, LAUNCHER_BUTTON_SITE, LAUNCHER_BUTTON_START},
         LAUNCHER_START,
         {"https://example.invalid/update", LAUNCHER_SITE_PAGE}},
    };
    for (const auto& c : cases)
    {
        s_opened.clear();
        CPressingView view(c.presses);
        EXPECT_EQ(ShowLauncherDialog(view, record, &RecordOpen), c.result);
        EXPECT_EQ(s_opened, c.opened);
        EXPECT_EQ(view.m_seen.size(), std::max<size_t>(1, c.presses.size()));
    }

    CDialogForm form = MakeLauncherForm(record);
    EXPECT_EQ(form.GetCaption(), "Tessavar V1.5c");
}
