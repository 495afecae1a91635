#include "core/DataFile.h"
#include "core/DataTree.h"
#include "core/Settings.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace
{
std::string Narrow(const std::u16string& text)
{
    return std::string(text.begin(), text.end());
}

// Names and value texts of a tree's children, in order.
std::vector<std::pair<std::string, std::string>> Entries(const CDataTree& tree)
{
    std::vector<std::pair<std::string, std::string>> entries;
    for (size_t i = 0; i < tree.GetChildCount(); ++i)
    {
        const CDataNode* node = tree.GetChild(i);
        std::string text = node->IsBlock() ? "{}" : Narrow(static_cast<const CDataValue*>(node)->GetTrimmedText());
        entries.emplace_back(Narrow(node->GetName()), text);
    }
    return entries;
}
} // namespace

TEST(Settings, DefaultSetSurvivesTheFileInItsOrder)
{
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"r_renderer", "d3d"},
        {"r_fullscreen", "true"},
        {"r_backBufferWidth", "640"},
        {"r_colorBits", "32"},
        {"r_depthBits", "24"},
        {"r_hiQualityTextures", "true"},
        {"r_disableCVA", "false"},
        {"r_ultraSafeRenderMethod", "false"},
        {"r_safeRenderMethod", "false"},
        {"r_forcewindowed", "false"},
        {"r_forcesinglestage", "true"},
        {"a_disableAudio", "false"},
        {"a_force8bitSamples", "false"},
        {"a_outputFrequencyId", "1"},
        {"a_maxSimultaneousSamples", "32"},
        {"a_masterfxvolume", "6"},
        {"a_mastermusicvolume", "6"},
        {"a_mastervoicevolume", "0"},
        {"i_forcedi5", "false"},
        {"i_fudgezrelative", "false"},
    };
    std::unique_ptr<CDataTree> defaults(MakeDefaultSettings());
    EXPECT_EQ(Entries(*defaults), expected);
    // No "g_runonce": a default set always brings up the launcher.
    bool runOnce = false;
    EXPECT_FALSE(defaults->GetBool("g_runonce", runOnce));

    CTempDir folder;
    std::string path = folder.Join("Tessavar.cfg");
    ASSERT_TRUE(SaveDataTree(path.c_str(), defaults.get(), true));
    CDataTree* loaded = nullptr;
    ASSERT_TRUE(LoadDataTree(path.c_str(), &loaded));
    std::unique_ptr<CDataTree> owner(loaded);
    EXPECT_EQ(Entries(*loaded), expected);
}

TEST(Settings, OneRendererRuleForEveryReader)
{
    const struct
    {
        const char* text;
        bool openGL;
    } cases[] = {
        {"ogl", true}, {"OGL", true}, {"oGl2", true}, {"d3d", false}, {"D3D", false},
        {"og", false}, {"", false},   {"opengl", false}, {nullptr, false},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(IsOpenGLRendererName(c.text), c.openGL) << (c.text ? c.text : "(null)");
        CDataTree tree;
        if (c.text)
            tree.AddString("r_renderer", c.text);
        EXPECT_EQ(SettingsChooseOpenGL(&tree), c.openGL) << (c.text ? c.text : "(null)");
    }
    EXPECT_FALSE(SettingsChooseOpenGL(nullptr));
}
