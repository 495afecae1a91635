#pragma once
// Records of the sprite bank: loaded sprite files with their pages and frames, the
// drawable instances and the ordered groups of instances.

#include <cstdint>
#include <string>
#include <vector>

constexpr int SPRITE_PLANE_COUNT = 21;
constexpr int SPRITE_FILE_SLOTS = 400;
constexpr int SPRITE_INSTANCE_COUNT = 65536;

// A plane worked out from data (a plane plus an offset) kept within 0..20.
inline int ClampSpritePlane(long long plane)
{
    return plane < 0 ? 0 : (plane >= SPRITE_PLANE_COUNT ? SPRITE_PLANE_COUNT - 1 : static_cast<int>(plane));
}

// Bits of SSpriteInstance::m_flags.
enum ESpriteFlag : uint32_t
{
    SPRITE_VISIBLE = 0x01,
    SPRITE_MIRROR_X = 0x02,
    SPRITE_MIRROR_Y = 0x04,
    SPRITE_FLASH = 0x08,        // colour from the vertex, alpha from the texture
    SPRITE_SNAP = 0x10,         // corners on whole (or half) pixels
    SPRITE_DRAWN = 0x20,        // set by group drawing when the quad was kept
    SPRITE_VIRTUAL = 0x40,      // position in 640 x 480 virtual-screen units
};

struct SSpriteFile;
struct SSpriteGroup;
struct SSpriteInstance;

// An intrusive list of instances (a file's visible or hidden instances on one plane,
// or a group's members): linking never allocates and so never fails.
struct SSpriteInstanceList
{
    SSpriteInstance* m_first = nullptr;
    SSpriteInstance* m_last = nullptr;
    uint32_t m_count = 0;

    void Append(SSpriteInstance* instance);
    void Remove(SSpriteInstance* instance);
    bool IsEmpty() const { return m_first == nullptr; }
};

struct SSpriteInstance
{
    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_depthBias = 0.0f;
    uint32_t m_frame = 0;
    uint32_t m_colour = 0xFFFFFFFF; // ARGB
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    float m_rotation = 0.0f; // radians, clockwise on screen
    uint32_t m_flags = 0;
    SSpriteFile* m_file = nullptr;
    // The file's visible or hidden list of the plane, or the group's member list.
    SSpriteInstanceList* m_list = nullptr;
    SSpriteGroup* m_group = nullptr;
    SSpriteInstance* m_prev = nullptr;
    SSpriteInstance* m_next = nullptr;
    // Draw plane 0..20; -1 while the record is on the bank's free list.
    int32_t m_plane = -1;
    // Drawing's scratch mark: the batch pass that emitted the instance.
    uint32_t m_drawPass = 0;

    // Moves the instance between its plane's visible and hidden lists and sets or
    // clears SPRITE_VISIBLE. A group member only changes the flag.
    void SetVisible(bool visible);
    bool IsVisible() const { return (m_flags & SPRITE_VISIBLE) != 0; }
};

struct SSpriteGroup
{
    int32_t m_plane = 0;
    SSpriteInstanceList m_members;
    SSpriteGroup* m_prev = nullptr;
    SSpriteGroup* m_next = nullptr;
};

struct SSpritePage
{
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    // Blue, green, red, alpha; kept so that textures can be made again after a display reset.
    std::vector<uint8_t> m_pixels;
};

struct SSpriteFrame
{
    uint32_t m_page = 0;
    float m_leftU = 0.0f;
    float m_topV = 0.0f;
    float m_rightU = 0.0f;
    float m_bottomV = 0.0f;
};

// One slot of the bank's file table; free while m_frameWidth is 0.
struct SSpriteFile
{
    std::string m_name;
    bool m_textureOption = false;
    int32_t m_pixelFormat = 0x7FFFFFFF;
    std::vector<SSpritePage> m_pages;
    std::vector<int> m_textureIds; // one per page, -1 where the renderer has none
    uint32_t m_frameWidth = 0;
    uint32_t m_frameHeight = 0;
    std::vector<SSpriteFrame> m_frames;
    SSpriteInstanceList m_visible[SPRITE_PLANE_COUNT];
    SSpriteInstanceList m_hidden[SPRITE_PLANE_COUNT];
    // Registration in each plane's file list (intrusive links).
    bool m_registered[SPRITE_PLANE_COUNT] = {};
    SSpriteFile* m_planePrev[SPRITE_PLANE_COUNT] = {};
    SSpriteFile* m_planeNext[SPRITE_PLANE_COUNT] = {};
    bool m_markedForRemoval[SPRITE_PLANE_COUNT] = {};
    uint32_t m_refCount = 0;
    // Live instances of this file, so that a file is never freed under one.
    uint32_t m_instanceCount = 0;

    bool IsUsed() const { return m_frameWidth != 0; }
    // Fills the pages and frames from a whole sprite file in memory; on failure the
    // slot stays free and error says why.
    bool Read(const uint8_t* data, size_t size, std::string& error);
    // Frees pages, frames and name and marks the slot free.
    void Clear();
};
