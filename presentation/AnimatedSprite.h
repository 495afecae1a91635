#pragma once
// One sprite instance of a referenced file that animates at a frame rate, turns by
// frames or by true rotation, and follows a position (optionally at an offset scaled
// with its holder). Without a file (a "dummy" reference or a failed load) it has no
// instance: it keeps its position and angle and draws nothing.
//
// Angles given to it are headings in degrees (0 along +x); the pictures face up, so
// the sprite stores and shows the heading plus 90.

#include "core/Vector2D.h"

#include <cstddef>
#include <cstdint>

class CDataTree;
class CSpriteRef;
struct SSpriteInstance;

class CAnimatedSprite
{
public:
    CAnimatedSprite() = default;
    ~CAnimatedSprite() { Destroy(); }
    CAnimatedSprite(const CAnimatedSprite&) = delete;
    CAnimatedSprite& operator=(const CAnimatedSprite&) = delete;

    // Binds to the reference (which must outlive the sprite) and, when it has a file,
    // makes a hidden instance on the plane: frame 0, white, scale 1, unrotated, at
    // (0, 0). Offsets, rate, flags, angle and start frame are cleared.
    void Init(const CSpriteRef& ref, int plane);
    void Attach(const CSpriteRef& ref, int plane) { Init(ref, plane); }
    // Init on "drawPlane" + planeOffset (kept within the planes), then the keys
    // "relativePos", "pos", "startFrame", "playForwards", "playLooped", "forceRotate",
    // "playRate", "invisible" (shown unless true), "collisionTag", "numCollisionTags"
    // (default 1), "invertX" and "invertY".
    void Load(const CDataTree& node, const CSpriteRef& ref, int planeOffset);
    // Gives the instance back to the bank.
    void Destroy();

    // One frame step when the step time has come (called by the holder every frame).
    void Animate();
    // Ignores a non-finite angle.
    void SetAngle(float degrees);
    // The heading last given, in [0, 360) unless set with force rotation.
    float GetAngle() const;
    // With relative position the sprite sits at point + offset x scale (per axis).
    void SetPosition(const CVector2D& point, float scaleX = 1.0f, float scaleY = 1.0f);
    CVector2D GetPosition() const;
    void Show();
    void Hide();
    bool IsVisible() const;

    // Playback settings (the keys of Load set them too). A rate of 0 does not animate.
    void SetPlayRate(uint16_t framesPerSecond) { m_playRate = framesPerSecond; }
    void SetPlayForwards(bool forwards) { m_playForwards = forwards; }
    void SetLooped(bool looped) { m_looped = looped; }
    void SetStartFrame(uint16_t frame);
    // Turning rotates the whole picture instead of choosing a frame by the angle.
    void SetForceRotate(bool force) { m_forceRotate = force; }
    uint16_t GetPlayRate() const { return m_playRate; }
    uint16_t GetStartFrame() const { return m_startFrame; }
    // The shown frame (the start frame without an instance).
    uint32_t GetFrame() const;
    void SetFrame(uint32_t frame);

    // Instance settings; nothing happens without an instance.
    void SetScale(float scaleX, float scaleY);
    void SetColour(uint32_t argb);
    void SetPlane(int plane);
    void SetFlags(uint32_t flags, bool set);

    const CVector2D& GetOffset() const { return m_offset; }
    // Moves a relative sprite on its holder (a boss's swinging parts).
    void SetOffset(const CVector2D& offset) { m_offset = offset; }
    bool IsRelative() const { return m_relativePos; }
    uint32_t GetCollisionTag() const { return m_collisionTag; }
    uint32_t GetCollisionTagCount() const { return m_collisionTagCount; }
    SSpriteInstance* GetInstance() const { return m_instance; }
    const CSpriteRef* GetRef() const { return m_ref; }

private:
    // The frames the sprite animates through: the reference's count, at least 1.
    uint32_t GetFrameCount() const;

    CVector2D m_offset;
    uint32_t m_collisionTag = 0;
    uint32_t m_collisionTagCount = 1;
    uint16_t m_startFrame = 0;
    uint16_t m_playRate = 0;
    bool m_looped = false;
    bool m_playForwards = false;
    bool m_relativePos = false;
    bool m_forceRotate = false;
    const CSpriteRef* m_ref = nullptr;
    SSpriteInstance* m_instance = nullptr;
    float m_angle = 0.0f; // heading + 90
    uint32_t m_nextStep = 0;
    CVector2D m_storedPosition;
};

// Shows and places the first n of `count` sprites one spacing apart from `from`
// towards `to`, n = trunc(distance / spacing) but at most `count`; the rest are left
// as they are. Gives n (0 for a spacing of 0 or less).
size_t PlaceSpritesAlongLine(CAnimatedSprite* sprites, size_t count, const CVector2D& from, const CVector2D& to,
                             int spacing);
