#pragma once
// How a particle looks (block "particle" / "appearance", chosen by "type"):
//   SPRITE             the start frame of a sprite file
//   ANIM_SPRITE        frames played at a rate (randomStart, randomPlayDirection,
//                      randomPlayRate frames a second, loop)
//   ORIENTATED_SPRITE  the frame of startFrame..endFrame that matches the heading
//   DUMMY              nothing drawn; its particles carry events only
// Over a particle's life (0 at its creation, 1 at its end) "colorKeys" (red, green,
// blue 0..255, time), "alphaKeys" (alpha 0..255, time) and "scaleKeys" (x, y, time),
// at most 5 each, are interpolated between the pair of keys that brackets the moment.
// "forceRotate" turns the sprite with the particle's heading; particles draw on
// plane 12 + "relativeDrawPlane".

#include "core/Vector2D.h"
#include "presentation/SpriteRef.h"

#include <cstdint>
#include <memory>
#include <string>

class CDataTree;
class CDefinitionProblems;
struct SParticle;

enum EAppearanceKind : int32_t
{
    APPEARANCE_SPRITE = 0,
    APPEARANCE_DUMMY = 1,
    APPEARANCE_ANIM_SPRITE = 2,
    APPEARANCE_ORIENTATED_SPRITE = 3,
};

struct SColourKey
{
    float red, green, blue, time;
};
struct SAlphaKey
{
    float alpha, time;
};
struct SScaleKey
{
    float x, y, time;
};

class CAppearance
{
public:
    static constexpr int MAX_KEYS = 5;
    static constexpr int BASE_PLANE = 12;

    explicit CAppearance(EAppearanceKind kind = APPEARANCE_SPRITE) : m_kind(kind) {}
    virtual ~CAppearance() = default;
    CAppearance(const CAppearance&) = delete;
    CAppearance& operator=(const CAppearance&) = delete;

    EAppearanceKind GetKind() const { return m_kind; }
    virtual void Read(const CDataTree& block, CDefinitionProblems& problems);

    // A hidden instance of the sprite file for a particle of the pool (none for DUMMY
    // or without a file).
    void MakeSprite(SParticle& particle) const;
    void FreeSprite(SParticle& particle) const;
    void Hide(SParticle& particle) const;
    // A new particle appears at its place; the angle (degrees) is its start direction.
    virtual void ShowNew(SParticle& particle, const CVector2D& place, float angle) const;
    // After each move: position, frame, rotation and the keys at its age; the heading
    // (degrees) is the particle's direction in the world.
    virtual void Apply(SParticle& particle, const CVector2D& place, float heading, uint32_t elapsedMs) const;

    int GetDrawPlane() const;
    const std::string& GetSpriteFileName() const { return m_spriteFile; }
    const CSpriteRef& GetSprite() const { return m_sprite; }
    int32_t GetStartFrame() const { return m_startFrame; }
    int32_t GetEndFrame() const { return m_endFrame; }
    bool ForcesRotation() const { return m_forceRotate; }
    int GetColourKeyCount() const { return m_colourCount; }
    int GetAlphaKeyCount() const { return m_alphaCount; }
    int GetScaleKeyCount() const { return m_scaleCount; }

    // The colour (0xAARRGGBB) and scale of the keys at a life fraction; false when the
    // fraction is 1 or more (nothing changes any more).
    bool ComputeColour(float fraction, uint32_t& argb) const;
    bool ComputeScale(float fraction, float& x, float& y) const;

protected:
    // The keys at the particle's age; rotation by heading with forceRotate.
    void ApplyCommon(SParticle& particle, const CVector2D& place, float heading) const;

    EAppearanceKind m_kind;
    CSpriteRef m_sprite;
    std::string m_spriteFile;
    SColourKey m_colours[MAX_KEYS] = {};
    SAlphaKey m_alphas[MAX_KEYS] = {};
    SScaleKey m_scales[MAX_KEYS] = {};
    int m_colourCount = 0;
    int m_alphaCount = 0;
    int m_scaleCount = 0;
    int32_t m_startFrame = 0;
    int32_t m_endFrame = 0;
    bool m_loop = false;
    bool m_forceRotate = false;
    int32_t m_relativePlane = 0;
};

class CDummyAppearance : public CAppearance
{
public:
    CDummyAppearance() : CAppearance(APPEARANCE_DUMMY) {}
    void Read(const CDataTree&, CDefinitionProblems&) override {}
    void ShowNew(SParticle&, const CVector2D&, float) const override {}
    void Apply(SParticle&, const CVector2D&, float, uint32_t) const override {}
};

class CAnimSpriteAppearance : public CAppearance
{
public:
    CAnimSpriteAppearance() : CAppearance(APPEARANCE_ANIM_SPRITE) {}
    void Read(const CDataTree& block, CDefinitionProblems& problems) override;
    void ShowNew(SParticle& particle, const CVector2D& place, float angle) const override;
    void Apply(SParticle& particle, const CVector2D& place, float heading, uint32_t elapsedMs) const override;

private:
    CVector2D m_playRate; // frames per second, min and max
    bool m_randomStart = false;
    bool m_randomDirection = false;
};

class COrientatedSpriteAppearance : public CAppearance
{
public:
    COrientatedSpriteAppearance() : CAppearance(APPEARANCE_ORIENTATED_SPRITE) {}
    void Apply(SParticle& particle, const CVector2D& place, float heading, uint32_t elapsedMs) const override;
    // The frame for a heading in degrees.
    int32_t FrameForHeading(float heading) const;
};

// The appearance a type word makes (compared on the kind's length, as a prefix), or null.
std::unique_ptr<CAppearance> MakeAppearance(const char* word);
// The life fraction of a particle: 0 at creation, 1 at the end (1 for a life of 0).
float GetLifeFraction(const SParticle& particle);
