#include "world/SoundEffect.h"

#include "core/DataTree.h"
#include "core/Vector2D.h"
#include "platform/AudioSystem.h"
#include "world/Game.h"

#include <cmath>
#include <cstring>

bool IsGameAudioOn()
{
    return g_audio && !g_audio->IsDisabled();
}

bool CSoundEffect::StoreName(const char* fileName)
{
    m_fileName[0] = '\0';
    if (!fileName || std::strlen(fileName) >= NAME_SIZE)
        return false;
    std::strcpy(m_fileName, fileName);
    return m_fileName[0] != '\0';
}

bool CSoundEffect::Read(const CDataTree& tree)
{
    char name[DATA_VALUE_MAX + 1] = "";
    if (!tree.GetString("sfxName", name, sizeof(name)))
        return false;
    bool named = StoreName(name);
    float volume = m_volume;
    if (tree.GetFloat("sfxVolume", volume) && std::isfinite(volume))
        m_volume = volume;
    tree.GetBool("allowMultipleSfx", m_allowMultiple);
    tree.GetBool("loopSfx", m_loop);
    tree.GetBool("screenClip", m_screenClip);
    return named && Load();
}

bool CSoundEffect::Set(const char* fileName, float volume, bool loop, bool allowMultiple)
{
    if (!StoreName(fileName))
        return false;
    m_volume = volume;
    m_loop = loop;
    m_allowMultiple = allowMultiple;
    return Load();
}

bool CSoundEffect::Load()
{
    if (!IsGameAudioOn() || !m_fileName[0])
        return false;
    Release();
    int index = -1;
    if (!g_audio->LoadSample(m_fileName, index))
        return false;
    m_sample = index;
    m_loaded = true;
    return true;
}

void CSoundEffect::Release()
{
    if (m_loaded && g_audio)
        g_audio->ReleaseSample(m_sample);
    m_sample = -1;
    m_loaded = false;
}

bool CSoundEffect::TakeStart(uint32_t now)
{
    if (m_started && now - m_lastStart < RESTART_GAP_MS)
        return false;
    m_started = true;
    m_lastStart = now;
    return true;
}

namespace
{
bool IsBeyondClip(const CVector2D& position)
{
    CGame* game = GetGame();
    if (!game)
        return false;
    const CCamera& camera = game->GetCamera();
    const CVector2D& view = camera.GetView();
    const float margin = CSoundEmitter::CLIP_MARGIN;
    return position.x < view.x - margin || position.y < view.y - margin ||
           position.x > view.x + camera.GetScreenWidth() + margin ||
           position.y > view.y + camera.GetScreenHeight() + margin;
}
} // namespace

void CSoundEmitter::OnChannelEnd(void* userValue, int)
{
    CSoundEmitter* emitter = static_cast<CSoundEmitter*>(userValue);
    emitter->m_channel = -1;
    emitter->m_playing = false;
}

void CSoundEmitter::LetGo()
{
    if (m_channel >= 0 && g_audio)
        g_audio->SetChannelCallback(m_channel, nullptr, nullptr);
    m_channel = -1;
}

bool CSoundEmitter::Play(bool loop, bool startPaused, const CVector2D* position)
{
    if (!m_effect || !m_effect->IsLoaded() || !g_audio)
        return false;
    if (m_effect->ClipsToScreen() && position && IsBeyondClip(*position))
        return false;
    if (!m_effect->AllowsMultiple() && m_playing)
        return false;
    CGame* game = GetGame();
    if (!m_effect->TakeStart(game ? game->GetTime() : 0))
        return false;
    LetGo();
    int channel = -1;
    if (!g_audio->PlaySample(m_effect->GetSample(), 1, 0, m_effect->GetVolume(), 0.0f, startPaused, loop,
                             &CSoundEmitter::OnChannelEnd, this, channel))
        return false;
    m_channel = channel;
    m_playing = true;
    return true;
}

bool CSoundEmitter::PlayAt(bool startPaused, const CVector2D* position)
{
    return Play(m_effect && m_effect->Loops(), startPaused, position);
}

void CSoundEmitter::Restart(const CVector2D* position)
{
    if (m_channel >= 0 && g_audio && g_audio->StartChannel(m_channel))
    {
        m_playing = true;
        return;
    }
    PlayAt(false, position);
}

void CSoundEmitter::Stop()
{
    if (m_channel < 0)
        return;
    if (g_audio)
    {
        g_audio->StopChannel(m_channel);
        g_audio->SetChannelCallback(m_channel, nullptr, nullptr);
    }
    m_channel = -1;
    // A stopped emitter may play again, also a sound that allows one instance only.
    m_playing = false;
}

void CSoundEmitter::FadeOut()
{
    if (m_channel < 0)
        return;
    int channel = m_channel;
    LetGo();
    m_playing = false;
    CGame* game = GetGame();
    if (game)
        game->AddFadingSound(channel);
    else if (g_audio)
        g_audio->StopChannel(channel);
}

void CSoundEmitter::StopLooping()
{
    if (m_channel >= 0 && g_audio)
        g_audio->SetChannelLoop(m_channel, false);
}

void CSoundEmitter::UpdatePositional(const CVector2D& position)
{
    CGame* game = GetGame();
    if (!game || !m_effect)
        return;
    const CCamera& camera = game->GetCamera();
    CVector2D centre(camera.GetView().x + camera.GetScreenWidth() * 0.5f,
                     camera.GetView().y + camera.GetScreenHeight() * 0.5f);
    float distance = (position - centre).Length();
    if (distance > SILENT_DISTANCE)
    {
        FadeOut();
        return;
    }
    float volume = m_effect->GetVolume();
    if (distance >= FULL_VOLUME_DISTANCE)
        volume *= 1.0f - (distance - FULL_VOLUME_DISTANCE) / (SILENT_DISTANCE - FULL_VOLUME_DISTANCE);
    if (m_channel < 0)
        Play(true, false, &position);
    if (m_channel >= 0 && g_audio)
        g_audio->SetChannelVolume(m_channel, volume);
}
