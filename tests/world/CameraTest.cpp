#include "tests/support/world/WorldHarness.h"
#include "world/Camera.h"

#include <gtest/gtest.h>

namespace
{
// A world of 4000 with one object; the screen 640 x 480.
struct SCameraWorld
{
    SCameraWorld()
    {
        EXPECT_TRUE(harness.StartLevel());
        object = harness.Spawn(OBJECT_DUMB, 1000, 1000);
        camera.SetScreenSize(640, 480);
        camera.SetWorldWidth(4000);
    }
    void MoveTo(float x, float y) { harness.Find(object)->SetPosition(CVector2D(x, y)); }
    CVector2D Update()
    {
        float x = 0, y = 0;
        camera.Update(&harness.GetWorld(), &x, &y);
        return CVector2D(x, y);
    }
    CWorldHarness harness;
    CCamera camera;
    int32_t object = NO_OBJECT;
};
} // namespace

TEST(Camera, LagOneShowsTheTargetAndALowerLagLeads)
{
    SCameraWorld scene;
    scene.camera.Follow(scene.object, false);
    CVector2D view = scene.Update();
    EXPECT_EQ(view.x, 680); // 1000 - 320
    EXPECT_EQ(view.y, 760); // 1000 - 240

    scene.camera.SetLag(0.1f);
    scene.MoveTo(1100, 1000); // target 780; eased 680 + 100 * 0.1 = 690
    view = scene.Update();
    EXPECT_NEAR(view.x, 870, 1e-3f); // 780 + (780 - 690): ahead of the object by 90
    EXPECT_NEAR(scene.camera.GetEased().x, 690, 1e-3f);
    EXPECT_EQ(view.y, 760);
}

TEST(Camera, SnappingEasesInUntilWithinTwoUnits)
{
    SCameraWorld scene;
    scene.camera.SetLag(0.5f);
    scene.camera.SetPosition(0, 0);
    scene.camera.Follow(scene.object, true); // from (0, 0) towards (680, 760)
    int updates = 0;
    CVector2D view;
    while (scene.camera.IsSnapping() && updates < 100)
    {
        view = scene.Update();
        ++updates;
        if (updates == 1)
        {
            EXPECT_NEAR(view.x, 340, 1e-3f); // the eased point itself
            EXPECT_NEAR(view.y, 380, 1e-3f);
        }
    }
    // The gap of 1019.8 halves each time: below 2 after 9 updates.
    EXPECT_EQ(updates, 9);
    EXPECT_NEAR(view.x, 680 - 680.0f / 512, 1e-2f);
}

TEST(Camera, TheViewStaysInsideTheWorld)
{
    SCameraWorld scene;
    scene.camera.Follow(scene.object, false);
    scene.MoveTo(3990, 200);
    CVector2D view = scene.Update();
    EXPECT_EQ(view.x, 3360); // the last screen width of the world and no more
    EXPECT_EQ(view.y, 0);
    scene.MoveTo(10, 3995);
    view = scene.Update();
    EXPECT_EQ(view.x, 0);
    EXPECT_EQ(view.y, 3520);

    // A world narrower than the screen pins the view at 0.
    scene.camera.SetWorldWidth(400);
    scene.MoveTo(300, 300);
    view = scene.Update();
    EXPECT_EQ(view.x, 0);
    EXPECT_EQ(view.y, 0);
}

TEST(Camera, CenterOnAndVisibility)
{
    SCameraWorld scene;
    scene.camera.SetLag(0.5f);
    scene.camera.SetPosition(0, 0);
    scene.camera.CenterOn(scene.object, scene.harness.GetWorld());
    EXPECT_EQ(scene.camera.GetFollowed(), scene.object);
    EXPECT_EQ(scene.camera.GetView().x, 680);
    EXPECT_EQ(scene.camera.GetView().y, 760);

    // The screen now spans x 680..1320, y 760..1240.
    struct SCase
    {
        float x, y, radius;
        bool visible;
    } cases[] = {
        {1000, 1000, 1, true}, {670, 1000, 10, true}, {669, 1000, 10, false},
        {1000, 1250, 10, true}, {1000, 1251, 10, false}, {0, 0, 5000, true},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(scene.camera.IsVisible(CVector2D(c.x, c.y), c.radius), c.visible) << c.x << "," << c.y;

    // A vanished object leaves the target where it was.
    scene.harness.GetWorld().RemoveObject(scene.object);
    scene.harness.GetWorld().FlushRemovals();
    CVector2D view = scene.Update();
    EXPECT_EQ(view.x, 680);
}
