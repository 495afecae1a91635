#pragma once
// A sound a ship plays: a sample with its volume and rules (looped or not, several
// at once or not), played at a place in the world. The ship counts its plays, so
// that what it asked for can be seen even while audio is off.

#include "core/Vector2D.h"

#include <cstdint>
#include <string>

class CShipSound
{
public:
    void Set(const char* file, float volume, bool loop, bool allowMultiple);
    void Play(const CVector2D& position);
    void Stop();

    const std::string& GetFile() const { return m_file; }
    float GetVolume() const { return m_volume; }
    uint32_t GetPlayCount() const { return m_plays; }

private:
    std::string m_file;
    float m_volume = 1.0f;
    bool m_loop = false;
    bool m_allowMultiple = false;
    uint32_t m_plays = 0;
};
