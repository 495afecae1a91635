#include "presentation/SpriteSet.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "presentation/DefinitionBlocks.h"
#include "presentation/SpriteOwner.h"

#include <new>

bool CSpriteSet::Load(const CDataTree& node, const SSpriteOwner& owner, CDefinitionProblems& problems)
{
    Destroy();
    int32_t spriteCount = 0;
    if (!LoadSpriteRefList(node, "numSpriteDefs", MAX_DEFS, m_defs, m_defCount, problems) ||
        !ReadDefinitionCount(node, "numSprites", MAX_SPRITES, spriteCount, problems))
        return false;
    m_sprites.reset(new (std::nothrow) CAnimatedSprite[static_cast<size_t>(spriteCount)]);
    if (!m_sprites)
    {
        problems.AddFatal(&node, "no memory for %d sprites", static_cast<int>(spriteCount));
        Destroy();
        return false;
    }
    m_spriteCount = static_cast<size_t>(spriteCount);
    const int32_t defCount = static_cast<int32_t>(m_defCount);

    size_t made = 0;
    for (int32_t block = 0; made < m_spriteCount; ++block)
    {
        const CDataTree* instances = FindNumberedBlock(node, "sinst", block, false, problems);
        if (!instances)
        {
            problems.AddWarning(&node, "%d sprites but blocks for %d: the rest stay empty", static_cast<int>(spriteCount),
                                static_cast<int>(made));
            break;
        }
        int32_t defIndex = -1, count = 1;
        instances->GetInt("defIdx", defIndex);
        instances->GetInt("numInsts", count);
        const bool validDef = defIndex >= 0 && defIndex < defCount;
        if (!validDef)
            problems.AddWarning(instances, "\"defIdx\" %d names no definition (there are %d): the sprites stay empty",
                                static_cast<int>(defIndex), static_cast<int>(defCount));
        for (int32_t i = 0; i < count && made < m_spriteCount; ++i, ++made)
            if (validDef)
                m_sprites[made].Load(*instances, m_defs[static_cast<size_t>(defIndex)], owner.drawPlane);
    }
    for (size_t i = 0; i < m_spriteCount; ++i)
    {
        m_sprites[i].SetPosition(owner.position);
        m_sprites[i].SetScale(owner.scaleX, owner.scaleY);
        m_sprites[i].Hide();
    }
    return true;
}

void CSpriteSet::Destroy()
{
    m_sprites.reset();
    m_spriteCount = 0;
    m_defs.reset();
    m_defCount = 0;
}
