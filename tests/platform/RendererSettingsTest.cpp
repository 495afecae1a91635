#include "core/DataTree.h"
#include "core/SettingsWriter.h"
#include "platform/D3D8Renderer.h"
#include "tests/platform/RecordingRenderer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
int s_activations = 0;
void CountActivation()
{
    ++s_activations;
}

std::vector<std::string> Names(const CDataTree& tree)
{
    std::vector<std::string> names;
    for (size_t i = 0; i < tree.GetChildCount(); ++i)
    {
        std::string name;
        for (char16_t c : tree.GetChild(i)->GetName())
            name += char(c);
        names.push_back(name);
    }
    return names;
}
} // namespace

TEST(RendererSettingsKeys, ReadTheFilesKeysOverTheDefaults)
{
    CDataTree tree(u"Tessavar");
    tree.AddBool("R_FULLSCREEN", true); // names are found in any case
    tree.AddInt("r_backBufferWidth", 640);
    tree.AddInt("r_colorBits", 16);
    tree.AddInt("r_depthBits", 24);
    tree.AddBool("r_hiQualityTextures", false);
    tree.AddBool("r_disableCVA", true);
    tree.AddBool("r_safeRenderMethod", true);
    tree.AddBool("r_forcewindowed", true);
    tree.AddInt("r_backBufferHeight", 999); // never read: the height follows the width
    CD3D8Renderer renderer;
    renderer.SetDefaultSettings();
    renderer.ReadSettings(tree);
    const SDisplaySettings& s = renderer.GetSettings();
    EXPECT_FALSE(s.fullScreen) << "r_forcewindowed clears full screen";
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 480);
    EXPECT_EQ(s.colourBits, 16);
    EXPECT_EQ(s.depthBits, 24);
    EXPECT_FALSE(s.hiQualityTextures);
    EXPECT_TRUE(s.disableCva);
    EXPECT_TRUE(s.safeRenderMethod);
    EXPECT_FALSE(s.ultraSafeRenderMethod);
    EXPECT_TRUE(renderer.GetForceSingleStage()) << "missing r_forcesinglestage means true";
    EXPECT_EQ(renderer.GetPendingSettings().width, 640);

    CDataTree single(u"Tessavar");
    single.AddBool("r_forcesinglestage", false);
    renderer.ReadSettings(single);
    EXPECT_FALSE(renderer.GetForceSingleStage());
    EXPECT_EQ(renderer.GetSettings().width, 640) << "keys that are missing keep their values";
}

TEST(RendererSettingsKeys, WrittenInOrderWithTheBackEndsOwn)
{
    const std::vector<std::string> shared = {"r_fullscreen", "r_backBufferWidth", "r_colorBits", "r_depthBits",
                                             "r_hiQualityTextures", "r_disableCVA", "r_ultraSafeRenderMethod",
                                             "r_safeRenderMethod", "r_forcewindowed"};
    CSettingsWriter writer;
    CRecordingRenderer plain;
    plain.SetDefaultSettings();
    CDataTree plainTree(u"t");
    plain.WriteSettings(writer, plainTree);
    EXPECT_EQ(Names(plainTree), shared);

    CD3D8Renderer d3d;
    d3d.SetDefaultSettings();
    CDataTree d3dTree(u"t");
    d3d.WriteSettings(writer, d3dTree);
    std::vector<std::string> expected = shared;
    expected.push_back("r_forcesinglestage");
    expected.push_back("r_runOnce");
    EXPECT_EQ(Names(d3dTree), expected);
    int32_t width = 0;
    bool fullScreen = false;
    EXPECT_TRUE(d3dTree.GetInt("r_backBufferWidth", width));
    EXPECT_EQ(width, 800);
    EXPECT_TRUE(d3dTree.GetBool("r_fullscreen", fullScreen));
    EXPECT_TRUE(fullScreen);
}

TEST(RendererSettingsKeys, TemporaryWindowKeepsFullScreenInTheFile)
{
    CD3D8Renderer renderer;
    renderer.SetDefaultSettings(); // full screen
    ASSERT_TRUE(renderer.Open("Tessavar", nullptr));
    renderer.OnDeactivate();
    EXPECT_FALSE(renderer.GetSettings().fullScreen) << "deactivation leaves full screen for a window";
    EXPECT_TRUE(renderer.IsActive()) << "this renderer goes on drawing in its window";
    CSettingsWriter writer;
    CDataTree tree(u"t");
    renderer.WriteSettings(writer, tree);
    bool fullScreen = false;
    ASSERT_TRUE(tree.GetBool("r_fullscreen", fullScreen));
    EXPECT_TRUE(fullScreen);
    s_activations = 0;
    renderer.SetActivationHook(&CountActivation);
    renderer.OnActivate();
    EXPECT_TRUE(renderer.GetSettings().fullScreen) << "activation brings full screen back";
    EXPECT_EQ(s_activations, 1);
    EXPECT_TRUE(renderer.CanDraw());
}
