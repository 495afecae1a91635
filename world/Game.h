#pragma once
// The one object that owns the running game: the world with its quadtree and push
// grid, the camera and the controls, the level's settings, the game clock and the
// links to the parts of the game that sit in the layers above (HUD, text pages, game
// flow, sequence director, campaign) and to the zones. Reached through GetGame.
//
// The game clock moves exactly 40 ms on every frame that is not paused and shows no
// text page, never by measured time, so the simulation is the same however long a
// frame takes; EndFrame sleeps away the rest of the frame's 40 ms of real time.
//
// Life: created -> ready (Init) -> level running (StartLevel) -> ready (EndLevel)
// -> ... -> shut down (Shutdown) -> deleted (DestroyGame).

#include "core/FramePacer.h"
#include "core/Vector2D.h"
#include "presentation/AnimatedSprite.h"
#include "presentation/SpriteRef.h"
#include "world/Camera.h"
#include "world/Controls.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CAsteroidTable;
class CBackdrop;
class CCampaignLink;
class CCoreInput;
class CDirectorLink;
class CEffectCache;
class CGameFlowLink;
class CHudLink;
class CLevelConfig;
class CProceduralBackdrop;
class CPushGrid;
class CQuadtree;
class CSpriteBank;
class CTextPageLink;
class CWorld;
class CZoneLink;
class CZoneManager;

enum EGameState
{
    GAME_CREATED = 0,
    GAME_READY = 1,
    GAME_LEVEL_RUNNING = 2,
    GAME_SHUT_DOWN = 3,
};

// The flags and values of the current run, cleared when a run starts and when a
// zone node is entered. Parts that need more run values add them here.
struct SRunState
{
    bool noSuction = false;     // "/nosucking"
    bool noDeath = false;       // "/nodeath"
    uint32_t frameCounter = 0;  // cleared every frame
    bool quickShip = false;     // the level's ships come from "data\quickShip.txt"
    bool survival = false;      // ... from "data\survivalShips.txt"
    bool timedRun = false;
    // Worms: those spawned and alive, and those still to come (the game flow's).
    int32_t liveWorms = 0;
    int32_t wormsToSpawn = 0;
    // While set, friendly alien stations leave the station's health alone.
    bool stationRepairLocked = false;
    // The boss of the current node: present (made as the node was entered), and the
    // end of a boss fight: 0 none, 1 the boss is beaten (the station comes and takes
    // the player away), 2 the station has left without the player, 3 it comes back.
    bool bossPresent = false;
    int32_t bossState = 0;
    // The survival game's values.
    int32_t gemsInHand = 0;
    int32_t repairCost = 0;
    int32_t shipLevel = 1;
    int32_t reloadCost = 0;
    int32_t menuSelection = 0;
    CVector2D shipPosition;
    uint32_t menuBlinkTime = 0;
    uint32_t waveStartTime = 0;
    uint32_t clockCopy = 0;
    int32_t waveIndex = 0;
    bool menuOpen = false;
    bool waveEnding = false; // survival: a finished wave's enemies warp out; no group forms
    // The player ship's side of the run.
    int32_t survivalScore = 0;     // collectables taken in survival mode
    bool shieldJam = false;        // a jamming mothership holds the player's shield down
    bool interdictorPresent = false; // an interdictor mothership lives (set by it every frame)
    bool miningPresent = false;    // a mining mothership was read in this run
    bool miningDone = false;       // survival: a mining mothership was destroyed
    bool shipOutOfPlay = false;    // the player ship is warping
    bool shipBoosting = false;
    int32_t stationSummonState = 0; // 2: calling the station brings it in
    // While copyShipMotion is set the player ship copies its motion here each move.
    bool copyShipMotion = false;
    CVector2D shipMotionPosition;
    CVector2D shipMotionDirection;
    CVector2D shipMotionVelocity;
    // What the survival game's enemies drop: its stage and measure (a drop comes while
    // the stage's threshold lies above the measure), and the flag that stops drops.
    int32_t survivalStage = 0;
    int32_t survivalMeasure = 0;
    bool noDrops = false;
};

class CGame
{
public:
    CGame();
    ~CGame();
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;

    // Notes the start folder, seeds the game's random generator (TESSAVAR_SEED when
    // set, else the real clock), clock and frame counter 0, resets the controls, and
    // loads the effects from "data\effect.txt".
    bool Init(CSpriteBank* spriteBank);
    // The world, the level file of the current zone, the quadtree, the sections'
    // readers and the push grid. False (nothing started, a console line) when the
    // level file is refused: no LEVEL section or no positive "worldWidth".
    bool StartLevel();
    // The same with a level given in memory (tests and checks); a world of more
    // slots than the game's 256 serves benchmarks.
    bool StartLevelFromBytes(const std::string& bytes, const char* name, int32_t worldSlots = 256);
    // Only while a level runs: everything StartLevel made goes.
    void EndLevel();
    void Shutdown();
    void ResetLevelState();

    // Pacing: notes the frame's start; advances the clock (unless paused or a page
    // shows) and sleeps the rest of the 40 ms.
    void BeginFrame();
    void EndFrame();
    uint32_t GetTime() const { return m_pacer.GetGameTimeMs(); }
    uint32_t GetFrameCount() const { return m_pacer.GetFrameCount(); }
    static constexpr uint32_t TICKS_PER_SECOND = CFramePacer::TICKS_PER_SECOND;

    // The game's share of a frame after the controls: by the game flow's mode, the
    // world (while the director lets it run), the camera and the HUD. The view point
    // comes out in x and y (the sprite bank scrolls by it).
    void UpdateFrame(float* x, float* y);
    // The controls read the input (the caller skips it while the console is open
    // or the window inactive).
    void PollControls(CCoreInput* input);

    EGameState GetState() const { return m_state; }
    bool IsPaused() const { return m_paused; }
    void SetPaused(bool paused) { m_paused = paused; }
    SRunState& GetRun() { return m_run; }
    const SRunState& GetRun() const { return m_run; }

    CWorld* GetWorld() const { return m_world.get(); }
    CQuadtree* GetQuadtree() const { return m_quadtree.get(); }
    CPushGrid* GetPushGrid() const { return m_pushGrid.get(); }
    CLevelConfig* GetLevelConfig() const { return m_levelConfig.get(); }
    CSpriteBank* GetSpriteBank() const { return m_spriteBank; }
    CControls& GetControls() { return m_controls; }
    // The effects: exists from construction to destruction, loaded by Init, emptied by
    // Shutdown.
    CEffectCache& GetEffectCache() const { return *m_effects; }
    // The effect definitions read again from "data\effect.txt", with the game flow's
    // looping sounds silenced meanwhile. Refused (false, a console line) while a level
    // runs, since the world's objects hold live effects of the old definitions.
    bool ReloadEffects();

    // Channels handed over by CSoundEmitter::FadeOut, in the order they came. Each
    // frame (first thing) every one is lowered by 0.05 and stopped once below 0.05,
    // so a sound at full volume fades in 20 frames. A channel that ends or is taken
    // over by another sound leaves the list at once.
    void AddFadingSound(int channel);
    void UpdateFadingSounds();
    const std::vector<int>& GetFadingSounds() const { return m_fadingSounds; }
    // The level's asteroid definitions and backdrop, read from its sections and
    // emptied when it ends.
    CAsteroidTable& GetAsteroidTable() const { return *m_asteroids; }
    CBackdrop& GetBackdrop() const { return *m_backdrop; }
    // The zone backdrop's frame for the current node.
    void SetZoneBackdropFrame();
    // The front end's backdrop: made from "proc1" of "data\init0.txt" and shown, or
    // hidden and deleted. EndFrame steps it while it exists.
    void ShowProceduralBackdrop(bool show);
    CProceduralBackdrop* GetProceduralBackdrop() const { return m_procedural.get(); }
    CCamera& GetCamera() { return m_camera; }
    float GetWorldWidth() const;

    int32_t GetPlayerShipHandle() const { return m_playerShip; }
    void SetPlayerShipHandle(int32_t handle) { m_playerShip = handle; }
    int32_t GetStationHandle() const { return m_station; }
    void SetStationHandle(int32_t handle) { m_station = handle; }

    // The file of the level's ship designs: the player's own file when one is named,
    // "data\quickShip.txt" in quick-ship mode, "data\survivalShips.txt" in survival
    // mode (the later rule wins), else the level's.
    std::string ChooseShipDesignFile(const char* fromLevel) const;
    void SetShipConfigFileName(const std::string& name) { m_shipConfigFile = name; }
    // Whether the level's designs come from the player's own file (a save's), whose
    // damage refuses the load instead of ending the game.
    bool UsesPlayerShipDesignFile() const { return !m_shipConfigFile.empty() && !m_run.quickShip && !m_run.survival; }

    // The exit warning's two quotes: sprites of "data/frontend/quotes/quotes.spr"
    // (one quote a frame) on plane 20, made hidden by Init and given back by Shutdown.
    static constexpr int QUOTE_PLANE = 20;
    CAnimatedSprite& GetQuoteSpriteA() { return m_quoteA; }
    CAnimatedSprite& GetQuoteSpriteB() { return m_quoteB; }
    int GetQuoteCount() const { return m_quoteRef.GetFrameCount(); }

    // The parts above install themselves here; until then a do-nothing link answers.
    void SetHud(CHudLink* link) { m_hud = link; }
    void SetTextPages(CTextPageLink* link) { m_textPages = link; }
    void SetGameFlow(CGameFlowLink* link) { m_gameFlow = link; }
    void SetDirector(CDirectorLink* link) { m_director = link; }
    void SetCampaign(CCampaignLink* link) { m_campaign = link; }
    void SetZones(CZoneLink* link) { m_zones = link; }
    CHudLink& GetHud() const;
    CTextPageLink& GetTextPages() const;
    CGameFlowLink& GetGameFlow() const;
    CDirectorLink& GetDirector() const;
    CCampaignLink& GetCampaign() const;
    CZoneLink& GetZones() const;
    // The game's own zone manager, made and loaded by Init ("data\game1.txt"); it is
    // the zone link unless another was installed before Init.
    CZoneManager* GetZoneManager() const { return m_zoneManager.get(); }

private:
    static void OnFadingSoundEnd(void* userValue, int channel);
    bool StartLevelWith(std::unique_ptr<CLevelConfig> config, int32_t worldSlots);
    void UpdateCamera(float& x, float& y);

    SRunState m_run;
    bool m_paused = false;
    std::unique_ptr<CWorld> m_world;
    std::unique_ptr<CQuadtree> m_quadtree;
    std::unique_ptr<CLevelConfig> m_levelConfig;
    CSpriteBank* m_spriteBank = nullptr;
    std::unique_ptr<CPushGrid> m_pushGrid;
    std::unique_ptr<CEffectCache> m_effects;
    std::vector<int> m_fadingSounds;
    std::unique_ptr<CAsteroidTable> m_asteroids;
    std::unique_ptr<CBackdrop> m_backdrop;
    std::unique_ptr<CProceduralBackdrop> m_procedural;
    CControls m_controls;
    CCamera m_camera;
    CFramePacer m_pacer;
    uint32_t m_frameStart = 0;
    int32_t m_playerShip = -1;
    int32_t m_station = -1;
    EGameState m_state = GAME_CREATED;
    std::string m_startFolder;
    std::string m_shipConfigFile;
    CSpriteRef m_quoteRef;
    CAnimatedSprite m_quoteA;
    CAnimatedSprite m_quoteB;

    CHudLink* m_hud = nullptr;
    CTextPageLink* m_textPages = nullptr;
    CGameFlowLink* m_gameFlow = nullptr;
    CDirectorLink* m_director = nullptr;
    CCampaignLink* m_campaign = nullptr;
    CZoneLink* m_zones = nullptr;
    // Until the zones install theirs: the base, which keeps the run's current ship
    // and pilot name for this game.
    std::unique_ptr<CZoneLink> m_ownZones;
    std::unique_ptr<CZoneManager> m_zoneManager;
};

// The game of the process: made and destroyed by the application shell (and the
// tests' harness); null before and after.
CGame* CreateGame();
CGame* GetGame();
void DestroyGame();
