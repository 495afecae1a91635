#include "tests/presentation/SpriteFixture.h"

#include <cmath>

namespace
{
class SpriteDraw : public CSpriteFixture
{
protected:
    // An 8 x 8 file of the format, frames packed four to a 16-pixel page.
    int LoadFormat(int32_t format, uint32_t frames = 1, const std::string& name = "")
    {
        SSpriteSpec spec;
        spec.format = format;
        spec.frames = frames;
        spec.pageSide = 16;
        return Load(WriteSprite(name.empty() ? "f" + std::to_string(format) + ".spr" : name, spec));
    }

    std::vector<SRecordedDraw> Draw()
    {
        m_renderer->ClearRecords();
        EXPECT_TRUE(m_bank->Render());
        return m_renderer->m_draws;
    }

    // Left x of every quad drawn, in drawing order (file batches: 6 vertices a quad).
    static std::vector<float> QuadLefts(const std::vector<SRecordedDraw>& draws)
    {
        std::vector<float> lefts;
        for (const SRecordedDraw& draw : draws)
            for (size_t i = 0; i + 5 < draw.vertices.size(); i += 6)
                lefts.push_back(draw.vertices[i].x);
        return lefts;
    }
};

TEST_F(SpriteDraw, OnlyVisibleInstancesDrawOnce)
{
    int file = LoadFormat(0);
    SSpriteInstance* hidden = nullptr;
    ASSERT_TRUE(m_bank->CreateInstance(2, file, hidden));
    EXPECT_TRUE(Draw().empty());
    hidden->m_x = hidden->m_y = 20;
    hidden->SetVisible(true);
    hidden->SetVisible(true);
    std::vector<SRecordedDraw> draws = Draw();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].vertices.size(), 6u);
    hidden->SetVisible(false);
    EXPECT_TRUE(Draw().empty());
}

TEST_F(SpriteDraw, QuadsOfOneTextureGoOutAHundredACallFromAlternatingBuffers)
{
    int file = LoadFormat(0);
    for (int i = 0; i < 250; ++i)
        Show(0, file, float(i), 100);
    std::vector<SRecordedDraw> draws = Draw();
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0].vertices.size(), 600u);
    EXPECT_EQ(draws[1].vertices.size(), 600u);
    EXPECT_EQ(draws[2].vertices.size(), 300u);
    EXPECT_NE(draws[0].buffer, draws[1].buffer);
    EXPECT_NE(draws[1].buffer, draws[2].buffer);
    std::vector<float> lefts = QuadLefts(draws);
    ASSERT_EQ(lefts.size(), 250u);
    for (int i = 0; i < 250; ++i)
        ASSERT_FLOAT_EQ(lefts[size_t(i)], float(i) - 4.0f);
}

TEST_F(SpriteDraw, BatchesGroupByPageThenByFlashInListOrder)
{
    int file = LoadFormat(0, 5); // frames 0-3 on page 0, frame 4 on page 1
    // x tells the instances apart: pages alternate, and x = 300 is a flashing page-0 sprite.
    Show(0, file, 100, 50, 0);
    Show(0, file, 200, 50, 4);
    SSpriteInstance* flashing = Show(0, file, 300, 50, 1);
    flashing->m_flags |= SPRITE_FLASH;
    Show(0, file, 400, 50, 2);
    Show(0, file, 500, 50, 4);
    std::vector<SRecordedDraw> draws = Draw();
    ASSERT_EQ(draws.size(), 3u);
    const SSpriteFile* data = m_bank->GetFile(file);
    EXPECT_EQ(draws[0].texture, data->m_textureIds[0]);
    EXPECT_FALSE(draws[0].flash);
    EXPECT_EQ(draws[1].texture, data->m_textureIds[1]);
    EXPECT_EQ(draws[2].texture, data->m_textureIds[0]);
    EXPECT_TRUE(draws[2].flash);
    EXPECT_EQ(QuadLefts(draws), (std::vector<float>{96, 396, 196, 496, 296}));
}

TEST_F(SpriteDraw, CullingAtTheScreenEdges)
{
    int file = LoadFormat(0);
    struct SCase
    {
        float x, y, rotation;
        bool drawn;
    };
    // The 8 x 8 frame has half size 4; the back buffer is 640 x 480.
    const SCase cases[] = {
        {644.0f, 100, 0, true},         // left edge exactly at the width
        {644.01f, 100, 0, false},       // a little further right
        {-4.0f, 100, 0, true},          // right edge exactly at 0
        {-4.01f, 100, 0, false},
        {100, 484.0f, 0, true},
        {100, 484.5f, 0, false},
        {100, -4.5f, 0, false},
        // Turned by 45 degrees the corners reach 5.66 out: one corner in is enough.
        {645.0f, 100, 0.785398f, true},
        {646.0f, 100, 0.785398f, false},
        {100, -5.0f, 0.785398f, true},
        {100, -6.0f, 0.785398f, false},
    };
    for (const SCase& c : cases)
    {
        SSpriteInstance* instance = Show(0, file, c.x, c.y);
        instance->m_rotation = c.rotation;
        EXPECT_EQ(Draw().size(), c.drawn ? 1u : 0u) << c.x << ", " << c.y << " turned " << c.rotation;
        m_bank->DestroyInstance(instance);
    }
}

TEST_F(SpriteDraw, CulledQuadsDoNotCountTowardsABatch)
{
    int file = LoadFormat(0);
    for (int i = 0; i < 150; ++i)
        Show(0, file, i % 3 == 0 ? -100.0f : float(i), 10);
    std::vector<SRecordedDraw> draws = Draw();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].vertices.size(), 600u);
}

TEST_F(SpriteDraw, QuadCornersRotationMirrorAndColour)
{
    int file = LoadFormat(2, 2); // two 8 x 8 frames on a 16 x 8 page
    SSpriteInstance* sprite = Show(0, file, 100, 50, 1);
    sprite->m_scaleX = 2.0f;
    sprite->m_colour = 0x80112233;
    sprite->m_depthBias = 1500.0f;
    std::vector<SRecordedDraw> draws = Draw();
    ASSERT_EQ(draws.size(), 1u);
    const std::vector<SScreenVertex>& v = draws[0].vertices;
    // A, B, C, C, B, D; u from 0.5 to 1 (frame 1), v 0 to 1.
    const float expected[6][4] = {{92, 46, 0.5f, 0}, {108, 46, 1, 0}, {92, 54, 0.5f, 1},
                                  {92, 54, 0.5f, 1}, {108, 46, 1, 0}, {108, 54, 1, 1}};
    for (int i = 0; i < 6; ++i)
    {
        EXPECT_FLOAT_EQ(v[size_t(i)].x, expected[i][0]) << i;
        EXPECT_FLOAT_EQ(v[size_t(i)].y, expected[i][1]) << i;
        EXPECT_FLOAT_EQ(v[size_t(i)].u, expected[i][2]) << i;
        EXPECT_FLOAT_EQ(v[size_t(i)].v, expected[i][3]) << i;
        EXPECT_FLOAT_EQ(v[size_t(i)].z, 21.5f);
        EXPECT_FLOAT_EQ(v[size_t(i)].rhw, 1.0f);
        // The recording renderer is an OpenGL-order device: red and blue exchanged.
        EXPECT_EQ(v[size_t(i)].colour, 0x80332211u);
    }

    sprite->m_flags |= SPRITE_MIRROR_X | SPRITE_MIRROR_Y;
    draws = Draw();
    EXPECT_FLOAT_EQ(draws[0].vertices[0].u, 1.0f);
    EXPECT_FLOAT_EQ(draws[0].vertices[0].v, 1.0f);
    EXPECT_FLOAT_EQ(draws[0].vertices[5].u, 0.5f);
    EXPECT_FLOAT_EQ(draws[0].vertices[5].v, 0.0f);

    // A quarter turn clockwise: the top-left corner A goes to the top right.
    sprite->m_flags &= ~uint32_t(SPRITE_MIRROR_X | SPRITE_MIRROR_Y);
    sprite->m_scaleX = 1.0f;
    sprite->m_rotation = float(M_PI / 2);
    draws = Draw();
    const std::vector<SScreenVertex>& r = draws[0].vertices;
    EXPECT_NEAR(r[0].x, 104, 1e-4);
    EXPECT_NEAR(r[0].y, 46, 1e-4);
    EXPECT_NEAR(r[1].x, 104, 1e-4); // B, the top-right corner, goes to the bottom right
    EXPECT_NEAR(r[1].y, 54, 1e-4);
    EXPECT_NEAR(r[5].x, 96, 1e-4); // D to the bottom left
    EXPECT_NEAR(r[5].y, 54, 1e-4);
}

TEST_F(SpriteDraw, SnapRoundsUnrotatedAndNearlyUnrotatedQuadsToPixels)
{
    int file = LoadFormat(0);
    SSpriteInstance* sprite = Show(0, file, 100.3f, 50.6f);
    sprite->m_flags |= SPRITE_SNAP;
    sprite->m_rotation = 0.0000005f;
    std::vector<SRecordedDraw> draws = Draw();
    EXPECT_FLOAT_EQ(draws[0].vertices[0].x, 96.0f);
    EXPECT_FLOAT_EQ(draws[0].vertices[0].y, 47.0f);
    EXPECT_FLOAT_EQ(draws[0].vertices[5].x, 104.0f);
    EXPECT_FLOAT_EQ(draws[0].vertices[5].y, 55.0f);
    // Rotated quads snap down to half pixels.
    sprite->m_rotation = 0.001f;
    draws = Draw();
    for (const SScreenVertex& vertex : draws[0].vertices)
    {
        EXPECT_FLOAT_EQ(std::fmod(vertex.x, 0.5f), 0.0f);
        EXPECT_FLOAT_EQ(std::fmod(vertex.y, 0.5f), 0.0f);
    }
}

TEST_F(SpriteDraw, VirtualScreenCoordinatesScaleToTheBackBuffer)
{
    m_renderer->GetPendingSettings().width = 800;
    ASSERT_TRUE(m_renderer->ResetDisplay());
    int file = LoadFormat(0);
    SSpriteInstance* sprite = Show(0, file, 320, 240);
    sprite->m_flags |= SPRITE_VIRTUAL;
    std::vector<SRecordedDraw> draws = Draw();
    const std::vector<SScreenVertex>& v = draws[0].vertices;
    EXPECT_FLOAT_EQ((v[0].x + v[5].x) / 2, 400.0f);
    EXPECT_FLOAT_EQ((v[0].y + v[5].y) / 2, 300.0f);
    EXPECT_FLOAT_EQ(v[5].x - v[0].x, 10.0f);
}

TEST(SpriteDrawDevice, ArgbDevicesTakeTheColourAsItIsAndHalfPixelShift)
{
    CTempDir dir;
    CVertexRecordingRenderer renderer(true);
    CSpriteBank bank;
    ASSERT_TRUE(bank.Init(&renderer));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(WriteSpriteFile(MakeSpriteData(SSpriteSpec()), bytes));
    ASSERT_TRUE(dir.WriteFile("a.spr", std::string(bytes.begin(), bytes.end())));
    int file = -1;
    ASSERT_TRUE(bank.LoadFile(dir.Join("a.spr").c_str(), false, file));
    SSpriteInstance* sprite = nullptr;
    ASSERT_TRUE(bank.CreateInstance(0, file, sprite));
    sprite->m_x = 100;
    sprite->m_y = 50;
    sprite->m_colour = 0x80112233;
    sprite->SetVisible(true);
    bank.Render();
    ASSERT_EQ(renderer.m_draws.size(), 1u);
    EXPECT_FLOAT_EQ(renderer.m_draws[0].vertices[0].x, 95.5f);
    EXPECT_FLOAT_EQ(renderer.m_draws[0].vertices[0].y, 45.5f);
    EXPECT_EQ(renderer.m_draws[0].vertices[0].colour, 0x80112233u);
}

TEST_F(SpriteDraw, PlanesDrawFarToNearWithTheirDepthAndMovementFactor)
{
    int file = LoadFormat(0);
    SSpriteInstance* front = Show(20, file, 300, 200);
    SSpriteInstance* back = Show(0, file, 300, 200);
    back->m_depthBias = 3000.0f;
    Show(7, file, 300, 200);
    m_bank->SetCameraPosition(100, 40);
    m_bank->SetPlaneScale(0, 0.5f);
    m_bank->SetPlaneScale(7, 0.0f);
    m_bank->SetPlaneScale(21, 0.25f); // no such plane: ignored
    std::vector<SRecordedDraw> draws = Draw();
    ASSERT_EQ(draws.size(), 3u);
    // Plane 0 first at depth 21 (+1 for the bias), scrolled by half the camera.
    EXPECT_FLOAT_EQ(draws[0].vertices[0].z, 22.0f);
    EXPECT_FLOAT_EQ(draws[0].vertices[0].x, 300 - 50 - 4);
    EXPECT_FLOAT_EQ(draws[0].vertices[0].y, 200 - 20 - 4);
    EXPECT_FLOAT_EQ(draws[1].vertices[0].z, 14.0f);
    EXPECT_FLOAT_EQ(draws[1].vertices[0].x, 300 - 4);
    EXPECT_FLOAT_EQ(draws[2].vertices[0].z, 1.0f);
    EXPECT_FLOAT_EQ(draws[2].vertices[0].x, 300 - 100 - 4);
    // Moving an instance to another plane keeps it visible.
    m_bank->SetInstancePlane(front, 3);
    draws = Draw();
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_FLOAT_EQ(draws[1].vertices[0].z, 18.0f);
}

TEST_F(SpriteDraw, RenderStateFollowsThePixelFormat)
{
    struct SCase
    {
        int32_t format;
        bool hiQuality;
        bool blend;
        int source, dest;
        bool alphaTest;
        int function;
        float reference;
    };
    const SCase cases[] = {
        {0, true, false, 0, 0, false, 0, 0},      {1, true, true, 1, 1, false, 0, 0},
        {2, true, true, 2, 3, true, 3, 0.0f},     {3, true, false, 0, 0, true, 4, 0.9f},
        {4, true, true, 2, 3, false, 0, 0},       {4, false, false, 0, 0, true, 4, 0.9f},
    };
    for (const SCase& c : cases)
    {
        m_renderer->SetHiQualityTextures(c.hiQuality);
        int file = LoadFormat(c.format, 1, "state" + std::to_string(c.format) + (c.hiQuality ? "h" : "l") + ".spr");
        SSpriteInstance* sprite = Show(0, file, 100, 100);
        std::vector<SRecordedDraw> draws = Draw();
        ASSERT_EQ(draws.size(), 1u);
        EXPECT_EQ(draws[0].blend, c.blend) << c.format;
        if (c.blend)
        {
            EXPECT_EQ(draws[0].blendSource, c.source) << c.format;
            EXPECT_EQ(draws[0].blendDest, c.dest) << c.format;
        }
        EXPECT_EQ(draws[0].alphaTest, c.alphaTest) << c.format;
        if (c.alphaTest)
        {
            EXPECT_EQ(draws[0].alphaFunction, c.function) << c.format;
            EXPECT_FLOAT_EQ(draws[0].alphaReference, c.reference) << c.format;
        }
        m_bank->DestroyInstance(sprite);
        m_bank->ReleaseFile(file);
    }
}

TEST_F(SpriteDraw, NoBlendPlanesLeaveOutBlendedFiles)
{
    std::vector<float> xs;
    for (int32_t format = 0; format < 5; ++format)
        Show(6, LoadFormat(format), 20.0f + 20.0f * float(format), 20);
    m_bank->SetPlaneNoBlend(6, true);
    m_renderer->SetHiQualityTextures(true);
    EXPECT_EQ(QuadLefts(Draw()), (std::vector<float>{16, 76}));
    m_renderer->SetHiQualityTextures(false);
    EXPECT_EQ(QuadLefts(Draw()), (std::vector<float>{16, 76, 96}));
    m_bank->SetPlaneNoBlend(6, false);
    EXPECT_EQ(QuadLefts(Draw()).size(), 5u);
}

TEST_F(SpriteDraw, FilesLeaveAPlaneAtTheRenderAfterTheirLastInstance)
{
    int a = LoadFormat(0, 1, "a.spr");
    int b = LoadFormat(0, 1, "b.spr");
    SSpriteInstance* first = Show(4, a, 10, 10);
    SSpriteInstance* second = nullptr;
    ASSERT_TRUE(m_bank->CreateInstance(4, b, second)); // hidden, but still registered
    EXPECT_EQ(m_bank->GetPlane(4).m_firstFile, m_bank->GetFile(a));
    m_bank->DestroyInstance(first);
    EXPECT_EQ(m_bank->GetPlane(4).m_firstFile, m_bank->GetFile(a));
    Draw();
    EXPECT_EQ(m_bank->GetPlane(4).m_firstFile, m_bank->GetFile(b));
    EXPECT_EQ(m_bank->GetPlane(4).m_lastFile, m_bank->GetFile(b));
    m_bank->DestroyInstance(second);
    Draw();
    EXPECT_EQ(m_bank->GetPlane(4).m_firstFile, nullptr);
}

TEST_F(SpriteDraw, HooksRunAfterTheirPlanesSpritesWithTheirDepth)
{
    static std::vector<std::pair<uint32_t, float>> s_calls;
    static CVertexRecordingRenderer* s_renderer;
    s_calls.clear();
    s_renderer = m_renderer.get();
    auto hook = [](uint32_t value, float depth) {
        s_calls.emplace_back(value, depth);
        s_renderer->m_calls.push_back("hook");
    };
    int file = LoadFormat(0);
    Show(4, file, 10, 10);
    m_bank->SetDrawHook(4, hook, 77);
    m_bank->SetDrawHook(19, hook, 78);
    Draw();
    ASSERT_EQ(s_calls.size(), 2u);
    EXPECT_EQ(s_calls[0], std::make_pair(77u, 17.0f));
    EXPECT_EQ(s_calls[1], std::make_pair(78u, 2.0f));
    const std::vector<std::string>& calls = m_renderer->m_calls;
    auto draw = std::find(calls.begin(), calls.end(), "draw 6");
    auto firstHook = std::find(calls.begin(), calls.end(), "hook");
    EXPECT_LT(draw, firstHook);
    EXPECT_EQ(calls.front(), "ortho 0 0 640 480");
    EXPECT_EQ(calls.back(), "ortho 0 0 640 480");
}

TEST_F(SpriteDraw, InactiveFullScreenDrawsNothing)
{
    Show(0, LoadFormat(0), 10, 10);
    m_renderer->SetFullScreen(true);
    m_renderer->SetActive(false);
    EXPECT_TRUE(Draw().empty());
    m_renderer->SetFullScreen(false);
    EXPECT_EQ(Draw().size(), 1u);
    m_renderer->SetFullScreen(true);
    m_renderer->SetActive(true);
    EXPECT_EQ(Draw().size(), 1u);
}

TEST_F(SpriteDraw, FramesTheFileDoesNotHaveAreNotDrawn)
{
    int file = LoadFormat(0, 2);
    Show(0, file, 10, 10, 2);
    Show(0, file, 30, 10, 1);
    EXPECT_EQ(QuadLefts(Draw()), std::vector<float>{26});
}

TEST_F(SpriteDraw, PoolOfInstancesRunsOutAndRefills)
{
    int file = LoadFormat(0);
    std::vector<SSpriteInstance*> all;
    SSpriteInstance* instance = nullptr;
    while (m_bank->CreateInstance(1, file, instance))
        all.push_back(instance);
    EXPECT_EQ(all.size(), size_t(SPRITE_INSTANCE_COUNT));
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), SPRITE_INSTANCE_COUNT);
    EXPECT_EQ(instance, nullptr);
    SSpriteGroup* group = nullptr;
    ASSERT_TRUE(m_bank->CreateGroup(1, group));
    EXPECT_FALSE(m_bank->CreateGroupInstance(group, file, instance));

    m_bank->DestroyInstance(all[100]);
    m_bank->DestroyInstance(all[100]); // a second give-back is ignored
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), SPRITE_INSTANCE_COUNT - 1);
    ASSERT_TRUE(m_bank->CreateInstance(1, file, instance));
    EXPECT_EQ(instance, all[100]);
    EXPECT_FALSE(m_bank->CreateInstance(1, file, instance));
    for (SSpriteInstance* each : all)
        m_bank->DestroyInstance(each);
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 0);
    // Planes outside 0..20 and free slots are refused.
    EXPECT_FALSE(m_bank->CreateInstance(21, file, instance));
    EXPECT_FALSE(m_bank->CreateInstance(-1, file, instance));
    EXPECT_FALSE(m_bank->CreateInstance(0, file + 1, instance));
    EXPECT_FALSE(m_bank->CreateGroup(21, group));
}

TEST_F(SpriteDraw, GroupsDrawMembersInOrderOneCallEach)
{
    int opaque = LoadFormat(0, 1, "a.spr");
    int blended = LoadFormat(2, 1, "b.spr");
    SSpriteGroup* group = nullptr;
    ASSERT_TRUE(m_bank->CreateGroup(9, group));
    const int files[4] = {blended, opaque, blended, opaque};
    SSpriteInstance* members[4];
    for (int i = 0; i < 4; ++i)
    {
        ASSERT_TRUE(m_bank->CreateGroupInstance(group, files[i], members[i]));
        members[i]->m_x = 20.0f + 9.0f * float(i);
        members[i]->m_y = 20.0f;
        members[i]->SetVisible(true);
    }
    members[2]->m_x = -50; // off the screen
    members[3]->m_flags |= SPRITE_FLASH;
    std::vector<SRecordedDraw> draws = Draw();
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0].texture, m_bank->GetFile(blended)->m_textureIds[0]);
    EXPECT_TRUE(draws[0].blend);
    EXPECT_FALSE(draws[0].alphaTest); // format 2 in a group: no alpha test
    EXPECT_EQ(draws[1].texture, m_bank->GetFile(opaque)->m_textureIds[0]);
    EXPECT_FALSE(draws[1].blend);
    EXPECT_TRUE(draws[2].flash);
    EXPECT_FLOAT_EQ(draws[2].vertices[0].z, 12.0f);
    EXPECT_TRUE(members[0]->m_flags & SPRITE_DRAWN);
    EXPECT_FALSE(members[2]->m_flags & SPRITE_DRAWN);
    // Indexed as A, B, C, C, B, D; the second quad's left edge (25) lies within 1.5
    // of the first one's right edge (24) and is welded to it; the last one's (43) is not.
    EXPECT_FLOAT_EQ(draws[1].vertices[0].x, 24.0f);
    EXPECT_FLOAT_EQ(draws[1].vertices[2].x, 24.0f);
    EXPECT_FLOAT_EQ(draws[1].vertices[5].x, 33.0f);
    EXPECT_FLOAT_EQ(draws[2].vertices[0].x, 43.0f);
    // Members hide by their flag alone and cannot leave the group for a plane.
    members[1]->SetVisible(false);
    m_bank->SetInstancePlane(members[0], 3);
    draws = Draw();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_FLOAT_EQ(draws[0].vertices[0].z, 12.0f);
    EXPECT_EQ(m_bank->GetPlane(3).m_firstFile, nullptr);
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 4);
    m_bank->DestroyGroup(group);
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 0);
    EXPECT_TRUE(Draw().empty());
}

TEST_F(SpriteDraw, GroupsLargerThanOneBufferDrawEveryMember)
{
    int file = LoadFormat(0);
    SSpriteGroup* group = nullptr;
    ASSERT_TRUE(m_bank->CreateGroup(0, group));
    for (int i = 0; i < 320; ++i)
    {
        SSpriteInstance* member = nullptr;
        ASSERT_TRUE(m_bank->CreateGroupInstance(group, file, member));
        member->m_x = float(i % 60) * 10.0f;
        member->m_y = float(i / 60) * 10.0f + 5.0f;
        member->SetVisible(true);
    }
    std::vector<SRecordedDraw> draws = Draw();
    ASSERT_EQ(draws.size(), 320u);
    EXPECT_FLOAT_EQ(draws[319].vertices[0].x, float(319 % 60) * 10.0f - 4.0f);
    m_bank->DestroyGroup(group);
}

TEST_F(SpriteDraw, LockFailureSkipsTheFrameQuietly)
{
    Show(0, LoadFormat(0), 10, 10);
    m_renderer->m_failLocks = true;
    EXPECT_TRUE(Draw().empty());
    m_renderer->m_failLocks = false;
    EXPECT_EQ(Draw().size(), 1u);
}
} // namespace
