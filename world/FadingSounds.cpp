// The game's list of sounds that fade out after their emitters let them go.

#include "platform/AudioSystem.h"
#include "world/Game.h"

#include <algorithm>

namespace
{
constexpr float FADE_STEP = 0.05f;
}

// The channel's sound ended or another sound took the channel: the list must not
// lower (and at last stop) whatever plays there next.
void CGame::OnFadingSoundEnd(void* userValue, int channel)
{
    std::vector<int>& list = static_cast<CGame*>(userValue)->m_fadingSounds;
    list.erase(std::remove(list.begin(), list.end(), channel), list.end());
}

void CGame::AddFadingSound(int channel)
{
    if (channel < 0 || !g_audio)
        return;
    if (std::find(m_fadingSounds.begin(), m_fadingSounds.end(), channel) == m_fadingSounds.end())
        m_fadingSounds.push_back(channel);
    g_audio->SetChannelCallback(channel, &CGame::OnFadingSoundEnd, this);
}

void CGame::UpdateFadingSounds()
{
    if (!g_audio)
    {
        m_fadingSounds.clear();
        return;
    }
    for (size_t i = 0; i < m_fadingSounds.size();)
    {
        const int channel = m_fadingSounds[i];
        const float volume = g_audio->GetChannelVolume(channel);
        if (volume >= FADE_STEP && g_audio->SetChannelVolume(channel, volume - FADE_STEP))
        {
            ++i;
            continue;
        }
        g_audio->SetChannelCallback(channel, nullptr, nullptr);
        g_audio->StopChannel(channel);
        m_fadingSounds.erase(m_fadingSounds.begin() + static_cast<std::ptrdiff_t>(i));
    }
}
