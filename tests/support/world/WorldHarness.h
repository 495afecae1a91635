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
// A frame runs the game's steps in the main loop's order: CGame::BeginFrame, the
// scripted keys of the frame, the controls' poll, CGame::UpdateFrame (the world,
// camera and HUD by the game mode), CGame::EndFrame (clock +40 ms unless paused;
// the manual clock sleeps away the rest). The process's g_audio, g_spriteBank,
// g_input and game are the harness's while it lives. A test may register its own
// classes for type ids (RegisterObjectType); the real ones return with the harness's end.

#include "core/RealTimeClock.h"
#include "platform/CoreInput.h"
#include "tests/support/platform/VertexRecordingRenderer.h"
#include "world/Game.h"
#include "world/GameFlowLink.h"
#include "world/GameObject.h"
#include "world/TextPageLink.h"
#include "world/World.h"

#include <memory>
#include <string>
#include <vector>

class CAudioSystem;
class CSpriteBank;

// Keys as a test sets them: a key state per code, joysticks none.
class CScriptedInput : public CCoreInput
{
public:
    void SetKey(int code, bool down);

    void ReadSettings(CDataTree*) override {}
    void WriteSettings(CDataTree*) override {}
    bool Init(void*) override { return true; }
    void Poll() override {}
    bool IsKeyboardPresent() override { return true; }
    bool IsMouseAttached() override { return false; }
    bool IsJoystickActive(int) override { return false; }
    int GetJoystickCount() override { return 0; }
    bool IsKeyDown(int code) override;
    const uint8_t* GetKeyStates() override { return m_keys; }
    void GetMouseDelta(int32_t* x, int32_t* y) override;
    void GetMouseButtons(bool* left, bool* right, bool* middle) override;
    bool GetJoystickState(int, SJoystickState*) override { return false; }
    bool GetJoystickName(int, CWString*) override { return false; }
    bool GetJoystickAxisRange(int, int, int32_t*, int32_t*, int32_t*, int32_t*) override { return false; }
    void ReenumerateJoysticks() override {}

private:
    uint8_t m_keys[256] = {};
};

// A game-flow link whose mode the test sets.
class CHarnessGameFlow : public CGameFlowLink
{
public:
    EGameMode GetMode() const override { return m_mode; }
    EGameMode m_mode = GAME_MODE_FLIGHT;
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

    explicit CWorldHarness(uint32_t seed = 1, TypeRegistration registerMore = nullptr);
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

    CGame& GetGame() { return *m_game; }
    CWorld& GetWorld() { return *m_game->GetWorld(); }
    CManualClock& GetClock() { return m_clock; }
    CScriptedInput& GetInput() { return m_input; }
    CVertexRecordingRenderer& GetRenderer() { return *m_renderer; }
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
    std::unique_ptr<CVertexRecordingRenderer> m_renderer;
    std::unique_ptr<CSpriteBank> m_bank;
    std::unique_ptr<CAudioSystem> m_audio;
    CGame* m_game = nullptr;
    std::vector<SScriptedKey> m_script;
    uint32_t m_framesRun = 0;
    TypeRegistration m_registerMore = nullptr;
    CAudioSystem* m_oldAudio = nullptr;
    CSpriteBank* m_oldBank = nullptr;
    CCoreInput* m_oldInput = nullptr;
};
