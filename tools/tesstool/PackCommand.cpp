// tesstool pack: writes pack files and shows what the game finds in them.
//   pack create OUT FILE|DIR...   stored entries named by the paths as given
//   pack list PACK...             mounts the packs in order, lists each entry found
//   pack cat PACK... NAME         writes the entry the game would read to stdout

#include "tools/tesstool/ToolCommand.h"
#include "tools/tesstool/ToolFiles.h"
#include "utility/source/QelFile.h"
#include "utility/source/QelPackArchive.h"
#include "utility/source/QelPackWriter.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace
{
namespace fs = std::filesystem;

// Entry names use "/" and have no leading "./" or "/".
std::string EntryName(const std::string& path)
{
    std::string name = fs::path(path).lexically_normal().generic_string();
    while (!name.empty() && name.front() == '/')
        name.erase(0, 1);
    return name;
}

bool AddFile(CPackArchiveWriter& writer, const std::string& path, const std::string& name)
{
    CQelFile file;
    if (!file.Open(path.c_str(), "", FILE_OPEN_READ))
    {
        std::fprintf(stderr, "tesstool pack: cannot read %s\n", path.c_str());
        return false;
    }
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    bool isCopy = false;
    bool ok = file.ReadWholeFile(path.c_str(), data, size, isCopy) && writer.WriteEntry(name.c_str(), data, size);
    ReleaseWholeFile(data, isCopy);
    file.Close();
    if (!ok)
        std::fprintf(stderr, "tesstool pack: cannot add %s\n", path.c_str());
    return ok;
}

// A folder adds every file below it, in name order, named by its path.
bool AddPath(CPackArchiveWriter& writer, const std::string& path)
{
    std::error_code error;
    if (!fs::is_directory(path, error))
        return AddFile(writer, path, EntryName(path));
    std::vector<fs::path> files;
    for (fs::recursive_directory_iterator it(path, error), end; !error && it != end; it.increment(error))
        if (it->is_regular_file(error))
            files.push_back(it->path());
    if (error)
    {
        std::fprintf(stderr, "tesstool pack: cannot walk %s\n", path.c_str());
        return false;
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files)
        if (!AddFile(writer, file.string(), EntryName(file.string())))
            return false;
    return true;
}

int Create(const std::vector<std::string>& args)
{
    CPackArchiveWriter writer;
    if (!writer.Open(args[1].c_str()))
    {
        std::fprintf(stderr, "tesstool pack: cannot write %s\n", args[1].c_str());
        return 1;
    }
    for (size_t i = 2; i < args.size(); ++i)
    {
        if (!AddPath(writer, args[i]))
        {
            writer.Abandon();
            return 1;
        }
    }
    uint32_t count = writer.GetEntryCount();
    if (!writer.Close())
    {
        std::fprintf(stderr, "tesstool pack: writing %s failed\n", args[1].c_str());
        return 1;
    }
    std::fprintf(stderr, "%s: %u entries\n", args[1].c_str(), count);
    return 0;
}

// The first pack is the main pack, the others patch it in order.
bool MountAll(CPackArchive& archive, const std::vector<std::string>& packs)
{
    for (size_t i = 0; i < packs.size(); ++i)
    {
        bool mounted = i == 0 ? archive.MountMainPack(packs[i].c_str()) : archive.MountPatchPack(packs[i].c_str());
        if (!mounted)
        {
            std::string reason = DescribeUnreadable(packs[i]);
            std::fprintf(stderr, "tesstool pack: cannot mount %s: %s\n", packs[i].c_str(),
                         reason.empty() ? "it cannot be mapped" : reason.c_str());
            return false;
        }
    }
    return true;
}

// Says which packs are damaged (their entries before the damage are still listed).
bool ReportDamage(const CPackArchive& archive)
{
    bool whole = true;
    for (const SPackMountReport& report : archive.GetMountReports())
    {
        if (!report.damaged)
            continue;
        std::fprintf(stderr, "tesstool pack: %s\n", DescribePackDamage(report).c_str());
        whole = false;
    }
    return whole;
}

int List(const std::vector<std::string>& packs)
{
    CPackArchive archive;
    if (!MountAll(archive, packs))
        return 1;
    std::vector<const SPackEntry*> entries;
    archive.ForEachEntry([&](const SPackEntry& entry) { entries.push_back(&entry); });
    std::sort(entries.begin(), entries.end(),
              [](const SPackEntry* a, const SPackEntry* b) { return a->name < b->name; });
    for (const SPackEntry* entry : entries)
        std::printf("%10u  %s\n", entry->size, entry->name.c_str());
    std::fflush(stdout);
    return ReportDamage(archive) ? 0 : 1;
}

int Cat(const std::vector<std::string>& packs, const std::string& name)
{
    CPackArchive archive;
    if (!MountAll(archive, packs))
        return 1;
    // The file layer drops one leading separator before asking the archive.
    const char* query = name.c_str();
    if (*query == '/' || *query == '\\')
        ++query;
    CZipFileView view(&archive);
    if (!view.OpenEntry(query))
    {
        std::fprintf(stderr, "tesstool pack: no entry %s\n", name.c_str());
        return 1;
    }
    char block[65536];
    for (;;)
    {
        uint32_t count = sizeof(block);
        int result = view.Read(block, count);
        if (count && std::fwrite(block, 1, count, stdout) != count)
            return 1;
        if (result != CZipFileView::READ_FULL)
            break;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int RunPackCommand(const std::vector<std::string>& args)
{
    if (args.size() >= 3 && args[0] == "create")
        return Create(args);
    if (args.size() >= 2 && args[0] == "list")
        return List(std::vector<std::string>(args.begin() + 1, args.end()));
    if (args.size() >= 3 && args[0] == "cat")
        return Cat(std::vector<std::string>(args.begin() + 1, args.end() - 1), args.back());
    std::fprintf(stderr, "usage: tesstool pack create OUT FILE|DIR...\n"
                         "       tesstool pack list PACK...\n"
                         "       tesstool pack cat PACK... NAME\n");
    return 2;
}

CToolCommand s_pack("pack", "create OUT FILE|DIR... | list PACK... | cat PACK... NAME", &RunPackCommand);
} // namespace
