#include "world/Backdrop.h"

#include "core/Console.h"
#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "core/FastMath.h"
#include "core/Random.h"
#include "presentation/DefinitionBlocks.h"
#include "presentation/SpriteBank.h"
#include "presentation/SpriteTypes.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <strings.h>

namespace
{
constexpr int32_t TICKS_PER_SECOND = 25;
constexpr int32_t HIGHEST_PLANE = SPRITE_PLANE_COUNT - 1;

int32_t ToInt(float value)
{
    return value > -2.0e9f && value < 2.0e9f ? static_cast<int32_t>(value) : 0;
}

// A count of numbered blocks, no more than the section has blocks (a warning when it
// says more).
int32_t ReadBlockCount(const CDataTree& section, const char* key, CDefinitionProblems& problems)
{
    int32_t count = 0;
    section.GetInt(key, count);
    const int32_t blocks = static_cast<int32_t>(section.GetChildCount());
    if (count > blocks)
    {
        problems.AddWarning(section.FindChild(key), "\"%s\" %d, but the section holds %d blocks", key,
                            static_cast<int>(count), static_cast<int>(blocks));
        count = blocks;
    }
    return count < 0 ? 0 : count;
}
} // namespace

// What one Load works with.
struct CBackdrop::SLoad
{
    float worldWidth = 0.0f;
    bool make = false;
    CRandom& random;
    CDefinitionProblems& problems;
    int32_t highestPlane = 0;

    SLoad(CRandom& r, CDefinitionProblems& p) : random(r), problems(p) {}

    // A table or plane limit: a warning, and while making a console line.
    void Refuse(const CDataNode* near, const char* format, ...) __attribute__((format(printf, 3, 4)))
    {
        char text[256];
        va_list arguments;
        va_start(arguments, format);
        std::vsnprintf(text, sizeof(text), format, arguments);
        va_end(arguments);
        problems.AddWarning(near, "%s", text);
        if (make && g_console)
            g_console->Printf("Backdrop: %s", text);
    }
};

bool CBackdrop::IsFreePlace(const CVector2D& at, float halfSize) const
{
    for (const std::unique_ptr<SItem>& item : m_items)
    {
        if (!item->randomlyPlaced)
            continue;
        if ((item->sprite.GetPosition() - at).Length() < halfSize + item->halfSize)
            return false;
    }
    return true;
}

void CBackdrop::MakeItem(const CDataTree& node, const CSpriteRef& ref, int32_t plane, const CVector2D& at, bool random,
                         float halfSize, SLoad& load)
{
    CRandom& rand = load.random;
    auto item = std::make_unique<SItem>();
    item->randomlyPlaced = random;
    item->halfSize = halfSize;
    item->sprite.Init(ref, plane);
    item->sprite.SetPosition(at);

    int32_t frame = 0;
    node.GetInt("frame", frame);
    bool randomFrame = false;
    node.GetBool("randomFrame", randomFrame);
    if (random && randomFrame)
        frame = rand.Below(ref.GetFrameCount());
    item->sprite.SetFrame(static_cast<uint32_t>(frame < 0 ? 0 : frame));
    item->forwards = random ? rand.Below(2) == 0 : rand.Below(2) == 1;
    item->sprite.Show();

    CVector2D rate;
    node.GetVec2("playRate", rate);
    const int32_t spin = rand.Between(ToInt(rate.x), ToInt(rate.y));
    item->spin = static_cast<uint16_t>(spin < 0 ? 0 : (spin > UINT16_MAX ? UINT16_MAX : spin));
    bool randomRotation = false;
    node.GetBool("randomRotation", randomRotation);
    if (random && randomRotation)
        item->angle = static_cast<float>(rand.Below(359));

    CVector2D scale(1.0f, 1.0f);
    node.GetVec2("scale", scale);
    bool randomScale = false;
    node.GetBool("randomScale", randomScale);
    if (randomScale)
    {
        // "scale" is then the range; one draw serves both axes, so round items stay round.
        const float drawn = scale.x + static_cast<float>(rand.Below(ToInt((scale.y - scale.x) * 1000.0f))) * 0.001f;
        scale = CVector2D(drawn, drawn);
    }
    item->sprite.SetScale(scale.x, scale.y);
    if (SSpriteInstance* instance = item->sprite.GetInstance())
        instance->m_rotation = item->angle * DEG_TO_RAD;
    m_items.push_back(std::move(item));
}

void CBackdrop::LoadSpriteItem(const CDataTree& node, SLoad& load)
{
    int32_t plane = 0;
    node.GetInt("displayLayer", plane);
    if (plane < 0 || plane > HIGHEST_PLANE)
        return load.Refuse(&node, "display layer %d is no plane (0 to %d)", plane, HIGHEST_PLANE);
    if (static_cast<int32_t>(m_itemFiles.size()) >= MAX_ITEM_FILES)
        return load.Refuse(&node, "more than %d background sprite files", MAX_ITEM_FILES);
    char file[DATA_VALUE_MAX + 1] = "";
    node.GetString("spriteFile", file, sizeof(file));
    const bool zoneBackdrop = strcasecmp(file, ZONE_BACKDROP_WORD) == 0;
    if (plane > load.highestPlane)
        load.highestPlane = plane;
    auto ref = std::make_unique<CSpriteRef>();
    if (load.make)
        ref->SetFile(zoneBackdrop ? ZONE_BACKDROP_FILE : file, true);
    int32_t count = 0;
    node.GetInt("numInsts", count);
    bool random = false;
    node.GetBool("randomPlacement", random);
    const CSpriteRef& sprite = *ref;
    m_itemFiles.push_back(std::move(ref));
    if (!load.make)
        return;

    const int32_t half = static_cast<int32_t>(std::max(sprite.GetFrameWidth(), sprite.GetFrameHeight()) / 2);
    for (int32_t i = 0; i < count; ++i)
    {
        if (static_cast<int32_t>(m_items.size()) >= MAX_ITEMS)
            return load.Refuse(&node, "more than %d background items", MAX_ITEMS);
        const size_t made = m_items.size();
        if (random)
        {
            // A picture of 800 units or more has no room in the square.
            const int32_t range = (PLACEMENT_HALF - half) * 2;
            for (int32_t attempt = 0; range > 0 && attempt < PLACEMENT_TRIES; ++attempt)
            {
                const float x = static_cast<float>(load.random.Below(range) + half);
                const float y = static_cast<float>(load.random.Below(range) + half);
                if (!IsFreePlace(CVector2D(x, y), static_cast<float>(half)))
                    continue;
                MakeItem(node, sprite, plane, CVector2D(x, y), true, static_cast<float>(half), load);
                break;
            }
        }
        else
        {
            char key[32];
            std::snprintf(key, sizeof(key), "pos%d", static_cast<int>(i));
            CVector2D at;
            node.GetVec2(key, at);
            MakeItem(node, sprite, plane, at, false, static_cast<float>(half), load);
        }
        if (zoneBackdrop && m_zoneItem < 0 && m_items.size() > made)
            m_zoneItem = static_cast<int32_t>(made);
    }
}

void CBackdrop::LoadBigSpriteItem(const CDataTree& node, SLoad& load)
{
    int32_t plane = 0;
    if (node.GetInt("displayLayer", plane) && (plane < 0 || plane > HIGHEST_PLANE))
        return load.Refuse(&node, "display layer %d is no plane (0 to %d)", plane, HIGHEST_PLANE);
    if (static_cast<int32_t>(m_bigSprites.size()) >= MAX_BIG_SPRITES)
        return load.Refuse(&node, "more than %d big background sprites", MAX_BIG_SPRITES);
    auto def = std::make_unique<CTiledSpriteDef>();
    if (!def->Load(node, load.problems))
        return;
    if (def->GetDisplayLayer() > load.highestPlane)
        load.highestPlane = def->GetDisplayLayer();
    const CTiledSpriteDef& picture = *def;
    m_bigSprites.push_back(std::move(def));
    if (!load.make)
        return;
    int32_t count = 0;
    node.GetInt("numInsts", count);
    for (int32_t i = 0; i < count; ++i)
    {
        if (static_cast<int32_t>(m_bigInstances.size()) >= MAX_BIG_INSTANCES)
            return load.Refuse(&node, "more than %d big background sprite instances", MAX_BIG_INSTANCES);
        char key[32];
        std::snprintf(key, sizeof(key), "pos%d", static_cast<int>(i));
        CVector2D at;
        node.GetVec2(key, at);
        auto instance = std::make_unique<CTiledSprite>();
        instance->CreateOnPlane(picture, picture.GetDisplayLayer());
        instance->SetTopLeft(std::floor(at.x), std::floor(at.y));
        instance->SetVisible(true);
        m_bigInstances.push_back(std::move(instance));
    }
}

void CBackdrop::LoadStarLayer(const CDataTree& node, int32_t plane, SLoad& load)
{
    if (plane > HIGHEST_PLANE)
        return load.Refuse(&node, "star layer on plane %d, beyond %d", plane, HIGHEST_PLANE);
    float share = 1.0f;
    node.GetFloat("scaleMovement", share);
    if (load.make && m_bank)
    {
        m_bank->SetPlaneScale(plane, share);
        m_planes.push_back(plane);
    }
    int32_t count = 0;
    if (!ReadDefinitionCount(node, "numSprites", 64, count, load.problems))
        return;
    for (int32_t i = 0; i < count; ++i)
    {
        const CDataTree* sprite = FindNumberedBlock(node, "sprite", i, true, load.problems);
        if (!sprite)
            continue;
        char type[DATA_VALUE_MAX + 1] = "";
        sprite->GetString("type", type, sizeof(type));
        if (strcasecmp(type, "basic") != 0)
        {
            load.problems.AddWarning(sprite, "star sprite of type \"%s\" makes nothing (only \"basic\")", type);
            continue;
        }
        char name[DATA_VALUE_MAX + 1] = "";
        sprite->GetString("name", name, sizeof(name));
        int32_t frame = 0;
        sprite->GetInt("frame", frame);
        int32_t stars = 0;
        sprite->GetInt("numStars", stars);
        if (!load.make)
            continue;
        auto file = std::make_unique<CSpriteRef>();
        if (!file->SetFile(name, true) || !m_bank)
        {
            if (g_console)
                g_console->Printf("Backdrop: star sprite file %s does not load", name);
            continue;
        }
        const int index = file->GetFile();
        m_starFiles.push_back(std::move(file));
        const int32_t width = ToInt(load.worldWidth);
        for (int32_t star = 0; star < stars; ++star)
        {
            SSpriteInstance* instance = nullptr;
            if (!m_bank->CreateInstance(plane, index, instance))
                return load.Refuse(sprite, "the sprite bank has no instance left for more stars");
            instance->m_x = static_cast<float>(load.random.Below(width));
            instance->m_y = static_cast<float>(load.random.Below(width));
            instance->m_frame = static_cast<uint32_t>(frame < 0 ? 0 : frame);
            instance->SetVisible(true);
            m_stars.push_back(instance);
        }
    }
}

void CBackdrop::Load(const CDataTree& section, float worldWidth, bool make, CRandom& random,
                     CDefinitionProblems& problems)
{
    Clear();
    SLoad load(random, problems);
    load.worldWidth = worldWidth;
    load.make = make;
    m_bank = make ? g_spriteBank : nullptr;

    const int32_t items = ReadBlockCount(section, "numBackgroundItems", problems);
    float viewScale = 1.0f;
    section.GetFloat("backgroundViewScale", viewScale);
    for (int32_t i = 0; i < items; ++i)
    {
        const CDataTree* node = FindNumberedBlock(section, "background", i, false, problems);
        if (!node)
            continue;
        char type[DATA_VALUE_MAX + 1] = "";
        node->GetString("type", type, sizeof(type));
        if (strcasecmp(type, "sprite") == 0)
            LoadSpriteItem(*node, load);
        else if (strcasecmp(type, "bigSprite") == 0)
            LoadBigSpriteItem(*node, load);
        else
            problems.AddWarning(node, "background item of type \"%s\" makes nothing", type);
    }
    if (m_bank)
        for (int32_t plane = 0; plane <= load.highestPlane; ++plane)
        {
            m_bank->SetPlaneScale(plane, viewScale);
            m_bank->SetPlaneNoBlend(plane, true);
            m_planes.push_back(plane);
        }

    const int32_t layers = ReadBlockCount(section, "numLayers", problems);
    for (int32_t i = 0; i < layers; ++i)
        if (const CDataTree* node = FindNumberedBlock(section, "layer", i, true, problems))
            LoadStarLayer(*node, load.highestPlane + 1 + i, load);
    m_planeCount = load.highestPlane + 1 + layers;
}

void CBackdrop::Show(bool show)
{
    for (SSpriteInstance* star : m_stars)
        star->SetVisible(show);
    for (const std::unique_ptr<CTiledSprite>& instance : m_bigInstances)
        instance->SetVisible(show);
    for (const std::unique_ptr<SItem>& item : m_items)
    {
        if (show)
            item->sprite.Show();
        else
            item->sprite.Hide();
    }
}

void CBackdrop::SetZoneBackdropFrame(int32_t nodeKind, int32_t zoneIndex)
{
    if (m_zoneItem < 0 || m_zoneItem >= static_cast<int32_t>(m_items.size()))
        return;
    int32_t frame = 6;
    if (nodeKind == 0 || nodeKind == 1)
        frame = zoneIndex;
    else if (nodeKind == 3 || nodeKind == 4)
        frame = 5;
    else if (nodeKind == 7 || nodeKind == 8)
        frame = 7;
    m_items[static_cast<size_t>(m_zoneItem)]->sprite.SetFrame(static_cast<uint32_t>(frame < 0 ? 0 : frame));
}

void CBackdrop::SpinItems()
{
    for (const std::unique_ptr<SItem>& item : m_items)
    {
        if (item->spin == 0)
            continue;
        const float step = static_cast<float>(item->spin) * 0.001f * static_cast<float>(TICKS_PER_SECOND);
        item->angle = std::fmod(item->angle + (item->forwards ? step : -step), 360.0f);
        if (SSpriteInstance* instance = item->sprite.GetInstance())
            instance->m_rotation = item->angle * DEG_TO_RAD;
    }
}

void CBackdrop::Clear()
{
    if (m_bank)
    {
        for (SSpriteInstance* star : m_stars)
            m_bank->DestroyInstance(star);
        for (int32_t plane : m_planes)
        {
            m_bank->SetPlaneScale(plane, 1.0f);
            m_bank->SetPlaneNoBlend(plane, false);
        }
    }
    m_stars.clear();
    m_planes.clear();
    m_items.clear();
    m_bigInstances.clear();
    m_bigSprites.clear();
    m_itemFiles.clear();
    m_starFiles.clear();
    m_zoneItem = -1;
    m_planeCount = 0;
    m_bank = nullptr;
}
