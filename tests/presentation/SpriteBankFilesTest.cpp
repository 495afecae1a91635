#include "tests/presentation/SpriteFixture.h"
#include "tests/support/core/ScopedConsole.h"

#include "core/Console.h"

#include <cstdio>
#include <cstring>

namespace
{
class SpriteBankFiles : public CSpriteFixture
{
};

struct SLoadCase
{
    int32_t format;
    uint32_t storage;
    bool hiQuality;
    int kind;
};

class SpriteBankLoad : public CSpriteFixture, public ::testing::WithParamInterface<SLoadCase>
{
};

// Each format and storage makes one texture per page of the kind its format asks for,
// from the pixels of the page (opaque formats with alpha 255).
TEST_P(SpriteBankLoad, MakesOneTextureOfTheFormatsKindPerPage)
{
    const SLoadCase& c = GetParam();
    m_renderer->SetHiQualityTextures(c.hiQuality);
    SSpriteSpec spec;
    spec.format = c.format;
    spec.storage = c.storage;
    spec.frames = 5;
    spec.pageSide = 16; // four 8 x 8 frames a page: two pages
    SSpriteFileData expected = MakeSpriteData(spec);
    int index = Load(WriteSprite("a.spr", spec), true);
    ASSERT_GE(index, 0);
    EXPECT_EQ(m_bank->GetFrameCount(index), 5);
    ASSERT_EQ(m_renderer->m_uploads.size(), 2u);
    const SSpriteFile* file = m_bank->GetFile(index);
    ASSERT_NE(file, nullptr);
    for (size_t p = 0; p < 2; ++p)
    {
        const SRecordedUpload& upload = m_renderer->m_uploads[p];
        EXPECT_EQ(upload.kind, c.kind);
        EXPECT_TRUE(upload.filter);
        EXPECT_FALSE(upload.noCompression);
        EXPECT_EQ(upload.wrapS, 0);
        EXPECT_EQ(upload.wrapT, 0);
        EXPECT_EQ(upload.sourceCode, 0);
        EXPECT_EQ(upload.width, int(expected.pages[p].width));
        EXPECT_EQ(upload.height, int(expected.pages[p].height));
        EXPECT_TRUE(upload.pixels == expected.pages[p].pixels) << "page " << p;
        EXPECT_EQ(file->m_textureIds[p], upload.index);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryFormatAndStorage, SpriteBankLoad,
    ::testing::Values(SLoadCase{0, 0, true, TEXTURE_OPAQUE}, SLoadCase{1, 0, true, TEXTURE_OPAQUE},
                      SLoadCase{2, 0, true, TEXTURE_ALPHA}, SLoadCase{3, 0, true, TEXTURE_ONE_BIT_ALPHA},
                      SLoadCase{4, 0, true, TEXTURE_ALPHA}, SLoadCase{4, 0, false, TEXTURE_ONE_BIT_ALPHA},
                      SLoadCase{0, 1, true, TEXTURE_OPAQUE}, SLoadCase{1, 1, true, TEXTURE_OPAQUE},
                      SLoadCase{2, 1, true, TEXTURE_ALPHA}, SLoadCase{3, 1, true, TEXTURE_ONE_BIT_ALPHA},
                      SLoadCase{4, 1, false, TEXTURE_ONE_BIT_ALPHA}));

TEST_F(SpriteBankFiles, SameNameInAnyCaseSharesOneSlot)
{
    SSpriteSpec spec;
    std::string path = WriteSprite("Ship.spr", spec);
    std::string other = path;
    other.replace(other.size() - 8, 8, "sHIP.SPR");
    int first = Load(path);
    int second = Load(other);
    EXPECT_EQ(first, second);
    EXPECT_EQ(m_bank->GetFile(first)->m_refCount, 2u);
    EXPECT_EQ(m_renderer->m_uploads.size(), 1u);
    m_bank->ReleaseFile(first);
    EXPECT_EQ(m_bank->GetFrameCount(first), 1);
    m_bank->ReleaseFile(first);
    EXPECT_EQ(m_bank->GetFrameCount(first), -1);
    EXPECT_EQ(m_renderer->CountLiveTextures(), 0);
    // A release of a free or impossible slot changes nothing.
    m_bank->ReleaseFile(first);
    m_bank->ReleaseFile(-1);
    m_bank->ReleaseFile(400);
    EXPECT_EQ(Load(path), first);
}

TEST_F(SpriteBankFiles, FrameRectanglesComeFromFrameAndPageSize)
{
    SSpriteFileData data = MakeSpriteData(SSpriteSpec());
    data.frameWidth = data.frameHeight = 64;
    data.pages[0].width = 256;
    data.pages[0].height = 128;
    data.pages[0].pixels.assign(256 * 128 * 4, 7);
    data.frames[0].leftU = 0.5f;
    data.frames[0].topV = 0.25f;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(WriteSpriteFile(data, bytes));
    int index = Load(WriteBytes("rect.spr", bytes));
    const SSpriteFrame& frame = m_bank->GetFile(index)->m_frames[0];
    EXPECT_FLOAT_EQ(frame.m_leftU, 0.5f);
    EXPECT_FLOAT_EQ(frame.m_rightU, 0.75f);
    EXPECT_FLOAT_EQ(frame.m_topV, 0.25f);
    EXPECT_FLOAT_EQ(frame.m_bottomV, 0.75f);
    uint32_t width = 0, height = 0;
    m_bank->GetFrameSize(index, width, height);
    EXPECT_EQ(width, 64u);
    EXPECT_EQ(height, 64u);
}

TEST_F(SpriteBankFiles, FrameQueriesRefuseBadSlots)
{
    for (int index : {-1, 1, 399, 400, 100000})
    {
        EXPECT_EQ(m_bank->GetFrameCount(index), -1) << index;
        uint32_t width = 11, height = 12;
        m_bank->GetFrameSize(index, width, height);
        EXPECT_EQ(width, 11u);
        EXPECT_EQ(height, 12u);
    }
}

TEST_F(SpriteBankFiles, BadFilesLeaveNoSlotBehindAndSayWhy)
{
    CScopedConsole console;
    SSpriteSpec spec;
    spec.frames = 3;
    std::vector<uint8_t> good;
    ASSERT_TRUE(WriteSpriteFile(MakeSpriteData(spec), good));
    std::vector<uint8_t> truncated(good.begin(), good.end() - 5);
    std::vector<uint8_t> badVersion = good;
    badVersion[3] = 4;
    std::vector<uint8_t> badMagic = good;
    badMagic[0] = 'X';

    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"truncated.spr", truncated}, {"version.spr", badVersion}, {"magic.spr", badMagic}, {"empty.spr", {}}};
    for (const auto& c : cases)
    {
        int index = -1;
        std::string path = WriteBytes(c.first, c.second);
        EXPECT_FALSE(m_bank->LoadFile(path.c_str(), false, index)) << c.first;
        EXPECT_EQ(m_bank->GetFrameCount(0), -1) << c.first;
        ASSERT_GT(console->GetLineCount(), 0);
        EXPECT_NE(std::strstr(console->GetLine(console->GetLineCount() - 1), c.first), nullptr);
    }
    int index = -1;
    EXPECT_FALSE(m_bank->LoadFile(m_dir.Join("missing.spr").c_str(), false, index));
    EXPECT_EQ(m_renderer->CountLiveTextures(), 0);
    // The slot left free is the one the next good file takes.
    EXPECT_EQ(Load(WriteBytes("good.spr", good)), 0);
}

TEST_F(SpriteBankFiles, RefusedTextureFreesTheFileAndItsOtherPages)
{
    SSpriteSpec spec;
    spec.frames = 5;
    spec.pageSide = 16;
    std::string path = WriteSprite("two.spr", spec);
    m_renderer->m_failUploadAt = 1;
    int index = -1;
    EXPECT_FALSE(m_bank->LoadFile(path.c_str(), false, index));
    EXPECT_EQ(m_renderer->CountLiveTextures(), 0);
    EXPECT_EQ(m_bank->GetFrameCount(0), -1);
    EXPECT_EQ(Load(path), 0);
}

TEST_F(SpriteBankFiles, TableHoldsFourHundredFiles)
{
    SSpriteSpec spec;
    spec.frameWidth = spec.frameHeight = 1;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(WriteSpriteFile(MakeSpriteData(spec), bytes));
    for (int i = 0; i < SPRITE_FILE_SLOTS; ++i)
        ASSERT_EQ(Load(WriteBytes("f" + std::to_string(i) + ".spr", bytes)), i);
    int index = -1;
    std::string extra = WriteBytes("extra.spr", bytes);
    EXPECT_FALSE(m_bank->LoadFile(extra.c_str(), false, index));
    // An already loaded name still costs no slot.
    EXPECT_TRUE(m_bank->LoadFile(m_dir.Join("f7.spr").c_str(), false, index));
    EXPECT_EQ(index, 7);
    m_bank->ReleaseFile(7);
    m_bank->ReleaseFile(7);
    EXPECT_TRUE(m_bank->LoadFile(extra.c_str(), false, index));
    EXPECT_EQ(index, 7);
}

TEST_F(SpriteBankFiles, ReleaseWhileInstancesLiveKeepsTheFile)
{
    int index = Load(WriteSprite("a.spr", SSpriteSpec()));
    SSpriteInstance* instance = Show(3, index, 10, 10);
    m_bank->ReleaseFile(index);
    EXPECT_EQ(m_bank->GetFrameCount(index), 1);
    m_bank->DestroyInstance(instance);
    m_bank->ReleaseFile(index);
    EXPECT_EQ(m_bank->GetFrameCount(index), -1);
}

// After a display reset every page is uploaded again from memory, with the same
// pixels, and drawing uses the new texture indices; the files are not read again.
TEST_F(SpriteBankFiles, DisplayResetRemakesTexturesFromMemory)
{
    SSpriteSpec spec;
    spec.frames = 5;
    spec.pageSide = 16;
    std::string path = WriteSprite("a.spr", spec);
    int index = Load(path);
    SSpriteSpec jpeg;
    jpeg.storage = spritefile::kStorageJpeg2000;
    std::string jpegPath = WriteSprite("b.spr", jpeg);
    int other = Load(jpegPath);
    std::vector<SRecordedUpload> before = m_renderer->m_uploads;
    ASSERT_EQ(std::remove(path.c_str()), 0);
    ASSERT_EQ(std::remove(jpegPath.c_str()), 0);
    SSpriteInstance* instance = Show(5, index, 100, 100, 4); // on the second page

    m_renderer->GetPendingSettings().width = 800;
    m_renderer->ClearRecords();
    ASSERT_TRUE(m_renderer->ResetDisplay());
    ASSERT_EQ(m_renderer->m_uploads.size(), 3u);
    EXPECT_TRUE(m_renderer->m_uploads[0].pixels == before[0].pixels);
    EXPECT_TRUE(m_renderer->m_uploads[1].pixels == before[1].pixels);
    EXPECT_TRUE(m_renderer->m_uploads[2].pixels == before[2].pixels);
    const std::vector<int>& newIds = m_bank->GetFile(index)->m_textureIds;
    EXPECT_EQ(newIds[0], m_renderer->m_uploads[0].index);
    EXPECT_EQ(newIds[1], m_renderer->m_uploads[1].index);
    EXPECT_EQ(m_renderer->CountLiveTextures(), 3);
    EXPECT_EQ(m_bank->GetFrameCount(other), 1);
    EXPECT_FLOAT_EQ(g_virtualScaleX, 800.0f / 640.0f);
    EXPECT_FLOAT_EQ(g_virtualScaleY, 600.0f / 480.0f);

    m_renderer->ClearRecords();
    m_bank->Render();
    ASSERT_EQ(m_renderer->m_draws.size(), 1u);
    EXPECT_EQ(m_renderer->m_draws[0].texture, newIds[1]);
    m_bank->DestroyInstance(instance);
}

// Two banks on one renderer: whichever shuts down first, the other keeps its restore,
// and a display reset uploads its pages again (and none of the bank that went).
TEST_F(SpriteBankFiles, DisplayResetRestoresTheBankThatStaysWhicheverGoes)
{
    SSpriteSpec spec;
    spec.frames = 5;
    spec.pageSide = 16; // two pages
    const std::string firstPath = WriteSprite("first.spr", spec);
    spec.frames = 1;
    const std::string secondPath = WriteSprite("second.spr", spec);
    m_bank->Shutdown(); // the two banks below are the renderer's only ones
    for (bool firstGoes : {false, true})
    {
        SCOPED_TRACE(firstGoes ? "the first bank goes" : "the second bank goes");
        auto first = std::make_unique<CSpriteBank>();
        auto second = std::make_unique<CSpriteBank>();
        ASSERT_TRUE(first->Init(m_renderer.get()));
        ASSERT_TRUE(second->Init(m_renderer.get()));
        int firstFile = -1, secondFile = -1;
        ASSERT_TRUE(first->LoadFile(firstPath.c_str(), false, firstFile));
        ASSERT_TRUE(second->LoadFile(secondPath.c_str(), false, secondFile));
        (firstGoes ? first : second)->Shutdown();
        CSpriteBank& stays = firstGoes ? *second : *first;
        const int staysFile = firstGoes ? secondFile : firstFile;
        const size_t staysPages = firstGoes ? 1u : 2u;

        m_renderer->ClearRecords();
        ASSERT_TRUE(m_renderer->ResetDisplay());
        ASSERT_EQ(m_renderer->m_uploads.size(), staysPages);
        const std::vector<int>& ids = stays.GetFile(staysFile)->m_textureIds;
        ASSERT_EQ(ids.size(), staysPages);
        for (size_t page = 0; page < staysPages; ++page)
            EXPECT_EQ(ids[page], m_renderer->m_uploads[page].index);

        // Once both are gone a reset reaches neither.
        stays.Shutdown();
        m_renderer->ClearRecords();
        ASSERT_TRUE(m_renderer->ResetDisplay());
        EXPECT_TRUE(m_renderer->m_uploads.empty());
    }
}

TEST_F(SpriteBankFiles, FailedRestoreLeavesThatFileWithoutTextures)
{
    SSpriteSpec spec;
    int first = Load(WriteSprite("a.spr", spec));
    int second = Load(WriteSprite("b.spr", spec));
    m_renderer->m_failUploadAt = 2; // the first file's page on the restore
    EXPECT_FALSE(m_bank->RestoreTextures());
    EXPECT_EQ(m_bank->GetFile(first)->m_textureIds[0], NO_TEXTURE);
    EXPECT_NE(m_bank->GetFile(second)->m_textureIds[0], NO_TEXTURE);
    Show(1, first, 50, 50);
    m_renderer->ClearRecords();
    m_bank->Render();
    EXPECT_TRUE(m_renderer->m_draws.empty());
}

TEST(SpriteBankInit, RefusesWhatItCannotUse)
{
    CSpriteBank bank;
    EXPECT_FALSE(bank.Init(nullptr));
    CVertexRecordingRenderer renderer;
    renderer.m_failVertexBuffers = 1;
    EXPECT_FALSE(bank.Init(&renderer));
    EXPECT_EQ(renderer.m_liveBuffers, 0);
    int index = -1;
    EXPECT_FALSE(bank.LoadFile("x.spr", false, index));
    ASSERT_TRUE(bank.Init(&renderer));
    EXPECT_EQ(renderer.m_liveBuffers, 2);
    bank.Shutdown();
    EXPECT_EQ(renderer.m_liveBuffers, 0);
}

TEST_F(SpriteBankFiles, ConsoleCommandsCountAndShowSprites)
{
    CScopedConsole scope;
    CConsole& console = scope.Get();
    CSpriteBank* savedBank = g_spriteBank;
    g_spriteBank = m_bank.get();
    m_bank->Shutdown();
    ASSERT_TRUE(m_bank->Init(m_renderer.get()));
    console.RegisterFunction("/showsprite", &CSpriteBank::ShowSpriteCommand, nullptr);
    m_bank->SetCameraPosition(1000, 2000);

    std::string path = WriteSprite("test.spr", SSpriteSpec());
    console.ExecuteLine(("/showsprite " + path).c_str());
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 1);
    console.ExecuteLine("/shownumsprites");
    EXPECT_STREQ(console.GetLine(console.GetLineCount() - 1), "NumSpriteInstances = 1");

    m_renderer->ClearRecords();
    m_bank->Render();
    ASSERT_EQ(m_renderer->m_draws.size(), 1u);
    // Plane 14 at the centre of the 640 x 480 view: the 8 x 8 frame spans 316..324.
    EXPECT_FLOAT_EQ(m_renderer->m_draws[0].vertices[0].x, 316.0f);
    EXPECT_FLOAT_EQ(m_renderer->m_draws[0].vertices[0].y, 236.0f);
    EXPECT_FLOAT_EQ(m_renderer->m_draws[0].vertices[0].z, 7.0f);

    console.ExecuteLine("/showsprite");
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 0);
    EXPECT_EQ(m_bank->GetFrameCount(0), -1);
    console.ExecuteLine(("/showsprite " + m_dir.Join("none.spr")).c_str());
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 0);
    g_spriteBank = savedBank;
}
} // namespace
