#include "frontend/MusicOutput.h"

#include "platform/AudioSystem.h"

int CMusicOutput::GetVolume() const
{
    return g_audio ? g_audio->GetMusicVolume() : 0;
}

void CMusicOutput::SetVolume(int level)
{
    if (g_audio)
        g_audio->SetMusicVolume(level);
}

bool CMusicOutput::Play(const char* fileName)
{
    return g_audio && g_audio->PlayMusic(fileName);
}

bool CMusicOutput::IsFinished() const
{
    return !g_audio || g_audio->IsMusicFinished();
}

void CMusicOutput::Stop()
{
    if (g_audio)
        g_audio->StopMusic();
}

CMusicOutput& GetAudioMusicOutput()
{
    static CMusicOutput s_output;
    return s_output;
}
