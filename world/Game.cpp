#include "world/Game.h"

#include "core/Console.h"
#include "core/Random.h"
#include "core/RealTimeClock.h"
#include "platform/AudioSystem.h"
#include "utility/source/QelShellPaths.h"
#include "world/AsteroidDefs.h"
#include "world/Backdrop.h"
#include "world/CampaignLink.h"
#include "world/DirectorLink.h"
#include "world/EffectCache.h"
#include "world/GalaxyMap.h"
#include "world/GameFlowLink.h"
#include "world/HudLink.h"
#include "world/LevelConfig.h"
#include "world/PresentationLinks.h"
#include "world/ProceduralBackdrop.h"
#include "world/PushGrid.h"
#include "world/Quadtree.h"
#include "world/TextPageLink.h"
#include "world/WarpEffects.h"
#include "world/World.h"
#include "world/ZoneFile.h"
#include "world/ZoneLink.h"
#include "world/ZoneManager.h"

#include <new>

namespace
{
CGame* s_game = nullptr;

// What answers for a part that has not installed itself.
CHudLink s_noHud;
CTextPageLink s_noTextPages;
CGameFlowLink s_noGameFlow;
CDirectorLink s_noDirector;
CCampaignLink s_noCampaign;
} // namespace

CGame* CreateGame()
{
    if (!s_game)
        s_game = new (std::nothrow) CGame();
    return s_game;
}

CGame* GetGame()
{
    return s_game;
}

void DestroyGame()
{
    delete s_game;
    s_game = nullptr;
}

namespace
{
const char* const EFFECT_FILE = "data\\effect.txt";
}

CGame::CGame()
    : m_effects(std::make_unique<CEffectCache>()), m_asteroids(std::make_unique<CAsteroidTable>()),
      m_backdrop(std::make_unique<CBackdrop>()), m_ownZones(std::make_unique<CZoneLink>())
{
    ResetLevelState();
}

CGame::~CGame()
{
    RemovePresentationLinks(*this);
    // The objects' destructors reach the push grid through the game, give back the
    // effects they hold, and asteroids need their definitions: the world goes first.
    m_world.reset();
    m_effects.reset();
    m_procedural.reset();
    m_backdrop->Clear();
    m_asteroids->Free();
    // The fading channels must not call back into a game that is gone.
    if (g_audio)
        for (int channel : m_fadingSounds)
            g_audio->SetChannelCallback(channel, nullptr, nullptr);
    m_fadingSounds.clear();
}

CHudLink& CGame::GetHud() const
{
    return m_hud ? *m_hud : s_noHud;
}
CTextPageLink& CGame::GetTextPages() const
{
    return m_textPages ? *m_textPages : s_noTextPages;
}
CGameFlowLink& CGame::GetGameFlow() const
{
    return m_gameFlow ? *m_gameFlow : s_noGameFlow;
}
CDirectorLink& CGame::GetDirector() const
{
    return m_director ? *m_director : s_noDirector;
}
CCampaignLink& CGame::GetCampaign() const
{
    return m_campaign ? *m_campaign : s_noCampaign;
}
CZoneLink& CGame::GetZones() const
{
    return m_zones ? *m_zones : *m_ownZones;
}

float CGame::GetWorldWidth() const
{
    return m_levelConfig ? static_cast<float>(m_levelConfig->GetWorldWidth()) : 0.0f;
}

bool CGame::Init(CSpriteBank* spriteBank)
{
    m_state = GAME_CREATED;
    char folder[1024];
    if (GetCurrentFolder(sizeof(folder), folder))
        m_startFolder = folder;
    GetGameRandom().Seed(ChooseGameSeed(GetRealTimeClock().GetMs()));
    m_pacer.Reset();
    m_spriteBank = spriteBank;
    InstallPresentationLinks(*this);
    std::unique_ptr<CZoneManager> zones = std::make_unique<CZoneManager>(*this);
    zones->Load(ZONE_FILE);
    if (!m_zones || m_zones == m_zoneManager.get())
        m_zones = zones.get();
    m_zoneManager = std::move(zones);
    // The game flow and its screens and the sequence director are made by their own parts.
    m_controls.Reset();
    m_effects->Load(EFFECT_FILE);
    // Without the file the exit warning shows no quotes.
    if (m_quoteRef.SetFile("data\\frontend\\quotes\\quotes.spr", true))
    {
        m_quoteA.Attach(m_quoteRef, QUOTE_PLANE);
        m_quoteB.Attach(m_quoteRef, QUOTE_PLANE);
    }
    m_state = GAME_READY;
    return true;
}

bool CGame::StartLevel()
{
    auto config = std::make_unique<CLevelConfig>();
    if (!m_startFolder.empty())
        SetCurrentFolder(m_startFolder.c_str());
    if (!config->Load(GetZones().GetLevelFileIndex()))
        return false;
    return StartLevelWith(std::move(config), CWorld::DEFAULT_SLOTS);
}

bool CGame::StartLevelFromBytes(const std::string& bytes, const char* name, int32_t worldSlots)
{
    auto config = std::make_unique<CLevelConfig>();
    if (!config->LoadFromBytes(bytes, name))
        return false;
    return StartLevelWith(std::move(config), worldSlots);
}

bool CGame::StartLevelWith(std::unique_ptr<CLevelConfig> config, int32_t worldSlots)
{
    if (m_state == GAME_LEVEL_RUNNING)
        EndLevel();
    m_world = std::make_unique<CWorld>(this);
    if (!m_world->Init(worldSlots))
        m_world->Init();
    m_world->SetWarpStep(&RunWarpStep);
    GetHud().OnLevelStart();
    m_levelConfig = std::move(config);
    m_camera.SetLag(m_levelConfig->GetViewLag());
    m_camera.SetWorldWidth(GetWorldWidth());
    m_quadtree = std::make_unique<CQuadtree>();
    m_quadtree->Init(static_cast<int32_t>(m_levelConfig->GetWorldWidth()),
                     static_cast<int32_t>(m_levelConfig->GetTreeDepth()));
    m_levelConfig->LoadSections(this);
    m_pushGrid = std::make_unique<CPushGrid>();
    m_pushGrid->Init(static_cast<int32_t>(m_levelConfig->GetWorldWidth()));
    m_state = GAME_LEVEL_RUNNING;
    return true;
}

void CGame::EndLevel()
{
    if (m_state != GAME_LEVEL_RUNNING)
        return;
    // The objects go while the quadtree and the push grid they use still exist,
    // and before the asteroid definitions they were made from.
    m_world.reset();
    m_asteroids->Free();
    m_backdrop->Show(false);
    m_backdrop->Clear();
    m_quadtree.reset();
    m_levelConfig.reset();
    m_pushGrid.reset();
    GetHud().OnLevelEnd();
    m_playerShip = -1;
    m_station = -1;
    m_state = GAME_READY;
}

void CGame::Shutdown()
{
    EndLevel();
    m_effects->FreeAll();
    if (m_zoneManager)
        m_zoneManager->GetGalaxyMap().ReleaseSprites();
    ShowProceduralBackdrop(false);
    m_quoteA.Destroy();
    m_quoteB.Destroy();
    m_quoteRef.Release();
    m_state = GAME_SHUT_DOWN;
}

bool CGame::ReloadEffects()
{
    if (m_state == GAME_LEVEL_RUNNING)
    {
        if (g_console)
            g_console->Printf("The effects cannot be reloaded while a level runs");
        return false;
    }
    GetGameFlow().SilenceLoopingSounds();
    m_effects = std::make_unique<CEffectCache>();
    bool loaded = m_effects->Load(EFFECT_FILE);
    GetGameFlow().RestartLoopingSounds();
    return loaded;
}

void CGame::ResetLevelState()
{
    m_run = SRunState();
    m_run.shipLevel = 1;
    m_run.waveStartTime = GetTime();
    m_run.clockCopy = GetTime();
}

void CGame::BeginFrame()
{
    m_frameStart = GetRealTimeClock().GetMs();
    m_pacer.BeginFrame(m_frameStart);
    m_run.frameCounter = 0;
}

void CGame::EndFrame()
{
    bool standing = m_paused || GetTextPages().IsAnyPageShowing();
    CRealTimeClock& clock = GetRealTimeClock();
    uint32_t sleep = m_pacer.EndFrame(clock.GetMs(), standing);
    if (m_procedural)
        m_procedural->Update();
    if (sleep)
        clock.Sleep(sleep);
}

void CGame::PollControls(CCoreInput* input)
{
    m_controls.Poll(input, GetTime());
}

void CGame::UpdateFrame(float* x, float* y)
{
    float viewX = 0.0f;
    float viewY = 0.0f;
    switch (GetGameFlow().GetMode())
    {
    case GAME_MODE_FLIGHT:
        m_backdrop->SpinItems();
        if (GetDirector().IsGateOpen(GATE_WORLD_UPDATE))
        {
            GetZones().Update(false);
            if (m_world)
                m_world->Update();
        }
        UpdateCamera(viewX, viewY);
        GetHud().Update();
        GetGameFlow().PlaceWarningQuotes();
        break;
    case GAME_MODE_IN_GAME_MENU:
        // The world stands still under the menu.
        UpdateCamera(viewX, viewY);
        GetHud().Update();
        break;
    default:
        m_camera.SetPosition(0.0f, 0.0f);
        break;
    }
    if (x)
        *x = viewX;
    if (y)
        *y = viewY;
}

// A full-screen sequence that covers the game holds the camera where it is.
void CGame::UpdateCamera(float& x, float& y)
{
    if (GetDirector().IsCoveringSequencePlaying())
    {
        x = m_camera.GetView().x;
        y = m_camera.GetView().y;
        return;
    }
    m_camera.Update(m_world.get(), &x, &y);
}

std::string CGame::ChooseShipDesignFile(const char* fromLevel) const
{
    std::string file = fromLevel ? fromLevel : "";
    if (!m_shipConfigFile.empty())
    {
        char documents[512];
        if (GetDocumentsFolder(documents, sizeof(documents)))
            file = std::string(documents) + "\\tessavar\\" + m_shipConfigFile;
    }
    if (m_run.quickShip)
        file = "data\\quickShip.txt";
    if (m_run.survival)
        file = "data\\survivalShips.txt";
    return file;
}

void CGame::SetZoneBackdropFrame()
{
    m_backdrop->SetZoneBackdropFrame(GetZones().GetNodeKind(), GetZones().GetZoneIndex());
}

void CGame::ShowProceduralBackdrop(bool show)
{
    if (!show)
    {
        if (m_procedural)
            m_procedural->Show(false);
        m_procedural.reset();
        return;
    }
    if (!m_procedural)
    {
        m_procedural = std::make_unique<CProceduralBackdrop>();
        m_procedural->Load("data\\init0.txt", "proc1");
    }
    m_procedural->Show(true);
}
