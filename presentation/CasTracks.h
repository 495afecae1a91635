#pragma once
// One step of each kind of track: apply the current keys, then count.

#include "presentation/CasTypes.h"

#include <cstdint>

class CAudioSystem;

// ARGB from channels 0..255: each clamped (a value that is not a number counts as
// 0) and rounded to the nearest integer before packing.
uint32_t PackCasColour(const SCasColourKey& key);
// The draw plane of a position key: rounded and clamped to the sprite bank's planes.
int GetCasPlane(const SCasPositionKey& key);

// Frame, position, rotation, scale, colour and visibility onto the track's
// instance; a key list without keys leaves its property as it is.
void ApplySpriteKeys(SCasSpriteTrack& track);
void StepSpriteTrack(SCasSpriteTrack& track);

// Takes the current position and colour. The first time in a play that the colour
// is not fully transparent, a track with a voice stops the voice stream and plays it.
void ApplyTextKeys(SCasTextTrack& track, CAudioSystem* audio);
void StepTextTrack(SCasTextTrack& track, CAudioSystem* audio);

// Starts, pauses and resumes the track's channel by its play keys and applies
// volume and pan while it plays; a restart at the loop start silences and stops it.
void StepSoundTrack(SCasSoundTrack& track, CAudioSystem* audio);
// Stops the track's channel and forgets it (the channel no longer reports to the track).
void StopSoundTrack(SCasSoundTrack& track, CAudioSystem* audio);
