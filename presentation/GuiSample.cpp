#include "presentation/GuiSample.h"

#include "platform/AudioSystem.h"

CGuiSample::~CGuiSample()
{
    if (m_sample >= 0 && g_audio)
        g_audio->ReleaseSample(m_sample);
}

void CGuiSample::Load(const std::string& name)
{
    if (m_sample >= 0 && g_audio)
        g_audio->ReleaseSample(m_sample);
    m_sample = -1;
    m_name = name;
    Resolve();
}

void CGuiSample::Resolve()
{
    m_sample = -1;
    int index = -1;
    if (!m_name.empty() && g_audio && g_audio->LoadSample(m_name.c_str(), index))
        m_sample = index;
}
