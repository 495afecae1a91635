#include "tests/presentation/AnimationFixture.h"

#include "core/DataFile.h"

std::unique_ptr<CDataTree> ParseFirstBlock(const std::string& text)
{
    CDataNodeList nodes;
    ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes);
    if (nodes.empty())
        return nullptr;
    return std::unique_ptr<CDataTree>(static_cast<CDataTree*>(nodes.front().release()));
}

void CAnimationFixture::SetUp()
{
    CSpriteFixture::SetUp();
    m_savedBank = g_spriteBank;
    g_spriteBank = m_bank.get();
    InstallAnimationClock(&m_clock);
}

void CAnimationFixture::TearDown()
{
    InstallAnimationClock(nullptr);
    g_spriteBank = m_savedBank;
    CSpriteFixture::TearDown();
}

std::string CAnimationFixture::WriteFrames(const std::string& name, uint32_t frames)
{
    SSpriteSpec spec;
    spec.frames = frames;
    return WriteSprite(name, spec);
}
