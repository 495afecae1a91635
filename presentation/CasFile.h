#pragma once
// The ".cas" file, little-endian:
//   4 bytes not interpreted (written as "CAS" and 1)
//   u32 sprite-track count, u32 text-track count, u32 sound-track count
//   the sprite tracks, then the text tracks, then the sound tracks
// Sprite track: file name (wide string), i32 group id (-1 none), u32 length, then
// the key lists position {x, y, plane}, rotation {radians}, scale {x, y}, colour
// {alpha, red, green, blue}, frame {u32}, visible {u32}.
// Text track: u32 line count and the lines (wide strings), u32 length, i32 font,
// then the key lists position {x, y, depth} and colour.
// Sound track: sample file name, u32 length, u8 loop flag, then the key lists pan,
// volume {0..1}, play {u32, 0 stop}.
// Every key list is a u32 count and that many records that begin with the u32 step
// of the key; every other field is a float unless marked u32.

#include "presentation/CasTypes.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Fills the tracks and keys of the animation (its play state as after a load) from
// a whole file in memory. Every count and string length is checked against the
// bytes left, and bytes after the last track make the file damaged. On failure the
// animation is left empty and error says what was wrong. Volumes are clamped to
// 0..1 and the length is the largest track length.
bool ReadCasAnimation(const uint8_t* data, size_t size, SCasAnimation& animation, std::string& error);

// The animation's length (the largest track length) and end frame from its tracks.
void SetCasLength(SCasAnimation& animation);

// The tracks and keys in the same form.
std::vector<uint8_t> WriteCasAnimation(const SCasAnimation& animation);
