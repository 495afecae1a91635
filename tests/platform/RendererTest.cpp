#include "platform/GameWindow.h"
#include "platform/Tga.h"
#include "tests/platform/RecordingRenderer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <unistd.h>

namespace
{
// A small opaque texture file.
std::string WriteTexture(const CTempDir& dir, const std::string& name, int width = 2, int height = 2)
{
    std::vector<uint8_t> pixels(size_t(width * height * 4), 200);
    std::vector<uint8_t> bytes = EncodeTga32(width, height, pixels.data());
    dir.WriteFile(name, std::string(bytes.begin(), bytes.end()));
    return dir.Join(name);
}

int Count(const std::vector<std::string>& log, const std::string& entry)
{
    return int(std::count(log.begin(), log.end(), entry));
}

std::vector<std::string> s_callbackOrder;
CRenderer* s_callbackRenderer = nullptr;
void TextureCallback(uint32_t value)
{
    s_callbackOrder.push_back("texture " + std::to_string(value));
}
void DeviceCallback(uint32_t value)
{
    s_callbackOrder.push_back("device " + std::to_string(value));
}
void SelfRemovingCallback(uint32_t value)
{
    s_callbackOrder.push_back("once " + std::to_string(value));
    s_callbackRenderer->RemoveTextureRestoreCallback(&SelfRemovingCallback, value);
}
int s_inputDestroyed = 0, s_inputCreated = 0;
void DestroyInput()
{
    ++s_inputDestroyed;
}
bool CreateInput()
{
    ++s_inputCreated;
    return true;
}
} // namespace

TEST(RendererTextures, FileTexturesAreSharedByNameIgnoringCase)
{
    CTempDir dir;
    std::string path = WriteTexture(dir, "ship.tga", 4, 2);
    std::string upper = dir.Join("SHIP.TGA");
    CRecordingRenderer renderer;
    int first = -1, second = -1, width = 0, height = 0;
    ASSERT_TRUE(renderer.LoadTexture(path.c_str(), false, 0, 1, TEXTURE_ALPHA, true, &first, &width, &height));
    ASSERT_TRUE(renderer.LoadTexture(upper.c_str(), false, 0, 0, TEXTURE_OPAQUE, false, &second, nullptr, nullptr));
    EXPECT_EQ(first, second);
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 2);
    EXPECT_EQ(renderer.uploads, 1);
    const STextureSlot* slot = renderer.GetTextureSlot(first);
    EXPECT_EQ(slot->refCount, 2);
    EXPECT_EQ(slot->kind, TEXTURE_ALPHA);
    EXPECT_EQ(slot->wrapT, 1);

    // Out-of-table indices are ignored; the slot goes with the last holder.
    for (int bad : {-1, 512, 100000, -7})
        renderer.ReleaseTexture(bad);
    renderer.ReleaseTexture(first);
    EXPECT_TRUE(renderer.GetTextureSlot(first)->inUse);
    EXPECT_EQ(renderer.releasedTextures, 0);
    renderer.ReleaseTexture(first);
    EXPECT_FALSE(renderer.GetTextureSlot(first)->inUse);
    EXPECT_EQ(renderer.releasedTextures, 1);
    EXPECT_EQ(renderer.GetTextureSlot(-1), nullptr);

    // A missing file leaves the out index untouched.
    int untouched = 77;
    EXPECT_FALSE(renderer.LoadTexture(dir.Join("missing.tga").c_str(), false, 0, 0, 0, true, &untouched, nullptr, nullptr));
    EXPECT_EQ(untouched, 77);
}

TEST(RendererTextures, MemoryTexturesFillTheTableAndAreNeverShared)
{
    CRecordingRenderer renderer;
    uint32_t pixel = 0xFF00FF00u;
    std::vector<int> indices;
    for (int i = 0; i < RENDERER_TEXTURE_SLOTS; ++i)
    {
        int index = -1;
        ASSERT_TRUE(renderer.CreateTexture(false, 0, 0, 0, true, 1, 1, 0, &pixel, nullptr, &index)) << i;
        indices.push_back(index);
    }
    EXPECT_EQ(indices.front(), 0);
    EXPECT_EQ(indices.back(), RENDERER_TEXTURE_SLOTS - 1);
    EXPECT_EQ(renderer.GetTextureSlot(5)->name, "Reserved");
    int index = -1;
    EXPECT_FALSE(renderer.CreateTexture(false, 0, 0, 0, true, 1, 1, 0, &pixel, nullptr, &index));
    renderer.ReleaseTexture(300);
    ASSERT_TRUE(renderer.CreateTexture(false, 0, 0, 0, true, 1, 1, 0, &pixel, nullptr, &index));
    EXPECT_EQ(index, 300);

    // Refused: an unconvertible pixel code, a palette image without its palette, no pixels,
    // and pixels of another size into a live texture.
    EXPECT_FALSE(renderer.CreateTexture(false, 0, 0, 0, true, 1, 1, 3, &pixel, nullptr, &index));
    renderer.ReleaseTexture(1);
    EXPECT_FALSE(renderer.CreateTexture(false, 0, 0, 0, true, 1, 1, 4, &pixel, nullptr, &index));
    EXPECT_FALSE(renderer.CreateTexture(false, 0, 0, 0, true, 1, 1, 0, nullptr, nullptr, &index));
    EXPECT_TRUE(renderer.UpdateTexture(300, 1, 1, 0, &pixel, nullptr));
    EXPECT_FALSE(renderer.UpdateTexture(300, 2, 1, 0, &pixel, nullptr));
    EXPECT_FALSE(renderer.UpdateTexture(1, 1, 1, 0, &pixel, nullptr)); // free slot
    EXPECT_FALSE(renderer.UpdateTexture(600, 1, 1, 0, &pixel, nullptr));

    // A failed upload leaves the slot free.
    renderer.failUploads = true;
    EXPECT_FALSE(renderer.CreateTexture(false, 0, 0, 0, true, 1, 1, 0, &pixel, nullptr, &index));
    EXPECT_FALSE(renderer.GetTextureSlot(1)->inUse);
}

TEST(RendererBatch, SplitsAtTenTwentyVertices)
{
    CRecordingRenderer renderer;
    int texture = 3;
    SScreenVertex* out = nullptr;
    ASSERT_TRUE(renderer.BeginBatch(&texture, false, false, false));
    EXPECT_EQ(Count(renderer.log, "bind 3"), 1);
    EXPECT_FALSE(renderer.ReserveVertices(1021, &out));
    EXPECT_FALSE(renderer.ReserveVertices(-1, &out));
    EXPECT_TRUE(renderer.draws.empty());

    // One vertex waiting, then a full batch: the one is drawn first on its own.
    ASSERT_TRUE(renderer.ReserveVertices(1, &out));
    out[0].x = 42.0f;
    ASSERT_TRUE(renderer.ReserveVertices(1020, &out));
    ASSERT_EQ(renderer.draws.size(), 1u);
    EXPECT_EQ(renderer.draws[0].count, 1);
    EXPECT_EQ(renderer.draws[0].vertices[0].x, 42.0f);
    EXPECT_EQ(out, renderer.batch); // the full batch starts at the front again
    ASSERT_TRUE(renderer.FlushBatch(false));
    EXPECT_EQ(renderer.draws[1].count, 1020);

    // 400 triangles of 3: 340 fit one batch, the rest follow.
    renderer.draws.clear();
    renderer.Tick();
    ASSERT_TRUE(renderer.BeginBatch(&texture, false, false, false));
    for (int i = 0; i < 400; ++i)
    {
        ASSERT_TRUE(renderer.ReserveVertices(3, &out));
        for (int k = 0; k < 3; ++k)
            out[k].x = float(i);
    }
    ASSERT_TRUE(renderer.FlushBatch(false));
    ASSERT_EQ(renderer.draws.size(), 2u);
    EXPECT_EQ(renderer.draws[0].count, 1020);
    EXPECT_EQ(renderer.draws[1].count, 180);
    EXPECT_EQ(renderer.draws[1].vertices[0].x, 340.0f);
    EXPECT_EQ(renderer.GetPolygonCount(), 400u);
    EXPECT_EQ(renderer.locks, renderer.unlocks);
}

TEST(RendererBatch, FlushSetsStateAndCountsPolygons)
{
    struct
    {
        bool blend, test, additive, strip;
        int vertices;
        const char* blendEntry;
        const char* testEntry;
        uint32_t polygons;
    } cases[] = {
        {true, false, false, true, 6, "blend 2 3", "alpha test off", 4},
        {false, true, true, false, 7, "blend 1 1", "alpha test 3 10", 2},
        {true, true, true, false, 3, "blend 2 3", "alpha test 3 10", 1}, // blend wins over additive
        {false, false, false, true, 2, "blend off", "alpha test off", 0},  // a strip too short adds nothing
    };
    for (const auto& c : cases)
    {
        CRecordingRenderer renderer;
        renderer.Tick();
        int texture = NO_TEXTURE;
        SScreenVertex* out = nullptr;
        renderer.BeginBatch(&texture, c.blend, c.test, c.additive);
        ASSERT_TRUE(renderer.ReserveVertices(c.vertices, &out));
        ASSERT_TRUE(renderer.FlushBatch(c.strip));
        EXPECT_EQ(Count(renderer.log, c.blendEntry), 1) << c.blendEntry;
        EXPECT_EQ(Count(renderer.log, c.testEntry), 1) << c.testEntry;
        EXPECT_EQ(renderer.GetPolygonCount(), c.polygons);
        ASSERT_EQ(renderer.draws.size(), 1u);
        EXPECT_EQ(renderer.draws[0].primitive, c.strip ? PRIMITIVE_STRIP : PRIMITIVE_LIST);
    }
    // An empty batch draws nothing and succeeds.
    CRecordingRenderer renderer;
    int texture = 0;
    renderer.BeginBatch(&texture, true, true, false);
    EXPECT_TRUE(renderer.FlushBatch(true));
    EXPECT_TRUE(renderer.draws.empty());
    EXPECT_EQ(Count(renderer.log, "blend 2 3"), 0);
}

TEST(RendererDisplay, ResetKeepsFileTexturesAndRunsCallbacksInOrder)
{
    CTempDir dir;
    CRecordingRenderer renderer;
    ASSERT_TRUE(renderer.Open("t", nullptr));
    uint32_t pixel = 0xFFFFFFFFu;
    int reserved = -1, named = -1, vanishing = -1;
    ASSERT_TRUE(renderer.CreateTexture(false, 0, 0, 0, true, 1, 1, 0, &pixel, nullptr, &reserved));
    ASSERT_TRUE(renderer.LoadTexture(WriteTexture(dir, "a.tga").c_str(), false, 1, 0, TEXTURE_ONE_BIT_ALPHA, true,
                                     &named, nullptr, nullptr));
    ASSERT_TRUE(renderer.LoadTexture(WriteTexture(dir, "gone.tga").c_str(), false, 0, 0, 0, true, &vanishing,
                                     nullptr, nullptr));
    ASSERT_TRUE(std::remove(dir.Join("gone.tga").c_str()) == 0);

    s_callbackOrder.clear();
    s_callbackRenderer = &renderer;
    renderer.AddDeviceRestoreCallback(&DeviceCallback, 1);
    renderer.AddTextureRestoreCallback(&TextureCallback, 1);
    renderer.AddTextureRestoreCallback(&SelfRemovingCallback, 9);
    renderer.AddTextureRestoreCallback(&TextureCallback, 2);
    renderer.AddDeviceRestoreCallback(&DeviceCallback, 2);
    // A record goes by its function and its value together.
    EXPECT_FALSE(renderer.RemoveDeviceRestoreCallback(&DeviceCallback, 7));
    EXPECT_FALSE(renderer.RemoveDeviceRestoreCallback(&TextureCallback, 1));
    EXPECT_TRUE(renderer.RemoveDeviceRestoreCallback(&DeviceCallback, 1));
    EXPECT_FALSE(renderer.RemoveDeviceRestoreCallback(&DeviceCallback, 1));
    renderer.AddDeviceRestoreCallback(&DeviceCallback, 3);

    s_inputDestroyed = s_inputCreated = 0;
    renderer.SetInputDeviceHooks(SInputDeviceHooks{&DestroyInput, &CreateInput});
    renderer.log.clear();
    const int uploadsBefore = renderer.uploads;
    // The vanished file cannot come back; the reset goes on without it.
    EXPECT_TRUE(renderer.ResetDisplay());

    EXPECT_EQ(s_callbackOrder, (std::vector<std::string>{"texture 1", "once 9", "texture 2", "device 2", "device 3"}));
    EXPECT_EQ(s_inputDestroyed, 1);
    EXPECT_EQ(s_inputCreated, 1);
    EXPECT_FALSE(renderer.GetTextureSlot(reserved)->inUse);
    const STextureSlot* slot = renderer.GetTextureSlot(named);
    EXPECT_TRUE(slot->inUse);
    EXPECT_NE(slot->apiTexture, nullptr);
    EXPECT_EQ(slot->kind, TEXTURE_ONE_BIT_ALPHA);
    EXPECT_EQ(slot->wrapS, 1);
    EXPECT_TRUE(renderer.GetTextureSlot(vanishing)->inUse);
    EXPECT_EQ(renderer.GetTextureSlot(vanishing)->apiTexture, nullptr);
    EXPECT_EQ(renderer.uploads, uploadsBefore + 1);
    EXPECT_EQ(*renderer.GetTextureUsageCounter(), 2u * 2u * 4u);
    // Textures come back before device objects.
    auto at = [&](const std::string& e) { return std::find(renderer.log.begin(), renderer.log.end(), e); };
    EXPECT_LT(at("release device objects"), at("destroy display"));
    EXPECT_LT(at("create display 800"), at("restore device objects"));

    // The self-removing callback ran once.
    s_callbackOrder.clear();
    renderer.ResetDisplay();
    EXPECT_EQ(s_callbackOrder, (std::vector<std::string>{"texture 1", "texture 2", "device 2", "device 3"}));
}

TEST(RendererDisplay, ResetFallsBackToPreviousThenDefaultSettings)
{
    struct
    {
        int failures;
        bool result;
        int widthAfter;
    } cases[] = {{0, true, 640}, {1, true, 800}, {2, true, 800}, {3, false, 800}};
    for (const auto& c : cases)
    {
        CRecordingRenderer renderer;
        renderer.SetDefaultSettings();
        renderer.GetPendingSettings().width = 800;
        renderer.GetPendingSettings().fullScreen = false;
        ASSERT_TRUE(renderer.Open("t", nullptr));
        renderer.GetPendingSettings().width = 640;
        renderer.failCreateDisplay = c.failures;
        s_inputCreated = 0;
        renderer.SetInputDeviceHooks(SInputDeviceHooks{&DestroyInput, &CreateInput});
        EXPECT_EQ(renderer.ResetDisplay(), c.result) << c.failures;
        EXPECT_EQ(renderer.GetSettings().width, c.widthAfter) << c.failures;
        EXPECT_EQ(s_inputCreated, 1) << "input comes back even when the reset fails";
        if (c.failures == 2)
        {
            EXPECT_TRUE(renderer.GetSettings().fullScreen) << "the third try uses the defaults";
        }
    }
}

TEST(RendererSettings, ValidationKeepsOnlyModesTheGameHas)
{
    struct
    {
        int width, colour, depth;
        int expectWidth, expectHeight, expectColour, expectDepth;
    } cases[] = {
        {1024, 24, 24, 640, 480, 16, 24}, {800, 32, 32, 800, 600, 32, 32}, {640, 16, 8, 640, 480, 16, 16},
        {0, 0, 16, 640, 480, 16, 16},
    };
    for (const auto& c : cases)
    {
        SDisplaySettings s;
        s.width = c.width;
        s.height = 12345;
        s.colourBits = c.colour;
        s.depthBits = c.depth;
        s.stencilBits = 8;
        ValidateDisplaySettings(s);
        EXPECT_EQ(s.width, c.expectWidth);
        EXPECT_EQ(s.height, c.expectHeight);
        EXPECT_EQ(s.colourBits, c.expectColour);
        EXPECT_EQ(s.depthBits, c.expectDepth);
        EXPECT_EQ(s.stencilBits, 0);
    }
}

TEST(RendererInput, RingsTakeTheWindowsInputWhileActive)
{
    CRecordingRenderer renderer;
    renderer.SetActiveForTest(true);
    auto send = [&](EWindowEventType type, uint32_t code, bool repeat = false) {
        SWindowEvent event;
        event.type = type;
        event.code = code;
        event.repeat = repeat;
        renderer.HandleWindowEvent(event);
    };
    send(EWindowEventType::Character, 'a');
    send(EWindowEventType::KeyDown, VIRTUAL_KEY_LEFT);
    send(EWindowEventType::KeyDown, VIRTUAL_KEY_LEFT, true); // auto-repeat of an arrow: not queued
    send(EWindowEventType::KeyDown, VIRTUAL_KEY_DELETE);
    send(EWindowEventType::Character, 8, true);              // repeated backspace is queued
    send(EWindowEventType::Character, '%');                  // the arrow key's number, typed
    send(EWindowEventType::Character, 7);
    SWindowEvent click;
    click.type = EWindowEventType::MouseButton;
    click.button = 1;
    click.pressed = true;
    click.x = 5;
    click.y = 6;
    renderer.HandleWindowEvent(click);

    std::vector<uint32_t> keys;
    uint32_t key;
    while (renderer.GetKeyRing().Pop(key))
        keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<uint32_t>{'a', KEY_RING_LEFT, KEY_RING_DELETE, 8, '%', 7}));
    EXPECT_NE(KEY_RING_LEFT, uint32_t('%'));
    EXPECT_NE(KEY_RING_DELETE, 7u);
    SMouseRingEvent mouse;
    ASSERT_TRUE(renderer.GetMouseRing().Pop(mouse));
    EXPECT_EQ(mouse.event, MOUSE_RING_RIGHT_DOWN);
    EXPECT_EQ(mouse.x, 5);
    EXPECT_EQ(mouse.y, 6);

    // A burst larger than the ring keeps the oldest entries and the latest position.
    for (int i = 0; i < 300; ++i)
    {
        SWindowEvent move;
        move.type = EWindowEventType::MouseMove;
        move.x = i;
        renderer.HandleWindowEvent(move);
    }
    std::vector<int> xs;
    while (renderer.GetMouseRing().Pop(mouse))
        xs.push_back(mouse.x);
    ASSERT_EQ(xs.size(), size_t(CInputRing<SMouseRingEvent>::CAPACITY - 1));
    EXPECT_EQ(xs.front(), 0);
    EXPECT_EQ(xs[xs.size() - 2], int(xs.size()) - 2);
    EXPECT_EQ(xs.back(), 299);

    // Nothing reaches the rings while inactive.
    renderer.SetActiveForTest(false);
    send(EWindowEventType::Character, 'b');
    EXPECT_TRUE(renderer.GetKeyRing().IsEmpty());
}

TEST(RendererDrawing, RectangleColourFollowsTheColourOrder)
{
    for (bool argb : {true, false})
    {
        CRecordingRenderer renderer(argb);
        renderer.SetDefaultSettings();
        renderer.DrawRect(10.0f, 20.0f, 30.0f, 40.0f, 0x11223344u, true);
        renderer.DrawRectF(0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.5f, false);
        ASSERT_EQ(renderer.draws.size(), 2u);
        const auto& quad = renderer.draws[0];
        EXPECT_EQ(quad.primitive, PRIMITIVE_STRIP);
        ASSERT_EQ(quad.count, 4);
        EXPECT_EQ(quad.vertices[0].colour, argb ? 0x11223344u : 0x44332211u);
        // Pixel centres on whole numbers (the ARGB renderer) move the corners by -0.5.
        EXPECT_EQ(renderer.GetPixelCentreShift(), argb ? -0.5f : 0.0f);
        EXPECT_EQ(quad.vertices[3].x, 40.0f + renderer.GetPixelCentreShift());
        EXPECT_EQ(quad.vertices[3].y, 60.0f + renderer.GetPixelCentreShift());
        EXPECT_EQ(quad.vertices[2].rhw, 1.0f);
        // Half-transparent red in the renderer's order: red is the third byte, or the first.
        EXPECT_EQ(renderer.draws[1].vertices[0].colour, argb ? 0x80FF0000u : 0x800000FFu);
        EXPECT_EQ(Count(renderer.log, "blend 2 3"), 1);
        EXPECT_EQ(Count(renderer.log, "texturing off"), 2);
    }
}

TEST(RendererDrawing, OutlinesAreClosedLoopsOnTheScaledScreen)
{
    CRecordingRenderer renderer;
    renderer.SetDefaultSettings(); // 800 x 600: the 640 x 480 screen scaled by 1.25
    const float white[3] = {1.0f, 1.0f, 1.0f};
    renderer.DrawCircle(100.0f, 100.0f, 10.0f, white);
    renderer.DrawRotatedBox(100.0f, 100.0f, 20.0f, 10.0f, 3.14159265f / 2.0f, white);
    ASSERT_EQ(renderer.draws.size(), 2u);
    const auto& circle = renderer.draws[0].vertices;
    ASSERT_EQ(circle.size(), 17u);
    EXPECT_EQ(circle.front().x, circle.back().x);
    const float shift = renderer.GetPixelCentreShift();
    EXPECT_NEAR(circle[0].y, 110.0f * 1.25f + shift, 1e-3f); // angle 0: straight down
    EXPECT_NEAR(circle[4].x, 110.0f * 1.25f + shift, 1e-3f); // 90 degrees
    const auto& box = renderer.draws[1].vertices;
    ASSERT_EQ(box.size(), 5u);
    EXPECT_NEAR(box[0].x, (100.0f + 10.0f) * 1.25f + shift, 1e-3f); // (-20, -10) turned a quarter
    EXPECT_NEAR(box[0].y, (100.0f - 20.0f) * 1.25f + shift, 1e-3f);
    EXPECT_EQ(box[4].x, box[0].x);
}

TEST(RendererDrawing, RibbonOutlineColoursAndPieces)
{
    const float start[3] = {1.0f, 0.0f, 0.0f}, end[3] = {0.0f, 0.0f, 1.0f};
    // A straight line along x: edges at y +- 2, colour and alpha blend along it, v per segment.
    std::vector<float> points = {10, 5, 20, 5, 30, 5};
    for (bool quads : {false, true})
    {
        CRecordingRenderer renderer;
        renderer.DrawRibbon(4, 4.0f, points.data(), 2, 10.0f, 0.0f, start, end, 1.0f, 0.0f, true, false, false, quads);
        ASSERT_EQ(renderer.draws.size(), 1u) << quads;
        const auto& v = renderer.draws[0].vertices;
        const float shift = renderer.GetPixelCentreShift();
        ASSERT_EQ(v.size(), quads ? 8u : 6u);
        EXPECT_EQ(v[0].x, 0.0f + shift);
        EXPECT_EQ(std::fabs(v[0].y - shift - 5.0f), 2.0f);
        EXPECT_EQ(v[0].y + v[1].y, 10.0f + 2.0f * shift);
        EXPECT_EQ(v[0].colour, 0xFFFF0000u);
        const SScreenVertex& last = v.back();
        EXPECT_EQ(last.x, 20.0f + shift);
        EXPECT_EQ(last.colour, 0x000000FFu);
        EXPECT_EQ(last.v, 2.0f);
        for (const auto& vertex : v)
            EXPECT_TRUE(std::isfinite(vertex.x) && std::isfinite(vertex.y));
    }
    // A U-turn and a zero-length segment still give finite vertices; no texture draws nothing.
    std::vector<float> turn = {0, 0, 10, 0, 10, 0, 0, 0};
    CRecordingRenderer renderer;
    renderer.DrawRibbon(1, 2.0f, turn.data(), 3, 0, 0, start, end, 1, 1, false, false, true, false);
    ASSERT_EQ(renderer.draws.size(), 1u);
    for (const auto& vertex : renderer.draws[0].vertices)
        EXPECT_TRUE(std::isfinite(vertex.x) && std::isfinite(vertex.y));
    renderer.DrawRibbon(NO_TEXTURE, 2.0f, turn.data(), 3, 0, 0, start, end, 1, 1, false, false, true, false);
    EXPECT_EQ(renderer.draws.size(), 1u);

    // 600 segments: in pieces that each fit one batch.
    std::vector<float> longLine;
    for (int i = 0; i <= 600; ++i)
        longLine.insert(longLine.end(), {float(i), 0.0f});
    for (bool quads : {false, true})
    {
        CRecordingRenderer many;
        many.DrawRibbon(1, 2.0f, longLine.data(), 600, 0, 0, start, end, 1, 1, false, false, false, quads);
        int segmentsDrawn = 0;
        for (const auto& draw : many.draws)
        {
            EXPECT_LE(draw.vertices.size(), size_t(RENDERER_BATCH_VERTICES));
            segmentsDrawn += quads ? int(draw.vertices.size()) / 4 : int(draw.vertices.size()) / 2 - 1;
        }
        EXPECT_EQ(segmentsDrawn, 600) << quads;
    }
}

TEST(RendererScreenshot, StampIsBlendedUprightIntoTheBottomLeftCorner)
{
    CTempDir dir;
    // Stamp 2 x 2, top row first: opaque red, transparent, half-transparent green, opaque blue.
    const uint8_t stamp[] = {0, 0, 250, 255, 9, 9, 9, 0, 0, 200, 0, 128, 240, 0, 0, 255};
    std::vector<uint8_t> bytes = EncodeTga32(2, 2, stamp);
    ASSERT_TRUE(dir.WriteFile("data/targas/ShotAd.tga", std::string(bytes.begin(), bytes.end())));

    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof(previous)), nullptr);
    ASSERT_EQ(chdir(dir.GetPath().c_str()), 0);
    CRecordingRenderer renderer;
    renderer.LoadScreenshotStamp();
    ASSERT_EQ(chdir(previous), 0);

    // A 3 x 2 frame of grey 100 with alpha 7, bottom row first.
    renderer.frameWidth = 3;
    renderer.frameHeight = 2;
    renderer.frame.assign(3 * 2 * 4, 100);
    for (size_t i = 3; i < renderer.frame.size(); i += 4)
        renderer.frame[i] = 7;
    std::string shot = dir.Join("shot.tga");
    ASSERT_TRUE(renderer.SaveScreenshot(shot.c_str()));
    std::string file;
    ASSERT_TRUE(dir.ReadFile("shot.tga", file));
    STgaImage image;
    ASSERT_TRUE(DecodeTga(reinterpret_cast<const uint8_t*>(file.data()), file.size(), image));
    ASSERT_EQ(image.width, 3);
    auto pixel = [&](int x, int y) { return std::vector<uint8_t>(&image.pixels[size_t(y * 3 + x) * 4], &image.pixels[size_t(y * 3 + x) * 4] + 4); };
    auto blend = [](int screen, int colour, int alpha) { return uint8_t(screen * (255 - alpha) / 256 + colour * alpha / 256); };
    // Top screen row = stamp's top row.
    EXPECT_EQ(pixel(0, 0), (std::vector<uint8_t>{blend(100, 0, 255), blend(100, 0, 255), blend(100, 250, 255), 255}));
    EXPECT_EQ(pixel(1, 0), (std::vector<uint8_t>{blend(100, 9, 0), blend(100, 9, 0), blend(100, 9, 0), 255}));
    EXPECT_EQ(pixel(0, 1), (std::vector<uint8_t>{blend(100, 0, 128), blend(100, 200, 128), blend(100, 0, 128), 255}));
    EXPECT_EQ(pixel(1, 1), (std::vector<uint8_t>{blend(100, 240, 255), blend(100, 0, 255), blend(100, 0, 255), 255}));
    EXPECT_EQ(pixel(2, 1), (std::vector<uint8_t>{100, 100, 100, 7})); // outside the stamp: untouched

    // A frame smaller than the stamp is stamped only where it exists.
    std::vector<uint8_t> tiny(4, 50);
    renderer.BlendStamp(tiny, 1, 1);
    EXPECT_EQ(tiny, (std::vector<uint8_t>{blend(50, 0, 128), blend(50, 200, 128), blend(50, 0, 128), 255}));

    // Without a frame there is no file.
    renderer.frame.clear();
    EXPECT_FALSE(renderer.SaveScreenshot(dir.Join("none.tga").c_str()));
    EXPECT_FALSE(dir.ReadFile("none.tga", file));
}

namespace
{
std::vector<std::string> s_overlayText;
void RecordOverlayText(float x, float y, const char* text)
{
    s_overlayText.push_back(std::to_string(int(x)) + "," + std::to_string(int(y)) + " " + text);
}
} // namespace

TEST(RendererStatistics, OverlaysShowWhatIsSwitchedOn)
{
    CRecordingRenderer renderer;
    renderer.SetDefaultSettings();
    renderer.SetTextDrawer(&RecordOverlayText);
    uint32_t pixel = 0;
    int index = -1;
    ASSERT_TRUE(renderer.CreateTexture(false, 0, 0, 0, true, 512, 512, 0, std::vector<uint32_t>(512 * 512, pixel).data(),
                                       nullptr, &index));
    renderer.Tick();
    const uint32_t frameBefore = renderer.GetFrameCount();
    renderer.EndScene();
    EXPECT_TRUE(s_overlayText.empty());
    EXPECT_TRUE(renderer.draws.empty());

    renderer.ShowPolyCount(true);
    renderer.ShowTextureUsage(true);
    renderer.ShowTiming(true);
    int texture = NO_TEXTURE;
    SScreenVertex* v = nullptr;
    renderer.BeginBatch(&texture, false, false, false);
    renderer.ReserveVertices(9, &v);
    renderer.FlushBatch(false);
    renderer.draws.clear();
    renderer.EndScene();
    EXPECT_EQ(s_overlayText, (std::vector<std::string>{"10,10 Num polys renderered = 3",
                                                       "10,30 Best guess total texture usage = 1.000000.2 Mb"}));
    // The timing bar: red for the time used so far, green for the rest of 100 pixels.
    ASSERT_EQ(renderer.draws.size(), 2u);
    float red = renderer.draws[0].vertices[1].x - renderer.draws[0].vertices[0].x;
    float green = renderer.draws[1].vertices[1].x - renderer.draws[1].vertices[0].x;
    EXPECT_FLOAT_EQ(red + green, 100.0f);
    EXPECT_GE(red, 0.0f);
    EXPECT_EQ(renderer.draws[0].vertices[0].colour, 0xFFFF0000u);
    EXPECT_EQ(renderer.draws[1].vertices[0].colour, 0xFF00FF00u);
    EXPECT_EQ(renderer.draws[1].vertices[2].y, 17.0f + renderer.GetPixelCentreShift());

    renderer.Tick();
    EXPECT_EQ(renderer.GetFrameCount(), frameBefore + 1);
    EXPECT_EQ(renderer.GetPolygonCount(), 0u);
}

TEST(RendererDisplay, ActivationLeavesAndRestoresFullScreen)
{
    CRecordingRenderer renderer;
    renderer.SetDefaultSettings();
    renderer.GetPendingSettings().fullScreen = false;
    ASSERT_TRUE(renderer.Open("t", nullptr));
    renderer.GetPendingSettings().fullScreen = false;
    renderer.ResetDisplay();
    // In a window, deactivation only stops the game being active.
    renderer.log.clear();
    renderer.OnDeactivate();
    EXPECT_FALSE(renderer.IsActive());
    EXPECT_TRUE(renderer.log.empty());
    renderer.OnActivate();
    EXPECT_TRUE(renderer.IsActive());
    EXPECT_TRUE(renderer.log.empty());

    // In full screen it drops to a window and comes back on activation.
    renderer.GetPendingSettings().fullScreen = true;
    renderer.ResetDisplay();
    ASSERT_TRUE(renderer.GetSettings().fullScreen);
    renderer.log.clear();
    renderer.OnDeactivate();
    EXPECT_FALSE(renderer.GetSettings().fullScreen);
    EXPECT_FALSE(renderer.IsActive());
    renderer.OnActivate();
    EXPECT_TRUE(renderer.GetSettings().fullScreen);
    EXPECT_TRUE(renderer.IsActive());
    EXPECT_EQ(Count(renderer.log, "destroy display"), 2);
}
