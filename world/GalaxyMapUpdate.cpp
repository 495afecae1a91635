// The galaxy map's frame: the hold after an arrival, the view kept up to date while
// choosing, the jump's animation, the choice of a target by click or direction, the
// blinking markers and the two ways a jump starts.

#include "core/RealTimeClock.h"
#include "presentation/GuiManager.h"
#include "world/CampaignLink.h"
#include "world/Controls.h"
#include "world/DirectorLink.h"
#include "world/GalaxyMap.h"
#include "world/Game.h"
#include "world/GameFlowLink.h"
#include "world/HudLink.h"
#include "world/ZoneDefinition.h"
#include "world/ZoneManager.h"
#include "world/ZoneNodeState.h"

namespace
{
bool HasTimeCome(uint32_t now, uint32_t when)
{
    return static_cast<int32_t>(now - when) >= 0;
}

// The director's stage of the campaign's chats.
constexpr int STAGE_CAMPAIGN = 3;
} // namespace

void CGalaxyMap::Update(bool jumpRequested)
{
    SpinIcons();
    if (m_state == MAP_ARRIVED)
    {
        StepArrivalHold();
        return;
    }
    if (m_state == MAP_CHOOSING && m_shown)
        RefreshChoosing();
    if (m_state == MAP_JUMPING)
    {
        StepJump();
        return;
    }
    if (jumpRequested)
    {
        StartRequestedJump();
        return;
    }
    if (!m_shown)
    {
        m_target = MAP_NO_TARGET;
        HideGauges();
        return;
    }
    if (IsCampaignChatStage())
    {
        const int kind = m_zones.GetNodeKind();
        if (kind == ZONE_NODE_TRANSFER)
            RaiseHint(MAP_HINT_TRANSFER_NODE);
        else if (IsDangerousNodeKind(kind))
            RaiseHint(MAP_HINT_DANGER_NODE);
    }
    StepBlink();
    if (!m_enabled)
        return;
    if (!StepClick())
        StepDirections();
    StepChoice();
}

// Markers that spin (the current node's and the target's) turn 5 degrees backwards a
// frame.
void CGalaxyMap::SpinIcons()
{
    if (!m_loaded)
        return;
    for (CAnimatedSprite* sprite : {&m_currentMarker, &m_targetMarker})
        sprite->SetAngle(sprite->GetAngle() - SPIN_DEGREES);
    m_shipMarker.Animate();
}

// After an arrival into waiting enemies the map stands still for 2500 ms of real time;
// then the zone view hands over to the flight, and the galaxy view first shows the new
// zone's map for as long again.
void CGalaxyMap::StepArrivalHold()
{
    const uint32_t now = GetRealTimeClock().GetMs();
    if (!HasTimeCome(now, m_jumpTime + HOLD_MS))
        return;
    if (m_view == MAP_VIEW_ZONE)
    {
        Hide();
        m_state = MAP_CHOOSING;
        m_jumpFinished = true;
        m_game.GetHud().Show(false);
        m_mapDone = true;
        m_game.GetGameFlow().EnterFlight();
        return;
    }
    m_jumpTime = now;
    m_view = MAP_VIEW_ZONE;
    Show();
    m_currentMarker.SetPlane(OVERLAY_PLANE);
    m_currentMarker.Show();
}

void CGalaxyMap::RefreshChoosing()
{
    if (m_view == MAP_VIEW_ZONE)
        ShowRockGauges();
    else
        HideGauges();
    ShowParkedGroups();
    if (m_enabled)
        BuildLinks();
    else
    {
        m_targets.clear();
        HideLinks();
    }
    PlaceCurrentMarker();
    ShowExplored();
}

void CGalaxyMap::StepBlink()
{
    const uint32_t now = m_game.GetTime();
    if (!HasTimeCome(now, m_blinkTime + BLINK_MS))
        return;
    m_blinkTime = now;
    PlaceCurrentMarker();
    if (m_currentMarker.IsVisible())
        m_currentMarker.Hide();
    else
        m_currentMarker.Show();
    if (m_target == MAP_NO_TARGET || m_targetMarker.IsVisible())
        m_targetMarker.Hide();
    else
        m_targetMarker.Show();
}

bool CGalaxyMap::ChooseTarget(int32_t target)
{
    m_choiceTime = m_game.GetTime();
    if (target != MAP_NO_TARGET && target != m_zones.GetCurrentNodeIndex())
    {
        const SMapCandidate* found = nullptr;
        for (const SMapCandidate& candidate : m_targets)
            if (candidate.target == target)
                found = &candidate;
        if (!found)
            return false;
        m_target = target;
        const float scale = m_view == MAP_VIEW_ZONE ? 1.0f : 0.5f;
        m_targetMarker.SetPosition(found->position);
        m_targetMarker.SetScale(scale, scale);
        m_targetMarker.Show();
        return true;
    }
    m_target = MAP_NO_TARGET;
    m_targetMarker.Hide();
    return true;
}

// A click that no control of the GUI took chooses the first offered node under the
// pointer; a click beside every node shows the map again.
bool CGalaxyMap::StepClick()
{
    int x = 0, y = 0;
    if (!g_gui || !g_gui->TakeFreeClick(x, y))
        return false;
    const int32_t target = FindClickedTarget(CVector2D(static_cast<float>(x), static_cast<float>(y)), m_targets);
    if (target != MAP_NO_TARGET)
        ChooseTarget(target);
    else
        Show();
    return true;
}

// Left, right, up and down (in that order; one a frame, on its press) move the choice
// from the target, or from the current node without one.
void CGalaxyMap::StepDirections()
{
    static const int DIRECTIONS[4] = {MAP_LEFT, MAP_RIGHT, MAP_UP, MAP_DOWN};
    const CControls& controls = m_game.GetControls();
    int pressed = -1;
    for (int i = 0; i < 4; ++i)
    {
        const SControlAction& action = controls.GetAction(DIRECTIONS[i]);
        const bool down = action.down || action.held;
        if (down && !m_directionDown[i] && pressed < 0)
            pressed = DIRECTIONS[i];
        m_directionDown[i] = down;
    }
    if (pressed < 0)
        return;
    CVector2D from = GetViewPosition(m_zones.GetZoneIndex(), m_zones.GetCurrentNodeIndex());
    for (const SMapCandidate& candidate : m_targets)
        if (m_target != MAP_NO_TARGET && candidate.target == m_target)
            from = candidate.position;
    ChooseTarget(ChooseByDirection(from, pressed, m_targets));
}

// A chosen target starts its jump 250 ms of game time after the choice.
void CGalaxyMap::StepChoice()
{
    if (m_target == MAP_NO_TARGET || m_target == m_zones.GetCurrentNodeIndex() ||
        !HasTimeCome(m_game.GetTime(), m_choiceTime + CHOICE_WAIT_MS))
        return;
    StartTargetJump();
}

// The zone map's jump button: a minute passes where the player stands.
void CGalaxyMap::StartRequestedJump()
{
    m_previousNode = m_zones.GetCurrentNodeIndex();
    m_previousZone = m_zones.GetZoneIndex();
    m_currentMarker.Hide();
    m_zones.Update(true);
    BeginJumpAnimation();
}

void CGalaxyMap::StartTargetJump()
{
    int32_t zone = 0, node = 0;
    DecodeTarget(m_target, m_zones.GetZoneIndex(), zone, node);
    m_previousNode = m_zones.GetCurrentNodeIndex();
    m_previousZone = m_zones.GetZoneIndex();
    if (zone != m_previousZone && m_zones.GetZone(zone))
    {
        // The research runs on the zone clock: the slots move to the new zone's clock.
        m_game.GetCampaign().MoveSlotsToZoneClock(m_zones.GetZone(m_previousZone)->m_clock,
                                                  m_zones.GetZone(zone)->m_clock);
        m_zones.SetCurrentZone(zone);
        if (!m_zones.GetCurrentZone()->m_nodeState)
            m_zones.InitNodeState();
    }
    m_zones.SetCurrentNode(node);
    m_target = MAP_NO_TARGET;
    m_targetMarker.Hide();
    m_currentMarker.Hide();
    m_zones.Update(true);
    BeginJumpAnimation();
}

// The ship marker sets off from the node it left; the groups that moved in the jump's
// update set off from theirs.
void CGalaxyMap::BeginJumpAnimation()
{
    m_state = MAP_JUMPING;
    m_jumpStartGame = m_game.GetTime();
    if (m_shown)
        Show();
    HideLinks();
    m_targets.clear();
    m_currentMarker.Hide();
    ShowParkedGroups();
    // The marker leaves from where the node it left stands in this view.
    m_shipPosition = GetViewPosition(m_previousZone, m_previousNode);
    const float scale = m_view == MAP_VIEW_ZONE ? 1.0f : 0.5f;
    m_shipMarker.SetPlayRate(10);
    m_shipMarker.SetLooped(true);
    m_shipMarker.SetPlayForwards(true);
    ShowAt(m_shipMarker, m_shipPosition, scale);

    m_movingCount = 0;
    const SGroupDeparture* departures = m_zones.GetDepartures();
    const int32_t zone = m_zones.GetZoneIndex();
    const CVector2D offset(GROUP_OFFSET, GROUP_OFFSET);
    for (int32_t d = 0; d < m_zones.GetDepartureCount() && m_movingCount < NODE_SLOTS; ++d)
    {
        const SGroupDeparture& departure = departures[d];
        SMovingGroup& moving = m_moving[m_movingCount];
        CAnimatedSprite& icon = m_movingGroups[m_movingCount];
        ++m_movingCount;
        moving.position = GetViewPosition(zone, departure.from) + offset;
        moving.goal = GetViewPosition(zone, departure.to) + offset;
        moving.arrived = false;
        icon.SetFrame(departure.mining ? MAP_FRAME_MINING_GROUP : MAP_FRAME_GROUP);
        const float iconScale = GetGroupIconScale(departure.mass) * scale;
        ShowAt(icon, moving.position, iconScale);
    }
}

void CGalaxyMap::StepJump()
{
    const uint32_t elapsed = m_game.GetTime() - m_jumpStartGame;
    const CVector2D goal = GetViewPosition(m_zones.GetZoneIndex(), m_zones.GetCurrentNodeIndex());
    bool allArrived = StepMarker(m_shipPosition, goal, elapsed);
    m_shipMarker.SetPosition(m_shipPosition);
    for (int i = 0; i < m_movingCount; ++i)
    {
        SMovingGroup& moving = m_moving[i];
        if (!moving.arrived)
            moving.arrived = StepMarker(moving.position, moving.goal, elapsed);
        m_movingGroups[i].SetPosition(moving.position);
        allArrived = allArrived && moving.arrived;
    }
    if (!allArrived)
        return;
    FinishJump();
}

// Every marker has arrived: the departures are done with, and enemies of more than 40
// mass at the new node, or a boss not yet beaten at the zone's boss node (unless the
// game's no-suction toggle is on), start the hold before the flight; otherwise the
// player chooses again. The boss is made only as a flight begins at its node and the
// groups formed there move off, so without the boss's own pull its node would stay
// quiet and the zone could not be won.
void CGalaxyMap::FinishJump()
{
    m_zones.ClearDepartures();
    for (int i = 0; i < m_movingCount; ++i)
        m_movingGroups[i].Hide();
    m_movingCount = 0;
    m_shipMarker.Hide();
    m_state = MAP_CHOOSING;
    m_jumpFinished = true;
    const CZoneDefinition* zone = GetCurrentZone();
    const CZoneNodeState* state = zone ? zone->m_nodeState.get() : nullptr;
    const int32_t node = m_zones.GetCurrentNodeIndex();
    if (m_shown)
        Show();
    if (!state || m_game.GetRun().noSuction)
        return;
    const bool bossWaits = node == zone->m_map.bossNode && !state->m_flags[ZONE_FLAG_BOSS_BEATEN];
    if (!bossWaits && state->ParkedMass(node, *zone) <= FLIGHT_MASS)
        return;
    m_jumpFinished = false;
    m_state = MAP_ARRIVED;
    m_mapDone = false;
    m_jumpTime = GetRealTimeClock().GetMs();
    m_currentMarker.Show();
}

void CGalaxyMap::SetArrived()
{
    m_state = MAP_ARRIVED;
    m_jumpTime = GetRealTimeClock().GetMs();
}

bool CGalaxyMap::TakeJumpFinished()
{
    const bool finished = m_jumpFinished;
    m_jumpFinished = false;
    return finished;
}

bool CGalaxyMap::IsCampaignChatStage() const
{
    return m_game.GetDirector().GetProgressStage() == STAGE_CAMPAIGN && m_state != MAP_ARRIVED;
}

void CGalaxyMap::RaiseHint(int hint) const
{
    m_game.GetDirector().RaiseFlag(DIRECTOR_FRONT_END_CHAT, hint);
}
