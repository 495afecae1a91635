#pragma once
// A sound a ship plays: a sample with its volume and rules (looped or not, several
// at once or not), played at a place in the world through the game's sound effects.
// The ship counts what it asked to play, so that it can be seen while audio is off.

#include "core/Vector2D.h"
#include "world/SoundEffect.h"

#include <cstdint>
#include <string>

class CDataTree;

class CShipSound
{
public:
    CShipSound() { m_emitter.SetEffect(&m_effect); }
    CShipSound(const CShipSound&) = delete;
    CShipSound& operator=(const CShipSound&) = delete;

    void Set(const char* file, float volume, bool loop, bool allowMultiple);
    // The sample named by a sound node's "sfxName", at the owner's volume and loop;
    // a node without one leaves the sound silent.
    void Read(const CDataTree& node, float volume, bool loop);
    void Play(const CVector2D& position);
    void Stop()
    {
        m_emitter.Stop();
        m_following = false;
    }
    // A looping sound heard from a place that moves: louder near the middle of the
    // screen, started again when it has no channel.
    void Follow(const CVector2D& position);
    // Lowered until silent; a later Follow starts it again.
    void FadeOut();

    const std::string& GetFile() const { return m_file; }
    float GetVolume() const { return m_volume; }
    uint32_t GetPlayCount() const { return m_plays; }
    // Between a Follow and a FadeOut (or Stop).
    bool IsFollowing() const { return m_following; }

private:
    CSoundEffect m_effect;
    CSoundEmitter m_emitter;
    std::string m_file;
    float m_volume = 1.0f;
    uint32_t m_plays = 0;
    bool m_following = false;
};
