// Pack files: mounting (as the main pack and again as a patch over itself), the
// report of where each walk stopped, and reading every entry through the entry
// cursor and through the file layer.

#include "fuzz/FuzzSupport.h"
#include "utility/source/QelFile.h"
#include "utility/source/QelPackArchive.h"

#include <cstdlib>
#include <memory>
#include <vector>

namespace
{
void ReadThroughCursor(const CPackArchive& archive, const SPackEntry& entry)
{
    CZipFileView view(&archive);
    if (!view.OpenEntry(entry.name.c_str()))
        std::abort(); // every listed entry must be found by its own name
    uint8_t chunk[61];
    uint64_t total = 0;
    for (;;)
    {
        uint32_t count = sizeof(chunk);
        int result = view.Read(chunk, count);
        total += count;
        if (result != CZipFileView::READ_FULL)
            break;
    }
    if (total != entry.size)
        std::abort();
    view.Skip(-3);
    view.Skip(1 << 20);
    uint32_t count = 4;
    view.Read(chunk, count);
}

void ReadThroughFileLayer(const SPackEntry& entry)
{
    std::unique_ptr<CFileInterface> file(CreateFileObject());
    if (!file || !file->Open("", entry.name.c_str(), FILE_OPEN_READ))
        return;
    uint8_t value8 = 0;
    uint32_t value32 = 0;
    char text[64];
    file->ReadU8(value8);
    file->ReadU32(value32);
    file->ReadString(text, sizeof(text), nullptr);
    file->Skip(-2);
    file->Skip(7);
    file->Rewind();
    std::vector<uint8_t> rest(file->GetFileSize() < 4096 ? file->GetFileSize() : 4096);
    uint32_t read = 0;
    file->Read(rest.data(), static_cast<uint32_t>(rest.size()), &read);
    const uint8_t* whole = nullptr;
    uint32_t size = 0;
    bool isCopy = false;
    if (file->ReadWholeFile(entry.name.c_str(), whole, size, isCopy))
        ReleaseWholeFile(whole, isCopy);
    file->Close();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = WriteFuzzFile("fuzz.pack", data, size);
    if (path.empty())
        return 0;
    CPackArchive archive;
    if (!archive.MountMainPack(path.c_str()) || !archive.MountPatchPack(path.c_str()))
        return 0;
    // The walk's report stays inside the file and agrees with what was indexed.
    for (const SPackMountReport& report : archive.GetMountReports())
    {
        if (report.end > report.size || report.size != size || (report.damaged != !DescribePackDamage(report).empty()))
            std::abort();
    }
    std::vector<const SPackEntry*> entries;
    archive.ForEachEntry([&entries](const SPackEntry& entry) { entries.push_back(&entry); });
    g_packArchive = &archive;
    for (const SPackEntry* entry : entries)
    {
        ReadThroughCursor(archive, *entry);
        ReadThroughFileLayer(*entry);
    }
    g_packArchive = nullptr;
    return 0;
}
