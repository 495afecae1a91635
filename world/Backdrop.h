#pragma once
// The playfield's backdrop, read from the level's section "STARFIELD": background
// items on the back planes (animated sprites placed by hand or at random, spinning
// slowly, and big tiled sprites), the zone backdrop picture whose frame follows the
// current node, and layers of stars on the planes in front of them, each plane
// scrolling at its own share of the camera's movement.
//
//   STARFIELD
//   {
//       numBackgroundItems 1
//       backgroundViewScale 0.05        // the background planes' share of the scroll
//       background0 { type sprite  spriteFile background  numInsts 1  frame 0
//                     displayLayer 0  scale 1, 1  randomScale false  randomPlacement false
//                     randomRotation false  randomFrame false  playRate 0, 0  pos0 400, 300 }
//       numLayers 2
//       layer0 { scaleMovement 0.3  numSprites 1
//                sprite0 { type basic  name data\sprites\stars.spr  frame 0  numStars 300 } }
//       layer1 { ... }
//   }
//
// An item of type "bigSprite" carries a tiled picture's keys (presentation/TiledSprite.h),
// "numInsts" and "pos%i". The file "background" is the zone backdrop
// ("data\sprites\bgelements\backdrops.spr"), whose first instance changes frame
// with the node. Random places lie in an 800 x 800 square, apart from each other.
// The tables stop at their sizes (75 items, 10 item files, 10 big sprites, 75 big
// instances) and a plane beyond 20 is refused, each with a console line.

#include "core/Vector2D.h"
#include "presentation/AnimatedSprite.h"
#include "presentation/SpriteRef.h"
#include "presentation/TiledSprite.h"

#include <cstdint>
#include <memory>
#include <vector>

class CDataTree;
class CDefinitionProblems;
class CRandom;
class CSpriteBank;
struct SSpriteInstance;

class CBackdrop
{
public:
    static constexpr int32_t MAX_ITEMS = 75;
    static constexpr int32_t MAX_ITEM_FILES = 10;
    static constexpr int32_t MAX_BIG_SPRITES = 10;
    static constexpr int32_t MAX_BIG_INSTANCES = 75;
    // Random placement: items lie in a square this far either side of its centre.
    static constexpr int32_t PLACEMENT_HALF = 400;
    static constexpr int32_t PLACEMENT_TRIES = 20;
    static constexpr const char* ZONE_BACKDROP_WORD = "background";
    static constexpr const char* ZONE_BACKDROP_FILE = "data\\sprites\\bgelements\\backdrops.spr";

    // An animated background item.
    struct SItem
    {
        CAnimatedSprite sprite;
        uint16_t spin = 0;      // the rate s: s x 0.025 degrees a frame
        bool forwards = true;
        float angle = 0.0f;     // degrees
        float halfSize = 0.0f;  // for random placement
        bool randomlyPlaced = false;
    };

    CBackdrop() = default;
    ~CBackdrop() { Clear(); }
    CBackdrop(const CBackdrop&) = delete;
    CBackdrop& operator=(const CBackdrop&) = delete;

    // Reads the section after a Clear. With make the sprites are loaded and placed
    // through the global sprite bank on a playfield of the width; without, only the
    // keys are checked. Problems go to the list (and, while making, the console).
    void Load(const CDataTree& section, float worldWidth, bool make, CRandom& random, CDefinitionProblems& problems);
    // Shows or hides every star, big-sprite cell and background item.
    void Show(bool show);
    // The zone backdrop's frame for a node kind: kinds 0 and 1 the zone's own, 3 and 4
    // frame 5, 7 and 8 frame 7, any other frame 6.
    void SetZoneBackdropFrame(int32_t nodeKind, int32_t zoneIndex);
    // One frame: each spinning item turns by its rate x 0.001 x 25 degrees.
    void SpinItems();
    // Every instance, file and table let go; the planes' scroll shares and blending
    // back to their defaults.
    void Clear();

    int32_t GetPlaneCount() const { return m_planeCount; }
    size_t GetItemCount() const { return m_items.size(); }
    const SItem& GetItem(size_t index) const { return *m_items[index]; }
    size_t GetBigInstanceCount() const { return m_bigInstances.size(); }
    const CTiledSprite& GetBigInstance(size_t index) const { return *m_bigInstances[index]; }
    size_t GetStarCount() const { return m_stars.size(); }
    const SSpriteInstance* GetStar(size_t index) const { return m_stars[index]; }
    // The zone backdrop's item, or -1.
    int32_t GetZoneBackdropItem() const { return m_zoneItem; }

private:
    struct SLoad;
    void LoadSpriteItem(const CDataTree& node, SLoad& load);
    void LoadBigSpriteItem(const CDataTree& node, SLoad& load);
    void LoadStarLayer(const CDataTree& node, int32_t plane, SLoad& load);
    void MakeItem(const CDataTree& node, const CSpriteRef& ref, int32_t plane, const CVector2D& at, bool random,
                  float halfSize, SLoad& load);
    bool IsFreePlace(const CVector2D& at, float halfSize) const;

    std::vector<std::unique_ptr<SItem>> m_items;
    std::vector<std::unique_ptr<CSpriteRef>> m_itemFiles;
    std::vector<std::unique_ptr<CTiledSpriteDef>> m_bigSprites;
    std::vector<std::unique_ptr<CTiledSprite>> m_bigInstances;
    std::vector<std::unique_ptr<CSpriteRef>> m_starFiles;
    std::vector<SSpriteInstance*> m_stars;
    CSpriteBank* m_bank = nullptr;
    int32_t m_zoneItem = -1;
    int32_t m_planeCount = 0;
    // Planes whose scroll share and blending this backdrop set.
    std::vector<int32_t> m_planes;
};
