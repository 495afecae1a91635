#include "tests/support/AssertCapture.h"
#include "tests/support/TempDir.h"
#include "utility/source/QelMemoryReader.h"
#include "utility/source/QelMemoryTracker.h"
#include "utility/source/QelPakFile.h"
#include "utility/source/QelPakFileWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>
#include <vector>

namespace
{
std::string U32(uint32_t value)
{
    uint8_t raw[4];
    WriteLittleU32(raw, value);
    return std::string(reinterpret_cast<const char*>(raw), 4);
}

std::string FolderHeader(const std::string& name, uint32_t subfolders, uint32_t files)
{
    std::string padded = name;
    padded.resize(64, '\0');
    return padded + U32(subfolders) + U32(files);
}

std::string FileRecord(const std::string& name, const std::string& data)
{
    return U32(static_cast<uint32_t>(data.size())) + U32(static_cast<uint32_t>(name.size() + 1)) + name +
           std::string(1, '\0') + data;
}

std::string PackHead()
{
    return "QLPK" + U32(0x00010000);
}

// data/ { a.txt, gfx/ { ship.jp2, deep/ { x.bin } }, empty/ }
SPakSourceFolder NestedTree()
{
    SPakSourceFolder deep{"deep", {}, {{"x.bin", std::string("\0\1\2", 3)}}};
    SPakSourceFolder gfx{"gfx", {deep}, {{"ship.jp2", "JP2DATA"}}};
    SPakSourceFolder empty{"empty", {}, {}};
    return SPakSourceFolder{"data", {gfx, empty}, {{"a.txt", "hi"}, {"zero.dat", ""}}};
}

void CollectPaths(const CQelPakFileFolder& folder, const std::string& parent, std::vector<std::string>& out)
{
    std::string path = parent.empty() ? folder.GetName() : parent + "/" + folder.GetName();
    for (uint32_t i = 0; i < folder.GetFileCount(); ++i)
    {
        const SQelPakFileFile& file = folder.GetFile(i);
        out.push_back(path + "/" + file.m_name + "=" +
                      std::string(reinterpret_cast<const char*>(file.m_data), file.m_dataSize));
    }
    for (uint32_t i = 0; i < folder.GetSubfolderCount(); ++i)
        CollectPaths(folder.GetSubfolder(i), path, out);
}

class PakFileTest : public testing::Test
{
protected:
    // Opens bytes written to a file; on refusal checks that nothing was kept.
    bool OpenBytes(const std::string& bytes)
    {
        m_pak.Close();
        size_t live = GetMemoryTracker().GetLiveCount();
        EXPECT_TRUE(m_dir.WriteFile("test.pak", bytes));
        bool ok = m_pak.Open(m_dir.Join("test.pak").c_str());
        if (!ok)
        {
            EXPECT_EQ(GetMemoryTracker().GetLiveCount(), live);
            EXPECT_FALSE(m_pak.GetLastError().empty());
            CAssertCapture capture; // an empty reader asserts and gives nothing
            const CQelPakFileFolder* root = nullptr;
            EXPECT_FALSE(m_pak.GetRootFolder(root));
        }
        return ok;
    }

    CTempDir m_dir;
    CQelPakFile m_pak;
};
} // namespace

TEST_F(PakFileTest, ReadsAHandWrittenPack)
{
    // The root "data" with one file "a.txt" holding "hi": 96 bytes.
    std::string bytes = PackHead() + FolderHeader("data", 0, 1) + FileRecord("a.txt", "hi");
    ASSERT_EQ(bytes.size(), 96u);
    ASSERT_TRUE(OpenBytes(bytes));
    const CQelPakFileFolder* root = nullptr;
    ASSERT_TRUE(m_pak.GetRootFolder(root));
    EXPECT_STREQ(root->GetName(), "data");
    ASSERT_EQ(root->GetFileCount(), 1u);
    const SQelPakFileFile& file = root->GetFile(0);
    EXPECT_STREQ(file.m_name, "a.txt");
    EXPECT_EQ(file.m_nameSize, 6u);
    EXPECT_EQ(file.m_dataSize, 2u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.m_data), 2), "hi");
}

TEST_F(PakFileTest, NestingEmptyFoldersAndFilesAfterTheirSubtree)
{
    std::string bytes;
    std::string error;
    ASSERT_TRUE(BuildPakFile(NestedTree(), bytes, error)) << error;
    bytes += "trailing bytes are not part of the tree";
    size_t live = GetMemoryTracker().GetLiveCount();
    ASSERT_TRUE(OpenBytes(bytes));
    const CQelPakFileFolder* root = nullptr;
    ASSERT_TRUE(m_pak.GetRootFolder(root));
    EXPECT_EQ(root->CountFiles(), 4u);

    std::vector<std::string> paths;
    CollectPaths(*root, "", paths);
    const std::vector<std::string> expected = {"data/a.txt=hi", "data/zero.dat=", "data/gfx/ship.jp2=JP2DATA",
                                               "data/gfx/deep/x.bin=" + std::string("\0\1\2", 3)};
    EXPECT_EQ(paths, expected);

    // A folder's own files are stored after its whole subtree.
    const CQelPakFileFolder& gfx = root->GetSubfolder(0);
    EXPECT_GT(root->GetFile(0).m_data, gfx.GetSubfolder(0).GetFile(0).m_data);
    // The empty folder holds no arrays; the tree itself is tracked.
    const CQelPakFileFolder& empty = root->GetSubfolder(1);
    EXPECT_EQ(empty.GetSubfolderCount(), 0u);
    EXPECT_EQ(empty.GetFileCount(), 0u);
    EXPECT_GT(GetMemoryTracker().GetLiveCount(), live);
    m_pak.Close();
    EXPECT_EQ(GetMemoryTracker().GetLiveCount(), live);
}

TEST_F(PakFileTest, EveryTruncationIsRefused)
{
    std::string bytes;
    std::string error;
    ASSERT_TRUE(BuildPakFile(NestedTree(), bytes, error)) << error;
    for (size_t length = 0; length < bytes.size(); ++length)
        EXPECT_FALSE(OpenBytes(bytes.substr(0, length))) << "cut at " << length;
    EXPECT_TRUE(OpenBytes(bytes));
}

TEST_F(PakFileTest, BadHeadsCountsAndNamesAreRefused)
{
    const std::string head = PackHead();
    const std::string good = FileRecord("a.txt", "hi");
    struct SCase
    {
        const char* m_what;
        std::string m_bytes;
    };
    const SCase cases[] = {
        {"wrong magic", "QLPX" + U32(0x00010000) + FolderHeader("data", 0, 1) + good},
        {"newer version", "QLPK" + U32(0x00010001) + FolderHeader("data", 0, 1) + good},
        {"huge subfolder count", head + FolderHeader("data", 0xFFFFFFFF, 0)},
        {"huge file count", head + FolderHeader("data", 0, 0xFFFFFFFF) + good},
        {"file count one too many", head + FolderHeader("data", 0, 2) + good},
        {"folder name fills 64 bytes", head + std::string(64, 'n') + U32(0) + U32(1) + good},
        {"empty folder name", head + FolderHeader("", 0, 1) + good},
        {"folder named ..", head + FolderHeader("..", 0, 1) + good},
        {"name size 0", head + FolderHeader("data", 0, 1) + U32(2) + U32(0) + "hi"},
        {"name without its NUL", head + FolderHeader("data", 0, 1) + U32(2) + U32(5) + "a.txt" + "hi"},
        {"NUL inside the name", head + FolderHeader("data", 0, 1) + U32(2) + U32(6) + std::string("a\0txt\0", 6) + "hi"},
        {"name with a separator", head + FolderHeader("data", 0, 1) + FileRecord("..\\a.txt", "hi")},
        {"file named .", head + FolderHeader("data", 0, 1) + FileRecord(".", "hi")},
        {"data size past the end", head + FolderHeader("data", 0, 1) + U32(1000) + U32(6) + std::string("a.txt\0hi", 8)},
        {"name size past the end", head + FolderHeader("data", 0, 1) + U32(0) + U32(0xFFFFFFFF) + "a.txt"},
        {"path too long", head + FolderHeader("data", 0, 1) + FileRecord(std::string(260, 'p'), "hi")},
    };
    for (const SCase& c : cases)
        EXPECT_FALSE(OpenBytes(c.m_bytes)) << c.m_what;
    // The same record with sound values opens, so each case fails for its own fault.
    EXPECT_TRUE(OpenBytes(head + FolderHeader("data", 0, 1) + good));
}

TEST_F(PakFileTest, NestingHasADepthLimit)
{
    auto chain = [](int depth) {
        std::string bytes = PackHead();
        for (int level = 0; level < depth; ++level)
            bytes += FolderHeader("d", 1, 0);
        return bytes + FolderHeader("d", 0, 0);
    };
    EXPECT_TRUE(OpenBytes(chain(CQelPakFileFolder::kMaxDepth)));
    EXPECT_FALSE(OpenBytes(chain(CQelPakFileFolder::kMaxDepth + 1)));
    EXPECT_FALSE(OpenBytes(chain(100000)));
}

TEST_F(PakFileTest, MissingPackIsRefused)
{
    EXPECT_FALSE(m_pak.Open(m_dir.Join("none.pak").c_str()));
    EXPECT_NE(m_pak.GetLastError().find("none.pak"), std::string::npos);
}

TEST(PakFileWriter, FolderOfTheDiskBecomesASortedTree)
{
    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("Data/b.txt", "B"));
    ASSERT_TRUE(dir.WriteFile("Data/a.txt", "A"));
    ASSERT_TRUE(dir.WriteFile("Data/sprites/ship.spr", "S"));
    SPakSourceFolder root;
    std::string error;
    ASSERT_TRUE(ReadPakSourceFolder(dir.Join("Data/"), root, error)) << error;
    EXPECT_EQ(root.m_name, "Data");
    ASSERT_EQ(root.m_files.size(), 2u);
    EXPECT_EQ(root.m_files[0].m_name, "a.txt");
    EXPECT_EQ(root.m_files[1].m_bytes, "B");
    ASSERT_EQ(root.m_subfolders.size(), 1u);
    EXPECT_EQ(root.m_subfolders[0].m_files[0].m_name, "ship.spr");

    std::string bytes;
    root.m_files.push_back({std::string(64, 'x'), ""});
    EXPECT_TRUE(BuildPakFile(root, bytes, error)); // long file names are fine
    root.m_name = std::string(64, 'x');
    EXPECT_FALSE(BuildPakFile(root, bytes, error)); // a folder name must fit 63 letters
}

TEST_F(PakFileTest, WriterAndReaderAgreeOnDepthAndPathLength)
{
    // A chain of folders below "data", with one file at its end.
    auto chain = [](int depth, const std::string& fileName) {
        SPakSourceFolder folder{"f", {}, {{fileName, "x"}}};
        for (int i = 1; i < depth; ++i)
            folder = SPakSourceFolder{"f", {folder}, {}};
        return SPakSourceFolder{"data", {folder}, {}};
    };
    const size_t longest = CQelPakFileFolder::kMaxPathLength - std::string("data/f/").size();
    struct SCase
    {
        const char* what;
        SPakSourceFolder tree;
        bool fits;
    };
    const SCase cases[] = {
        {"deepest", chain(CQelPakFileFolder::kMaxDepth, "a"), true},
        {"one level too deep", chain(CQelPakFileFolder::kMaxDepth + 1, "a"), false},
        {"longest path", chain(1, std::string(longest, 'n')), true},
        {"one letter too long", chain(1, std::string(longest + 1, 'n')), false},
    };
    for (const SCase& c : cases)
    {
        std::string bytes;
        std::string error;
        EXPECT_EQ(BuildPakFile(c.tree, bytes, error), c.fits) << c.what;
        if (c.fits)
            EXPECT_TRUE(OpenBytes(bytes)) << c.what << ": " << m_pak.GetLastError();
        else
            EXPECT_FALSE(error.empty()) << c.what;
    }
}

TEST(PakFileWriter, AFolderThatContainsItselfEnds)
{
    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("Data/a.txt", "A"));
    ASSERT_EQ(symlink("..", dir.Join("Data/loop").c_str()), 0);
    SPakSourceFolder root;
    std::string error;
    EXPECT_FALSE(ReadPakSourceFolder(dir.Join("Data"), root, error));
    EXPECT_FALSE(error.empty());
}
