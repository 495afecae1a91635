#pragma once
// The HUD's radar: a frame fixed to the screen's bottom-right corner and one blip
// for every object of the world, placed within the frame as the object lies within
// the square world and coloured by its kind.
//
// Keys of its block: sub-blocks "frame" (the frame's sprite reference), "icon" (the
// blips' sprite reference) and "iconInst" (the blips' sprite keys, AnimatedSprite.h,
// on their "drawPlane" + 17).

#include "core/Vector2D.h"
#include "presentation/AnimatedSprite.h"
#include "presentation/SpriteRef.h"

#include <cstdint>
#include <memory>

class CDataTree;
class CDefinitionProblems;
class CGameObject;

// The radar's block as read.
struct SHudRadarDesc
{
    const CDataTree* frame = nullptr;
    const CDataTree* icon = nullptr;
    const CDataTree* iconInst = nullptr;
};

// Names a missing sub-block as a problem; never fails.
void ReadHudRadarDesc(const CDataTree& node, SHudRadarDesc& desc, CDefinitionProblems& problems);

// A blip's colour (ARGB) and scale for an object of the type (an asteroid by its kind).
void GetRadarBlipStyle(int32_t type, int32_t asteroidKind, uint32_t& colour, float& scale);

class CHudRadar
{
public:
    static constexpr int32_t BLIP_COUNT = 500;
    static constexpr int FRAME_PLANE = 16;
    static constexpr int BLIP_PLANE_OFFSET = 17;
    // The blips keep this far inside the frame's edges.
    static constexpr float FRAME_MARGIN = 8.0f;

    CHudRadar();
    ~CHudRadar();
    CHudRadar(const CHudRadar&) = delete;
    CHudRadar& operator=(const CHudRadar&) = delete;

    void Load(const CDataTree& node);
    void Load(const SHudRadarDesc& desc);
    // The first free blip, cleared and hidden; when all are taken, blip 0 (which the
    // objects over the count then share).
    int32_t AddBlip();
    // Places the object's blip for a world of the width and shows it in the object's
    // colour. Nothing for a blip that is not in use or while the radar is hidden; a
    // world without width shows no blip.
    void UpdateBlip(int32_t blip, const CGameObject& object, float worldWidth);
    void RemoveBlip(int32_t blip);
    // Shows the frame and the blips in use, or hides them all.
    void SetVisible(bool visible);
    // While visible: the frame to the screen's bottom-right corner, the blips about its centre.
    void Update();

    bool IsVisible() const { return m_visible; }
    bool IsBlipUsed(int32_t blip) const;
    const CAnimatedSprite* GetBlip(int32_t blip) const;
    const CVector2D& GetBlipOffset(int32_t blip) const;
    const CVector2D& GetCentre() const { return m_centre; }
    const CAnimatedSprite& GetFrame() const { return m_frame; }

private:
    bool IsIndex(int32_t blip) const { return blip >= 0 && blip < BLIP_COUNT; }

    struct SBlip
    {
        CAnimatedSprite sprite;
        CVector2D offset;
        bool used = false;
    };

    CSpriteRef m_frameRef;
    CAnimatedSprite m_frame;
    CSpriteRef m_blipRef;
    std::unique_ptr<SBlip[]> m_blips;
    CVector2D m_centre;
    bool m_visible = false;
};
