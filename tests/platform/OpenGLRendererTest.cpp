#include "platform/GameWindow.h"
#include "platform/GlApi.h"
#include "platform/OpenGLRenderer.h"
#include "platform/Tga.h"
#include "platform/VertexBuffer.h"
#include "tests/support/platform/OffscreenGl.h"
#include "tests/support/TempDir.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace
{
std::unique_ptr<COpenGLRenderer> OpenWindowed(CConsole* console, GlProcResolver resolver = nullptr,
                                              void (*adjust)(SDisplaySettings&) = nullptr)
{
    auto renderer = std::make_unique<COpenGLRenderer>(resolver);
    SDisplaySettings& settings = const_cast<SDisplaySettings&>(renderer->GetSettings());
    settings.fullScreen = false;
    settings.width = 640;
    if (adjust)
        adjust(settings);
    if (!renderer->Open("Tessavar", console))
        return nullptr;
    return renderer;
}

// The shown frame through a screenshot: top row first, 0xAARRGGBB.
std::vector<uint32_t> Shot(COpenGLRenderer& renderer, const CTempDir& dir)
{
    std::string path = dir.Join("frame.tga");
    STgaImage image;
    if (!renderer.SaveScreenshot(path.c_str()) || !LoadTga(path.c_str(), image))
        return {};
    std::vector<uint32_t> out(size_t(image.width) * size_t(image.height));
    for (size_t i = 0; i < out.size(); ++i)
        std::memcpy(&out[i], &image.pixels[i * 4], 4);
    return out;
}

// The driver as it is, but with names hidden or strings replaced (the fake glGetString).
const char* s_hiddenName = nullptr;
const char* s_fakeVersion = nullptr;
bool s_hideBgra = false;
const GLubyte* (*s_realGetString)(GLenum) = nullptr;
std::string s_filtered;

const GLubyte* FakeGetString(GLenum name)
{
    if (name == gl::VERSION && s_fakeVersion)
        return reinterpret_cast<const GLubyte*>(s_fakeVersion);
    const GLubyte* real = s_realGetString(name);
    if (name != gl::EXTENSIONS || !s_hideBgra || !real)
        return real;
    s_filtered = std::string(" ") + reinterpret_cast<const char*>(real) + " ";
    for (size_t at; (at = s_filtered.find(" GL_EXT_bgra ")) != std::string::npos;)
        s_filtered.erase(at, 12);
    return reinterpret_cast<const GLubyte*>(s_filtered.c_str());
}

void* FilteringResolver(const char* name)
{
    if (s_hiddenName && std::strcmp(name, s_hiddenName) == 0)
        return nullptr;
    if (std::strcmp(name, "glGetString") == 0)
    {
        s_realGetString = reinterpret_cast<const GLubyte* (*)(GLenum)>(GetGlProcAddress(name));
        return reinterpret_cast<void*>(&FakeGetString);
    }
    return GetGlProcAddress(name);
}

class OpenGLRendererTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        s_hiddenName = s_fakeVersion = nullptr;
        s_hideBgra = false;
        std::string reason;
        if (!UseOffscreenGl(reason))
            GTEST_SKIP() << reason;
    }
    CCapturingConsole m_console;
    CTempDir m_dir;
};

// One frame of a right-angled triangle at (x, y) with legs of the given size, the whole
// texture over it, in one vertex colour.
bool DrawTexturedTriangle(COpenGLRenderer& renderer, int texture, float x, float y, float size, uint32_t colour)
{
    renderer.Tick();
    SScreenVertex* v = nullptr;
    if (renderer.BeginScene() != 1 || !renderer.BeginBatch(&texture, false, false, false) ||
        !renderer.ReserveVertices(3, &v))
        return false;
    v[0] = SScreenVertex{x, y, 0, 1, colour, 0, 0};
    v[1] = SScreenVertex{x + size, y, 0, 1, colour, 1, 0};
    v[2] = SScreenVertex{x, y + size, 0, 1, colour, 0, 1};
    const bool drawn = renderer.FlushBatch(false);
    renderer.EndScene();
    return drawn;
}

// A textured quad through a batch and a second one through an indexed vertex buffer.
void DrawTwoQuads(COpenGLRenderer& renderer, int texture, CVertexBuffer* buffer, bool& indexedDrawn)
{
    renderer.Tick();
    ASSERT_EQ(renderer.BeginScene(), 1);
    ASSERT_TRUE(renderer.BeginBatch(&texture, false, false, false));
    SScreenVertex* v = nullptr;
    ASSERT_TRUE(renderer.ReserveVertices(4, &v));
    const float corners[4][2] = {{10, 10}, {40, 10}, {10, 40}, {40, 40}};
    for (int i = 0; i < 4; ++i)
        v[i] = SScreenVertex{corners[i][0], corners[i][1], 0, 1, 0xFF00FF00u /* green, alpha 255 */,
                             (corners[i][0] - 10) / 30, (corners[i][1] - 10) / 30};
    ASSERT_TRUE(renderer.FlushBatch(true));

    ASSERT_TRUE(buffer->Lock(&v));
    for (int i = 0; i < 4; ++i)
        v[i] = SScreenVertex{corners[i][0] + 50, corners[i][1], 0, 1, 0xFFFF0000u /* blue */, 0, 0};
    buffer->Unlock();
    renderer.DisableTexturing();
    renderer.DisableBlend();
    const uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
    buffer->BeginDraw();
    indexedDrawn = buffer->DrawIndexed(PRIMITIVE_LIST, 6, INDEX_16, indices);
    buffer->EndDraw();
    renderer.EndScene();
}
} // namespace

TEST(GlDriverText, ExtensionsVersionsAndSoftwareDrivers)
{
    SGlCapabilities caps;
    std::vector<std::string> notes;
    ScanGlExtensions("GL_ARB_multitexture  gl_ext_bgra GL_EXT_compiled_vertex_array_x GL_ARB_texture_env_combine "
                     "GL_EXT_compiled_vertex_array GL_ARB_texture_border_clamp",
                     caps, [](const char* line, void* user) { static_cast<std::vector<std::string>*>(user)->push_back(line); },
                     &notes);
    EXPECT_TRUE(caps.multitexture);
    EXPECT_TRUE(caps.bgra) << "names compare without regard to case";
    EXPECT_TRUE(caps.compiledVertexArrays);
    EXPECT_TRUE(caps.combine);
    EXPECT_FALSE(caps.textureCompression);
    EXPECT_EQ(notes, std::vector<std::string>{"found ARB_texture_env_combine"});

    const struct
    {
        const char* version;
        bool older;
    } versions[] = {{"1.1.0", true}, {"1.2.1", true}, {"1.2", true}, {"1.3 Mesa", false},
                    {"4.5 (Compatibility Profile) Mesa 22.3.6", false}, {"", false}, {nullptr, false}};
    for (const auto& c : versions)
        EXPECT_EQ(IsGlVersionBefore12(c.version), c.older) << (c.version ? c.version : "(null)");

    EXPECT_TRUE(IsSoftwareGlRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(IsSoftwareGlRenderer("Software Rasterizer (swrast)"));
    EXPECT_FALSE(IsSoftwareGlRenderer("Mesa Intel(R) UHD Graphics 620"));
    EXPECT_FALSE(IsSoftwareGlRenderer(nullptr));
}

TEST(GlDriverText, EveryRequiredEntryPointIsNeeded)
{
    static const char* s_missing = nullptr;
    SGlApi api;
    const char* missing = nullptr;
    s_missing = "glPrioritizeTextures";
    auto resolver = [](const char* name) -> void* {
        return std::strcmp(name, s_missing) == 0 ? nullptr : reinterpret_cast<void*>(&FakeGetString);
    };
    EXPECT_FALSE(LoadGlEntryPoints(resolver, api, &missing));
    EXPECT_STREQ(missing, "glPrioritizeTextures");
    s_missing = "none";
    EXPECT_TRUE(LoadGlEntryPoints(resolver, api, &missing));
    EXPECT_NE(api.GetString, nullptr);
}

TEST_F(OpenGLRendererTest, OpensOnTheDriverAndLogsIt)
{
    auto renderer = OpenWindowed(&m_console);
    ASSERT_TRUE(renderer);
    EXPECT_FALSE(renderer->IsColourArgb());
    EXPECT_TRUE(renderer->IsActive());
    EXPECT_TRUE(renderer->IsOpened());
    EXPECT_TRUE(m_console.Holds("OpenGL Information"));
    EXPECT_TRUE(m_console.Holds("Core Extensions : "));
    EXPECT_TRUE(m_console.Holds(std::string(75, '-')));
    EXPECT_TRUE(renderer->GetCapabilities().bgra);
    EXPECT_TRUE(renderer->GetCapabilities().clampToEdge);
    EXPECT_EQ(renderer->GetSettings().colourBits, 32);
    bool received = false;
    for (const std::string& line : m_console.lines)
        received = received || line.rfind("Pixel format received = 32 color bits, 16 depth bits", 0) == 0;
    EXPECT_TRUE(received);
}

TEST_F(OpenGLRendererTest, AMissingEntryPointFailsOpen)
{
    s_hiddenName = "glPrioritizeTextures";
    EXPECT_FALSE(OpenWindowed(&m_console, &FilteringResolver));
    EXPECT_TRUE(m_console.Holds("OpenGL entry point glPrioritizeTextures not found"));
}

TEST_F(OpenGLRendererTest, AnOldDriverWithoutBgraClampsAndTakesNoScreenshot)
{
    s_fakeVersion = "1.2.1";
    s_hideBgra = true;
    auto renderer = OpenWindowed(&m_console, &FilteringResolver);
    ASSERT_TRUE(renderer);
    EXPECT_TRUE(m_console.Holds("OpenGL pre V1.2, disabling clamp to edge"));
    EXPECT_FALSE(renderer->GetCapabilities().clampToEdge);
    EXPECT_FALSE(renderer->GetCapabilities().bgra);
    // Textures still go up (red first), and frames are still drawn.
    const uint32_t pixels[4] = {0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u, 0xFFFFFFFFu};
    int texture = -1;
    EXPECT_TRUE(renderer->CreateTexture(false, 0, 0, TEXTURE_OPAQUE, true, 2, 2, 0, pixels, nullptr, &texture));
    renderer->Tick();
    EXPECT_EQ(renderer->BeginScene(), 1);
    renderer->EndScene();
    const std::string path = m_dir.Join("shot.tga");
    EXPECT_FALSE(renderer->SaveScreenshot(path.c_str()));
    EXPECT_TRUE(m_console.Holds("Screenshot dumping requires bgra support, not found"));
    STgaImage image;
    EXPECT_FALSE(LoadTga(path.c_str(), image)) << "no file is written";
}

TEST_F(OpenGLRendererTest, ColourOrderOfVerticesAndPackedRectangles)
{
    auto renderer = OpenWindowed(&m_console);
    ASSERT_TRUE(renderer);
    renderer->Tick();
    ASSERT_EQ(renderer->BeginScene(), 1);
    // DrawRect's packed colour is red in the top byte here: 0xRRGGBBAA.
    renderer->DrawRect(0, 0, 20, 20, 0xFF204080u, false);
    renderer->DrawRectF(20, 0, 20, 20, 0.0f, 1.0f, 0.0f, 1.0f, false);
    // Half-transparent blue over the red, blended.
    renderer->DrawRectF(0, 0, 20, 10, 0.0f, 0.0f, 1.0f, 0.5f, true);
    renderer->EndScene();
    std::vector<uint32_t> frame = Shot(*renderer, m_dir);
    ASSERT_EQ(frame.size(), 640u * 480u);
    EXPECT_EQ(frame[15 * 640 + 5] & 0xFFFFFFu, 0xFF2040u);
    EXPECT_EQ(frame[15 * 640 + 25] & 0xFFFFFFu, 0x00FF00u);
    const uint32_t blended = frame[5 * 640 + 5];
    EXPECT_NEAR(int(blended >> 16 & 0xFF), 0xFF / 2, 2);
    EXPECT_NEAR(int(blended & 0xFF), (0x40 + 0xFF) / 2, 2);
    EXPECT_EQ(frame[30 * 640 + 5] & 0xFFFFFFu, 0u) << "cleared to black";
}

TEST_F(OpenGLRendererTest, RenderMethodsDrawTheSameAndUltraSafeRefusesIndexedDraws)
{
    struct SMethod
    {
        const char* name;
        void (*adjust)(SDisplaySettings&);
        bool indexed;
    };
    const SMethod methods[] = {
        {"normal", nullptr, true},
        {"without compiled arrays", [](SDisplaySettings& s) { s.disableCva = true; }, true},
        {"safe", [](SDisplaySettings& s) { s.safeRenderMethod = true; }, true},
        {"ultra-safe", [](SDisplaySettings& s) { s.ultraSafeRenderMethod = true; }, false},
    };
    std::vector<uint32_t> reference;
    for (const SMethod& method : methods)
    {
        SCOPED_TRACE(method.name);
        auto renderer = OpenWindowed(&m_console, nullptr, method.adjust);
        ASSERT_TRUE(renderer);
        if (!method.adjust)
        {
            EXPECT_TRUE(renderer->UsesCompiledVertexArrays()) << "Mesa offers them";
        }
        // Red, green, blue, white texels (blue-green-red-alpha bytes).
        const uint32_t pixels[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};
        int texture = -1;
        ASSERT_TRUE(renderer->CreateTexture(false, 0, 0, TEXTURE_OPAQUE, false, 2, 2, 0, pixels, nullptr, &texture));
        CVertexBuffer* buffer = nullptr;
        ASSERT_TRUE(renderer->CreateVertexBuffer(4 * sizeof(SScreenVertex), &buffer));
        bool indexedDrawn = false;
        DrawTwoQuads(*renderer, texture, buffer, indexedDrawn);
        EXPECT_EQ(indexedDrawn, method.indexed);
        EXPECT_EQ(renderer->GetPolygonCount(), 2u);
        std::vector<uint32_t> frame = Shot(*renderer, m_dir);
        ASSERT_EQ(frame.size(), 640u * 480u);
        // Nearest-filtered texel quarters modulated by green: only the green ones show.
        EXPECT_EQ(frame[15 * 640 + 15] & 0xFFFFFFu, 0x000000u);
        EXPECT_EQ(frame[15 * 640 + 35] & 0xFFFFFFu, 0x00FF00u);
        EXPECT_EQ(frame[35 * 640 + 35] & 0xFFFFFFu, 0x00FF00u);
        EXPECT_EQ(frame[25 * 640 + 75] & 0xFFFFFFu, method.indexed ? 0x0000FFu : 0u);
        if (reference.empty())
        {
            reference = frame;
        }
        else if (method.indexed)
        {
            EXPECT_TRUE(frame == reference);
        }
        renderer->DestroyVertexBuffer(buffer);
    }
}

TEST_F(OpenGLRendererTest, ADisplayResetKeepsDrawingWithRestoredTextures)
{
    auto renderer = OpenWindowed(&m_console);
    ASSERT_TRUE(renderer);
    static COpenGLRenderer* s_renderer = nullptr;
    static int s_texture = -1;
    s_renderer = renderer.get();
    auto make = [](uint32_t) {
        const uint32_t white[1] = {0xFFFFFFFFu};
        s_renderer->CreateTexture(false, 1, 1, TEXTURE_OPAQUE, true, 1, 1, 0, white, nullptr, &s_texture);
    };
    make(0);
    ASSERT_TRUE(renderer->AddTextureRestoreCallback(make, 0));
    renderer->GetPendingSettings().width = 800;
    ASSERT_TRUE(renderer->ResetDisplay());
    EXPECT_EQ(renderer->GetSettings().height, 600);
    EXPECT_NE(renderer->GetTextureName(s_texture), 0u);
    ASSERT_TRUE(DrawTexturedTriangle(*renderer, s_texture, 700, 500, 100, 0xFF0000FFu));
    std::vector<uint32_t> frame = Shot(*renderer, m_dir);
    ASSERT_EQ(frame.size(), 800u * 600u);
    EXPECT_EQ(frame[510 * 800 + 710] & 0xFFFFFFu, 0xFF0000u) << "red through the restored white texture";
}

TEST_F(OpenGLRendererTest, ReducedQualityTexturesTakeTwoBytesAPixelAndStillDraw)
{
    const struct
    {
        bool hiQuality;
        int kind;
        uint32_t bytes;
    } cases[] = {{true, TEXTURE_ALPHA, 4 * 16}, {false, TEXTURE_OPAQUE, 2 * 16}, {false, TEXTURE_ALPHA, 2 * 16},
                 {false, TEXTURE_ONE_BIT_ALPHA, 2 * 16}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.hiQuality) + " kind " + std::to_string(c.kind));
        static bool s_hiQuality;
        s_hiQuality = c.hiQuality;
        auto renderer = OpenWindowed(&m_console, nullptr, [](SDisplaySettings& s) { s.hiQualityTextures = s_hiQuality; });
        ASSERT_TRUE(renderer);
        std::vector<uint32_t> texels(16, 0xFFF08010u); // opaque orange-ish in blue-green-red-alpha words
        int texture = -1;
        ASSERT_TRUE(renderer->CreateTexture(false, 0, 0, c.kind, false, 4, 4, 0, texels.data(), nullptr, &texture));
        EXPECT_EQ(*renderer->GetTextureUsageCounter(), c.bytes);
        ASSERT_TRUE(DrawTexturedTriangle(*renderer, texture, 0, 0, 40, 0xFFFFFFFFu));
        std::vector<uint32_t> frame = Shot(*renderer, m_dir);
        ASSERT_FALSE(frame.empty());
        // Four or five bits a channel keep the colour within a step of 1/15.
        const uint32_t pixel = frame[5 * 640 + 5];
        EXPECT_NEAR(int(pixel >> 16 & 0xFF), 0xF0, c.hiQuality ? 0 : 17);
        EXPECT_NEAR(int(pixel >> 8 & 0xFF), 0x80, c.hiQuality ? 0 : 17);
        EXPECT_NEAR(int(pixel & 0xFF), 0x10, c.hiQuality ? 0 : 17);
    }
}

TEST_F(OpenGLRendererTest, AFullScreenRequestDrawsAtTheBackBufferSize)
{
    // Full screen covers the desktop, whatever modes the display has, as with the other
    // renderer; the frame (and so the screenshot) keeps the back buffer's size and is
    // scaled over the window only when shown.
    auto renderer = OpenWindowed(&m_console, nullptr, [](SDisplaySettings& s) { s.fullScreen = true; });
    ASSERT_TRUE(renderer);
    int left = 0, top = 0, right = 0, bottom = 0;
    renderer->GetClientRect(left, top, right, bottom);
    SDL_Rect desktop;
    ASSERT_EQ(SDL_GetDisplayBounds(0, &desktop), 0) << SDL_GetError();
    EXPECT_EQ(right - left, desktop.w);
    EXPECT_EQ(bottom - top, desktop.h);
    renderer->Tick();
    EXPECT_EQ(renderer->BeginScene(), 1);
    renderer->DrawRectF(0, 0, 640, 480, 1, 1, 1, 1, false);
    renderer->EndScene();
    std::vector<uint32_t> frame = Shot(*renderer, m_dir);
    ASSERT_EQ(frame.size(), 640u * 480u);
    EXPECT_EQ(frame[479 * 640 + 639] & 0xFFFFFFu, 0xFFFFFFu);
}

TEST_F(OpenGLRendererTest, ActivationReappliesTheVolumesAndClosingTheWindowEndsTheGame)
{
    auto renderer = OpenWindowed(&m_console);
    ASSERT_TRUE(renderer);
    static int s_reapplied = 0;
    s_reapplied = 0;
    renderer->SetActivationHook([] { ++s_reapplied; });
    SWindowEvent event;
    event.type = EWindowEventType::Deactivate;
    renderer->HandleWindowEvent(event);
    EXPECT_FALSE(renderer->IsActive());
    event.type = EWindowEventType::Activate;
    renderer->HandleWindowEvent(event);
    EXPECT_TRUE(renderer->IsActive());
    EXPECT_EQ(s_reapplied, 1);

    while (PumpWindowMessage() == EPumpResult::Handled)
    {
    }
    event.type = EWindowEventType::Close;
    renderer->HandleWindowEvent(event);
    EPumpResult result = EPumpResult::Handled;
    while (result == EPumpResult::Handled)
        result = PumpWindowMessage();
    EXPECT_EQ(result, EPumpResult::Quit);
}
