#pragma once
// The sequence director: it plays the game's full-screen and backdrop sequences from
// its table (SequenceTable.h) through an animation manager of its own, keeps the
// fifteen feature gates that say what is live (the world, steering, fire groups, the
// beam, the station call, the GUI's keys, the zones' nodes, the HUD's station part),
// runs the tutorial step by step and the campaign's chats as play raises their
// triggers, and keeps its progress in a block of every save (DirectorBlock.h).
//
// It answers the world and the ships (CDirectorLink) and the game flow and its
// screens (CDirectorFlowLink); start-up installs it on both.
//
// Times: sequences are skipped and some chats wait by real time (GetScreenTime);
// every other wait is by the game clock.

#include "frontend/DirectorFlowLink.h"
#include "frontend/DirectorPages.h"
#include "presentation/AnimationManager.h"
#include "world/DirectorLink.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

class CGame;
class CGameFlow;
class CGameObject;

class CSequenceDirector : public CDirectorLink, public CDirectorFlowLink
{
public:
    static constexpr uint32_t SKIP_DELAY_MS = 500;   // real time
    static constexpr float HINT_X = 2.0f;
    static constexpr float HINT_Y = 455.0f;
    static constexpr uint32_t CHAT_SPACING_MS = 3000; // game time
    static constexpr int FIRST_INGAME_PAGE = 21;
    static constexpr int LAST_INGAME_PAGE = 64;
    static constexpr int TUTORIAL_PAGE_COUNT = 12;
    static constexpr int FIRST_BOX_CHAT = 70;
    static constexpr int LAST_BOX_CHAT = 80;

    // Flight-chat bytes (the triggers other parts raise, the chats' shown flags).
    enum EFlightChat : int
    {
        FLIGHT_MINELAYER = 0,  // trigger; +1 chat 21 shown, and so on to spiral
        FLIGHT_MINING = 10,    // trigger; 11 chat 26 shown (zone 0)
        FLIGHT_CHAT27_ZONE1 = 12, // to 15: chat 27 shown in zones 1 to 4
        FLIGHT_CHAT56 = 16,
        FLIGHT_CHAT57 = 17,
        FLIGHT_CHAT58 = 18,
        FLIGHT_CHAT59 = 28,
        FLIGHT_DANGER_WORM = 29,
        FLIGHT_WORM = 30,
        FLIGHT_CHAT62 = 31,
        FLIGHT_BYTES = 32,
    };
    enum EVisitChat : int
    {
        VISIT_WRECK_POD = 0,
        VISIT_CHAT30 = 1, // to 9: chats 30 to 38
        VISIT_AMBUSH = 10,
        VISIT_CHAT63 = 11,
        VISIT_BYTES = 12,
    };
    enum EBossChat : int
    {
        BOSS_MINING_CLEAR = 0,
        BOSS_POD_DELIVERED = 1,
        BOSS_DRIVE_POD = 2,
        BOSS_CHAT39 = 3, // to 7: chats 39 to 43 (zones 0 to 4)
        BOSS_GO = 8,     // to 12: the bosses' go flags, chats 44 to 48
        BOSS_BYTES = 13,
    };
    static constexpr int FRONT_END_BYTES = 20;

    CSequenceDirector(CGame& game, CGameFlow& flow, CDirectorPages& pages = GetGamePages());
    ~CSequenceDirector() override;
    CSequenceDirector(const CSequenceDirector&) = delete;
    CSequenceDirector& operator=(const CSequenceDirector&) = delete;

    // Installs itself on the game and the game flow; Uninstall puts the bases back.
    void Install();
    void Uninstall();

    // ---- sequences ----------------------------------------------------------------
    bool PlaySequence(int index, bool shiftKeys, int startFrame) override;
    void StopSequence() override;
    bool IsSequencePlaying() const override { return m_sequence >= 0; }
    int GetSequenceFrame() const override;
    int GetSequenceIndex() const { return m_sequence; }
    bool IsStillPicture() const { return m_sequence >= 0 && m_still; }
    bool IsCoveringSequencePlaying() const override;
    CAnimationManager& GetAnimations() { return m_animations; }

    // ---- the frame ------------------------------------------------------------------
    void Update() override;
    void Draw() override;
    void DrawHintLine() override;
    // The hint line's text id of the moment, 0 for none.
    uint32_t GetHintText() const;

    // ---- gates and flags --------------------------------------------------------------
    bool IsGateOpen(int gate) const override;
    void SetGate(int gate, bool open);
    void OpenGate(int gate) override { SetGate(gate, true); }
    void ResetFeatureGates();
    void RaiseFlag(int group, int flag) override;
    void ClearFlag(int group, int flag) override;
    bool GetFlag(int group, int flag) const;
    bool IsFlagRaised(int group, int flag) const override { return GetFlag(group, flag); }
    void SetFlag(int group, int flag, bool value);
    int32_t GetLastZone(int which) const; // 0: chat 28, 1: chat 60, 2: zone arrival

    // ---- progress -------------------------------------------------------------------
    int GetProgressStage() const override { return m_stage; }
    void SetProgressStage(int stage) override { m_stage = stage; }
    int GetTutorialStep() const override { return m_step; }
    void SetTutorialStep(int step) override;
    int GetTutorialState() const override { return m_stage; }
    int GetSubState() const override { return m_sub; }
    void ResetForNewGame() override;
    void ClearTutorialState() override { ClearScratch(); }
    void ClearAll() override;
    void SetBossGoFlags() override;
    bool HasChatPage() const override { return m_chatPage >= 0; }
    void StartChatPage(int page) override;
    int GetChatPage() const override { return m_chatPage; }
    uint32_t GetNextChatTime() const { return m_nextChatTime; }

    // ---- the save block ---------------------------------------------------------------
    void WriteState(std::vector<uint8_t>& out) const override;
    bool ReadState(const uint8_t* data, size_t size) override;

    // ---- chat pages -------------------------------------------------------------------
    // Loads the tutorial's and the chats' page files, noting each chat's handle (a
    // page that does not load leaves its chat out).
    void PreloadChatPages();
    bool AreChatPagesLoaded() const { return m_pagesLoaded; }
    int GetPageHandle(int chat) const;

    // ---- the world's side -----------------------------------------------------------------
    bool IsScriptedHitArmed() const override;
    void OnScriptedHit() override { m_queenEvent = true; }
    void OnEquipmentPodCollected(bool found) override;
    void ClearPodHint() override { m_podHint = false; }
    bool LetsHudDraw() const override { return !IsCoveringSequencePlaying(); }
    bool IsQueenFrozen() const override { return m_queenFrozen; }
    uint32_t GetQueenFreezeEnd() const override { return m_queenFreezeEnd; }
    void FreezeQueen(uint32_t until) override;
    // The last zone's boss hands over the queen fighter it left.
    void SetQueenHandle(int32_t handle) override { m_queen = handle; }
    void OnStationStrikeDone() override { m_strikeDone = true; }
    int32_t GetQueenHandle() const { return m_queen; }
    bool IsStationSequencePlaying() const override { return m_sequence == 8; }

private:
    enum EPageState : int
    {
        PAGE_IDLE = 0,
        PAGE_SHOWING = 1,
        PAGE_DONE = 2,
    };

    // sequences
    void UpdateSequence();
    bool IsSkipAsked() const;
    void HoldCamera();
    void ShowGuiLayers(bool shown);
    // flags
    void ResetGroups();
    void ResetZone4();
    void ClearScratch();
    void NoteZoneChange();
    // chats
    void RunCampaignChats();
    void RunFrontEndChats(bool researchScreen);
    void RunMenuChat();
    void RunBossNodeChat();
    void RunAlienNodeChats();
    void RunBossChats();
    void RunEncounterChats();
    void RunPrizeChats();
    void RunZone4Events();
    void StartChat(int chat, int32_t watched);
    // The plain cycle of the current chat; true once it has ended.
    bool RunPlainCycle();
    // The camera chat: follows the watched object, shows the page on arrival.
    bool RunCameraCycle();
    void EndChat();
    bool ShowChatPage(int chat);
    bool ShowTutorialPage(int page);
    // True once the page last shown has been read (or could not show).
    bool IsPageDone() const;
    bool IsCameraArrived();
    void FollowShipOrStation();
    bool IsAt(int mode) const;
    // tutorial
    void RunTutorial();
    void RunStep0();
    void RunStep1();
    void RunStep2();
    void RunStep3();
    void RunStep4();
    void RunFrontEndStep(int step);
    void RunStep5();
    void RunStep7();
    void RunStep8();
    void RunStep9();
    void RunStep10();
    void NextStep(int step);
    bool ShowBox(const char* file);
    bool IsBoxDone();
    // The front end's steps go from box to box in a few ways, each to the next
    // sub-state: the keys open and a box shows; a box shows once it is due (the hint
    // line off); after a box the hint line comes back (true once the box is done); after
    // a box the keys close and one screen gives way to another for the next step.
    void OpenBox(const char* file);
    void ShowBoxWhen(bool due, const char* file);
    bool ResumeAfterBox();
    void ChangeScreenAfterBox(int from, int to, int nextStep);
    CGameObject* GetObject(int32_t handle) const;
    CGameObject* GetStation() const;
    CGameObject* GetPlayerShip() const;
    // A station made for a sequence: the camera pans to it, it comes with 30% of its
    // hull, and the HUD shows it with its gauges.
    void ShowArrivingStation(CGameObject* station);
    int32_t CargoWorth() const;
    bool StationHoldsShip() const;
    // The ship leaves the station that held it: placed at the station, the camera on it
    // (panning or at once), launched through a port.
    void SendShipOut(CGameObject& station, bool pan);
    // Once the ports have closed behind the ship: the hint line, the gates open, the step.
    void NextStepOncePortsClosed(std::initializer_list<int> gates, int step);
    void FlushControls();
    void GateCurrentScreen();
    uint32_t Now() const;

    CGame& m_game;
    CGameFlow& m_flow;
    CDirectorPages& m_pages;
    bool m_installed = false;

    float m_introMusic = 0.0f;
    int m_stage = STAGE_NONE;
    int m_step = -1;
    int m_chatPage = -1;
    bool m_flight[FLIGHT_BYTES] = {};
    int32_t m_lastZone28 = -1;
    int32_t m_lastZone60 = -1;
    bool m_visit[VISIT_BYTES] = {};
    bool m_gates[DIRECTOR_GATE_COUNT] = {};
    bool m_boss[BOSS_BYTES] = {};
    bool m_frontEnd[FRONT_END_BYTES] = {};
    int32_t m_lastArrivalZone = -1;

    // The last zone's events.
    int32_t m_queen = -1;
    uint32_t m_queenFreezeEnd = 0;
    bool m_queenFrozen = false;
    bool m_queenEvent = false;
    bool m_chat53 = false;
    bool m_chat54 = false;
    bool m_chat55 = false;
    bool m_strikeDone = false;

    // The step scratch.
    int m_sub = 0;
    int32_t m_chatParam = 0;
    int32_t m_watched = -1;
    uint32_t m_wait = 0;
    uint32_t m_wait2 = 0;
    uint32_t m_inputWait = 0;
    bool m_inputMarks[5] = {};
    int m_pageShown = -1; // the handle of the page last shown, -1 none
    bool m_pageFailed = false;
    bool m_boxOpen = false;

    bool m_podHint = false;

    CAnimationManager m_animations;
    int m_sequence = -1;
    int m_slot = -1;
    int m_notedZone = -1;
    uint32_t m_nextChatTime = 0;
    uint32_t m_startTime = 0;
    bool m_startPending = false; // the start time is noted at the sequence's first update
    float m_cameraX = 0.0f;
    float m_cameraY = 0.0f;
    bool m_pagesLoaded = false;
    bool m_hintLine = false;
    bool m_still = false;
    // Chat page number (0..11 the tutorial's, 21..64 the chats') to page handle.
    int m_tutorialHandles[TUTORIAL_PAGE_COUNT];
    int m_chatHandles[LAST_INGAME_PAGE + 1];
};
