#pragma once
// The front end's backdrop: layers of tiles that cover the virtual screen, each tile
// turning at its own rate, the layer growing and fading through a cycle of fade in,
// hold and fade out. Read from a "PROC" section of "data\init0.txt" by its "id":
//
//   PROC
//   {
//       id proc1
//       numDefs 1
//       sprite0 { spriteFile data\sprites\nebula.spr }
//       numLayers 1
//       layer0 { defIdx 0  frame 0  widthHeight 256, 256  scaleSec 0.01, 0.01
//                rotate -3, 3  fade 2, 6, 2 }      // degrees a second; seconds
//   }
//
// A layer is ceil(700 / width) x ceil(500 / height) tiles round a point near the
// screen's centre. Its clock moves 40 ms a frame; t, the seconds since its random
// start, taken modulo the cycle, gives the brightness and the growth of the tiles.

#include "core/Vector2D.h"
#include "presentation/SpriteRef.h"

#include <cstdint>
#include <memory>
#include <vector>

class CDataTree;
class CDefinitionProblems;
class CRandom;
struct SSpriteInstance;

// The brightness (0 to 255) t seconds into a fade cycle: rising over `in`, full over
// `hold`, falling over `out`, and round again. A cycle of no length stays full.
float ComputeFadeBrightness(double seconds, float in, float hold, float out);

class CProceduralBackdrop
{
public:
    static constexpr int32_t MAX_DEFS = 16;
    static constexpr int32_t MAX_LAYERS = 16;
    static constexpr int32_t MAX_TILES = 1024; // a layer's
    static constexpr int PLANE = 0;

    struct STile
    {
        SSpriteInstance* instance = nullptr;
        float startAngle = 0.0f; // degrees
        float rate = 0.0f;       // degrees a second
    };

    struct SLayer
    {
        int32_t defIndex = 0;
        int32_t frame = 0;
        float tileWidth = 0.0f;
        float tileHeight = 0.0f;
        CVector2D scaleRate; // a second
        float fadeIn = 0.0f;
        float hold = 0.0f;
        float fadeOut = 0.0f;
        CVector2D centre;
        CVector2D rotate; // degrees a second: the range of the tiles' rates
        std::vector<STile> tiles;
    };

    CProceduralBackdrop() = default;
    ~CProceduralBackdrop() { Free(); }
    CProceduralBackdrop(const CProceduralBackdrop&) = delete;
    CProceduralBackdrop& operator=(const CProceduralBackdrop&) = delete;

    // The "PROC" section of the file whose "id" is the one wanted, made hidden; false
    // (a console line) when the file cannot be read or has no such section.
    bool Load(const char* file, const char* id);
    // One section: with make the tiles are made through the global sprite bank,
    // without only the keys are checked. Problems go to the list.
    void LoadSection(const CDataTree& section, bool make, CRandom& random, CDefinitionProblems& problems);
    void Show(bool show);
    // One frame: the clock moves 40 ms and every tile takes its turn, growth and
    // brightness.
    void Update();
    void Free();

    uint32_t GetClock() const { return m_clock; }
    uint32_t GetStartOffset() const { return m_startOffset; }
    size_t GetLayerCount() const { return m_layers.size(); }
    const SLayer& GetLayer(size_t index) const { return m_layers[index]; }

private:
    void MakeTiles(SLayer& layer, CRandom& random);
    void ApplyLayers();

    std::vector<std::unique_ptr<CSpriteRef>> m_defs;
    std::vector<SLayer> m_layers;
    uint32_t m_clock = 0;
    uint32_t m_startOffset = 0;
};
