#include "tests/support/world/WorldHarness.h"

#include "core/DataTree.h"
#include "core/Random.h"
#include "platform/AudioSystem.h"
#include "platform/Renderer.h"
#include "presentation/SpriteBank.h"
#include "world/EffectCache.h"
#include "world/ObjectFactory.h"

const char* const CWorldHarness::DEFAULT_LEVEL = "LEVEL\n"
                                                 "{\n"
                                                 "\tworldWidth\t4000\n"
                                                 "\ttreeDepth\t5\n"
                                                 "\ttotalAsteroidMass\t0\n"
                                                 "\tviewLag\t1.0\n"
                                                 "}\n";

void CScriptedInput::SetKey(int code, bool down)
{
    if (code >= 0 && code < 256)
        m_keys[code] = down ? 0x80 : 0;
}

bool CScriptedInput::IsKeyDown(int code)
{
    return code >= 0 && code < 256 && (m_keys[code] & 0x80) != 0;
}

bool CScriptedInput::IsJoystickActive(int n)
{
    return n >= 0 && n < GetJoystickCount() && m_joysticks[static_cast<size_t>(n)].active;
}

bool CScriptedInput::GetJoystickState(int n, SJoystickState* state)
{
    if (!IsJoystickActive(n) || !state)
        return false;
    *state = m_joysticks[static_cast<size_t>(n)].state;
    return true;
}

bool CScriptedInput::GetJoystickName(int n, CWString* name)
{
    if (n < 0 || n >= GetJoystickCount() || !m_joysticks[static_cast<size_t>(n)].nameReadable || !name)
        return false;
    name->AssignWide(m_joysticks[static_cast<size_t>(n)].name.c_str());
    return true;
}

bool CScriptedInput::GetJoystickAxisRange(int n, int pair, int32_t* min1, int32_t* max1, int32_t* min2,
                                          int32_t* max2)
{
    if (n < 0 || n >= GetJoystickCount() || pair < 0 || pair > 3)
        return false;
    const SScriptedJoystick& joystick = m_joysticks[static_cast<size_t>(n)];
    for (int32_t* min : {min1, min2})
        if (min)
            *min = joystick.axisMin;
    for (int32_t* max : {max1, max2})
        if (max)
            *max = joystick.axisMax;
    return true;
}

void CScriptedInput::ReenumerateJoysticks()
{
    ++m_enumerations;
    m_joysticks = m_attached;
}

void CScriptedInput::GetMouseDelta(int32_t* x, int32_t* y)
{
    if (x)
        *x = 0;
    if (y)
        *y = 0;
}

void CScriptedInput::GetMouseButtons(bool* left, bool* right, bool* middle)
{
    for (bool* button : {left, right, middle})
        if (button)
            *button = false;
}

void CHarnessZones::SetZoneFlag(int flag, bool value)
{
    if (flag >= 0 && flag < ZONE_FLAG_COUNT)
        m_flags[flag] = value;
}

void CHarnessZones::OnObjectRemoved(CGameObject& object)
{
    if (object.GetType() == OBJECT_ASTEROID && !object.GetInfo().notCountedAsEnemy)
        m_node.ForgetAsteroid(object.GetHandle());
}

CHarnessDirector::CHarnessDirector()
{
    for (bool& gate : m_gates)
        gate = true;
}

bool CHarnessDirector::IsGateOpen(int gate) const
{
    return gate >= 0 && gate < DIRECTOR_GATE_COUNT && m_gates[gate];
}

namespace
{
bool IsSlot(int slot)
{
    return slot >= 0 && slot < CHarnessCampaign::SLOTS;
}
} // namespace

void CHarnessCampaign::AddShipFlightTime(int slot, uint32_t ms)
{
    if (IsSlot(slot))
        m_flightTime[slot] += ms;
}

void CHarnessCampaign::ClearShipState(int slot)
{
    if (IsSlot(slot))
        ++m_cleared[slot];
}

void CHarnessCampaign::MarkShipLost(int slot)
{
    if (IsSlot(slot))
        ++m_lost[slot];
}

void CHarnessHud::SetGauge(int gauge, float maximum, float value)
{
    if (gauge < 0 || gauge >= HUD_GAUGE_COUNT)
        return;
    m_gauges[gauge].maximum = maximum;
    m_gauges[gauge].value = value;
    ++m_gauges[gauge].sets;
}

void CHarnessHud::ShowGauge(int gauge)
{
    if (gauge >= 0 && gauge < HUD_GAUGE_COUNT)
        m_gauges[gauge].shown = true;
}

void CHarnessHud::HideGauge(int gauge)
{
    if (gauge >= 0 && gauge < HUD_GAUGE_COUNT)
        m_gauges[gauge].shown = false;
}

CWorldHarness::CWorldHarness(uint32_t seed, TypeRegistration registerMore, std::unique_ptr<CRenderer> renderer)
    : m_registerMore(registerMore)
{
    SetRealTimeClock(&m_clock);
    if (renderer)
        m_renderer = std::move(renderer);
    else
    {
        auto recording = std::make_unique<CVertexRecordingRenderer>();
        m_recording = recording.get();
        m_renderer = std::move(recording);
    }
    m_bank = std::make_unique<CSpriteBank>();
    m_bank->Init(m_renderer.get());

    CDataTree settings;
    settings.AddBool("a_disableAudio", true);
    m_audio = std::make_unique<CAudioSystem>();
    m_audio->SetDefaultSettings();
    m_audio->ReadSettings(settings);
    m_audio->Init();

    m_oldAudio = g_audio;
    m_oldBank = g_spriteBank;
    m_oldInput = g_input;
    m_oldRenderer = g_renderer;
    g_renderer = m_renderer.get();
    g_audio = m_audio.get();
    g_spriteBank = m_bank.get();
    g_input = &m_input;

    RegisterWorldObjectTypes();
    if (m_registerMore)
        m_registerMore();

    DestroyGame();
    m_game = CreateGame();
    m_game->SetGameFlow(&m_flow);
    m_game->SetTextPages(&m_pages);
    m_game->SetZones(&m_zones);
    m_game->SetDirector(&m_director);
    m_game->SetCampaign(&m_campaign);
    m_game->SetHud(&m_hud);
    m_game->Init(m_bank.get());
    // Init seeds from the clock; a test's run starts from its own seed.
    GetGameRandom().Seed(seed);
    m_game->GetControls().SetDefaultKeys();
}

CWorldHarness::~CWorldHarness()
{
    if (m_game)
    {
        m_game->Shutdown();
        DestroyGame();
    }
    // Types a test put in the factory give way to the real ones again.
    ClearObjectTypes();
    RegisterWorldObjectTypes();
    if (m_registerMore)
        m_registerMore();
    g_audio = m_oldAudio;
    g_spriteBank = m_oldBank;
    g_input = m_oldInput;
    g_renderer = m_oldRenderer;
    m_audio->Shutdown();
    m_audio.reset();
    m_bank->Shutdown();
    m_bank.reset();
    m_renderer.reset();
    SetRealTimeClock(nullptr);
}

bool CWorldHarness::StartLevel(const std::string& levelText)
{
    if (!m_game->StartLevelFromBytes(levelText, "harness level"))
        return false;
    m_game->GetCamera().SetScreenSize(640.0f, 480.0f);
    return true;
}

int32_t CWorldHarness::Spawn(int32_t type, float x, float y)
{
    int32_t handle = NO_OBJECT;
    if (!m_game->GetWorld() || !m_game->GetWorld()->CreateObject(type, handle))
        return NO_OBJECT;
    CGameObject* object = m_game->GetWorld()->GetObject(handle);
    object->SetPosition(CVector2D(x, y));
    object->GetBody().previousPosition = CVector2D(x, y);
    object->PlaceShape();
    return handle;
}

CGameObject* CWorldHarness::Find(int32_t handle) const
{
    return m_game->GetWorld() ? m_game->GetWorld()->GetObject(handle) : nullptr;
}

void CWorldHarness::ScriptKey(uint32_t frame, int code, bool down)
{
    m_script.push_back({frame, code, down});
}

void CWorldHarness::RunFrame()
{
    m_game->UpdateFadingSounds();
    m_game->BeginFrame();
    for (const SScriptedKey& key : m_script)
        if (key.frame == m_framesRun)
            m_input.SetKey(key.code, key.down);
    m_game->PollControls(&m_input);
    float x = 0.0f;
    float y = 0.0f;
    m_game->UpdateFrame(&x, &y);
    m_bank->SetCameraPosition(static_cast<int>(x), static_cast<int>(y));
    if (m_game->GetGameFlow().GetMode() != GAME_MODE_FRONT_END)
        m_game->GetEffectCache().Update();
    m_game->EndFrame();
    ++m_framesRun;
}

void CWorldHarness::RunFrames(uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i)
        RunFrame();
}
