// The fixed test scenes drawn by the device match their stored images exactly, with one
// thread and with several.

#include "tests/platform/d3d8/SceneOnDevice.h"
#include "tests/support/GoldenImage.h"

#include <gtest/gtest.h>

TEST(SoftDeviceGolden, ScenesMatchTheirImagesWithAnyThreadCount)
{
    for (const SRenderScene& scene : MakeRenderScenes())
    {
        const std::vector<uint32_t> single = DrawSceneOnDevice(scene, 1);
        ASSERT_EQ(single.size(), size_t{scene.width} * scene.height) << scene.name;
        EXPECT_TRUE(MatchesGolden("platform", scene.name, scene.width, scene.height, single));
        const std::vector<uint32_t> threaded = DrawSceneOnDevice(scene, 5);
        EXPECT_TRUE(single == threaded) << scene.name << " differs between 1 and 5 threads";
    }
}
