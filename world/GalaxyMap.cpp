// The galaxy map's pictures: its sprites and gauges, the two views, the groups, the
// rock gauges and the links to the targets within reach.

#include "world/GalaxyMap.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "core/StringTable.h"
#include "core/WideFormat.h"
#include "presentation/SpriteTypes.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/ZoneDefinition.h"
#include "world/ZoneManager.h"
#include "world/ZoneNodeState.h"

#include <algorithm>
#include <cmath>

namespace
{
std::u16string LookUp(uint32_t id)
{
    const CWString* text = nullptr;
    if (!g_stringTable || !g_stringTable->GetText(id, text) || !text)
        return std::u16string();
    return std::u16string(text->GetText());
}

// A sprite of the map: hidden, in virtual-screen units, at a frame.
void MakeMapSprite(CAnimatedSprite& sprite, const CSpriteRef& ref, int plane, int frame)
{
    sprite.Init(ref, plane);
    sprite.SetFlags(SPRITE_VIRTUAL, true);
    sprite.SetStartFrame(static_cast<uint16_t>(frame));
    sprite.SetFrame(static_cast<uint32_t>(frame));
    sprite.Hide();
}
} // namespace

void CGalaxyMap::ShowAt(CAnimatedSprite& sprite, const CVector2D& position, float scale)
{
    sprite.SetPosition(position);
    sprite.SetScale(scale, scale);
    sprite.Show();
}

CGalaxyMap::CGalaxyMap(CZoneManager& zones, CGame& game) : m_zones(zones), m_game(game) {}

CGalaxyMap::~CGalaxyMap()
{
    ReleaseSprites();
}

void CGalaxyMap::SetTexts(CGalaxyMapTexts* texts)
{
    m_texts = texts ? texts : &m_noTexts;
}

void CGalaxyMap::ReleaseSprites()
{
    if (!m_loaded)
        return;
    for (int i = 0; i < NODE_SLOTS; ++i)
    {
        m_nodeIcons[i].Destroy();
        m_visitedMarks[i].Destroy();
        m_linkDots[i].Destroy();
        m_groupIcons[i].Destroy();
        m_movingGroups[i].Destroy();
        m_gauges[i].ReleaseIcon();
    }
    m_currentMarker.Destroy();
    m_targetMarker.Destroy();
    m_shipMarker.Destroy();
    for (int zone = 0; zone < ZONE_SLOTS; ++zone)
    {
        m_hyperPictures[zone].Destroy();
        m_hyperRefs[zone].Release();
        m_normalPictures[zone].Destroy();
        m_normalDefs[zone].reset();
    }
    m_iconRef.Release();
    m_groupRef.Release();
    m_shown = false;
    m_loaded = false;
}

void CGalaxyMap::LoadSprites()
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_iconRef.SetFile(ICON_FILE, true);
    m_groupRef.SetFile(GROUP_FILE, true);
    CDataTree gaugeIcon;
    gaugeIcon.SetString("spriteFile", GAUGE_FILE);
    SHudBarDesc gauge;
    gauge.iconBlock = &gaugeIcon;
    for (int i = 0; i < NODE_SLOTS; ++i)
    {
        MakeMapSprite(m_nodeIcons[i], m_iconRef, ICON_PLANE, GetNodeIconFrame(ZONE_NODE_NORMAL));
        MakeMapSprite(m_visitedMarks[i], m_iconRef, ICON_PLANE, MAP_FRAME_VISITED);
        MakeMapSprite(m_linkDots[i], m_iconRef, OVERLAY_PLANE, MAP_FRAME_LINK_DOT);
        MakeMapSprite(m_groupIcons[i], m_groupRef, OVERLAY_PLANE, MAP_FRAME_GROUP);
        MakeMapSprite(m_movingGroups[i], m_groupRef, OVERLAY_PLANE, MAP_FRAME_GROUP);
        m_gauges[i].Load(gauge);
        m_gauges[i].GetIcon().SetFlags(SPRITE_VIRTUAL, true);
        m_gauges[i].SetupMapGauge();
        m_gauges[i].SetBarSize(GAUGE_WIDTH, GAUGE_HEIGHT);
    }
    MakeMapSprite(m_currentMarker, m_iconRef, OVERLAY_PLANE, MAP_FRAME_MARKER);
    MakeMapSprite(m_targetMarker, m_iconRef, OVERLAY_PLANE, MAP_FRAME_TARGET);
    MakeMapSprite(m_shipMarker, m_iconRef, OVERLAY_PLANE, MAP_FRAME_SHIP_FIRST);
    LoadZonePictures();
}

// Each zone's pictures: the hyper-space picture of the galaxy view (a sprite on plane
// 10) and the zone view's big picture, both with their top-left corner at the zone's
// origin in that view.
void CGalaxyMap::LoadZonePictures()
{
    const int32_t zones = std::min<int32_t>(m_zones.GetZoneCount(), ZONE_SLOTS);
    for (int32_t z = 0; z < zones; ++z)
    {
        const SZoneMap& map = m_zones.GetZone(z)->m_map;
        if (map.hyperBackground && m_hyperRefs[z].Load(*map.hyperBackground, true))
        {
            MakeMapSprite(m_hyperPictures[z], m_hyperRefs[z], BACKGROUND_PLANE, 0);
            int32_t frame = 0;
            if (map.hyperBackground->GetInt("startFrame", frame) && frame >= 0)
                m_hyperPictures[z].SetFrame(static_cast<uint32_t>(frame));
            const CVector2D half(m_hyperRefs[z].GetFrameWidth() / 2.0f, m_hyperRefs[z].GetFrameHeight() / 2.0f);
            m_hyperPictures[z].SetPosition(map.hyperBgndPos + half);
        }
        if (map.normalBackground)
        {
            CDefinitionProblems problems;
            std::unique_ptr<CTiledSpriteDef> def = std::make_unique<CTiledSpriteDef>();
            if (def->Load(*map.normalBackground, problems) && m_normalPictures[z].Create(*def))
            {
                m_normalPictures[z].SetTopLeft(map.normalBgndPos.x + def->GetCellWidth() / 2.0f,
                                               map.normalBgndPos.y + def->GetCellHeight() / 2.0f);
                m_normalDefs[z] = std::move(def);
            }
            else
                m_normalPictures[z].Destroy();
        }
    }
}

CZoneDefinition* CGalaxyMap::GetCurrentZone() const
{
    return m_zones.GetCurrentZone();
}

bool CGalaxyMap::IsZoneOpen(int32_t zone) const
{
    bool beaten[MAP_MAX_ZONES] = {};
    for (int32_t z = 0; z < MAP_MAX_ZONES; ++z)
    {
        const CZoneDefinition* definition = m_zones.GetZone(z);
        beaten[z] = definition && definition->m_nodeState && definition->m_nodeState->m_flags[ZONE_FLAG_BOSS_BEATEN];
    }
    return m_zones.GetZone(zone) && IsZoneUnlocked(zone, beaten);
}

// Node 0 of every map is a transfer node that leads nowhere: it is never drawn. The
// boss and alien nodes wait for their zone's flags; while the tutorial shows the map
// for the first time the danger nodes stay hidden.
bool CGalaxyMap::IsNodeDrawn(const CZoneDefinition& zone, int32_t node) const
{
    const SZoneMap& map = zone.m_map;
    if (node < 0 || node >= map.GetNodeCount() || node >= NODE_SLOTS)
        return false;
    const SZoneMapNode& record = map.nodes[static_cast<size_t>(node)];
    if (record.kind == ZONE_NODE_TRANSFER && record.extra < 0)
        return false;
    const CZoneNodeState* state = zone.m_nodeState.get();
    const auto flag = [state](int f) { return state && state->m_flags[f]; };
    if (node == map.bossNode && !flag(ZONE_FLAG_BOSS_NODE_SHOWN))
        return false;
    if (node == map.alienNode1 && !flag(ZONE_FLAG_ALIEN_NODE_1_SHOWN))
        return false;
    if (node == map.alienNode2 && !flag(ZONE_FLAG_ALIEN_NODE_2_SHOWN))
        return false;
    if (IsDangerousNodeKind(record.kind) && m_game.GetDirector().GetTutorialStep() == TUTORIAL_STEP_NO_DANGER)
        return false;
    return true;
}

bool CGalaxyMap::GetNodePosition(int32_t zone, int32_t node, CVector2D& position) const
{
    const CZoneDefinition* definition = m_zones.GetZone(zone);
    if (!definition || node < 0 || node >= definition->m_map.GetNodeCount())
        return false;
    position = GetViewPosition(zone, node);
    return true;
}

CVector2D CGalaxyMap::GetViewPosition(int32_t zone, int32_t node) const
{
    const CZoneDefinition* definition = m_zones.GetZone(zone);
    if (!definition || node < 0 || node >= definition->m_map.GetNodeCount())
        return CVector2D();
    const SZoneMap& map = definition->m_map;
    const SZoneMapNode& record = map.nodes[static_cast<size_t>(node)];
    const CVector2D at(record.x, record.y);
    return m_view == MAP_VIEW_ZONE ? GetZoneViewPosition(at, map.normalBgndPos)
                                   : GetGalaxyViewPosition(at, map.hyperBgndPos);
}

void CGalaxyMap::Show()
{
    LoadSprites();
    HideNodes();
    HideLinks();
    HideGauges();
    for (int32_t z = 0; z < ZONE_SLOTS; ++z)
    {
        m_hyperPictures[z].Hide();
        m_normalPictures[z].SetVisible(false);
    }
    for (int id = TEXT_ZONE_FIRST; id < TEXT_ZONE_FIRST + ZONE_SLOTS; ++id)
        m_texts->ShowText(id, false);
    m_shown = true;
    if (m_view == MAP_VIEW_ZONE)
        ShowZoneView();
    else
        ShowGalaxyView();
    m_texts->ShowText(TEXT_VIEW_TITLE, true);
    ShowExplored();
    PlaceCurrentMarker();
}

void CGalaxyMap::ShowZoneView()
{
    m_texts->SetText(TEXT_VIEW_TITLE, LookUp(TEXT_ZONE_VIEW));
    const int32_t z = m_zones.GetZoneIndex();
    const CZoneDefinition* zone = GetCurrentZone();
    if (!zone)
        return;
    if (z >= 0 && z < ZONE_SLOTS)
        m_normalPictures[z].SetVisible(true);
    ShowZoneTitle(z, zone->m_map.normalBgndTitlePos);
    const CZoneNodeState* state = zone->m_nodeState.get();
    const int32_t current = m_zones.GetCurrentNodeIndex();
    for (int32_t node = 0; node < zone->m_map.GetNodeCount() && node < NODE_SLOTS; ++node)
    {
        if (!IsNodeDrawn(*zone, node) && node != current)
            continue;
        const SZoneNode* record = state ? state->GetNode(node) : nullptr;
        const int frame = node == current ? MAP_FRAME_CURRENT_NODE : GetNodeIconFrame(zone->m_map.GetKind(node));
        ShowNodeIcon(node, GetViewPosition(z, node), frame, record && record->visited);
    }
}

void CGalaxyMap::ShowGalaxyView()
{
    m_target = MAP_NO_TARGET;
    m_targetMarker.Hide();
    m_texts->SetText(TEXT_VIEW_TITLE, LookUp(TEXT_GALAXY_VIEW));
    const int32_t currentZone = m_zones.GetZoneIndex();
    const int32_t current = m_zones.GetCurrentNodeIndex();
    int slot = 0;
    for (int32_t z = 0; z < std::min<int32_t>(m_zones.GetZoneCount(), ZONE_SLOTS); ++z)
    {
        if (!IsZoneOpen(z))
            continue;
        const CZoneDefinition& zone = *m_zones.GetZone(z);
        ShowZoneTitle(z, zone.m_map.hyperBgndTitlePos);
        m_hyperPictures[z].Show();
        const CZoneNodeState* state = zone.m_nodeState.get();
        for (int32_t node = 0; node < zone.m_map.GetNodeCount() && slot < NODE_SLOTS; ++node)
        {
            const SZoneMapNode& record = zone.m_map.nodes[static_cast<size_t>(node)];
            if (record.kind != ZONE_NODE_TRANSFER || record.extra < 0)
                continue;
            const SZoneNode* nodeState = state ? state->GetNode(node) : nullptr;
            const bool isCurrent = z == currentZone && node == current;
            ShowNodeIcon(slot++, GetViewPosition(z, node), isCurrent ? MAP_FRAME_CURRENT_NODE : 2,
                         nodeState && nodeState->visited);
        }
    }
}

void CGalaxyMap::ShowNodeIcon(int slot, const CVector2D& position, int frame, bool visited)
{
    const float scale = m_view == MAP_VIEW_ZONE ? 1.0f : 0.5f;
    m_nodeIcons[slot].SetFrame(static_cast<uint32_t>(frame));
    ShowAt(m_nodeIcons[slot], position, scale);
    if (visited)
        ShowAt(m_visitedMarks[slot], position, scale);
    else
        m_visitedMarks[slot].Hide();
}

// "Zone %i", or "Zone %i - cleared" once its boss is beaten, at the given place.
void CGalaxyMap::ShowZoneTitle(int32_t zone, const CVector2D& position)
{
    if (zone < 0 || zone >= ZONE_SLOTS)
        return;
    const CZoneDefinition* definition = m_zones.GetZone(zone);
    const bool beaten =
        definition && definition->m_nodeState && definition->m_nodeState->m_flags[ZONE_FLAG_BOSS_BEATEN];
    CWString text;
    FormatWide(text, LookUp(beaten ? TEXT_ZONE_CLEARED : TEXT_ZONE).c_str(), static_cast<int>(zone + 1));
    const int id = TEXT_ZONE_FIRST + zone;
    m_texts->SetText(id, text.GetText());
    m_texts->PlaceText(id, position);
    m_texts->ShowText(id, true);
}

// The share of visited nodes, of all zones' nodes (a zone not yet played counts its
// nodes as unvisited) and of the current zone's.
void CGalaxyMap::ShowExplored()
{
    int32_t allNodes = 0, allVisited = 0, zoneNodes = 0, zoneVisited = 0;
    for (int32_t z = 0; z < m_zones.GetZoneCount(); ++z)
    {
        const CZoneDefinition& zone = *m_zones.GetZone(z);
        const int32_t nodes = zone.m_map.GetNodeCount();
        int32_t visited = 0;
        if (const CZoneNodeState* state = zone.m_nodeState.get())
            for (int32_t node = 0; node < state->GetNodeCount(); ++node)
                visited += state->GetNode(node)->visited ? 1 : 0;
        allNodes += nodes;
        allVisited += visited;
        if (z == m_zones.GetZoneIndex())
        {
            zoneNodes = nodes;
            zoneVisited = visited;
        }
    }
    CWString text;
    FormatWide(text, LookUp(TEXT_EXPLORED_FORMAT).c_str(), static_cast<int>(GetExploredPercent(allVisited, allNodes)),
               static_cast<int>(GetExploredPercent(zoneVisited, zoneNodes)));
    m_texts->SetText(TEXT_EXPLORED, text.GetText());
    m_texts->ShowText(TEXT_EXPLORED, true);
}

void CGalaxyMap::PlaceCurrentMarker()
{
    const float scale = m_view == MAP_VIEW_ZONE ? 1.0f : 0.5f;
    m_currentMarker.SetPosition(GetViewPosition(m_zones.GetZoneIndex(), m_zones.GetCurrentNodeIndex()));
    m_currentMarker.SetScale(scale, scale);
}

void CGalaxyMap::Hide()
{
    if (m_loaded)
    {
        HideNodes();
        HideLinks();
        HideGauges();
        for (int32_t z = 0; z < ZONE_SLOTS; ++z)
        {
            m_hyperPictures[z].Hide();
            m_normalPictures[z].SetVisible(false);
        }
        m_currentMarker.Hide();
        m_targetMarker.Hide();
        m_shipMarker.Hide();
    }
    for (int id = TEXT_ZONE_FIRST; id < TEXT_ZONE_FIRST + ZONE_SLOTS; ++id)
        m_texts->ShowText(id, false);
    m_texts->ShowText(TEXT_VIEW_TITLE, false);
    m_texts->ShowText(TEXT_EXPLORED, false);
    m_shown = false;
}

void CGalaxyMap::HideNodes()
{
    for (int i = 0; i < NODE_SLOTS; ++i)
    {
        m_nodeIcons[i].Hide();
        m_visitedMarks[i].Hide();
        m_groupIcons[i].Hide();
        m_movingGroups[i].Hide();
    }
}

void CGalaxyMap::HideLinks()
{
    for (CAnimatedSprite& dot : m_linkDots)
        dot.Hide();
    m_linkDotCount = 0;
}

void CGalaxyMap::HideGauges()
{
    for (CHudBar& gauge : m_gauges)
        gauge.Hide();
}

void CGalaxyMap::DrawGauges() const
{
    for (const CHudBar& gauge : m_gauges)
        if (gauge.IsShown())
            gauge.Draw(0.0f, 0.0f, true);
}

// One gauge per normal and transfer node of the zone view: the rocks the node holds
// now against the rocks its map was made with, flashing while a mining group works it.
void CGalaxyMap::ShowRockGauges()
{
    const CZoneDefinition* zone = GetCurrentZone();
    const CZoneNodeState* state = zone ? zone->m_nodeState.get() : nullptr;
    if (!state || !m_loaded)
        return;
    bool mining = false;
    for (int32_t node = 0; node < NODE_SLOTS; ++node)
    {
        CHudBar& gauge = m_gauges[node];
        const SZoneNode* record = state->GetNode(node);
        const int32_t kind = zone->m_map.GetKind(node);
        if (!record || (kind != ZONE_NODE_NORMAL && kind != ZONE_NODE_TRANSFER) || !IsNodeDrawn(*zone, node))
        {
            gauge.Hide();
            continue;
        }
        const float maximum = static_cast<float>(record->rockValue);
        gauge.SetValue(maximum, std::min(maximum, static_cast<float>(record->CountRockValue())));
        gauge.SetPosition(GetViewPosition(m_zones.GetZoneIndex(), node) - CVector2D(GAUGE_OFFSET, GAUGE_OFFSET));
        gauge.ShowAlways();
        if (record->miningMarker)
        {
            gauge.Blink();
            mining = true;
        }
    }
    if (mining && IsCampaignChatStage())
        RaiseHint(MAP_HINT_MINING);
}

// A group icon at every node of the view that holds groups (galaxy view: the current
// zone's transfer nodes), sized by the mass of their alive entries; groups that are
// flying to another node are left to the jump's animation.
void CGalaxyMap::ShowParkedGroups()
{
    const CZoneDefinition* zone = GetCurrentZone();
    const CZoneNodeState* state = zone ? zone->m_nodeState.get() : nullptr;
    if (!state || !m_loaded)
        return;
    const SGroupDeparture* departures = m_zones.GetDepartures();
    const int32_t departureCount = m_zones.GetDepartureCount();
    bool anyGroup = false;
    for (int32_t node = 0; node < state->GetNodeCount() && node < NODE_SLOTS; ++node)
    {
        CAnimatedSprite& icon = m_groupIcons[node];
        icon.Hide();
        if (m_view == MAP_VIEW_GALAXY && zone->m_map.GetKind(node) != ZONE_NODE_TRANSFER)
            continue;
        if (m_view == MAP_VIEW_ZONE && !IsNodeDrawn(*zone, node))
            continue;
        float mass = 0.0f;
        bool mining = false;
        for (const SParkedGroup& group : state->GetNode(node)->parked)
        {
            if (!group.used)
                continue;
            bool flying = false;
            for (int32_t d = 0; d < departureCount && !flying; ++d)
                flying = departures[d].group == group.number;
            if (flying)
                continue;
            for (const SParkedEntry& entry : group.entries)
                if (entry.alive)
                    if (const SResourceRecord* record = zone->GetRecord(entry.infinite != 0, entry.resource))
                    {
                        mass += record->mass;
                        mining = mining || record->mining;
                    }
        }
        if (mass <= 0.0f)
            continue;
        anyGroup = true;
        icon.SetFrame(mining ? MAP_FRAME_MINING_GROUP : MAP_FRAME_GROUP);
        const float scale = GetGroupIconScale(mass) * (m_view == MAP_VIEW_ZONE ? 1.0f : 0.5f);
        ShowAt(icon, GetViewPosition(m_zones.GetZoneIndex(), node) + CVector2D(GROUP_OFFSET, GROUP_OFFSET), scale);
    }
    if (anyGroup && IsCampaignChatStage())
        RaiseHint(MAP_HINT_ENEMY_GROUP);
}

// The targets within reach of the current node, and a dotted line to each of them.
void CGalaxyMap::BuildLinks()
{
    m_targets.clear();
    HideLinks();
    const CZoneDefinition* zone = GetCurrentZone();
    if (!zone)
        return;
    const int32_t z = m_zones.GetZoneIndex();
    const int32_t current = m_zones.GetCurrentNodeIndex();
    const CVector2D here = GetViewPosition(z, current);
    const SZoneMap& map = zone->m_map;
    if (m_view == MAP_VIEW_ZONE)
    {
        const float reach = GetZoneReach(z);
        for (int32_t node = 0; node < map.GetNodeCount() && node < NODE_SLOTS; ++node)
        {
            const CVector2D there = GetViewPosition(z, node);
            if (node != current && (!IsNodeDrawn(*zone, node) || !IsWithinReach(here, there, reach)))
                continue;
            m_targets.push_back({node, there});
            if (node != current)
                AddLink(here, there, ZONE_LINK_START);
        }
        return;
    }
    // The galaxy view: first the way into the zone the current transfer node leads to,
    // then the zone's own transfer nodes within reach.
    for (int32_t node = 0; node < map.GetNodeCount(); ++node)
    {
        const SZoneMapNode& record = map.nodes[static_cast<size_t>(node)];
        if (record.kind != ZONE_NODE_TRANSFER || record.extra < 0 || record.extra == z || !IsZoneOpen(record.extra))
            continue;
        const CZoneDefinition& other = *m_zones.GetZone(record.extra);
        for (int32_t back = 0; back < other.m_map.GetNodeCount(); ++back)
        {
            const SZoneMapNode& entry = other.m_map.nodes[static_cast<size_t>(back)];
            if (entry.kind != ZONE_NODE_TRANSFER || entry.extra != z)
                continue;
            const CVector2D there = GetViewPosition(record.extra, back);
            AddLink(GetViewPosition(z, node), there, GALAXY_LINK_START);
            if (IsCampaignChatStage() && m_state != MAP_ARRIVED)
                RaiseHint(MAP_HINT_ZONE_LINK);
            if (node == current)
                m_targets.push_back({EncodeZoneTarget(record.extra, back), there});
            break;
        }
    }
    for (int32_t node = 0; node < map.GetNodeCount(); ++node)
    {
        const SZoneMapNode& record = map.nodes[static_cast<size_t>(node)];
        if (record.kind != ZONE_NODE_TRANSFER || record.extra < 0)
            continue;
        const CVector2D there = GetViewPosition(z, node);
        if (node != current && !IsWithinReach(here, there, MAP_GALAXY_REACH))
            continue;
        m_targets.push_back({node, there});
        if (node != current)
            AddLink(here, there, GALAXY_LINK_START);
    }
}

// Dots every 5 units from a point a little out from `from` toward `to`, from the map's
// 75 link sprites; further lines get none once they are used up.
void CGalaxyMap::AddLink(const CVector2D& from, const CVector2D& to, float startOut)
{
    if (!m_loaded || m_linkDotCount >= NODE_SLOTS)
        return;
    CVector2D direction = to - from;
    const float length = std::sqrt(direction.x * direction.x + direction.y * direction.y);
    if (length <= startOut)
        return;
    direction = direction * (1.0f / length);
    const CVector2D start = from + direction * startOut;
    m_linkDotCount += static_cast<int>(PlaceSpritesAlongLine(
        &m_linkDots[m_linkDotCount], static_cast<size_t>(NODE_SLOTS - m_linkDotCount), start, to, LINK_SPACING));
}
