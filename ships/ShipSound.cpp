#include "ships/ShipSound.h"

#include "core/DataTree.h"

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

void CShipSound::Read(const CDataTree& node, float volume, bool loop)
{
    char name[CSoundEffect::NAME_SIZE] = "";
    if (!node.GetString("sfxName", name, sizeof(name)))
        name[0] = 0;
    Set(name, volume, loop, false);
}

void CShipSound::Follow(const CVector2D& position)
{
    if (m_file.empty())
        return;
    m_following = true;
    m_emitter.UpdatePositional(position);
}

void CShipSound::FadeOut()
{
    if (m_following)
        m_emitter.FadeOut();
    m_following = false;
}
