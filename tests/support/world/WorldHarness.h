#pragma once
// The game's world in a test: a real CGame (world, quadtree, push grid, camera,
// controls, level settings) with the world's object types registered (and those of
// the ships layer with CShipWorldHarness, tests/support/ships/), on a
// recording renderer and sprite bank, with disabled audio, a manual real-time
// clock, a fixed random seed and scripted keys. No window, sound card or GUI.
//
//   CWorldHarness harness;                 // seed 1, flight mode
//   ASSERT_TRUE(harness.StartLevel());     // DEFAULT_LEVEL, or your own level text
//   int32_t rock = harness.Spawn(OBJECT_DUMB, 500, 500);
//   harness.ScriptKey(3, Dik::UP, true);   // key down from frame 3 on
//   harness.RunFrames(10);
//   harness.GetWorld().ComputeChecksum();
//
// A frame runs the game's steps in the main loop's order: the fading sounds,
// CGame::BeginFrame, the scripted keys of the frame, the controls' poll,
// CGame::UpdateFrame (the world, camera and HUD by the game mode), the effect cache
// (outside the front end), CGame::EndFrame (clock +40 ms unless paused; the manual
// clock sleeps away the rest). The process's g_audio, g_renderer, g_spriteBank,
// g_input and game are the harness's while it lives. A test may register its own
// classes for type ids (RegisterObjectType); the real ones return with the harness's end.

#include "core/RealTimeClock.h"
#include "platform/CoreInput.h"
#include "tests/support/platform/VertexRecordingRenderer.h"
#include "world/Game.h"
#include "world/CampaignLink.h"
#include "world/DirectorLink.h"
#include "world/GameFlowLink.h"
#include "world/GameObject.h"
#include "world/HudLink.h"
#include "world/TextPageLink.h"
#include "world/World.h"
#include "world/ZoneLink.h"
#include "world/ZoneNode.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class CAudioSystem;
class CRenderer;
class CSpriteBank;

// One game controller of the scripted input: its state (counts, axes, buttons) as
// the test sets it, one range for every axis, and whether it is active and its name
// can be read.
struct SScriptedJoystick
{
    std::u16string name = u"Test pad";
    SJoystickState state = {1, 4, {}, {}, -1};
    int32_t axisMin = -1000;
    int32_t axisMax = 1000;
    bool active = true;
    bool nameReadable = true;
};

// Keys as a test sets them: a key state per code; the joysticks the test lists (none
// unless it adds them). Looking for joysticks again takes the attached list as the
// enumerated one.
class CScriptedInput : public CCoreInput
{
public:
    void SetKey(int code, bool down);
    std::vector<SScriptedJoystick> m_joysticks;  // as enumerated
    std::vector<SScriptedJoystick> m_attached;   // what a new enumeration finds
    int m_enumerations = 0;

    void ReadSettings(CDataTree*) override {}
    void WriteSettings(CDataTree*) override {}
    bool Init(void*) override { return true; }
    void Poll() override {}
    bool IsKeyboardPresent() override { return true; }
    bool IsMouseAttached() override { return false; }
    bool IsJoystickActive(int n) override;
    int GetJoystickCount() override { return static_cast<int>(m_joysticks.size()); }
    bool IsKeyDown(int code) override;
    const uint8_t* GetKeyStates() override { return m_keys; }
    void GetMouseDelta(int32_t* x, int32_t* y) override;
    void GetMouseButtons(bool* left, bool* right, bool* middle) override;
    bool GetJoystickState(int n, SJoystickState* state) override;
    bool GetJoystickName(int n, CWString* name) override;
    bool GetJoystickAxisRange(int n, int pair, int32_t* min1, int32_t* max1, int32_t* min2, int32_t* max2) override;
    void ReenumerateJoysticks() override;

private:
    uint8_t m_keys[256] = {};
};

// A game-flow link whose mode the test sets, and which counts what it is asked.
class CHarnessGameFlow : public CGameFlowLink
{
public:
    EGameMode GetMode() const override { return m_mode; }
    bool IsExitWarningOpen() const override { return m_exitWarning; }
    void SoundAlarm() override { ++m_alarms; }
    void SpawnStation() override { ++m_stationsSpawned; }
    void CountQuickShipFighterKill() override { ++m_quickShipFighterKills; }
    void EnterFrontEnd() override { ++m_frontEndEntries; }
    void EnterFlight() override { ++m_flightEntries; }
    void EnterInGameMenu() override
    {
        m_mode = GAME_MODE_IN_GAME_MENU;
        ++m_menuEntries;
    }
    bool UsesSecondLaunchPort() const override { return m_secondPort; }

    EGameMode m_mode = GAME_MODE_FLIGHT;
    bool m_exitWarning = false;
    int m_alarms = 0;
    int m_stationsSpawned = 0;
    int m_quickShipFighterKills = 0;
    int m_frontEndEntries = 0;
    int m_flightEntries = 0;
    int m_menuEntries = 0;
    bool m_secondPort = false;
};

// The zone the test puts the game in: one node, whose record keeps the asteroid map
// (asteroids removed from the world leave it, as the zone manager makes them), and
// the zone's flags.
class CHarnessZones : public CZoneLink
{
public:
    uint32_t GetClock() const override { return m_clock; }
    int GetZoneIndex() const override { return m_zone; }
    int GetNodeKind() const override { return m_nodeKind; }
    bool IsAtBossNode() const override { return m_atBossNode; }
    bool IsBossBeaten() const override { return m_bossBeaten; }
    bool HasAlienReward() const override { return m_alienReward; }
    void StoreNode() override { ++m_nodesStored; }
    void CheckFixedResources() override { ++m_fixedResourceChecks; }
    SZoneNode* GetCurrentNode() override { return m_hasNode ? &m_node : nullptr; }
    bool GetZoneFlag(int flag) const override { return flag >= 0 && flag < ZONE_FLAG_COUNT && m_flags[flag]; }
    void SetZoneFlag(int flag, bool value) override;
    int32_t CountMiningBargesLeft() const override { return m_miningBargesLeft; }
    void OnObjectRemoved(CGameObject& object) override;

    uint32_t m_clock = 0;
    int m_zone = 0;
    int m_nodeKind = 0;
    bool m_atBossNode = false;
    bool m_bossBeaten = false;
    bool m_alienReward = false;
    int m_nodesStored = 0;
    int m_fixedResourceChecks = 0;
    SZoneNode m_node;
    bool m_hasNode = true;
    bool m_flags[ZONE_FLAG_COUNT] = {};
    int32_t m_miningBargesLeft = 0;
};

// The director's gates and states as the test sets them (all gates open), and what
// it was told.
class CHarnessDirector : public CDirectorLink
{
public:
    CHarnessDirector();
    bool IsGateOpen(int gate) const override;
    int GetTutorialState() const override { return m_tutorialState; }
    int GetProgressStage() const override { return m_progressStage; }
    int GetTutorialStep() const override { return m_tutorialStep; }
    int GetSubState() const override { return m_subState; }
    bool IsScriptedHitArmed() const override { return m_scriptedHitArmed; }
    void OnScriptedHit() override { ++m_scriptedHits; }
    void OnEquipmentPodCollected(bool found) override { ++(found ? m_podsFound : m_podsSalvaged); }
    void ClearPodHint() override { ++m_podHintsCleared; }
    void RaiseFlag(int group, int flag) override
    {
        m_raised.push_back({group, flag});
        m_events.push_back({{group, flag}, true});
    }
    void ClearFlag(int group, int flag) override
    {
        m_cleared.push_back({group, flag});
        m_events.push_back({{group, flag}, false});
    }
    void OpenGate(int gate) override { m_opened.push_back(gate); }
    bool IsQueenFrozen() const override { return m_queenFrozen; }
    uint32_t GetQueenFreezeEnd() const override { return m_queenFreezeEnd; }
    void FreezeQueen(uint32_t until) override
    {
        m_queenFrozen = true;
        m_queenFreezeEnd = until;
    }
    int GetChatPage() const override { return m_chatPage; }
    // The bosses' go flags stand as m_bossGo says (raised, as without a director).
    bool IsFlagRaised(int group, int flag) const override
    {
        // The go flags as the test sets them; any other flag as last raised or cleared.
        if (CDirectorLink::IsFlagRaised(group, flag))
            return m_bossGo;
        for (size_t i = m_events.size(); i-- > 0;)
            if (m_events[i].first.first == group && m_events[i].first.second == flag)
                return m_events[i].second;
        return false;
    }
    void SetQueenHandle(int32_t handle) override { m_queenHandle = handle; }
    void OnStationStrikeDone() override { ++m_strikesDone; }

    bool m_gates[DIRECTOR_GATE_COUNT];
    int m_tutorialState = 0;
    int m_progressStage = 0;
    int m_tutorialStep = -1;
    int m_subState = 0;
    bool m_scriptedHitArmed = false;
    int m_scriptedHits = 0;
    int m_podsFound = 0;
    int m_podsSalvaged = 0;
    int m_podHintsCleared = 0;
    std::vector<std::pair<int, int>> m_raised; // (group, flag)
    std::vector<std::pair<int, int>> m_cleared;
    std::vector<std::pair<std::pair<int, int>, bool>> m_events; // raised (true) or cleared, in order
    std::vector<int> m_opened;
    bool m_queenFrozen = false;
    uint32_t m_queenFreezeEnd = 0;
    int m_chatPage = -1;
    bool m_bossGo = true;
    int32_t m_queenHandle = -1;
    int m_strikesDone = 0;
};

// What the campaign and the pilot record were told, by storage slot.
class CHarnessCampaign : public CCampaignLink
{
public:
    static constexpr int SLOTS = 8;
    void AddShipFlightTime(int slot, uint32_t ms) override;
    void ClearShipState(int slot) override;
    void MarkShipLost(int slot) override;
    void CountCollected() override { ++m_collected; }
    int GetGemTotal() const override { return m_gemTotal; }
    void AddGems(int count) override { m_gemTotal += count; }
    void RaiseEvent(int event) override { m_events.push_back(event); }
    int GetDifficulty() const override { return m_difficulty; }
    bool IsStationBelowRepairLimit() const override { return m_stationBelowLimit; }
    bool IsShipHullDamaged() const override { return m_hullDamaged; }
    void AddKill(int32_t points) override
    {
        ++m_kills;
        m_score += points;
    }
    void MoveSlotsToZoneClock(uint32_t fromClock, uint32_t toClock) override
    {
        m_slotMoves.push_back({fromClock, toClock});
    }

    uint32_t m_flightTime[SLOTS] = {};
    std::vector<std::pair<uint32_t, uint32_t>> m_slotMoves; // (from, to) clocks
    int m_cleared[SLOTS] = {};
    int m_lost[SLOTS] = {};
    int m_collected = 0;
    int m_gemTotal = 0;
    std::vector<int> m_events;
    int m_difficulty = 0;
    bool m_stationBelowLimit = false;
    bool m_hullDamaged = false;
    int m_kills = 0;
    int32_t m_score = 0;
};

// A HUD that records the gauges it is given (hidden unless the test shows it).
class CHarnessHud : public CHudLink
{
public:
    struct SGauge
    {
        float maximum = 0.0f;
        float value = 0.0f;
        bool shown = false;
        int sets = 0;
    };
    bool IsVisible() const override { return m_visible; }
    void Show(bool show) override { m_visible = show; }
    void SetGauge(int gauge, float maximum, float value) override;
    void ShowGauge(int gauge) override;
    void HideGauge(int gauge) override;
    void SetAmmoIcon(EHudAmmoIcon icon) override { m_ammoIcon = icon; }

    bool m_visible = false;
    SGauge m_gauges[HUD_GAUGE_COUNT];
    EHudAmmoIcon m_ammoIcon = HUD_AMMO_HIDDEN;
};

class CHarnessTextPages : public CTextPageLink
{
public:
    bool IsAnyPageShowing() const override { return m_showing; }
    bool m_showing = false;
};

class CWorldHarness
{
public:
    // A level of 4000 units with a tree of depth 5 and no lag.
    static const char* const DEFAULT_LEVEL;

    // Registers the object types and level sections of a layer above the world.
    using TypeRegistration = void (*)();

    // A renderer given (opened) is drawn on instead of the recording one.
    explicit CWorldHarness(uint32_t seed = 1, TypeRegistration registerMore = nullptr,
                           std::unique_ptr<CRenderer> renderer = nullptr);
    ~CWorldHarness();
    CWorldHarness(const CWorldHarness&) = delete;
    CWorldHarness& operator=(const CWorldHarness&) = delete;

    bool StartLevel(const std::string& levelText = DEFAULT_LEVEL);

    // A new object of the type at the place, or NO_OBJECT.
    int32_t Spawn(int32_t type, float x, float y);
    CGameObject* Find(int32_t handle) const;
    template <typename T>
    T* FindAs(int32_t handle) const
    {
        return dynamic_cast<T*>(Find(handle));
    }

    // Keys: at once, or from a given frame on (frames count from 0).
    void SetKey(int code, bool down) { m_input.SetKey(code, down); }
    void ScriptKey(uint32_t frame, int code, bool down);
    void RunFrame();
    void RunFrames(uint32_t count);
    uint32_t GetFramesRun() const { return m_framesRun; }

    void SetMode(EGameMode mode) { m_flow.m_mode = mode; }
    void SetTextPageShowing(bool showing) { m_pages.m_showing = showing; }
    // The links the harness installs on its game, for a test to set and read.
    CHarnessGameFlow& GetGameFlow() { return m_flow; }
    CHarnessZones& GetZones() { return m_zones; }
    CHarnessDirector& GetDirector() { return m_director; }
    CHarnessCampaign& GetCampaign() { return m_campaign; }
    CHarnessHud& GetHud() { return m_hud; }

    CGame& GetGame() { return *m_game; }
    CWorld& GetWorld() { return *m_game->GetWorld(); }
    CManualClock& GetClock() { return m_clock; }
    CScriptedInput& GetInput() { return m_input; }
    // The recording renderer (only when no other was given).
    CVertexRecordingRenderer& GetRenderer() { return *m_recording; }
    CRenderer& GetDrawingRenderer() { return *m_renderer; }
    CSpriteBank& GetSpriteBank() { return *m_bank; }

private:
    struct SScriptedKey
    {
        uint32_t frame;
        int code;
        bool down;
    };

    CManualClock m_clock;
    CScriptedInput m_input;
    CHarnessGameFlow m_flow;
    CHarnessTextPages m_pages;
    CHarnessZones m_zones;
    CHarnessDirector m_director;
    CHarnessCampaign m_campaign;
    CHarnessHud m_hud;
    std::unique_ptr<CRenderer> m_renderer;
    CVertexRecordingRenderer* m_recording = nullptr;
    std::unique_ptr<CSpriteBank> m_bank;
    std::unique_ptr<CAudioSystem> m_audio;
    CGame* m_game = nullptr;
    std::vector<SScriptedKey> m_script;
    uint32_t m_framesRun = 0;
    TypeRegistration m_registerMore = nullptr;
    CAudioSystem* m_oldAudio = nullptr;
    CRenderer* m_oldRenderer = nullptr;
    CSpriteBank* m_oldBank = nullptr;
    CCoreInput* m_oldInput = nullptr;
};
