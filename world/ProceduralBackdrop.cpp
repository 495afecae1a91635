#include "world/ProceduralBackdrop.h"

#include "core/Console.h"
#include "core/DataFile.h"
#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "core/FastMath.h"
#include "core/Random.h"
#include "core/Vector3.h"
#include "presentation/DefinitionBlocks.h"
#include "presentation/SpriteBank.h"
#include "presentation/SpriteTypes.h"

#include <cmath>
#include <strings.h>

namespace
{
constexpr uint32_t FRAME_MS = 1000 / 25;
constexpr float COVER_WIDTH = 700.0f;
constexpr float COVER_HEIGHT = 500.0f;

float NotNegative(float value)
{
    return value > 0.0f ? value : 0.0f;
}

// Seconds into the cycle; 0 for a cycle of no length.
double CycleTime(double seconds, double cycle)
{
    return cycle > 0.0 ? std::fmod(seconds, cycle) : 0.0;
}

int32_t ToInt(float value)
{
    return value > -2.0e9f && value < 2.0e9f ? static_cast<int32_t>(value) : 0;
}

// A count the table holds; more is cut to the table (a warning).
int32_t ReadCappedCount(const CDataTree& node, const char* key, int32_t max, CDefinitionProblems& problems)
{
    int32_t count = 0;
    node.GetInt(key, count);
    if (count < 0)
        count = 0;
    if (count > max)
    {
        problems.AddWarning(&node, "\"%s\" %d: the backdrop holds %d", key, static_cast<int>(count),
                            static_cast<int>(max));
        count = max;
    }
    return count;
}
} // namespace

float ComputeFadeBrightness(double seconds, float in, float hold, float out)
{
    in = NotNegative(in);
    hold = NotNegative(hold);
    out = NotNegative(out);
    const double cycle = static_cast<double>(in) + hold + out;
    if (!(cycle > 0.0))
        return 255.0f;
    const double t = CycleTime(seconds, cycle);
    if (t < in)
        return static_cast<float>(t / in * 255.0);
    if (t < static_cast<double>(in) + hold)
        return 255.0f;
    return static_cast<float>((1.0 - (t - in - hold) / out) * 255.0);
}

void CProceduralBackdrop::Free()
{
    for (SLayer& layer : m_layers)
        for (STile& tile : layer.tiles)
            if (tile.instance && g_spriteBank)
                g_spriteBank->DestroyInstance(tile.instance);
    m_layers.clear();
    m_defs.clear();
    m_clock = 0;
    m_startOffset = 0;
}

void CProceduralBackdrop::LoadSection(const CDataTree& section, bool make, CRandom& random,
                                      CDefinitionProblems& problems)
{
    Free();
    m_startOffset = static_cast<uint32_t>(random.Below(1000) + 500);
    const int32_t defs = ReadCappedCount(section, "numDefs", MAX_DEFS, problems);
    for (int32_t i = 0; i < defs; ++i)
    {
        auto ref = std::make_unique<CSpriteRef>();
        if (const CDataTree* node = FindNumberedBlock(section, "sprite", i, true, problems))
            if (make)
                ref->Load(*node, true);
        m_defs.push_back(std::move(ref));
    }
    const int32_t layers = ReadCappedCount(section, "numLayers", MAX_LAYERS, problems);
    for (int32_t i = 0; i < layers; ++i)
    {
        const CDataTree* node = FindNumberedBlock(section, "layer", i, true, problems);
        if (!node)
            continue;
        SLayer layer;
        node->GetInt("defIdx", layer.defIndex);
        node->GetInt("frame", layer.frame);
        CVector2D size;
        node->GetVec2("widthHeight", size);
        layer.tileWidth = size.x;
        layer.tileHeight = size.y;
        node->GetVec2("scaleSec", layer.scaleRate);
        node->GetVec2("rotate", layer.rotate);
        CVector3 fade;
        if (node->GetVec3("fade", fade))
        {
            layer.fadeIn = NotNegative(fade.x);
            layer.hold = NotNegative(fade.y);
            layer.fadeOut = NotNegative(fade.z);
        }
        if (layer.defIndex < 0 || layer.defIndex >= defs)
        {
            problems.AddWarning(node, "layer of sprite %d, of %d", static_cast<int>(layer.defIndex),
                                static_cast<int>(defs));
            continue;
        }
        if (!(layer.tileWidth >= 1.0f && layer.tileHeight >= 1.0f))
        {
            problems.AddWarning(node, "layer of tiles %g x %g: each side needs 1 or more", layer.tileWidth,
                                layer.tileHeight);
            continue;
        }
        const double tiles = std::ceil(COVER_WIDTH / layer.tileWidth) * std::ceil(COVER_HEIGHT / layer.tileHeight);
        if (tiles > MAX_TILES)
            problems.AddWarning(node, "layer of %.0f tiles: the first %d are made", tiles, MAX_TILES);
        if (make)
            MakeTiles(layer, random);
        m_layers.push_back(std::move(layer));
    }
    ApplyLayers();
}

void CProceduralBackdrop::MakeTiles(SLayer& layer, CRandom& random)
{
    const CSpriteRef& ref = *m_defs[static_cast<size_t>(layer.defIndex)];
    CSpriteBank* bank = ref.GetBank();
    const int32_t columns = static_cast<int32_t>(std::ceil(COVER_WIDTH / layer.tileWidth));
    const int32_t rows = static_cast<int32_t>(std::ceil(COVER_HEIGHT / layer.tileHeight));
    const float x = static_cast<float>(320 + random.Below(128) - 64);
    const float y = static_cast<float>(240 + random.Below(128) - 64);
    layer.centre = CVector2D(x, y);
    const bool turning = layer.rotate.x != layer.rotate.y;
    for (int32_t row = 0; row < rows; ++row)
        for (int32_t column = 0; column < columns; ++column)
        {
            if (static_cast<int32_t>(layer.tiles.size()) >= MAX_TILES)
                return;
            STile tile;
            if (turning)
            {
                tile.rate = static_cast<float>(random.Between(ToInt(layer.rotate.x), ToInt(layer.rotate.y)));
                tile.startAngle = static_cast<float>(random.Below(360));
            }
            if (bank && ref.HasFile() && bank->CreateInstance(PLANE, ref.GetFile(), tile.instance))
            {
                tile.instance->m_flags |= SPRITE_VIRTUAL;
                tile.instance->m_frame = static_cast<uint32_t>(layer.frame < 0 ? 0 : layer.frame);
                tile.instance->m_x = x + (static_cast<float>(column) - (static_cast<float>(columns) - 1.0f) * 0.5f) *
                                             layer.tileWidth;
                tile.instance->m_y = y + (static_cast<float>(row) - (static_cast<float>(rows) - 1.0f) * 0.5f) *
                                             layer.tileHeight;
            }
            layer.tiles.push_back(tile);
        }
}

void CProceduralBackdrop::ApplyLayers()
{
    const double seconds = (static_cast<double>(m_clock) + m_startOffset) * 0.001;
    const double running = static_cast<double>(m_clock) * 0.001;
    for (SLayer& layer : m_layers)
    {
        const double cycle = static_cast<double>(layer.fadeIn) + layer.hold + layer.fadeOut;
        const float t = static_cast<float>(CycleTime(seconds, cycle));
        const float level = ComputeFadeBrightness(seconds, layer.fadeIn, layer.hold, layer.fadeOut);
        const uint32_t b = static_cast<uint32_t>(level < 0.0f ? 0.0f : (level > 255.0f ? 255.0f : level));
        const uint32_t colour = 0xFF000000u | (b << 16) | (b << 8) | b;
        const CSpriteRef& ref = *m_defs[static_cast<size_t>(layer.defIndex)];
        const float frameWidth = ref.GetFrameWidth() > 0 ? ref.GetFrameWidth() : layer.tileWidth;
        const float frameHeight = ref.GetFrameHeight() > 0 ? ref.GetFrameHeight() : layer.tileHeight;
        const float scaleX = layer.tileWidth / frameWidth + t * layer.scaleRate.x;
        const float scaleY = layer.tileHeight / frameHeight + t * layer.scaleRate.y;
        for (STile& tile : layer.tiles)
        {
            if (!tile.instance)
                continue;
            tile.instance->m_colour = colour;
            tile.instance->m_scaleX = scaleX;
            tile.instance->m_scaleY = scaleY;
            const double angle = std::fmod(tile.startAngle + tile.rate * running, 360.0);
            tile.instance->m_rotation = static_cast<float>(angle) * DEG_TO_RAD;
        }
    }
}

void CProceduralBackdrop::Show(bool show)
{
    for (SLayer& layer : m_layers)
        for (STile& tile : layer.tiles)
            if (tile.instance)
                tile.instance->SetVisible(show);
}

void CProceduralBackdrop::Update()
{
    m_clock += FRAME_MS;
    ApplyLayers();
}

bool CProceduralBackdrop::Load(const char* file, const char* id)
{
    CDataNodeList nodes;
    if (!LoadDataFileNodes(file, nodes))
    {
        if (g_console)
            g_console->Printf("Backdrop file %s cannot be read", file);
        return false;
    }
    for (const auto& node : nodes)
    {
        if (!node->IsBlock() || !node->HasName(u"PROC"))
            continue;
        const CDataTree& section = static_cast<const CDataTree&>(*node);
        char text[DATA_VALUE_MAX + 1] = "";
        if (!section.GetString("id", text, sizeof(text)) || strcasecmp(text, id) != 0)
            continue;
        CDefinitionProblems problems;
        LoadSection(section, true, GetGameRandom(), problems);
        if (g_console)
            for (const SDefinitionProblem& problem : problems.GetAll())
                g_console->Printf("%s:%u: %s", file, problem.line, problem.text.c_str());
        return true;
    }
    if (g_console)
        g_console->Printf("Backdrop %s is not in %s", id, file);
    return false;
}
