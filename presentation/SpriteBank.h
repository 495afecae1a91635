#pragma once
// The process-wide owner of sprite files and sprite instances. Files are shared by
// name with reference counts in 400 slots; instances come from one pool of 65536
// and are drawn on 21 planes, 0 farthest, each with a movement factor (its share of
// the camera scroll), a no-blend flag, its files, its instance groups and one hook.

#include "core/ConsoleRegistrations.h"
#include "presentation/SpriteTypes.h"

#include <cstdint>
#include <memory>
#include <string>

class CRenderer;
class CVertexBuffer;
struct SScreenVertex;

// Called when the plane is drawn, after its sprites, with the plane's depth.
using SpriteDrawHook = void (*)(uint32_t userValue, float depth);

// The virtual screen (640 x 480) scaled to the back buffer; fonts and the GUI read
// them too. 1.0 until a bank is bound to a renderer.
extern float g_virtualScaleX;
extern float g_virtualScaleY;

struct SSpritePlane
{
    uint8_t m_noBlend = 0;
    SpriteDrawHook m_drawHook = nullptr;
    uint32_t m_hookValue = 0;
    SSpriteFile* m_firstFile = nullptr;
    SSpriteFile* m_lastFile = nullptr;
    float m_movementFactor = 1.0f;
    SSpriteGroup* m_firstGroup = nullptr;
    SSpriteGroup* m_lastGroup = nullptr;
};

class CSpriteBank
{
public:
    static constexpr int VIRTUAL_WIDTH = 640;
    static constexpr int VIRTUAL_HEIGHT = 480;
    static constexpr int BUFFER_VERTICES = 600;
    static constexpr int BATCH_QUADS = 100;  // file batches: 6 vertices a quad
    static constexpr int GROUP_QUADS = 150;  // groups: 4 vertices a quad

    CSpriteBank();
    virtual ~CSpriteBank();
    CSpriteBank(const CSpriteBank&) = delete;
    CSpriteBank& operator=(const CSpriteBank&) = delete;

    // Binds the bank to a renderer: tables, instance pool, vertex buffers, the
    // texture-restore callback and "/shownumsprites". False for a null renderer or
    // when a vertex buffer cannot be made.
    bool Init(CRenderer* renderer);
    void Shutdown();

    // Files.
    bool LoadFile(const char* name, bool textureOption, int& index);
    void ReleaseFile(int index);
    int GetFrameCount(int index) const;
    void GetFrameSize(int index, uint32_t& width, uint32_t& height) const;
    // Makes every page texture again from the pixels in memory (after a display reset).
    bool RestoreTextures();
    const SSpriteFile* GetFile(int index) const;

    // Instances, planes and groups.
    bool CreateInstance(int plane, int fileIndex, SSpriteInstance*& instance);
    void DestroyInstance(SSpriteInstance* instance);
    void SetInstancePlane(SSpriteInstance* instance, int plane);
    bool CreateGroup(int plane, SSpriteGroup*& group);
    bool CreateGroupInstance(SSpriteGroup* group, int fileIndex, SSpriteInstance*& instance);
    void DestroyGroup(SSpriteGroup* group);
    void SetCameraPosition(int32_t x, int32_t y);
    void SetPlaneScale(int plane, float factor);
    void SetPlaneNoBlend(int plane, bool noBlend);
    void SetDrawHook(int plane, SpriteDrawHook hook, uint32_t userValue);
    const SSpritePlane& GetPlane(int plane) const { return m_planes[plane]; }
    int32_t GetLiveInstanceCount() const { return m_liveInstances; }
    int32_t GetCameraX() const { return m_cameraX; }
    int32_t GetCameraY() const { return m_cameraY; }

    // Draws every plane; between the renderer's begin and end of scene. Always true.
    bool Render();

    // Console command "/showsprite FILE": one test sprite at the centre of the view.
    static void ShowSpriteCommand(void* userData, const char* arguments);

private:
    struct SBatch;

    static void RestoreCallback(uint32_t userValue);
    static void ShowNumSpritesCommand(void* userData, const char* arguments);
    void ComputeScaleFactors();
    int GetTextureKind(int32_t pixelFormat) const;
    bool CreateTextures(SSpriteFile& file);
    bool MakePageTexture(const SSpriteFile& file, size_t page, int& id) const;
    void ReleaseTextures(SSpriteFile& file);
    void FreeSlot(SSpriteFile& file);
    bool IsValidSlot(int index) const;
    SSpriteInstance* TakeInstance(SSpriteFile& file, int plane);
    void RegisterFile(SSpriteFile& file, int plane);
    void UnregisterFile(SSpriteFile& file, int plane);
    void ShowTestSprite(const char* name);

    // Drawing.
    bool IsBlended(int32_t pixelFormat) const;
    void SetRenderState(int32_t pixelFormat, bool forGroup);
    void DrawPlaneFiles(int plane);
    void DrawFileBatches(SSpriteFile& file, int plane);
    bool FlushBatch(SBatch& batch);
    void DrawGroup(SSpriteGroup& group);
    void DrawGroupQuads(SSpriteInstance* first, SSpriteInstance* end, int quads);
    void FillQuadContext(int plane, bool forGroup, struct SQuadContext& context) const;

    CRenderer* m_renderer = nullptr;
    CConsoleRegistrations m_consoleEntries; // "/shownumsprites"
    SSpritePlane m_planes[SPRITE_PLANE_COUNT];
    int32_t m_cameraX = 0;
    int32_t m_cameraY = 0;
    std::unique_ptr<SSpriteFile[]> m_files;
    std::unique_ptr<SSpriteInstance[]> m_instances;
    SSpriteInstanceList m_freeList;
    CVertexBuffer* m_buffers[2] = {nullptr, nullptr};
    int m_currentBuffer = 0;
    int32_t m_liveInstances = 0;
    int32_t m_virtualWidth = VIRTUAL_WIDTH;
    int32_t m_virtualHeight = VIRTUAL_HEIGHT;
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    uint32_t m_drawPass = 0;
    uint16_t m_groupIndices[GROUP_QUADS * 6];
    int m_bankId = -1;
    // The sprite of "/showsprite".
    int m_testFile = -1;
    SSpriteInstance* m_testInstance = nullptr;
};

extern CSpriteBank* g_spriteBank;
