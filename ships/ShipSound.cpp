#include "ships/ShipSound.h"

void CShipSound::Set(const char* file, float volume, bool loop, bool allowMultiple)
{
    m_emitter.Stop();
    m_file = file ? file : "";
    m_volume = volume;
    m_effect.Set(m_file.c_str(), volume, loop, allowMultiple);
}

void CShipSound::Play(const CVector2D& position)
{
    if (m_file.empty())
        return;
    ++m_plays;
    m_emitter.PlayAt(false, &position);
}
