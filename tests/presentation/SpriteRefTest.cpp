#include "presentation/SpriteRef.h"
#include "tests/presentation/AnimationFixture.h"

#include <memory>
#include <type_traits>

namespace
{
class SpriteRefTest : public CAnimationFixture
{
};
} // namespace

// A copy of a reference, or of a holder of instances, would give its file or instances
// back twice.
static_assert(!std::is_copy_constructible<CSpriteRef>::value && !std::is_copy_assignable<CSpriteRef>::value,
              "sprite references cannot be copied");

TEST_F(SpriteRefTest, DummyLoadsNothing)
{
    for (const char* name : {"dummy", "DUMMY"})
    {
        auto node = ParseFirstBlock(std::string("s\n{\n spriteFile ") + name + "\n numFrames 3\n}\n");
        CSpriteRef ref;
        EXPECT_FALSE(ref.Load(*node, true)) << name;
        EXPECT_FALSE(ref.HasFile());
        EXPECT_EQ(ref.GetFile(), -1);
        EXPECT_EQ(m_bank->GetFrameCount(0), -1) << "no slot was filled";
    }
    CSpriteRef none;
    EXPECT_FALSE(none.Load(*ParseFirstBlock("s\n{\n width 4\n}\n"), true)) << "no file named";
    EXPECT_FALSE(none.SetFile(m_dir.Join("missing.spr").c_str(), true));
    EXPECT_FALSE(none.HasFile());
}

// Given keys stand in for the file's frame size and count; missing ones come from the file.
TEST_F(SpriteRefTest, KeysOverrideTheFileFrameSizeAndCount)
{
    const std::string path = WriteFrames("twelve.spr", 12);
    const struct
    {
        const char* keys;
        uint16_t width, height, frames;
    } cases[] = {
        {"", 8, 8, 12},
        {" numFrames 4\n", 8, 8, 4},
        {" width 16\n height 4\n", 16, 4, 12},
        {" numFrames -3\n", 8, 8, 0},
    };
    for (const auto& c : cases)
    {
        auto node = ParseFirstBlock("s\n{\n spriteFile " + path + "\n" + c.keys + "}\n");
        CSpriteRef ref;
        ASSERT_TRUE(ref.Load(*node, true)) << c.keys;
        EXPECT_EQ(ref.GetFrameWidth(), c.width) << c.keys;
        EXPECT_EQ(ref.GetFrameHeight(), c.height) << c.keys;
        EXPECT_EQ(ref.GetFrameCount(), c.frames) << c.keys;
        EXPECT_TRUE(m_bank->GetFile(ref.GetFile())->m_textureOption);
    }
}

// Each reference holds one count on the file: releasing, reloading and destroying
// references gives exactly their counts back.
TEST_F(SpriteRefTest, ReferencesCountOnTheFile)
{
    const std::string path = WriteFrames("one.spr", 1);
    auto first = std::make_unique<CSpriteRef>();
    ASSERT_TRUE(first->SetFile(path.c_str(), false));
    const int slot = first->GetFile();
    {
        CSpriteRef second;
        ASSERT_TRUE(second.SetFile(path.c_str(), false));
        EXPECT_EQ(second.GetFile(), slot);
        EXPECT_EQ(m_bank->GetFile(slot)->m_refCount, 2u);
        // Loading again gives the old count back first.
        ASSERT_TRUE(second.SetFile(path.c_str(), false));
        EXPECT_EQ(m_bank->GetFile(slot)->m_refCount, 2u);
    }
    EXPECT_EQ(m_bank->GetFile(slot)->m_refCount, 1u) << "the destructor released";
    first->Release();
    EXPECT_FALSE(first->HasFile());
    EXPECT_EQ(m_bank->GetFrameCount(slot), -1) << "the slot is free";
    first->Release(); // an empty reference releases nothing
    first.reset();
    EXPECT_EQ(m_bank->GetFrameCount(slot), -1);
}
