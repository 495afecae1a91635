#pragma once
// The four-character tags of collision shapes and the body parts tied to them: the
// first four characters of the tag text packed into 32 bits, first character
// lowest; shorter texts are padded with zeros. 0 means no tag.

#include <cstdint>

uint32_t PackCollisionTag(const char* text);

// The tag with its first character replaced: the numbered tags "0xxx", "1xxx", ... of
// a sprite that stands for several shapes.
uint32_t ReplaceTagFirstCharacter(uint32_t tag, char first);
