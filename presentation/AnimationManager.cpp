#include "presentation/AnimationManager.h"

#include "core/FileBytes.h"
#include "core/StringTable.h"
#include "platform/AudioSystem.h"
#include "presentation/CasFile.h"
#include "presentation/CasTrackClock.h"
#include "presentation/CasTracks.h"

#include <algorithm>
#include <new>
#include <string>

namespace
{
// A line that begins with two underscores is a string-table key: the track shows
// the entry's text, and the entry's second text is the track's voice file. A key
// the table does not have is shown as it stands.
void ResolveLines(SCasTextTrack& track)
{
    track.m_shownLines = track.m_lines;
    for (CWString& line : track.m_shownLines)
    {
        const char16_t* text = line.GetText();
        uint32_t id = 0;
        const CWString* entry = nullptr;
        const CWString* voice = nullptr;
        if (text[0] != u'_' || text[1] != u'_' || !g_stringTable || !g_stringTable->FindId(line, id) ||
            !g_stringTable->GetTexts(id, entry, voice))
            continue;
        if (voice && voice->GetTextLength() > 0 && track.m_voice.IsEmpty())
            track.m_voice = *voice;
        line = *entry;
    }
}
} // namespace

CAnimationManager::CAnimationManager() = default;

CAnimationManager::~CAnimationManager()
{
    for (int slot = 0; slot < SLOT_COUNT; ++slot)
        Release(slot);
}

SCasAnimation* CAnimationManager::GetSlot(int slot) const
{
    return slot >= 0 && slot < SLOT_COUNT ? m_slots[slot].get() : nullptr;
}

const SCasAnimation* CAnimationManager::GetAnimation(int slot) const
{
    return GetSlot(slot);
}

int CAnimationManager::Find(const char* fileName) const
{
    if (!fileName)
        return -1;
    for (int slot = 0; slot < SLOT_COUNT; ++slot)
    {
        if (m_slots[slot] && m_slots[slot]->m_fileName.EqualsNarrow(fileName))
            return slot;
    }
    return -1;
}

bool CAnimationManager::Load(const char* fileName, int& slot)
{
    slot = Find(fileName);
    if (slot >= 0)
        return true;
    if (!fileName)
        return false;
    int free = 0;
    while (free < SLOT_COUNT && m_slots[free])
        ++free;
    if (free == SLOT_COUNT)
        return false;

    std::vector<uint8_t> bytes;
    std::unique_ptr<SCasAnimation> animation(new (std::nothrow) SCasAnimation());
    std::string error;
    if (!animation || !ReadFileBytes(fileName, bytes) ||
        !ReadCasAnimation(bytes.data(), bytes.size(), *animation, error))
        return false;
    animation->m_fileName.AssignNarrow(fileName);
    for (SCasTextTrack& track : animation->m_textTracks)
        ResolveLines(track);
    m_slots[free] = std::move(animation);
    slot = free;
    return true;
}

bool CAnimationManager::Release(int slot)
{
    SCasAnimation* animation = GetSlot(slot);
    if (!animation)
        return false;
    UnloadMedia(slot);
    RemoveFromPlaying(animation);
    m_slots[slot].reset();
    return true;
}

void CAnimationManager::RemoveFromPlaying(SCasAnimation* animation)
{
    m_playing.erase(std::remove(m_playing.begin(), m_playing.end(), animation), m_playing.end());
    animation->m_playing = false;
}

void CAnimationManager::StartPlaying(SCasAnimation& animation)
{
    RemoveFromPlaying(&animation);
    m_playing.insert(m_playing.begin(), &animation);
    animation.m_playing = true;
    for (SCasTextTrack& track : animation.m_textTracks)
        track.m_voiceStarted = false;
}

bool CAnimationManager::Play(int slot, bool loop)
{
    SCasAnimation* animation = GetSlot(slot);
    if (!animation)
        return false;
    animation->m_soundsMuted = false;
    animation->m_currentFrame = 0;
    animation->m_loopFrame = 0;
    animation->m_endFrame = animation->m_length;
    animation->m_loop = loop;
    for (SCasSpriteTrack& track : animation->m_spriteTracks)
        StartCasTrack(track, 0, track.m_clock.m_length, loop);
    for (SCasTextTrack& track : animation->m_textTracks)
        StartCasTrack(track, 0, track.m_clock.m_length, loop);
    for (SCasSoundTrack& track : animation->m_soundTracks)
        StartCasTrack(track, 0, track.m_clock.m_length, loop);
    StartPlaying(*animation);
    return true;
}

bool CAnimationManager::PlayRange(int slot, uint32_t start, uint32_t end, bool loop)
{
    SCasAnimation* animation = GetSlot(slot);
    if (!animation)
        return false;
    start = std::min(start, end);
    animation->m_soundsMuted = true;
    animation->m_currentFrame = start;
    animation->m_loopFrame = start;
    animation->m_endFrame = end;
    animation->m_loop = loop;
    StartPlaying(*animation);
    // The state of the start step shows at once, without sound or voice.
    for (SCasSpriteTrack& track : animation->m_spriteTracks)
    {
        StartCasTrack(track, start, end, loop);
        ApplySpriteKeys(track);
    }
    for (SCasTextTrack& track : animation->m_textTracks)
    {
        StartCasTrack(track, start, end, loop);
        ApplyTextKeys(track, nullptr);
    }
    for (SCasSoundTrack& track : animation->m_soundTracks)
        StartCasTrack(track, start, end, loop);
    return true;
}

bool CAnimationManager::Stop(int slot)
{
    SCasAnimation* animation = GetSlot(slot);
    if (!animation)
        return false;
    if (g_audio)
        g_audio->StopVoiceNow();
    for (SCasSoundTrack& track : animation->m_soundTracks)
        StopSoundTrack(track, g_audio);
    RemoveFromPlaying(animation);
    return true;
}

bool CAnimationManager::CentreText(int slot)
{
    SCasAnimation* animation = GetSlot(slot);
    if (!animation)
        return false;
    for (SCasTextTrack& track : animation->m_textTracks)
        track.m_centred = true;
    return true;
}

uint32_t CAnimationManager::GetCurrentFrame(int slot) const
{
    const SCasAnimation* animation = GetSlot(slot);
    return animation ? animation->m_currentFrame : 0;
}

uint32_t CAnimationManager::GetLength(int slot) const
{
    const SCasAnimation* animation = GetSlot(slot);
    return animation ? animation->m_length : 0;
}

bool CAnimationManager::IsPlaying(int slot) const
{
    const SCasAnimation* animation = GetSlot(slot);
    return animation && animation->m_playing;
}

void CAnimationManager::Update()
{
    for (SCasAnimation* animation : m_playing)
        StepAnimation(*animation);
}

void CAnimationManager::StepAnimation(SCasAnimation& animation)
{
    for (SCasSpriteTrack& track : animation.m_spriteTracks)
        StepSpriteTrack(track);
    // Muted plays start no voice either.
    CAudioSystem* voice = animation.m_soundsMuted ? nullptr : g_audio;
    for (SCasTextTrack& track : animation.m_textTracks)
        StepTextTrack(track, voice);
    if (!animation.m_soundsMuted)
    {
        for (SCasSoundTrack& track : animation.m_soundTracks)
            StepSoundTrack(track, g_audio);
    }
    if (animation.m_currentFrame < UINT32_MAX)
        ++animation.m_currentFrame;
    if (animation.m_loop && animation.m_currentFrame >= animation.m_endFrame)
        animation.m_currentFrame = animation.m_loopFrame;
}
