#include "presentation/CollisionTag.h"

uint32_t PackCollisionTag(const char* text)
{
    uint32_t tag = 0;
    for (int i = 0; text && i < 4 && text[i] != '\0'; ++i)
        tag |= static_cast<uint32_t>(static_cast<uint8_t>(text[i])) << (8 * i);
    return tag;
}

uint32_t ReplaceTagFirstCharacter(uint32_t tag, char first)
{
    return (tag & ~0xFFu) | static_cast<uint8_t>(first);
}
