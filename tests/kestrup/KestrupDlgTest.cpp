#include "kestrup/KestrupDlg.h"
#include "presentation/SpriteTypes.h"
#include "tests/kestrup/KestrupFixtures.h"
#include "tests/support/TempDir.h"
#include "utility/source/QelMemoryTracker.h"
#include "utility/source/QelPackArchive.h"
#include "utility/source/QelSpriteFormat.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <atomic>
#include <condition_variable>
#include <csignal>
#include <filesystem>
#include <map>
#include <thread>

namespace
{
// data/ { readme.txt, Ship.JP2, gfx/ { ship.spr, alpha.jp2 }, empty/ }
SPakSourceFolder SmallTree()
{
    SPakSourceFolder gfx{"gfx",
                         {},
                         {{"ship.spr", SpriteBytes(MakeSpriteData(2, spritefile::kStorageJpeg2000))},
                          {"alpha.jp2", EncodeImage(MakePixels(9, 5, 2), 9, 5, true)}}};
    SPakSourceFolder empty{"empty", {}, {}};
    return SPakSourceFolder{"data",
                            {gfx, empty},
                            {{"readme.txt", "plain text"}, {"Ship.JP2", EncodeImage(MakePixels(7, 3, 1), 7, 3, false)}}};
}

// Entries of a pack file as the game finds them: name -> bytes.
std::map<std::string, std::string> ReadEntries(const std::string& path)
{
    std::map<std::string, std::string> entries;
    CPackArchive archive;
    if (!archive.MountMainPack(path.c_str()))
        return entries;
    archive.ForEachEntry([&](const SPackEntry& entry) {
        entries[entry.name] = std::string(reinterpret_cast<const char*>(entry.data), entry.size);
    });
    return entries;
}

// Lets files written by this process grow to at most bytes; writing more fails.
void LimitFileSize(rlim_t bytes)
{
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit;
    limit.rlim_cur = bytes;
    limit.rlim_max = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

bool Exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

class KestrupRun : public testing::Test
{
protected:
    void WritePack(const SPakSourceFolder& root) { ASSERT_TRUE(m_dir.WriteFile("TessavarSprites.pak", BuildPack(root))); }

    std::string Read(const std::string& name)
    {
        std::string bytes;
        EXPECT_TRUE(m_dir.ReadFile(name, bytes)) << name;
        return bytes;
    }

    // No temporary output is ever left behind.
    void ExpectNoLeftovers()
    {
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.GetPath()))
            EXPECT_EQ(entry.path().filename().string().find(".part"), std::string::npos) << entry.path();
    }

    CTempDir m_dir;
    CRecordingView m_view;
};
} // namespace

TEST_F(KestrupRun, UnpacksEveryFileAndThenRemovesThePackAndTheOldPatch)
{
    WritePack(SmallTree());
    ASSERT_TRUE(m_dir.WriteFile("Tessavar.002", "old patch"));
    ASSERT_TRUE(m_dir.WriteFile("Tessavar.001", "old output in another letter case"));
    const size_t tracked = GetMemoryTracker().GetLiveCount();
    ASSERT_EQ(RunKestrup(m_dir.GetPath(), m_view), 0) << m_view.GetLog();
    EXPECT_EQ(GetMemoryTracker().GetLiveCount(), tracked); // every tracked block was given back

    EXPECT_EQ(m_view.GetLog(), "Initializing...\r\r\n"
                               "Opening compressed pak file...\r\r\n"
                               "Found 4 files in pak file...\r\r\n"
                               "Extracting file - 1/4 - ok!\r\r\n"
                               "Extracting file - 2/4 - ok!\r\r\n"
                               "Extracting file - 3/4 - ok!\r\r\n"
                               "Extracting file - 4/4 - ok!\r\r\n"
                               "Removing old patch files...\r\r\n"
                               "\r\r\nFile decompression completed successfully.\r\r\n");
    EXPECT_FALSE(Exists(m_dir.Join("TessavarSprites.pak")));
    EXPECT_FALSE(Exists(m_dir.Join("Tessavar.002")));
    EXPECT_FALSE(Exists(m_dir.Join("tessavar.001"))); // the existing spelling was replaced, not doubled
    ExpectNoLeftovers();

    // Files first, then each subfolder; images under ".tga".
    std::string output = Read("Tessavar.001");
    std::map<std::string, std::string> entries = ReadEntries(m_dir.Join("Tessavar.001"));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries["data/readme.txt"], "plain text");
    EXPECT_EQ(output.substr(30, 15), "data/readme.txt");
    EXPECT_EQ(entries["data/Ship.tga"].size(), 18u + 7 * 3 * 3);
    EXPECT_EQ(entries["data/gfx/alpha.tga"].size(), 18u + 9 * 5 * 4);
    SSpriteFileData sprite;
    const std::string& spr = entries["data/gfx/ship.spr"];
    ASSERT_TRUE(ParseSpriteFile(reinterpret_cast<const uint8_t*>(spr.data()), spr.size(), sprite));
    EXPECT_EQ(sprite.pages[0].storage, spritefile::kStorageRaw);
    // Entries follow one another: header, name, data.
    EXPECT_EQ(output.find("data/gfx/ship.spr"), (30u + 15 + 10) + (30 + 13 + 18 + 63) + 30);

    // Progress: the bar ends at the count, the pictures climb to 9.
    auto positions = m_view.GetMessages(SKestrupMessage::PROGRESS_POSITION);
    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(positions.back().m_value, 4u);
    std::vector<uint32_t> pictures;
    for (const SKestrupMessage& message : m_view.GetMessages(SKestrupMessage::PICTURE))
        pictures.push_back(message.m_value);
    EXPECT_EQ(pictures, (std::vector<uint32_t>{2, 5, 7, 9}));
}

TEST_F(KestrupRun, AnOldPatchThatCannotBeRemovedFailsTheRunAndKeepsThePack)
{
    // A folder cannot be removed like a file: it stands for an old patch that stays.
    WritePack(SmallTree());
    ASSERT_TRUE(m_dir.WriteFile("Tessavar.002/locked", "x"));
    EXPECT_NE(RunKestrup(m_dir.GetPath(), m_view), 0);
    EXPECT_NE(m_view.GetLog().find("could not be removed"), std::string::npos) << m_view.GetLog();
    EXPECT_EQ(m_view.GetLog().find("completed successfully"), std::string::npos);
    EXPECT_TRUE(Exists(m_dir.Join("TessavarSprites.pak")));
    EXPECT_EQ(ReadEntries(m_dir.Join("Tessavar.001")).size(), 4u); // the new output stays in place
    ExpectNoLeftovers();
}

TEST_F(KestrupRun, EntryHeadersCarryOnlyTheFieldsTheGameReads)
{
    WritePack(SPakSourceFolder{"data", {}, {{"a.txt", "hi"}, {"b.bin", ""}}});
    ASSERT_EQ(RunKestrup(m_dir.GetPath(), m_view), 0);
    // "QUAR", then zeros but for the size at offset 18 and the name length at 26.
    auto header = [](uint8_t size, uint8_t nameLength) {
        std::string bytes(30, '\0');
        bytes.replace(0, 4, "QUAR");
        bytes[18] = char(size);
        bytes[26] = char(nameLength);
        return bytes;
    };
    EXPECT_EQ(Read("tessavar.001"), header(2, 10) + "data/a.txt" + "hi" + header(0, 10) + "data/b.bin");
}

TEST_F(KestrupRun, AnEmptyPackGivesAnEmptyOutput)
{
    WritePack(SPakSourceFolder{"data", {SPakSourceFolder{"empty", {}, {}}}, {}});
    ASSERT_EQ(RunKestrup(m_dir.GetPath(), m_view), 0) << m_view.GetLog();
    EXPECT_NE(m_view.GetLog().find("Found 0 files in pak file..."), std::string::npos);
    EXPECT_EQ(Read("tessavar.001"), "");
    EXPECT_FALSE(Exists(m_dir.Join("TessavarSprites.pak")));
}

TEST_F(KestrupRun, AMissingOrMalformedPackEndsWithTheFatalMessage)
{
    ASSERT_TRUE(m_dir.WriteFile("Tessavar.002", "old patch"));
    for (bool present : {false, true})
    {
        CRecordingView view;
        if (present)
        {
            ASSERT_TRUE(m_dir.WriteFile("TessavarSprites.pak", BuildPack(SmallTree()).substr(0, 200)));
        }
        EXPECT_EQ(RunKestrup(m_dir.GetPath(), view), 1);
        EXPECT_NE(view.GetLog().find("Failed to open compressed data pak file!\r\r\n"), std::string::npos);
        auto boxes = view.GetMessages(SKestrupMessage::FATAL_BOX);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].m_caption, "Fatal Error");
        EXPECT_EQ(boxes[0].m_text, "Failed to open compressed data pak file! Installation Failed");
        // The reason the reader found is logged too.
        EXPECT_NE(view.GetLog().find("Error:   "), std::string::npos);
    }
    EXPECT_EQ(Read("Tessavar.002"), "old patch");
    EXPECT_TRUE(Exists(m_dir.Join("TessavarSprites.pak")));
    EXPECT_FALSE(Exists(m_dir.Join("tessavar.001")));
}

TEST_F(KestrupRun, AFailureHalfWayLeavesEverythingAsItWas)
{
    // The third file is a broken image: the run stops there.
    SPakSourceFolder root = SmallTree();
    root.m_subfolders[0].m_files.push_back({"broken.jp2", "definitely not JPEG-2000"});
    root.m_subfolders[0].m_files.push_back({"after.txt", "never reached"});
    std::swap(root.m_subfolders[0].m_files[0], root.m_subfolders[0].m_files[2]);
    WritePack(root);
    const std::string pack = Read("TessavarSprites.pak");
    ASSERT_TRUE(m_dir.WriteFile("tessavar.001", "previous output"));
    ASSERT_TRUE(m_dir.WriteFile("Tessavar.002", "old patch"));

    EXPECT_EQ(RunKestrup(m_dir.GetPath(), m_view, 4), 1);
    const std::string log = m_view.GetLog();
    EXPECT_NE(log.find("Extracting file - 3/6 - failed! (broken.jp2: "), std::string::npos) << log;
    EXPECT_EQ(log.find("Extracting file - 4/6"), std::string::npos);
    EXPECT_NE(log.find("\r\r\nFile decompression failed - check installer is valid and there is enough free disk "
                       "space.\r\r\n"),
              std::string::npos);
    EXPECT_EQ(Read("TessavarSprites.pak"), pack);
    EXPECT_EQ(Read("tessavar.001"), "previous output");
    EXPECT_EQ(Read("Tessavar.002"), "old patch");
    ExpectNoLeftovers();
}

TEST_F(KestrupRun, AFileThatCannotBeFinishedFailsTheRun)
{
    WritePack(SmallTree());
    // The finished output cannot take the place the run writes it to.
    ASSERT_TRUE(m_dir.WriteFile("tessavar.001.part/blocker", "x"));
    EXPECT_EQ(RunKestrup(m_dir.GetPath(), m_view), 1);
    EXPECT_NE(m_view.GetLog().find("File decompression failed"), std::string::npos);
    EXPECT_TRUE(Exists(m_dir.Join("TessavarSprites.pak")));
    EXPECT_FALSE(Exists(m_dir.Join("tessavar.001")));
}

TEST_F(KestrupRun, ADiskThatFillsUpHalfWayKeepsThePack)
{
    SPakSourceFolder root{"data", {}, {}};
    for (int i = 0; i < 20; ++i)
        root.m_files.push_back({"file" + std::to_string(i) + ".bin", std::string(4096, char('a' + i))});
    WritePack(root);
    ASSERT_TRUE(m_dir.WriteFile("tessavar.001", "previous output"));
    const std::string folder = m_dir.GetPath();
    // In a child process the files it writes may not grow beyond 20000 bytes.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            LimitFileSize(20000);
            CRecordingView view;
            std::exit(RunKestrup(folder, view) == 1 ? 7 : 8);
        },
        testing::ExitedWithCode(7), "");
    EXPECT_EQ(Read("tessavar.001"), "previous output");
    EXPECT_TRUE(Exists(m_dir.Join("TessavarSprites.pak")));
    ExpectNoLeftovers();
}

namespace
{
// Holds the worker inside its second file until the user has pressed Cancel.
class CHoldingView : public CRecordingView
{
public:
    void Hold(CKestrupDlg& dialog)
    {
        dialog.SetWorkerObserver([this](const SKestrupMessage& message) {
            if (message.m_text != "Extracting file - 2/4 - ")
                return;
            std::unique_lock<std::mutex> hold(m_holdLock);
            m_workerHeld = true;
            m_changed.notify_all();
            m_changed.wait(hold, [&] { return m_release; });
        });
    }

    void WaitUntilHeld()
    {
        std::unique_lock<std::mutex> hold(m_holdLock);
        m_changed.wait(hold, [&] { return m_workerHeld; });
    }

    void ShowCancelRefused() override
    {
        CRecordingView::ShowCancelRefused();
        std::lock_guard<std::mutex> hold(m_holdLock);
        m_release = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_holdLock;
    std::condition_variable m_changed;
    bool m_workerHeld = false;
    bool m_release = false;
};
} // namespace

TEST_F(KestrupRun, CancelAndOkAreRefusedWhileTheWorkerRuns)
{
    WritePack(SmallTree());
    SKestrupOptions options;
    options.m_folder = m_dir.GetPath();
    CHoldingView view;
    CKestrupDlg dialog(view, options);
    view.Hold(dialog);
    ASSERT_TRUE(dialog.OnInitDialog());
    view.WaitUntilHeld();
    // Neither button waits for the worker, and neither closes the dialog.
    EXPECT_FALSE(dialog.OnCancel());
    EXPECT_FALSE(dialog.OnOK());
    EXPECT_FALSE(dialog.IsFinished());

    // Cancel from the running dialog is refused with a notice; the work goes on to the end.
    std::atomic<bool> cancel{true};
    EXPECT_EQ(dialog.RunModal(&cancel), 0);
    EXPECT_EQ(view.m_cancelRefused, 1);
    EXPECT_NE(view.GetLog().find("File decompression completed successfully."), std::string::npos);
    EXPECT_FALSE(Exists(m_dir.Join("TessavarSprites.pak")));
    EXPECT_TRUE(dialog.OnCancel()); // once finished, the dialog may close
}

TEST_F(KestrupRun, ParallelConversionWritesTheSameFileAsOneThread)
{
    SPakSourceFolder root{"data", {}, {}};
    for (int i = 0; i < 24; ++i)
    {
        uint32_t side = 8 + uint32_t(i) * 5;
        root.m_files.push_back({"img" + std::to_string(i) + ".jp2",
                                EncodeImage(MakePixels(side, side + 3, uint8_t(i)), side, side + 3, i % 2 == 0)});
        if (i % 6 == 0)
            root.m_files.push_back({"spr" + std::to_string(i) + ".spr",
                                    SpriteBytes(MakeSpriteData(i % 5, spritefile::kStorageJpeg2000))});
    }
    const std::string pack = BuildPack(root);
    std::string outputs[2];
    const int threads[2] = {1, 6};
    for (int run = 0; run < 2; ++run)
    {
        ASSERT_TRUE(m_dir.WriteFile("TessavarSprites.pak", pack));
        CRecordingView view;
        ASSERT_EQ(RunKestrup(m_dir.GetPath(), view, threads[run]), 0) << view.GetLog();
        outputs[run] = Read("tessavar.001");
    }
    EXPECT_FALSE(outputs[0].empty());
    EXPECT_TRUE(outputs[0] == outputs[1]);
}

TEST_F(KestrupRun, TheGameLoadsTheConvertedSpritesAsItLoadsTheOriginals)
{
    std::map<std::string, std::string> sources;
    SPakSourceFolder root{"data", {}, {}};
    for (int32_t format = 0; format < spritefile::kFormatCount; ++format)
    {
        std::string name = "format" + std::to_string(format) + ".spr";
        sources[name] = SpriteBytes(MakeSpriteData(format, spritefile::kStorageJpeg2000));
        root.m_files.push_back({name, sources[name]});
    }
    WritePack(root);
    ASSERT_EQ(RunKestrup(m_dir.GetPath(), m_view), 0) << m_view.GetLog();

    CPackArchive archive;
    ASSERT_TRUE(archive.MountMainPack(m_dir.Join("tessavar.001").c_str()));
    for (const auto& [name, bytes] : sources)
    {
        SCOPED_TRACE(name);
        // Looked up as game code names it: backslashes, any case.
        const SPackEntry* entry = archive.FindPackEntry(("DATA\\" + name).c_str());
        ASSERT_NE(entry, nullptr);
        SSpriteFile converted;
        SSpriteFile original;
        std::string error;
        ASSERT_TRUE(converted.Read(entry->data, entry->size, error)) << error;
        ASSERT_TRUE(original.Read(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), error)) << error;
        ASSERT_EQ(converted.m_pages.size(), original.m_pages.size());
        for (size_t p = 0; p < original.m_pages.size(); ++p)
            EXPECT_EQ(converted.m_pages[p].m_pixels, original.m_pages[p].m_pixels);
        ASSERT_EQ(converted.m_frames.size(), original.m_frames.size());
        for (size_t f = 0; f < original.m_frames.size(); ++f)
        {
            EXPECT_EQ(converted.m_frames[f].m_rightU, original.m_frames[f].m_rightU);
            EXPECT_EQ(converted.m_frames[f].m_bottomV, original.m_frames[f].m_bottomV);
        }
    }
}

TEST_F(KestrupRun, AnOutputThatCannotBeCreatedEndsWithTheFatalMessage)
{
    WritePack(SmallTree());
    SKestrupOptions options;
    options.m_folder = m_dir.GetPath();
    options.m_outputName = "missing/folders/tessavar.001";
    CKestrupDlg dialog(m_view, options);
    ASSERT_TRUE(dialog.OnInitDialog());
    EXPECT_EQ(dialog.RunModal(nullptr), 1);
    EXPECT_NE(m_view.GetLog().find("Failed to create the output data file!\r\r\n"), std::string::npos);
    auto boxes = m_view.GetMessages(SKestrupMessage::FATAL_BOX);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].m_text, "Failed to create the output data file.\nPlease ensure you have at least 120MB free "
                               "disk space\nand try installing Tessavar again");
    EXPECT_TRUE(Exists(m_dir.Join("TessavarSprites.pak")));
    EXPECT_FALSE(m_view.GetMessages(SKestrupMessage::ENABLE_OK).empty());
}
