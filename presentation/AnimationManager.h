#pragma once
// Plays ".cas" animations: up to 128 loaded at once in slots, any number playing,
// each stepped once a game frame. Sprite tracks move sprite instances of the
// sprite bank (in virtual-screen units, optionally in ordered groups), sound tracks
// play samples through the audio system, and text tracks are drawn by Draw with
// the GUI's fonts.

#include "presentation/CasGuiFonts.h"
#include "presentation/CasTypes.h"

#include <cstdint>
#include <memory>
#include <vector>

class CAnimationManager
{
public:
    static constexpr int SLOT_COUNT = 128;

    CAnimationManager();
    // Releases every loaded animation with its media.
    ~CAnimationManager();
    CAnimationManager(const CAnimationManager&) = delete;
    CAnimationManager& operator=(const CAnimationManager&) = delete;

    // The slot of an animation loaded under exactly this name (case-sensitive), or
    // the file read into the first free slot. False when no slot is free or the
    // file cannot be read whole (nothing of it is kept).
    bool Load(const char* fileName, int& slot);
    // The slot of a loaded animation of exactly this name, else -1.
    int Find(const char* fileName) const;
    // Sprite files and instances of the sprite tracks, samples of the sound tracks.
    // False at the first failure, with everything loaded so far given back.
    bool LoadMedia(int slot);
    // Stops the animation when it plays, then gives back instances, groups, sprite
    // files and samples.
    bool UnloadMedia(int slot);
    // Unloads the media and frees the slot.
    bool Release(int slot);

    // From the start, sounds on; every track loops at its own length when loop is set.
    bool Play(int slot, bool loop);
    // From step start to step end, sounds muted, looping back to start when loop is
    // set; the tracks are moved to start at once and show its state. A start beyond
    // the end is taken as the end.
    bool PlayRange(int slot, uint32_t start, uint32_t end, bool loop);
    // Stops the voice and the animation's sounds and takes it off the playing list;
    // its sprites stay as they are until the media is unloaded.
    bool Stop(int slot);
    // Moves every key of every track later by offset steps (saturating), so a
    // sequence can start after a pause of its own.
    bool ShiftKeys(int slot, uint32_t offset);
    // Every text track of the animation draws its lines centred.
    bool CentreText(int slot);
    // 0 for a free slot.
    uint32_t GetCurrentFrame(int slot) const;
    uint32_t GetLength(int slot) const;
    bool IsPlaying(int slot) const;
    const SCasAnimation* GetAnimation(int slot) const;

    // Steps every playing animation once.
    void Update();
    // Draws the text tracks of every playing animation.
    void Draw();

    // Where text tracks find their fonts (the GUI's unless set); without a source no
    // text is drawn.
    void SetFontSource(CCasFontSource* fonts) { m_fonts = fonts; }

private:
    SCasAnimation* GetSlot(int slot) const;
    void StepAnimation(SCasAnimation& animation);
    void DrawAnimation(const SCasAnimation& animation);
    void RemoveFromPlaying(SCasAnimation* animation);
    void StartPlaying(SCasAnimation& animation);

    std::unique_ptr<SCasAnimation> m_slots[SLOT_COUNT];
    // Most recently started first.
    std::vector<SCasAnimation*> m_playing;
    CCasGuiFonts m_guiFonts;
    CCasFontSource* m_fonts = &m_guiFonts;
};
