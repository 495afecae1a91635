#include "core/DataTree.h"
#include "core/ScriptedDialogView.h"
#include "core/SetupDialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{
std::string Text(const CDataTree& tree, const char* key)
{
    char buffer[64] = {};
    return tree.GetString(key, buffer, sizeof(buffer)) ? buffer : "(missing)";
}

int CountNamed(const CDataTree& tree, const char* key)
{
    int count = 0;
    for (size_t i = 0; i < tree.GetChildCount(); ++i)
    {
        const std::u16string& name = tree.GetChild(i)->GetName();
        if (std::string(name.begin(), name.end()) == key)
            ++count;
    }
    return count;
}

// A view that lets each test act on the forms it is shown.
class CActingView : public CDialogView
{
public:
    std::function<int(CDialogForm&)> act;
    std::vector<std::string> seen;
    int RunForm(CDialogForm& form) override
    {
        seen.push_back(form.GetName());
        return act(form);
    }
};
} // namespace

TEST(SetupDialog, EachKeyIsShownByItsControls)
{
    const struct
    {
        const char* key;
        const char* text; // nullptr: the key is missing
        int checkedId;    // the control that must be checked (0: none of the pair)
        int uncheckedId;
    } rows[] = {
        {"r_fullscreen", nullptr, SETUP_FULLSCREEN, SETUP_WINDOWED},
        {"r_fullscreen", "true", SETUP_FULLSCREEN, SETUP_WINDOWED},
        {"r_fullscreen", "yes", SETUP_FULLSCREEN, SETUP_WINDOWED},
        {"r_fullscreen", "false", SETUP_WINDOWED, SETUP_FULLSCREEN},
        {"r_fullscreen", "maybe", SETUP_FULLSCREEN, SETUP_WINDOWED}, // does not parse: default
        {"r_backBufferWidth", "800", SETUP_WIDTH_800, SETUP_WIDTH_640},
        {"r_backBufferWidth", "640", SETUP_WIDTH_640, SETUP_WIDTH_800},
        {"r_backBufferWidth", "1024", SETUP_WIDTH_640, SETUP_WIDTH_800},
        {"r_backBufferWidth", nullptr, SETUP_WIDTH_640, SETUP_WIDTH_800},
        {"r_colorBits", "16", SETUP_COLOUR_16, SETUP_COLOUR_32},
        {"r_colorBits", "24", SETUP_COLOUR_32, SETUP_COLOUR_16},
        {"r_colorBits", nullptr, SETUP_COLOUR_32, SETUP_COLOUR_16},
        {"r_hiQualityTextures", nullptr, SETUP_TEXTURES_32, SETUP_TEXTURES_16},
        {"r_hiQualityTextures", "false", SETUP_TEXTURES_16, SETUP_TEXTURES_32},
        {"a_disableAudio", nullptr, SETUP_ENABLE_AUDIO, 0},
        {"a_disableAudio", "true", 0, SETUP_ENABLE_AUDIO},
        {"i_forcedi5", nullptr, SETUP_DIRECTINPUT_8, SETUP_DIRECTINPUT_5},
        {"i_forcedi5", "true", SETUP_DIRECTINPUT_5, SETUP_DIRECTINPUT_8},
        {"i_fudgezrelative", nullptr, 0, SETUP_FORCE_Z_RELATIVE},
        {"i_fudgezrelative", "true", SETUP_FORCE_Z_RELATIVE, 0},
    };
    for (const auto& row : rows)
    {
        CDataTree tree;
        if (row.text)
            tree.AddString(row.key, row.text);
        CDialogForm form = MakeSetupForm();
        ShowSettingsInSetupForm(tree, form);
        std::string what = std::string(row.key) + "=" + (row.text ? row.text : "(missing)");
        if (row.checkedId)
        {
            EXPECT_TRUE(form.IsChecked(row.checkedId)) << what;
        }
        if (row.uncheckedId)
        {
            EXPECT_FALSE(form.IsChecked(row.uncheckedId)) << what;
        }
    }
}

TEST(SetupDialog, RendererChoiceFollowsTheStartUpRule)
{
    const struct
    {
        const char* text;
        int selection; // 0 Direct3D, 1 OpenGL
    } rows[] = {
        {"d3d", 0}, {"D3D", 0}, {"ogl", 1}, {"OGL", 1}, {"oglx", 1}, {"vulkan", 0}, {nullptr, 0},
    };
    for (const auto& row : rows)
    {
        CDataTree tree;
        if (row.text)
            tree.AddString("r_renderer", row.text);
        CDialogForm form = MakeSetupForm();
        ShowSettingsInSetupForm(tree, form);
        EXPECT_EQ(form.GetSelection(SETUP_RENDERER), row.selection) << (row.text ? row.text : "(missing)");
        // A missing key is added; a present one is left as it was until "Start Game!".
        EXPECT_EQ(Text(tree, "r_renderer"), row.text ? row.text : "d3d");
        // Confirming without a change keeps the renderer that start-up would pick.
        WriteSetupFormToSettings(form, tree);
        EXPECT_EQ(Text(tree, "r_renderer"), row.selection ? "ogl" : "d3d");
    }
}

TEST(SetupDialog, StartGameWritesEveryControlsKey)
{
    CDataTree tree;
    tree.AddInt("g_language", 2);
    tree.AddString("r_renderer", "D3D");
    tree.AddInt("r_backBufferWidth", 1024);
    tree.AddInt("r_depthBits", 16);
    tree.AddBool("a_force8bitSamples", true);

    CDialogForm form = MakeSetupForm();
    ShowSettingsInSetupForm(tree, form);
    WriteSetupFormToSettings(form, tree);
    const std::vector<std::pair<const char*, const char*>> asShown = {
        {"r_renderer", "d3d"},        {"r_fullscreen", "true"},   {"r_backBufferWidth", "640"},
        {"r_colorBits", "32"},        {"r_hiQualityTextures", "true"}, {"a_disableAudio", "false"},
        {"i_forcedi5", "false"},      {"i_fudgezrelative", "false"}, {"a_force8bitSamples", "false"},
        {"g_language", "2"},          {"r_depthBits", "16"}, // keys without a control are kept
    };
    for (const auto& entry : asShown)
        EXPECT_EQ(Text(tree, entry.first), entry.second) << entry.first;
    // An existing value is replaced, not repeated.
    EXPECT_EQ(CountNamed(tree, "r_renderer"), 1);
    EXPECT_EQ(CountNamed(tree, "r_backBufferWidth"), 1);

    // Every control the other way round.
    form.Select(SETUP_RENDERER, 1);
    for (int id : {SETUP_WINDOWED, SETUP_WIDTH_800, SETUP_COLOUR_16, SETUP_TEXTURES_16, SETUP_DIRECTINPUT_5})
        form.SetChecked(id, true);
    form.SetChecked(SETUP_ENABLE_AUDIO, false);
    form.SetChecked(SETUP_FORCE_Z_RELATIVE, true);
    WriteSetupFormToSettings(form, tree);
    const std::vector<std::pair<const char*, const char*>> changed = {
        {"r_renderer", "ogl"},         {"r_fullscreen", "false"},   {"r_backBufferWidth", "800"},
        {"r_colorBits", "16"},         {"r_hiQualityTextures", "false"}, {"a_disableAudio", "true"},
        {"i_forcedi5", "true"},        {"i_fudgezrelative", "true"},
    };
    for (const auto& entry : changed)
        EXPECT_EQ(Text(tree, entry.first), entry.second) << entry.first;
}

TEST(SetupDialog, WithoutATreeItStartsFromDefaultsAndMakesOne)
{
    CActingView view;
    view.act = [](CDialogForm& form) {
        EXPECT_EQ(form.GetSelection(SETUP_RENDERER), 0);
        for (int id : {SETUP_FULLSCREEN, SETUP_WIDTH_640, SETUP_COLOUR_32, SETUP_TEXTURES_32, SETUP_ENABLE_AUDIO,
                       SETUP_DIRECTINPUT_8})
            EXPECT_TRUE(form.IsChecked(id)) << id;
        EXPECT_FALSE(form.IsChecked(SETUP_FORCE_Z_RELATIVE));
        return int(SETUP_BUTTON_START);
    };
    CDataTree* tree = nullptr;
    EXPECT_TRUE(ShowSetupDialog(view, tree));
    std::unique_ptr<CDataTree> owner(tree);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(Text(*tree, "r_renderer"), "d3d");
    EXPECT_EQ(Text(*tree, "a_force8bitSamples"), "false");
    EXPECT_EQ(view.seen, std::vector<std::string> {"setup"});
}

TEST(SetupDialog, QuitOrCloseWritesNothingButTheMissingRenderer)
{
    for (const char* script : {"setup:cancel", "", "setup:nonsense"})
    {
        CDataTree tree;
        tree.AddBool("r_fullscreen", false);
        CDataTree* settings = &tree;
        CScriptedDialogView view(script);
        EXPECT_FALSE(ShowSetupDialog(view, settings)) << script;
        EXPECT_EQ(settings, &tree);
        EXPECT_EQ(Text(tree, "r_fullscreen"), "false") << script;
        EXPECT_EQ(Text(tree, "r_renderer"), "d3d") << script;
        EXPECT_EQ(Text(tree, "a_force8bitSamples"), "(missing)") << script;
        EXPECT_EQ(tree.GetChildCount(), 2u) << script;
    }
}

TEST(SetupDialog, AdvancedOptionsOnTheSameTree)
{
    CDataTree tree;
    tree.AddBool("r_ultraSafeRenderMethod", false);
    CActingView view;
    int round = 0;
    view.act = [&](CDialogForm& form) -> int {
        ++round;
        if (form.GetName() == "setup")
            return round == 1 ? int(SETUP_BUTTON_ADVANCED) : int(SETUP_BUTTON_START);
        // Shown from the tree: all three off when false or missing.
        EXPECT_FALSE(form.IsChecked(ADVANCED_DISABLE_CVA));
        EXPECT_FALSE(form.IsChecked(ADVANCED_SAFE_RENDER));
        EXPECT_FALSE(form.IsChecked(ADVANCED_ULTRA_SAFE_RENDER));
        form.SetChecked(ADVANCED_SAFE_RENDER, true);
        return int(ADVANCED_BUTTON_OK);
    };
    CDataTree* settings = &tree;
    EXPECT_TRUE(ShowSetupDialog(view, settings));
    EXPECT_EQ(view.seen, (std::vector<std::string> {"setup", "advanced", "setup"}));
    EXPECT_EQ(Text(tree, "r_safeRenderMethod"), "true");
    EXPECT_EQ(Text(tree, "r_ultraSafeRenderMethod"), "false");
    EXPECT_EQ(Text(tree, "r_disableCVA"), "false");
    EXPECT_EQ(CountNamed(tree, "r_ultraSafeRenderMethod"), 1);
}

TEST(SetupDialog, AdvancedCancelWritesNothing)
{
    const struct
    {
        const char* script;
        bool written;
    } cases[] = {
        {"advanced:cancel", false},
        {"", false}, // closed
        {"advanced:ok", true},
    };
    for (const auto& c : cases)
    {
        CDataTree tree;
        tree.AddBool("r_disableCVA", true);
        CDialogForm form = MakeAdvancedForm();
        ShowSettingsInAdvancedForm(tree, form);
        EXPECT_TRUE(form.IsChecked(ADVANCED_DISABLE_CVA));
        CScriptedDialogView view(c.script);
        ShowAdvancedDialog(view, tree);
        EXPECT_EQ(tree.GetChildCount(), c.written ? 3u : 1u) << c.script;
        EXPECT_EQ(Text(tree, "r_disableCVA"), "true") << c.script;
    }
}
