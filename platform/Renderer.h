#pragma once
// The one drawing interface of the game. Start-up makes one renderer (g_renderer) and
// every other part draws through it: screen-space vertices in batches per texture or in
// vertex buffers, and textures in a table of 512 slots addressed by index (-1 none).
// What both back-ends share lives here; each back-end supplies the device calls
// (the protected Api* hooks) and the operations that differ.

#include "core/ConsoleRegistrations.h"
#include "platform/InputRing.h"
#include "platform/ScreenVertex.h"

#include <cstdint>
#include <string>
#include <vector>

class CConsole;
class CDataTree;
class CSettingsWriter;
class CVertexBuffer;
struct SWindowEvent;

constexpr int RENDERER_TEXTURE_SLOTS = 512;
constexpr int RENDERER_BATCH_VERTICES = 1020;
constexpr int NO_TEXTURE = -1;

// Texture kinds: they choose the reduced-quality format of a texture.
enum ETextureKind : int
{
    TEXTURE_OPAQUE = 0,
    TEXTURE_ALPHA = 1,
    TEXTURE_ONE_BIT_ALPHA = 2,
};

// Codes of SetBlend and SetAlphaTest.
enum EBlendCode : int
{
    BLEND_ZERO = 0,
    BLEND_ONE = 1,
    BLEND_SRC_ALPHA = 2,
    BLEND_INV_SRC_ALPHA = 3,
};

enum EAlphaTestCode : int
{
    ALPHA_EQUAL = 0,
    ALPHA_LESS = 1,
    ALPHA_LESS_EQUAL = 2,
    ALPHA_GREATER = 3,
    ALPHA_GREATER_EQUAL = 4,
};

// The display settings, copied as a whole between the current, pending and backup copies.
struct SDisplaySettings
{
    int32_t width = 800;
    int32_t height = 600;
    int32_t colourBits = 32;
    int32_t depthBits = 16;
    int32_t stencilBits = 0;
    bool runOnce = false;
    bool fullScreen = true;
    bool forceWindowed = false;
    bool hiQualityTextures = true;
    bool compressedTextures = false;
    bool mipmap = false;
    bool filterLinear = true;
    bool mipFilterLinear = false;
    bool disableCva = false;
    bool ultraSafeRenderMethod = false;
    bool safeRenderMethod = false;
};

// Colour and depth sizes the hardware takes; width 640 or 800 with the matching height.
void ValidateDisplaySettings(SDisplaySettings& settings);

struct STextureSlot
{
    bool inUse = false;
    bool reserved = false;  // made from memory; never shared by name
    std::string name;       // the file it was loaded from, or "Reserved"
    int refCount = 0;
    void* apiTexture = nullptr;
    int kind = TEXTURE_OPAQUE;
    int width = 0;
    int height = 0;
    int wrapS = 0;  // 0 clamp, 1 repeat
    int wrapT = 0;
    bool noCompression = false;
    bool filter = false;  // true: the configured linear filters; false: nearest
};

using RendererRestoreCallback = void (*)(uint32_t userValue);
// Draws a line of overlay text (the GUI installs one; the renderer has no fonts).
using RendererTextDrawer = void (*)(float x, float y, const char* text);

// Called when the game window becomes active again (the audio system re-applies its
// volumes there).
using RendererActivationHook = void (*)();

// The input device is bound to the window, so a display reset makes it again through
// these (installed by the application shell).
struct SInputDeviceHooks
{
    void (*destroy)() = nullptr;
    bool (*create)() = nullptr;  // false: no input device could be made
};

class CRenderer
{
public:
    explicit CRenderer(bool colourIsArgb);
    CRenderer(const CRenderer&) = delete;
    CRenderer& operator=(const CRenderer&) = delete;

    // Slots 0 to 60, in their order.
    virtual ~CRenderer();
    virtual bool Open(const char* title, CConsole* console) = 0;
    virtual void Close() = 0;
    virtual bool CreateDisplay() = 0;
    virtual void DestroyDisplay() = 0;
    virtual bool ResetDisplay();
    virtual void ReadSettings(const CDataTree& tree);
    virtual void WriteSettings(CSettingsWriter& writer, CDataTree& tree);
    virtual void SetDefaultSettings();
    virtual bool CanDraw() = 0;
    virtual void Tick();
    virtual int BeginScene() = 0;
    virtual void EndScene() = 0;
    virtual void GetClientRect(int& left, int& top, int& right, int& bottom) = 0;
    virtual bool SaveScreenshot(const char* fileName);
    virtual void SetFrustum(float left, float right, float top, float bottom, float nearZ, float farZ) = 0;
    virtual void ResetViewport() = 0;
    virtual void SetViewport(int x, int y, int width, int height) = 0;
    virtual void SetPerspective(int width, int height) = 0;
    virtual void SetOrthoProjection(float left, float top, float right, float bottom, float nearZ, float farZ) = 0;
    virtual void SetOrtho2D(float left, float top, float right, float bottom);
    virtual void EnableTexturing() = 0;
    virtual void DisableTexturing() = 0;
    virtual void SetTextureDecal() = 0;
    virtual void SetTextureModulate() = 0;
    virtual void SetTextureColourFromVertex() = 0;
    virtual void DisableBlend() = 0;
    virtual void SetBlend(int sourceCode, int destCode) = 0;
    virtual void DisableAlphaTest() = 0;
    virtual void SetAlphaTest(int functionCode, float reference) = 0;
    virtual void EnableDepthTest() = 0;
    virtual void DisableDepthTest() = 0;
    virtual void EnableDepthWrite() = 0;
    virtual void DisableDepthWrite() = 0;
    virtual void GetWindowHandle(void** window);
    virtual bool BeginBatch(const int* textureIndex, bool alphaBlend, bool alphaTest, bool additive);
    virtual bool ReserveVertices(int count, SScreenVertex** vertices);
    virtual bool FlushBatch(bool strip);
    virtual bool AddTextureRestoreCallback(RendererRestoreCallback callback, uint32_t userValue);
    virtual bool RemoveTextureRestoreCallback(RendererRestoreCallback callback, uint32_t userValue);
    virtual bool AddDeviceRestoreCallback(RendererRestoreCallback callback, uint32_t userValue);
    virtual bool RemoveDeviceRestoreCallback(RendererRestoreCallback callback, uint32_t userValue);
    virtual bool CreateVertexBuffer(int sizeBytes, CVertexBuffer** buffer) = 0;
    virtual void DestroyVertexBuffer(CVertexBuffer* buffer) = 0;
    virtual bool CreateTexture(bool noCompression, int wrapS, int wrapT, int kind, bool filter, int width, int height,
                               int sourceCode, const void* pixels, const uint32_t* palette, int* index);
    virtual bool LoadTexture(const char* fileName, bool noCompression, int wrapS, int wrapT, int kind, bool filter,
                             int* index, int* width, int* height);
    virtual void ReleaseTexture(int index);
    virtual void BindTexture(int index, bool filter) = 0;
    virtual bool UpdateTexture(int index, int width, int height, int sourceCode, const void* pixels,
                               const uint32_t* palette);
    virtual void ShowTiming(bool show);
    virtual void ShowPolyCount(bool show);
    virtual void ShowTextureUsage(bool show);
    virtual void ShowPerFrameTextureUsage(bool show);
    virtual void OnActivate();
    virtual void OnDeactivate();
    // points: pointCount = segments + 1 pairs of world x, y.
    virtual void DrawRibbon(int textureIndex, float width, const float* points, int segments, float cameraX,
                            float cameraY, const float startColour[3], const float endColour[3], float startAlpha,
                            float endAlpha, bool blend, bool alphaTest, bool additive, bool quads);
    virtual bool IsActive();
    virtual void DrawRect(float x, float y, float width, float height, uint32_t colour, bool blend);
    virtual void DrawRectF(float x, float y, float width, float height, float red, float green, float blue,
                           float alpha, bool blend);
    virtual void DrawCircle(float x, float y, float radius, const float colour[3]);
    virtual void DrawRotatedBox(float x, float y, float halfWidth, float halfHeight, float angle,
                                const float colour[3]);

    // The game window's procedure: input rings and activation. The window layer calls it.
    void HandleWindowEvent(const SWindowEvent& event);
    // Keeps the pointer inside the game window, or lets it go again.
    void ConstrainPointer(bool constrain);

    // Packed vertex colour order: 0xAARRGGBB when true, else 0xAABBGGRR.
    bool IsColourArgb() const { return m_colourIsArgb; }
    uint32_t PackColour(float red, float green, float blue, float alpha) const;
    // The renderer with ARGB vertex colours has its pixel centres on whole coordinates, the
    // other half a pixel further on: 2D vertices move by this much to cover the same pixels.
    float GetPixelCentreShift() const { return m_colourIsArgb ? -0.5f : 0.0f; }
    bool IsOpened() const { return m_opened; }
    const SDisplaySettings& GetSettings() const { return m_settings; }
    SDisplaySettings& GetPendingSettings() { return m_pending; }
    bool GetForceSingleStage() const { return m_forceSingleStage; }

    CInputRing<uint32_t>& GetKeyRing() { return m_keyRing; }
    CInputRing<SMouseRingEvent>& GetMouseRing() { return m_mouseRing; }

    const STextureSlot* GetTextureSlot(int index) const;
    uint32_t GetPolygonCount() const { return m_polygonCount; }
    uint32_t GetFrameCount() const { return m_frameCount; }
    uint32_t GetFrameDurationMs() const { return m_frameDurationMs; }
    // Bytes of uploaded textures; the console variable "textureusage" is bound to it.
    uint32_t* GetTextureUsageCounter() { return &m_textureBytes; }
    // Console entries that point into the renderer (its "r_" variables, the shell's
    // "textureusage") are registered here, so they go with it.
    CConsoleRegistrations& GetConsoleEntries() { return m_consoleEntries; }

    void SetTextDrawer(RendererTextDrawer drawer) { m_textDrawer = drawer; }
    void SetInputDeviceHooks(const SInputDeviceHooks& hooks) { m_inputHooks = hooks; }
    void SetActivationHook(RendererActivationHook hook) { m_activationHook = hook; }

    // Sprite bank's virtual screen (640 x 480) scaled to the back buffer.
    float GetVirtualScaleX() const { return float(m_settings.width) / 640.0f; }
    float GetVirtualScaleY() const { return float(m_settings.height) / 480.0f; }

protected:
    // Device calls of a back-end.
    // Creates the slot's device texture when it has none, converts and uploads the pixels;
    // bytes gives the size it takes on the device.
    virtual bool ApiUploadTexture(STextureSlot& slot, int width, int height, int sourceCode, const void* pixels,
                                  const uint32_t* palette, uint32_t& bytes) = 0;
    virtual void ApiReleaseTexture(STextureSlot& slot) = 0;
    // The batch storage of RENDERER_BATCH_VERTICES vertices, ready for writing.
    virtual SScreenVertex* ApiLockBatch() = 0;
    // Ends writing and draws the batch's first count vertices.
    virtual bool ApiDrawBatch(int count, bool strip) = 0;
    // Draws vertices given by the caller: PRIMITIVE_LIST/STRIP triangles, or a line strip.
    virtual bool ApiDrawLineStrip(const SScreenVertex* vertices, int count) = 0;
    virtual bool ApiDrawTriangles(int primitive, const SScreenVertex* vertices, int count) = 0;
    virtual bool ApiDrawIndexedTriangles(const SScreenVertex* vertices, int vertexCount, const uint16_t* indices,
                                         int indexCount) = 0;
    // The shown frame as 32-bit blue-green-red-alpha rows, bottom row first.
    virtual bool ApiReadFrame(std::vector<uint8_t>& pixels, int& width, int& height) = 0;
    // Device objects beside textures (vertex buffers and the like), for a display reset.
    virtual void ApiReleaseDeviceObjects() = 0;
    virtual bool ApiRestoreDeviceObjects() = 0;
    // Cached render-state flags no longer describe the new device.
    virtual void ForgetCachedState() = 0;
    // The window's close box was used (nothing by default).
    virtual void OnCloseRequest();

    // Shared pieces for the back-ends.
    void PrintToConsole(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // The "r_" variables, registered once into the console of the first open; they go
    // with the renderer.
    void RegisterConsoleVariables();
    void ResetTextureTable();
    void ReleaseAllTextures();  // every slot freed, API textures released
    void LoadScreenshotStamp();
    void FreeScreenshotStamp();
    void DrawStatisticsOverlays();
    // Blends the stamp into a bottom-row-first frame.
    void BlendStamp(std::vector<uint8_t>& pixels, int width, int height) const;

    bool m_colourIsArgb;
    CConsole* m_console = nullptr;
    CConsoleRegistrations m_consoleEntries;  // the console variables that point into the renderer
    std::string m_title;
    void* m_window = nullptr;  // the platform window (opaque)
    SDisplaySettings m_settings;
    SDisplaySettings m_pending;
    SDisplaySettings m_backup;
    bool m_forceSingleStage = true;
    bool m_opened = false;
    bool m_isActive = false;
    bool m_wasFullScreen = false;     // full screen before a deactivation
    bool m_inActivationChange = false;
    bool m_creatingDisplay = false;
    bool m_destroyingDisplay = false;

    CInputRing<uint32_t> m_keyRing;
    CInputRing<SMouseRingEvent> m_mouseRing;

    uint32_t m_polygonCount = 0;
    uint32_t m_frameCount = 0;
    uint32_t m_lastTickMs = 0;
    uint32_t m_frameDurationMs = 0;
    int64_t m_tickStampNs = 0;
    uint32_t m_textureBytes = 0;
    bool m_showTiming = false;
    bool m_showPolyCount = false;
    bool m_showTextureUsage = false;

    STextureSlot m_textures[RENDERER_TEXTURE_SLOTS];

    int m_batchTexture = NO_TEXTURE;
    int m_batchCount = 0;
    bool m_batchBlend = false;
    bool m_batchAlphaTest = false;
    bool m_batchAdditive = false;
    SScreenVertex* m_batchVertices = nullptr;

    RendererTextDrawer m_textDrawer = nullptr;
    SInputDeviceHooks m_inputHooks;
    RendererActivationHook m_activationHook = nullptr;

private:
    struct SRestoreCallback
    {
        RendererRestoreCallback callback;
        uint32_t userValue;
    };
    static void RunCallbacks(const std::vector<SRestoreCallback>& list);
    static bool RemoveCallback(std::vector<SRestoreCallback>& list, RendererRestoreCallback callback,
                               uint32_t userValue);
    int FindFreeSlot() const;
    static STextureSlot DescribeSlot(int kind, int wrapS, int wrapT, bool noCompression, bool filter, int width,
                                     int height);
    // Uploads into a free slot described by description; the slot stays free on failure.
    bool FillSlot(int index, const STextureSlot& description, int sourceCode, const void* pixels,
                  const uint32_t* palette);
    void DrawFilledRect(float x, float y, float width, float height, uint32_t vertexColour, bool blend);
    bool ReloadNamedTexture(int index);

    std::vector<SRestoreCallback> m_textureCallbacks;
    std::vector<SRestoreCallback> m_deviceCallbacks;

    // The screenshot stamp: inverse alpha and premultiplied blue, green, red planes.
    int m_stampWidth = 0;
    int m_stampHeight = 0;
    std::vector<uint8_t> m_stampInverseAlpha;
    std::vector<uint8_t> m_stampBlue;
    std::vector<uint8_t> m_stampGreen;
    std::vector<uint8_t> m_stampRed;
};

extern CRenderer* g_renderer;
