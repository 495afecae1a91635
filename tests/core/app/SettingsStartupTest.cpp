#include "core/DataFile.h"
#include "core/DataTree.h"
#include "core/ScriptedDialogView.h"
#include "core/app/SettingsStartup.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{
std::string Text(const CDataTree& tree, const char* key)
{
    char buffer[64] = {};
    return tree.GetString(key, buffer, sizeof(buffer)) ? buffer : "(missing)";
}

// Writes a settings file holding the given values.
std::string WriteSettings(const CTempDir& folder, const char* runOnce)
{
    CDataTree tree(u"Tessavar");
    if (runOnce)
        tree.AddString("g_runonce", runOnce);
    tree.AddString("r_renderer", "ogl");
    std::string path = folder.Join("Tessavar.cfg");
    EXPECT_TRUE(SaveDataTree(path.c_str(), &tree, true));
    return path;
}
} // namespace

TEST(SettingsStartup, LauncherIsDueUnlessTheFileSaysItRanBefore)
{
    CTempDir folder;
    const struct
    {
        const char* runOnce; // nullptr: no such key
        bool due;
    } cases[] = {{"true", false}, {"yes", false}, {"false", true}, {nullptr, true}, {"often", true}};
    for (const auto& c : cases)
    {
        std::string path = WriteSettings(folder, c.runOnce);
        bool due = false;
        std::unique_ptr<CDataTree> tree(LoadSettingsOrDefaults(path.c_str(), due));
        ASSERT_NE(tree, nullptr);
        EXPECT_EQ(due, c.due) << (c.runOnce ? c.runOnce : "(missing)");
        EXPECT_EQ(Text(*tree, "r_renderer"), "ogl"); // the file's tree, not the defaults

        // "-c" already asked for the launcher: the file does not take that back.
        due = true;
        tree.reset(LoadSettingsOrDefaults(path.c_str(), due));
        EXPECT_TRUE(due);
    }
}

TEST(SettingsStartup, MissingOrUnreadableFileGivesTheDefaultsAndTheLauncher)
{
    CTempDir folder;
    ASSERT_TRUE(folder.WriteFile("broken.cfg", std::string("\xFF\xFE", 2))); // no block at all
    for (std::string path : {folder.Join("absent.cfg"), folder.Join("broken.cfg"), std::string()})
    {
        bool due = false;
        std::unique_ptr<CDataTree> tree(LoadSettingsOrDefaults(path.empty() ? nullptr : path.c_str(), due));
        ASSERT_NE(tree, nullptr) << path;
        EXPECT_TRUE(due) << path;
        EXPECT_EQ(Text(*tree, "r_renderer"), "d3d") << path;
        EXPECT_EQ(Text(*tree, "a_masterfxvolume"), "6") << path;
    }
}

TEST(SettingsStartup, LauncherAnswersDecideWhetherTheGameGoesOn)
{
    const struct
    {
        const char* script;
        bool goOn;
        const char* renderer; // r_renderer afterwards
    } cases[] = {
        {"launcher:start", true, "OGL"},
        {"launcher:quit", false, "OGL"},
        {"", false, "OGL"}, // the launcher closed
        {"launcher:settings,setup:cancel", false, "OGL"},
        {"launcher:settings,setup:ok", true, "ogl"},
        {"launcher:settings,setup:advanced,advanced:ok,setup:ok", true, "ogl"},
    };
    for (const auto& c : cases)
    {
        CDataTree* settings = new CDataTree();
        settings->AddString("r_renderer", "OGL");
        CScriptedDialogView view(c.script);
        EXPECT_EQ(RunStartupDialogs(view, settings), c.goOn) << c.script;
        ASSERT_NE(settings, nullptr);
        // Only "Start Game!" of the set-up dialog rewrites the value, keeping the kind.
        EXPECT_EQ(Text(*settings, "r_renderer"), c.renderer) << c.script;
        delete settings;
    }
}
