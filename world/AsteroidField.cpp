#include "world/AsteroidField.h"

#include "core/Random.h"
#include "world/Asteroid.h"
#include "world/AsteroidDefs.h"
#include "world/CampaignLink.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/LevelConfig.h"
#include "world/World.h"
#include "world/ZoneLink.h"
#include "world/ZoneNode.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr int32_t TRIES_PER_SITE = 100;
constexpr int32_t SITE_CHOICES = 50;
constexpr int32_t WORM_MIN_SEGMENTS = 3; // a worm has 3 + n segments, n = 0 to 9
const char* const WORM_FILE = "data\\enemies\\worm.txt";

int32_t TruncateToInt(float value)
{
    if (!(value > -2.0e9f && value < 2.0e9f))
        return 0;
    return static_cast<int32_t>(value);
}

float Clamp(float value, float low, float high)
{
    return value < low ? low : (value > high ? high : value);
}

// A place round one of the sites: a random site (when there are several; up to 50
// choices) and up to 100 random offsets of up to the site's spread on each axis,
// until `refused` accepts one; else the last one tried.
template <typename Refused>
CVector2D SearchPlace(const std::vector<SAsteroidSpawnSite>& sites, float width, uint32_t frameWidth,
                      uint32_t frameHeight, CRandom& random, Refused refused)
{
    CVector2D place(width * 0.5f, width * 0.5f);
    if (sites.empty())
        return place;
    const int32_t count = static_cast<int32_t>(sites.size());
    const int32_t choices = count > 1 ? SITE_CHOICES : 1;
    const float half = static_cast<float>(std::max(frameWidth, frameHeight)) * 0.5f;
    for (int32_t choice = 0; choice < choices; ++choice)
    {
        const SAsteroidSpawnSite& site = sites[static_cast<size_t>(count > 1 ? random.Below(count) : 0)];
        const CVector2D centre = site.centre * width;
        // A spread of 0 or less (a small site, a large picture) leaves the centre.
        const int32_t spread = TruncateToInt(width * site.radius - half);
        for (int32_t attempt = 0; attempt < TRIES_PER_SITE; ++attempt)
        {
            float dx = static_cast<float>(random.Below(spread));
            if (random.Below(2) == 0)
                dx = -dx;
            float dy = static_cast<float>(random.Below(spread));
            if (random.Below(2) == 0)
                dy = -dy;
            place = centre + CVector2D(dx, dy);
            if (!refused(place))
                return place;
        }
    }
    return place;
}

float DistanceBetween(const CVector2D& a, const CVector2D& b)
{
    return (a - b).Length();
}

void PlaceAt(CGameObject& object, const CVector2D& place)
{
    object.SetPosition(place);
    object.GetBody().previousPosition = place;
    object.PlaceShape();
    object.UpdateSprite();
}

// A new asteroid object in the world set up from the entry, or null.
CAsteroid* MakeAsteroid(CWorld& world, const SAsteroidDef& def)
{
    int32_t handle = NO_OBJECT;
    if (!world.CreateObject(OBJECT_ASTEROID, handle))
        return nullptr;
    CAsteroid* asteroid = dynamic_cast<CAsteroid*>(world.GetObject(handle));
    if (!asteroid)
    {
        // Another class stands in for asteroids (a test's): it cannot take an entry.
        world.RemoveObject(handle);
        return nullptr;
    }
    asteroid->Setup(def);
    return asteroid;
}

// The size index a recorded map entry of the kind takes, or -1 when the kind has no
// entry for it.
int32_t FieldSizeIndex(const CAsteroidTable& table, int32_t kind, bool restrained, CRandom& random)
{
    const int32_t size = restrained ? 0 : table.PickSizeIndex(kind, random);
    return table.GetEntry(kind, size) ? size : -1;
}

// Whether a draw can ever give a kind that has an entry: otherwise generation
// would draw for ever.
bool CanMakeAnyEntry(const CAsteroidTable& table, const SAsteroidFieldRequest& request, bool dangerous,
                     bool restrained)
{
    for (int32_t step = 1; step <= 100; ++step)
    {
        const float r = static_cast<float>(step) * 0.01f;
        int32_t kind = r < request.ratioSmall ? ASTEROID_SMALL
                                              : (r < request.ratioMedium ? ASTEROID_MEDIUM
                                                                         : (dangerous ? ASTEROID_EXPLOSIVE : ASTEROID_LARGE));
        const int32_t count = table.GetCount(kind);
        int32_t size = restrained ? 0 : (count < 3 ? (IsRockKind(kind) ? 1 : 0) : 1);
        if (table.GetEntry(kind, size))
            return true;
    }
    return false;
}
} // namespace

CAsteroid* SpawnAsteroid(bool recorded, int32_t kind, CGameObject* parent, const CVector2D* point,
                         int32_t spawnerType)
{
    CGame* game = GetGame();
    CWorld* world = game ? game->GetWorld() : nullptr;
    if (!world)
        return nullptr;
    CZoneLink& zones = game->GetZones();
    if (kind == ASTEROID_DRIVE_POD)
        game->GetDirector().RaiseFlag(DIRECTOR_BOSS_CHAT, 2);
    SZoneNode* node = zones.GetCurrentNode();
    if (recorded && node && node->asteroidCount >= ASTEROID_MAP_SIZE)
        return nullptr;

    const CAsteroidTable& table = game->GetAsteroidTable();
    CRandom& random = GetGameRandom();
    const CAsteroid* parentAsteroid = dynamic_cast<const CAsteroid*>(parent);
    int32_t size = 0;
    if (parentAsteroid && parentAsteroid->GetSizeIndex() < table.GetCount(kind))
        size = parentAsteroid->GetSizeIndex();
    else
        size = table.PickSizeIndex(kind, random);
    const SAsteroidDef* def = table.GetEntry(kind, size);
    if (!def)
        return nullptr; // a kind without an entry of that size makes nothing
    CAsteroid* asteroid = MakeAsteroid(*world, *def);
    if (!asteroid)
        return nullptr;
    asteroid->SetSpawnerType(spawnerType);

    CMotionBody& body = asteroid->GetBody();
    CVector2D heading;
    heading.SetFromAngle(static_cast<float>(random.Below(360)));
    int32_t speed = TruncateToInt(static_cast<float>(def->velLimit) * 0.25f);
    if (speed >= 1)
        speed += random.Below(speed);
    body.force += heading * (static_cast<float>(speed) * static_cast<float>(def->mass));

    const float width = game->GetWorldWidth();
    CVector2D place = asteroid->GetPosition();
    const float frameWidth = static_cast<float>(def->GetFrameWidth());
    if (parent)
    {
        place = parent->GetPosition();
        if (parent->GetAsteroidKind() != ASTEROID_SMALL)
            place += CVector2D(heading.x * frameWidth * 0.75f * def->scale[0],
                               heading.y * frameWidth * 0.75f * def->scale[1]);
    }
    else if (point)
        place = *point + CVector2D(heading.x * frameWidth * 0.25f * def->scale[0],
                                   heading.y * frameWidth * 0.25f * def->scale[1]);
    else
        place.x = 1.0f;
    if (parent || point)
        place.x = Clamp(place.x, 1.0f, width - 1.0f);
    place.y = Clamp(place.y, 1.0f, width - 1.0f);
    PlaceAt(*asteroid, place);

    bool transient = !recorded || IsDangerousNodeKind(zones.GetNodeKind());
    if (!transient && node)
        transient = !node->RecordAsteroid(kind, size, place, asteroid->GetHandle());
    asteroid->SetTransient(transient);
    return asteroid;
}

void PlaceSectorAsteroids()
{
    CGame* game = GetGame();
    CWorld* world = game ? game->GetWorld() : nullptr;
    SZoneNode* node = game ? game->GetZones().GetCurrentNode() : nullptr;
    if (!world || !node)
        return;
    const CAsteroidTable& table = game->GetAsteroidTable();
    const bool dangerous = IsDangerousNodeKind(game->GetZones().GetNodeKind());
    const float width = game->GetWorldWidth();
    CRandom& random = GetGameRandom();
    for (SAsteroidMapEntry& entry : node->asteroidMap)
    {
        if (!entry.IsPresent())
            continue;
        const SAsteroidDef* def = table.GetEntry(GetAsteroidWordKind(entry.word), GetAsteroidWordSize(entry.word));
        if (!def)
            continue; // the level has no such asteroid: the entry waits
        CAsteroid* asteroid = MakeAsteroid(*world, *def);
        if (!asteroid)
            break; // the world table is full
        if (dangerous)
            asteroid->SetTransient(true);
        else
            entry.asteroid = asteroid->GetHandle();
        CVector2D place;
        if (HasAsteroidWordPosition(entry.word))
            place = CVector2D(static_cast<float>(GetAsteroidWordX(entry.word)),
                              static_cast<float>(GetAsteroidWordY(entry.word)));
        else
        {
            const float radius = asteroid->GetBody().radius;
            place = SearchPlace(table.GetSites(), width, def->GetFrameWidth(), def->GetFrameHeight(), random,
                                [&](const CVector2D& at) {
                                    for (int32_t slot = 0; slot < world->GetSlotCount(); ++slot)
                                    {
                                        const CGameObject* other = world->GetSlot(slot);
                                        if (other && other != asteroid &&
                                            DistanceBetween(at, other->GetPosition()) <
                                                radius * 1.1f + other->GetBody().radius)
                                            return true;
                                    }
                                    return false;
                                });
            entry.word = SetAsteroidWordPosition(entry.word, place);
        }
        PlaceAt(*asteroid, place);
    }
    if (!game->GetZones().IsAtBossNode())
        world->Update();
}

int32_t GenerateAsteroidMap(const CAsteroidTable& table, const SAsteroidFieldRequest& request, CRandom& random,
                            SAsteroidMapEntry map[ASTEROID_MAP_SIZE])
{
    for (int32_t i = 0; i < ASTEROID_MAP_SIZE; ++i)
        map[i] = SAsteroidMapEntry();
    const bool dangerous = IsDangerousNodeKind(request.nodeKind);
    const bool restrained = request.restrained && !dangerous;
    if (!CanMakeAnyEntry(table, request, dangerous, restrained))
        return 0;

    const int32_t total = request.totalMass;
    int32_t budget = 0;
    if (dangerous)
        budget = total;
    else if (request.zoneIndex == 0 && request.nodeIndex == ZONE_START_NODE)
        budget = TruncateToInt(static_cast<float>(total) * 0.3f);
    else
        budget = random.Below(TruncateToInt(static_cast<float>(total) * 0.8f)) +
                 TruncateToInt(static_cast<float>(total) * 0.2f);

    int32_t count = 0;
    do
    {
        const float r = static_cast<float>(random.Below(100) + 1) * 0.01f;
        const int32_t kind = r < request.ratioSmall
                                 ? ASTEROID_SMALL
                                 : (r < request.ratioMedium ? ASTEROID_MEDIUM
                                                            : (dangerous ? ASTEROID_EXPLOSIVE : ASTEROID_LARGE));
        const int32_t size = FieldSizeIndex(table, kind, restrained, random);
        if (size < 0)
            continue; // drawn again
        const SAsteroidDef& def = *table.GetEntry(kind, size);
        SAsteroidMapEntry& entry = map[count];
        entry.word = MakeAsteroidWord(kind, size);
        budget -= def.mass;

        const float height = static_cast<float>(def.GetFrameHeight());
        const CVector2D place = SearchPlace(
            table.GetSites(), request.worldWidth, def.GetFrameWidth(), def.GetFrameHeight(), random,
            [&](const CVector2D& at) {
                // Every earlier entry but the one just before.
                for (int32_t j = 0; j + 1 < count; ++j)
                {
                    const uint32_t word = map[j].word;
                    const SAsteroidDef* earlier = table.GetEntry(GetAsteroidWordKind(word), GetAsteroidWordSize(word));
                    const float reach = 0.5f * static_cast<float>(earlier ? earlier->GetFrameHeight() : 0) +
                                        0.55f * height;
                    const CVector2D stored(static_cast<float>(GetAsteroidWordX(word)),
                                           static_cast<float>(GetAsteroidWordY(word)));
                    if (DistanceBetween(at, stored) < reach)
                        return true;
                }
                return false;
            });
        entry.word = SetAsteroidWordPosition(entry.word, place);
        ++count;
    } while (budget >= 1 && count < ASTEROID_MAP_SIZE);
    return count;
}

int32_t GenerateAsteroidMap(SAsteroidMapEntry map[ASTEROID_MAP_SIZE], int32_t zoneIndex, int32_t nodeKind,
                            int32_t nodeIndex, bool restrained)
{
    CGame* game = GetGame();
    const CLevelConfig* level = game ? game->GetLevelConfig() : nullptr;
    if (!level)
    {
        for (int32_t i = 0; i < ASTEROID_MAP_SIZE; ++i)
            map[i] = SAsteroidMapEntry();
        return 0;
    }
    SAsteroidFieldRequest request;
    request.totalMass = static_cast<int32_t>(std::min<uint32_t>(level->GetTotalAsteroidMass(), INT32_MAX));
    request.ratioSmall = level->GetRatioSmall();
    request.ratioMedium = level->GetRatioMedium();
    request.worldWidth = game->GetWorldWidth();
    request.nodeKind = nodeKind;
    request.zoneIndex = zoneIndex;
    request.nodeIndex = nodeIndex;
    request.restrained = restrained;
    return GenerateAsteroidMap(game->GetAsteroidTable(), request, GetGameRandom(), map);
}

void SpawnWorm(const CVector2D& position)
{
    CGame* game = GetGame();
    CWorld* world = game ? game->GetWorld() : nullptr;
    if (!world)
        return;
    CRandom& random = GetGameRandom();
    const int32_t n = random.Below(10);
    ++game->GetRun().liveWorms;
    const int32_t zone = game->GetZones().GetZoneIndex();
    const int32_t difficulty = game->GetCampaign().GetDifficulty();
    CVector2D place(position.x + static_cast<float>(5 * n + 15), position.y);
    int32_t previous = NO_OBJECT;
    int32_t beforePrevious = NO_OBJECT;
    for (int32_t i = 0; i < n + WORM_MIN_SEGMENTS; ++i)
    {
        int32_t handle = NO_OBJECT;
        if (!world->CreateObject(OBJECT_WORM, handle))
            break;
        CGameObject* segment = world->GetObject(handle);
        segment->LoadFromFile(WORM_FILE);
        segment->SetWormLinks(previous, NO_OBJECT);
        if (CGameObject* ahead = world->GetObject(previous))
            ahead->SetWormLinks(beforePrevious, handle);
        PlaceAt(*segment, place);
        const int32_t factor = game->GetRun().survival ? difficulty : zone;
        if (factor > 0)
            segment->GetBody().health *= factor;
        beforePrevious = previous;
        previous = handle;
        place.x -= 10.0f;
    }
    const bool dangerous = IsDangerousNodeKind(game->GetZones().GetNodeKind());
    game->GetDirector().RaiseFlag(DIRECTOR_FLIGHT_CHAT, dangerous ? 29 : 30);
}
