#include "presentation/SpriteRef.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "presentation/DefinitionBlocks.h"
#include "presentation/SpriteBank.h"

#include <new>
#include <strings.h>

namespace
{
uint16_t ToFrameField(int64_t value)
{
    return static_cast<uint16_t>(value < 0 ? 0 : (value > UINT16_MAX ? UINT16_MAX : value));
}
} // namespace

bool CSpriteRef::LoadNamed(const char* name, bool textureOption)
{
    Release();
    if (!name || !*name || strcasecmp(name, NO_FILE) == 0 || !g_spriteBank)
        return false;
    int index = -1;
    if (!g_spriteBank->LoadFile(name, textureOption, index))
        return false;
    m_bank = g_spriteBank;
    m_file = index;
    uint32_t width = 0, height = 0;
    m_bank->GetFrameSize(index, width, height);
    m_frameWidth = ToFrameField(width);
    m_frameHeight = ToFrameField(height);
    m_frameCount = ToFrameField(m_bank->GetFrameCount(index));
    return true;
}

bool CSpriteRef::SetFile(const char* name, bool textureOption)
{
    return LoadNamed(name, textureOption);
}

bool CSpriteRef::Load(const CDataTree& node, bool textureOption)
{
    char name[DATA_VALUE_MAX + 1] = "";
    node.GetString("spriteFile", name, sizeof(name));
    bool loaded = LoadNamed(name, textureOption);
    int32_t value = 0;
    if (node.GetInt("width", value))
        m_frameWidth = ToFrameField(value);
    if (node.GetInt("height", value))
        m_frameHeight = ToFrameField(value);
    if (node.GetInt("numFrames", value))
        m_frameCount = ToFrameField(value);
    return loaded;
}

void CSpriteRef::Release()
{
    if (m_file >= 0 && m_bank)
        m_bank->ReleaseFile(m_file);
    m_bank = nullptr;
    m_file = -1;
    m_frameWidth = m_frameHeight = m_frameCount = 0;
}

bool LoadSpriteRefList(const CDataTree& node, const char* countKey, int32_t max, std::unique_ptr<CSpriteRef[]>& refs,
                       size_t& count, CDefinitionProblems& problems)
{
    refs.reset();
    count = 0;
    int32_t wanted = 0;
    if (!ReadDefinitionCount(node, countKey, max, wanted, problems))
        return false;
    refs.reset(new (std::nothrow) CSpriteRef[static_cast<size_t>(wanted)]);
    if (!refs)
    {
        problems.AddFatal(&node, "no memory for %d sprite definitions", static_cast<int>(wanted));
        return false;
    }
    count = static_cast<size_t>(wanted);
    bool complete = true;
    for (int32_t i = 0; i < wanted; ++i)
    {
        const CDataTree* def = FindNumberedBlock(node, "def", i, true, problems);
        if (def)
            refs[static_cast<size_t>(i)].Load(*def, true);
        complete = complete && def;
    }
    return complete;
}
