#pragma once
// The sprites of an animation set: sprite references and the animated sprites made
// from them.

#include "presentation/AnimatedSprite.h"
#include "presentation/SpriteRef.h"

#include <cstddef>
#include <memory>

class CDataTree;
class CDefinitionProblems;
struct SSpriteOwner;

class CSpriteSet
{
public:
    static constexpr int32_t MAX_DEFS = 64;
    static constexpr int32_t MAX_SPRITES = 256;

    // "numSpriteDefs" and the blocks "def%i" (references, texture option 1);
    // "numSprites" and the blocks "sinst%i", each with "defIdx" and "numInsts"
    // (default 1): that many consecutive sprites are read from the block, on planes
    // offset by the owner's. Sprites whose definition index is wrong, or that no block
    // is left for, stay empty (no instance). A count outside the tables is fatal.
    bool Load(const CDataTree& node, const SSpriteOwner& owner, CDefinitionProblems& problems);
    void Destroy();

    size_t GetDefCount() const { return m_defCount; }
    const CSpriteRef& GetDef(size_t index) const { return m_defs[index]; }
    size_t GetSpriteCount() const { return m_spriteCount; }
    CAnimatedSprite& GetSprite(size_t index) { return m_sprites[index]; }
    const CAnimatedSprite& GetSprite(size_t index) const { return m_sprites[index]; }

private:
    // Declared before the sprites, which are destroyed first.
    std::unique_ptr<CSpriteRef[]> m_defs;
    size_t m_defCount = 0;
    std::unique_ptr<CAnimatedSprite[]> m_sprites;
    size_t m_spriteCount = 0;
};
