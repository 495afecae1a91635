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
    InstallRiderObjects(&m_objects);
}

void CAnimationFixture::TearDown()
{
    InstallRiderObjects(nullptr);
    InstallAnimationClock(nullptr);
    g_spriteBank = m_savedBank;
    // The bank goes with the fixture's members, after the tests' sprites and references
    // (members of the derived fixtures), which give their instances and files back to it.
}

std::string CAnimationFixture::WriteFrames(const std::string& name, uint32_t frames)
{
    SSpriteSpec spec;
    spec.frames = frames;
    return WriteSprite(name, spec);
}

bool CFakeRiderObjects::GetObjectPosition(int32_t handle, CVector2D& position) const
{
    auto found = m_objects.find(handle);
    if (found == m_objects.end())
        return false;
    position = found->second.position;
    return true;
}

void CFakeRiderObjects::SetObjectPosition(int32_t handle, const CVector2D& position)
{
    auto found = m_objects.find(handle);
    if (found != m_objects.end())
        found->second.position = position;
}

void CFakeRiderObjects::SetObjectDrawPlane(int32_t handle, int plane)
{
    auto found = m_objects.find(handle);
    if (found != m_objects.end())
        found->second.plane = plane;
}

void CFakeRiderObjects::SetObjectVisible(int32_t handle, bool visible)
{
    auto found = m_objects.find(handle);
    if (found != m_objects.end())
        found->second.visible = visible;
}
