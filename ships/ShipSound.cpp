#include "ships/ShipSound.h"

// The samples play through the game's sound effects once they are part of the game;
// until then a ship's sounds are counted and stay silent.

void CShipSound::Set(const char* file, float volume, bool loop, bool allowMultiple)
{
    m_file = file ? file : "";
    m_volume = volume;
    m_loop = loop;
    m_allowMultiple = allowMultiple;
}

void CShipSound::Play(const CVector2D& /*position*/)
{
    if (!m_file.empty())
        ++m_plays;
}

void CShipSound::Stop() {}
