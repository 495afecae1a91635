#pragma once
// A sound a ship plays: a sample with its volume and rules (looped or not, several
// at once or not), played at a place in the world through the game's sound effects.
// The ship counts what it asked to play, so that it can be seen while audio is off.

#include "core/Vector2D.h"
#include "world/SoundEffect.h"

#include <cstdint>
#include <string>

class CShipSound
{
public:
    CShipSound() { m_emitter.SetEffect(&m_effect); }
    CShipSound(const CShipSound&) = delete;
    CShipSound& operator=(const CShipSound&) = delete;

    void Set(const char* file, float volume, bool loop, bool allowMultiple);
    void Play(const CVector2D& position);
    void Stop() { m_emitter.Stop(); }

    const std::string& GetFile() const { return m_file; }
    float GetVolume() const { return m_volume; }
    uint32_t GetPlayCount() const { return m_plays; }

private:
    CSoundEffect m_effect;
    CSoundEmitter m_emitter;
    std::string m_file;
    float m_volume = 1.0f;
    uint32_t m_plays = 0;
};
