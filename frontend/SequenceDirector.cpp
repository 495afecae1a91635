// The director's sequences, gates, flags and save block; its chats and tutorial are
// in DirectorChats.cpp and DirectorTutorial.cpp.

#include "frontend/SequenceDirector.h"

#include "core/Console.h"
#include "frontend/FrontEndScreen.h"
#include "frontend/GameFlow.h"
#include "frontend/ScreenLayout.h"
#include "frontend/ScreenTime.h"
#include "presentation/Font.h"
#include "frontend/SequenceTable.h"
#include "platform/AudioSystem.h"
#include "platform/CoreInput.h"
#include "platform/input/DikCodes.h"
#include "presentation/GuiManager.h"
#include "ships/StationFlowLink.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/HudLink.h"
#include "world/World.h"
#include "world/ZoneLink.h"

#include <cstdio>

namespace
{
constexpr float STATION_HEALTH_SHARE = 0.3f;
} // namespace

CSequenceDirector::CSequenceDirector(CGame& game, CGameFlow& flow, CDirectorPages& pages)
    : m_game(game), m_flow(flow), m_pages(pages)
{
    for (int& handle : m_tutorialHandles)
        handle = -1;
    for (int& handle : m_chatHandles)
        handle = -1;
    ResetGroups();
    ResetZone4();
    ClearScratch();
}

CSequenceDirector::~CSequenceDirector()
{
    Uninstall();
    if (m_slot >= 0)
    {
        m_animations.Release(m_slot);
        ShowGuiLayers(true);
    }
    m_pages.CloseChatBox();
}

void CSequenceDirector::Install()
{
    m_game.SetDirector(this);
    m_flow.SetDirector(this);
    m_installed = true;
}

void CSequenceDirector::Uninstall()
{
    if (!m_installed)
        return;
    m_game.SetDirector(nullptr);
    m_flow.SetDirector(nullptr);
    m_installed = false;
}

uint32_t CSequenceDirector::Now() const
{
    return m_game.GetTime();
}

// ---- sequences ---------------------------------------------------------------------

bool CSequenceDirector::PlaySequence(int index, bool shiftKeys, int startFrame)
{
    const SSequenceEntry* entry = GetSequenceEntry(index);
    if (m_sequence >= 0 || !entry || !entry->path)
        return false;
    const bool loadedBefore = m_animations.Find(entry->path) >= 0;
    int slot = -1;
    if (!m_animations.Load(entry->path, slot))
    {
        if (g_console)
            g_console->Printf("The sequence %s cannot play", entry->path);
        return false;
    }
    if (!loadedBefore && !m_animations.LoadMedia(slot))
    {
        m_animations.Release(slot);
        if (g_console)
            g_console->Printf("The pictures or sounds of %s cannot load", entry->path);
        return false;
    }
    if (shiftKeys && !loadedBefore && entry->keyOffset)
        m_animations.ShiftKeys(slot, entry->keyOffset);

    const CVector2D& view = m_game.GetCamera().GetView();
    m_cameraX = view.x;
    m_cameraY = view.y;
    m_game.GetCamera().SetPosition(0.0f, 0.0f);
    if (index == SEQUENCE_INTRO && g_audio)
        m_introMusic = static_cast<float>(g_audio->GetMusicVolume());
    m_sequence = index;
    m_slot = slot;
    m_still = startFrame != -1;
    if (!m_still)
    {
        m_animations.Play(slot, entry->loops);
        // A full-screen sequence that ends by itself hides the screens under it.
        if (entry->covers && !entry->loops)
            ShowGuiLayers(false);
        FlushControls();
        if (m_flow.GetMode() == GAME_MODE_FRONT_END)
            GateCurrentScreen();
        // A still picture never touches the gates: nothing would open them again.
        if (entry->covers)
        {
            SetGate(GATE_WORLD_UPDATE, false);
            SetGate(GATE_GUI_KEYBOARD, false);
        }
    }
    else
    {
        const uint32_t length = m_animations.GetLength(slot);
        const uint32_t last = length ? length - 1 : 0;
        const uint32_t frame = startFrame < 0 ? 0 : static_cast<uint32_t>(startFrame);
        m_animations.PlayRange(slot, frame < last ? frame : last, length, false);
    }
    // The half second before a skip counts from the first frame the sequence shows:
    // a loading screen between here and that frame would use it up.
    m_startPending = true;
    return true;
}

void CSequenceDirector::StopSequence()
{
    if (m_sequence < 0)
        return;
    const SSequenceEntry* entry = GetSequenceEntry(m_sequence);
    m_animations.Release(m_slot);
    ShowGuiLayers(true);
    if (!m_still && entry && entry->covers)
    {
        SetGate(GATE_WORLD_UPDATE, true);
        SetGate(GATE_GUI_KEYBOARD, true);
        FlushControls();
        GateCurrentScreen();
    }
    // The intro's fade gives the music back at its level.
    if (m_sequence == SEQUENCE_INTRO && g_audio)
        g_audio->SetMusicVolume(static_cast<int>(m_introMusic));
    m_sequence = -1;
    m_slot = -1;
    m_still = false;
    m_game.GetCamera().SetPosition(m_cameraX, m_cameraY);
}

int CSequenceDirector::GetSequenceFrame() const
{
    return m_sequence >= 0 ? static_cast<int>(m_animations.GetCurrentFrame(m_slot)) : -1;
}

bool CSequenceDirector::IsCoveringSequencePlaying() const
{
    return m_sequence >= 0 && IsCoveringSequence(m_sequence);
}

void CSequenceDirector::ShowGuiLayers(bool shown)
{
    if (g_gui)
        g_gui->SetLayersHidden(!shown);
}

void CSequenceDirector::HoldCamera()
{
    m_game.GetCamera().SetPosition(0.0f, 0.0f);
}

bool CSequenceDirector::IsSkipAsked() const
{
    if (m_game.GetControls().GetAction(0).down)
        return true;
    if (!g_input)
        return false;
    bool left = false;
    bool right = false;
    bool middle = false;
    g_input->GetMouseButtons(&left, &right, &middle);
    return left || g_input->IsKeyDown(Dik::RETURN) || g_input->IsKeyDown(Dik::ESCAPE) ||
           g_input->IsKeyDown(Dik::SPACE);
}

void CSequenceDirector::UpdateSequence()
{
    if (m_sequence < 0)
        return;
    HoldCamera();
    // A still picture stays on its frame.
    if (m_still)
        return;
    if (m_startPending)
    {
        m_startTime = GetScreenTime() + SKIP_DELAY_MS;
        m_startPending = false;
    }
    m_animations.Update();
    if (m_sequence == SEQUENCE_INTRO && g_audio)
    {
        m_introMusic = m_introMusic > 0.1f ? m_introMusic - 0.1f : 0.0f;
        g_audio->SetMusicVolume(static_cast<int>(m_introMusic));
    }
    const SSequenceEntry* entry = GetSequenceEntry(m_sequence);
    const bool loops = entry && entry->loops;
    if (!loops && m_animations.GetCurrentFrame(m_slot) >= m_animations.GetLength(m_slot))
    {
        const int ended = m_sequence;
        StopSequence();
        if (ended == SEQUENCE_INTRO && g_audio)
            g_audio->SetMusicVolume(static_cast<int>(m_introMusic));
        m_flow.UpdateMusic();
        return;
    }
    if (!loops && HasTimeCome(GetScreenTime(), m_startTime) && m_flow.GetScreenId() != SEQUENCE_UNSKIPPABLE_SCREEN &&
        IsSkipAsked())
        StopSequence();
}

// ---- the frame -----------------------------------------------------------------------

void CSequenceDirector::Update()
{
    UpdateSequence();
    // The pod's hint belongs to the flight that took the pod in.
    if (m_flow.GetMode() == GAME_MODE_FRONT_END)
        m_podHint = false;
    const SRunState& run = m_game.GetRun();
    if (run.quickShip || run.survival)
        return;
    NoteZoneChange();
    if (m_stage == STAGE_TUTORIAL)
        RunTutorial();
    else if (m_stage == STAGE_CAMPAIGN)
        RunCampaignChats();
}

void CSequenceDirector::Draw()
{
    m_animations.Draw();
}

void CSequenceDirector::NoteZoneChange()
{
    const int zone = m_game.GetZones().GetZoneIndex();
    if (zone == m_notedZone)
        return;
    m_notedZone = zone;
    m_flight[FLIGHT_DANGER_WORM] = false;
    m_flight[FLIGHT_WORM] = false;
    m_visit[VISIT_WRECK_POD] = false;
    m_boss[BOSS_MINING_CLEAR] = false;
}

// ---- gates and flags -------------------------------------------------------------------

bool CSequenceDirector::IsGateOpen(int gate) const
{
    return gate >= 0 && gate < DIRECTOR_GATE_COUNT && m_gates[gate];
}

void CSequenceDirector::SetGate(int gate, bool open)
{
    if (gate >= 0 && gate < DIRECTOR_GATE_COUNT)
        m_gates[gate] = open;
}

void CSequenceDirector::ResetFeatureGates()
{
    for (int gate = 0; gate < DIRECTOR_GATE_COUNT; ++gate)
        m_gates[gate] = gate >= GATE_WORLD_UPDATE && gate <= GATE_STEERING;
}

bool CSequenceDirector::GetFlag(int group, int flag) const
{
    switch (group)
    {
    case DIRECTOR_FLIGHT_CHAT:
        return flag >= 0 && flag < FLIGHT_BYTES && m_flight[flag];
    case DIRECTOR_VISIT_CHAT:
        return flag >= 0 && flag < VISIT_BYTES && m_visit[flag];
    case DIRECTOR_BOSS_CHAT:
        return flag >= 0 && flag < BOSS_BYTES && m_boss[flag];
    case DIRECTOR_FRONT_END_CHAT:
        return flag >= 0 && flag < FRONT_END_BYTES / 2 && m_frontEnd[flag * 2];
    default:
        return false;
    }
}

void CSequenceDirector::SetFlag(int group, int flag, bool value)
{
    switch (group)
    {
    case DIRECTOR_FLIGHT_CHAT:
        if (flag >= 0 && flag < FLIGHT_BYTES)
            m_flight[flag] = value;
        return;
    case DIRECTOR_VISIT_CHAT:
        if (flag >= 0 && flag < VISIT_BYTES)
            m_visit[flag] = value;
        return;
    case DIRECTOR_BOSS_CHAT:
        if (flag >= 0 && flag < BOSS_BYTES)
            m_boss[flag] = value;
        return;
    case DIRECTOR_FRONT_END_CHAT:
        // By chat number: its trigger byte.
        if (flag >= 0 && flag < FRONT_END_BYTES / 2)
            m_frontEnd[flag * 2] = value;
        return;
    default:
        return;
    }
}

void CSequenceDirector::RaiseFlag(int group, int flag)
{
    SetFlag(group, flag, true);
}

void CSequenceDirector::ClearFlag(int group, int flag)
{
    SetFlag(group, flag, false);
}

int32_t CSequenceDirector::GetLastZone(int which) const
{
    return which == 0 ? m_lastZone28 : which == 1 ? m_lastZone60 : m_lastArrivalZone;
}

void CSequenceDirector::ResetGroups()
{
    for (bool& flag : m_flight)
        flag = false;
    m_lastZone28 = -1;
    m_lastZone60 = -1;
    for (bool& flag : m_visit)
        flag = false;
    for (bool& flag : m_boss)
        flag = false;
    for (bool& flag : m_frontEnd)
        flag = false;
    m_lastArrivalZone = -1;
    ResetFeatureGates();
}

void CSequenceDirector::ResetZone4()
{
    m_queen = -1;
    m_queenFreezeEnd = 0;
    m_queenFrozen = false;
    m_queenEvent = false;
    m_chat53 = false;
    m_chat54 = false;
    m_chat55 = false;
    m_strikeDone = false;
}

void CSequenceDirector::ClearScratch()
{
    m_sub = 0;
    m_chatParam = 0;
    m_watched = -1;
    m_wait = 0;
    m_wait2 = 0;
    m_inputWait = 0;
    for (bool& mark : m_inputMarks)
        mark = false;
    m_pageShown = -1;
    m_pageFailed = false;
    m_boxOpen = false;
}

// ---- progress ------------------------------------------------------------------------------

void CSequenceDirector::SetTutorialStep(int step)
{
    m_step = step;
    ClearScratch();
}

void CSequenceDirector::ResetForNewGame()
{
    m_stage = STAGE_NONE;
    m_step = -1;
    m_chatPage = -1;
    m_pages.CloseChatBox();
    ResetGroups();
    ResetZone4();
    ClearScratch();
    m_hintLine = false;
    m_podHint = false;
    m_startTime = 0;
    m_nextChatTime = 0;
    m_notedZone = -1;
}

void CSequenceDirector::ClearAll()
{
    m_pages.CloseChatBox();
    m_pages.ReleasePages();
    for (int& handle : m_tutorialHandles)
        handle = -1;
    for (int& handle : m_chatHandles)
        handle = -1;
    m_pagesLoaded = false;
    m_stage = STAGE_NONE;
    m_chatPage = -1;
    m_hintLine = false;
}

void CSequenceDirector::SetBossGoFlags()
{
    for (int flag = BOSS_GO; flag < BOSS_GO + 5; ++flag)
        m_boss[flag] = true;
}

void CSequenceDirector::StartChatPage(int page)
{
    if (m_chatPage >= 0)
        return;
    m_chatPage = page;
    m_sub = 0;
    m_pageShown = -1;
}

// ---- the world's side -----------------------------------------------------------------------

// The queen's freeze arms the scripted hit; the hit itself is the queen's event.
bool CSequenceDirector::IsScriptedHitArmed() const
{
    return m_queenFrozen;
}

void CSequenceDirector::OnEquipmentPodCollected(bool found)
{
    m_podHint = true;
    if (found)
        SetGate(GATE_CARGO_CHAT, true);
}

void CSequenceDirector::FreezeQueen(uint32_t until)
{
    m_queenFrozen = true;
    m_queenFreezeEnd = until;
}

// ---- the save block ----------------------------------------------------------------------

void CSequenceDirector::WriteState(std::vector<uint8_t>& out) const
{
    SDirectorBlock block;
    block.stage = m_stage;
    block.step = m_step;
    block.chatPage = m_chatPage;
    for (int i = 0; i < 9; ++i)
        block.visit[i] = m_visit[VISIT_CHAT30 + i];
    block.visit[9] = m_visit[VISIT_CHAT63];
    for (int i = 0; i < 10; ++i)
        block.boss[i] = m_boss[BOSS_CHAT39 + i];
    for (int i = 0; i < FRONT_END_BYTES; ++i)
        block.frontEnd[i] = m_frontEnd[i];
    block.lastArrivalZone = m_lastArrivalZone;
    static const int FLIGHT_ORDER[13] = {1, 3, 5, 7, 9, 11, 12, 13, 14, 15, 16, 18, 17};
    for (int i = 0; i < 13; ++i)
        block.flight[i] = m_flight[FLIGHT_ORDER[i]];
    block.lastZone28 = m_lastZone28;
    block.lastZone60 = m_lastZone60;
    block.flight28 = m_flight[FLIGHT_CHAT59];
    block.flight31 = m_flight[FLIGHT_CHAT62];
    block.strikeDone = m_strikeDone ? 1 : 0;
    WriteDirectorBlock(block, out);
}

bool CSequenceDirector::ReadState(const uint8_t* data, size_t size)
{
    SDirectorBlock block;
    if (!ReadDirectorBlock(data, size, block))
        return false;
    ResetGroups();
    ResetZone4();
    ClearScratch();
    m_pages.CloseChatBox();
    // A stage the game does not know is the campaign's, as is 0.
    m_stage = block.stage == STAGE_TUTORIAL || block.stage == STAGE_CAMPAIGN_OVER ? block.stage : STAGE_CAMPAIGN;
    // The running tutorial step and chat cannot resume.
    m_step = -1;
    m_chatPage = -1;
    for (int i = 0; i < 9; ++i)
        m_visit[VISIT_CHAT30 + i] = block.visit[i] != 0;
    m_visit[VISIT_CHAT63] = block.visit[9] != 0;
    for (int i = 0; i < 10; ++i)
        m_boss[BOSS_CHAT39 + i] = block.boss[i] != 0;
    for (int i = 0; i < FRONT_END_BYTES; ++i)
        m_frontEnd[i] = block.frontEnd[i] != 0;
    m_lastArrivalZone = block.lastArrivalZone;
    static const int FLIGHT_ORDER[13] = {1, 3, 5, 7, 9, 11, 12, 13, 14, 15, 16, 18, 17};
    for (int i = 0; i < 13; ++i)
        m_flight[FLIGHT_ORDER[i]] = block.flight[i] != 0;
    m_lastZone28 = block.lastZone28;
    m_lastZone60 = block.lastZone60;
    m_flight[FLIGHT_CHAT59] = block.flight28 != 0;
    m_flight[FLIGHT_CHAT62] = block.flight31 != 0;
    // The rest of the last zone's events start afresh; a spent strike stays spent.
    m_strikeDone = block.strikeDone != 0;
    m_hintLine = false;
    return true;
}

// ---- chat pages ------------------------------------------------------------------------------

void CSequenceDirector::PreloadChatPages()
{
    char file[64];
    for (int page = 0; page < TUTORIAL_PAGE_COUNT; ++page)
    {
        std::snprintf(file, sizeof(file), "data\\chat\\tutorial%i.txt", page);
        m_tutorialHandles[page] = m_pages.LoadPage(file);
    }
    for (int chat = FIRST_INGAME_PAGE; chat <= LAST_INGAME_PAGE; ++chat)
    {
        std::snprintf(file, sizeof(file), "data\\chat\\ingame%i.txt", chat);
        m_chatHandles[chat] = m_pages.LoadPage(file);
    }
    m_pagesLoaded = true;
}

int CSequenceDirector::GetPageHandle(int chat) const
{
    return chat >= FIRST_INGAME_PAGE && chat <= LAST_INGAME_PAGE ? m_chatHandles[chat] : -1;
}

// ---- helpers ------------------------------------------------------------------------------------

CGameObject* CSequenceDirector::GetObject(int32_t handle) const
{
    CWorld* world = m_game.GetWorld();
    return world && handle != -1 ? world->GetObject(handle) : nullptr;
}

CGameObject* CSequenceDirector::GetStation() const
{
    return GetObject(m_game.GetStationHandle());
}

CGameObject* CSequenceDirector::GetPlayerShip() const
{
    return GetObject(m_game.GetPlayerShipHandle());
}

void CSequenceDirector::ShowArrivingStation(CGameObject* station)
{
    if (station)
    {
        m_game.GetCamera().Follow(station->GetHandle(), true);
        CStationFlowLink& link = GetStationFlowLink();
        link.SetHull(*station, static_cast<int32_t>(STATION_HEALTH_SHARE * static_cast<float>(link.GetFullHull(*station))));
    }
    m_game.GetHud().Show(true);
    SetGate(GATE_STATION_GAUGES, true);
}

void CSequenceDirector::FlushControls()
{
    m_game.GetControls().Flush(m_game.GetFrameCount());
}

void CSequenceDirector::GateCurrentScreen()
{
    if (CFrontEndScreen* screen = m_flow.GetCurrentScreen())
        screen->ArmInputGate();
}

bool CSequenceDirector::IsAt(int mode) const
{
    return m_flow.GetMode() == mode;
}

// ---- the hint line ------------------------------------------------------------------------------

uint32_t CSequenceDirector::GetHintText() const
{
    if (m_game.GetRun().shipOutOfPlay)
        return m_podHint ? 0xa1000005u : 0u;
    if (m_stage != STAGE_TUTORIAL || !m_hintLine)
        return 0;
    const bool flight = m_flow.GetMode() == GAME_MODE_FLIGHT;
    switch (m_step)
    {
    case 1:
        return 0x47000003u;
    case 2:
        return 0x41000005u;
    case 3:
        return m_sub == 2 || m_sub == 4 ? 0x8a000003u : 0x8c000005u;
    case 4:
        return 0x6a000003u;
    case 5:
        return 0x11000007u;
    case 7:
        return m_sub == 1 ? 0x17000005u : 0x42000006u;
    case 9:
        return 0x69000003u;
    case 10:
        return flight ? 0x8f000002u : 0u;
    case 21:
        return 0x6c000003u;
    case 22:
        return m_sub == 3 ? 0x44000005u : (flight ? 0xa2000003u : 0u);
    case 23:
        return flight ? 0xa4000003u : (m_flow.GetMode() == GAME_MODE_FRONT_END ? 0x6f000003u : 0u);
    case 24:
        return 0x89000003u;
    case 25:
        return 0xf4000005u;
    case 26:
        return 0xf2000004u;
    case 27:
        return 0x8c000006u;
    default:
        return 0;
    }
}

void CSequenceDirector::DrawHintLine()
{
    const uint32_t id = GetHintText();
    if (!id || !g_gui)
        return;
    const std::u16string text = LookUpText(id);
    g_gui->GetFontOrSystem(0).DrawDataTextWide(HINT_X, HINT_Y, 0.0f, text.c_str(), 0xFFFFFFFFu);
}
