#include "utility/source/QelPackArchive.h"

#include "utility/source/QelCrc32.h"
#include "utility/source/QelMappedFile.h"
#include "utility/source/QelPathResolve.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <unistd.h>

CPackArchive* g_packArchive = nullptr;

namespace
{
const uint8_t ZIP_SIGNATURE[4] = {0x50, 0x4B, 0x03, 0x04};
const uint8_t QUAR_SIGNATURE[4] = {'Q', 'U', 'A', 'R'};
// A pack made by a ZIP tool ends in its directory: the end of the entries, not damage.
const uint8_t ZIP_DIRECTORY_SIGNATURE[4] = {0x50, 0x4B, 0x01, 0x02};
const uint8_t ZIP_END_SIGNATURE[4] = {0x50, 0x4B, 0x05, 0x06};

std::vector<std::string> s_archiveNotes;

uint16_t ReadLe16(const uint8_t* at)
{
    return static_cast<uint16_t>(at[0] | (at[1] << 8));
}

uint32_t ReadLe32(const uint8_t* at)
{
    return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
           (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names are compared with "/" and "\" equal and without regard to ASCII case.
std::string NormaliseEntryName(const char* name)
{
    std::string result(name);
    for (char& c : result)
        if (c == '\\')
            c = '/';
    return result;
}

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

const SPackEntry* FindIn(const std::vector<SPackEntry>& bucket, const std::string& name)
{
    for (auto it = bucket.rbegin(); it != bucket.rend(); ++it)
        if (SameName(it->name, name))
            return &*it;
    return nullptr;
}
} // namespace

uint8_t GetPackBucket(const std::string& name)
{
    std::string lower(name);
    for (char& c : lower)
        c = LowerAscii(c);
    return Crc32FoldByte(lower.data(), lower.size());
}

CPackArchive::CPackArchive() = default;

// The mappings go with the views; every pointer into them dies here.
CPackArchive::~CPackArchive() = default;

bool CPackArchive::MountMainPack(const char* path)
{
    return Mount(path, false);
}

bool CPackArchive::MountPatchPack(const char* path)
{
    return Mount(path, true);
}

bool CPackArchive::Mount(const char* path, bool patch)
{
    // An empty file maps as an archive without entries.
    auto view = std::unique_ptr<CQelMappedFile>(new (std::nothrow) CQelMappedFile());
    if (!path || !view || !view->Map(path))
        return false;
    SPackMountReport report;
    report.path = ResolvePathNoCase(path);
    report.size = view->GetSize();
    if (view->GetSize() > 0)
        Index(view->GetData(), view->GetSize(), patch, report);
    m_views.push_back(std::move(view));
    m_reports.push_back(std::move(report));
    return true;
}

void CPackArchive::Index(const uint8_t* base, size_t length, bool patch, SPackMountReport& report)
{
    // Offsets are 64-bit and every part of a record is checked against the end of
    // the mapping before the record is indexed; a record that does not fit ends the
    // walk (so does a central directory or any other trailer), and the report says
    // where and whether that was a proper end.
    uint64_t at = 0;
    for (;;)
    {
        report.end = at;
        if (at == length)
            return;
        const uint8_t* record = base + at;
        if (length - at < 4 ||
            (std::memcmp(record, ZIP_SIGNATURE, 4) != 0 && std::memcmp(record, QUAR_SIGNATURE, 4) != 0))
        {
            report.damaged = length - at < 4 || (std::memcmp(record, ZIP_DIRECTORY_SIGNATURE, 4) != 0 &&
                                                 std::memcmp(record, ZIP_END_SIGNATURE, 4) != 0);
            return;
        }
        report.damaged = report.cutShort = true; // unless the record fits
        if (length - at < PACK_RECORD_HEADER_SIZE)
            return;
        uint16_t method = ReadLe16(record + 8);
        uint32_t size = ReadLe32(record + 18);
        uint16_t nameLength = ReadLe16(record + 26);
        uint16_t extraLength = ReadLe16(record + 28);
        uint64_t dataStart = at + PACK_RECORD_HEADER_SIZE + nameLength + extraLength;
        uint64_t next = dataStart + size;
        if (next > length)
            return;
        report.damaged = report.cutShort = false;
        ++report.entries;

        if (method == 0 || method == 0xFFFF)
        {
            SPackEntry entry;
            entry.name.assign(reinterpret_cast<const char*>(record + PACK_RECORD_HEADER_SIZE), nameLength);
            entry.name = NormaliseEntryName(entry.name.c_str());
            entry.record = record;
            entry.data = base + dataStart;
            entry.size = size;
            std::vector<SPackEntry>& bucket = m_buckets[GetPackBucket(entry.name)];
            if (patch)
            {
                // The replacement keeps the name as first stored.
                if (const SPackEntry* old = FindIn(bucket, entry.name))
                {
                    entry.name = old->name;
                    bucket.erase(bucket.begin() + (old - bucket.data()));
                }
            }
            bucket.push_back(std::move(entry));
        }
        at = next;
    }
}

const SPackEntry* CPackArchive::FindPackEntry(const char* name) const
{
    if (!name)
        return nullptr;
    std::string normal = NormaliseEntryName(name);
    return FindIn(m_buckets[GetPackBucket(normal)], normal);
}

const uint8_t* CPackArchive::ReadWholeFile(const char* name, uint32_t& size) const
{
    const SPackEntry* entry = FindPackEntry(name);
    if (!entry)
        return nullptr;
    size = entry->size;
    return entry->data;
}

void CPackArchive::ForEachEntry(const std::function<void(const SPackEntry&)>& visit) const
{
    for (const std::vector<SPackEntry>& bucket : m_buckets)
    {
        // Only the newest entry of a name is found.
        for (size_t i = 0; i < bucket.size(); ++i)
        {
            const SPackEntry& entry = bucket[i];
            if (FindIn(bucket, entry.name) == &entry)
                visit(entry);
        }
    }
}

std::string DescribePackDamage(const SPackMountReport& report)
{
    if (!report.damaged)
        return std::string();
    char text[512];
    if (report.cutShort)
        std::snprintf(text, sizeof(text),
                      "Pack file %s is damaged: the record at byte %llu runs past the end of the file (%llu bytes); "
                      "only the %u entries before it are used",
                      report.path.c_str(), static_cast<unsigned long long>(report.end),
                      static_cast<unsigned long long>(report.size), report.entries);
    else
        std::snprintf(text, sizeof(text),
                      "Pack file %s is damaged: no pack record at byte %llu of %llu; only the %u entries before it "
                      "are used",
                      report.path.c_str(), static_cast<unsigned long long>(report.end),
                      static_cast<unsigned long long>(report.size), report.entries);
    return text;
}

bool InitPackArchive()
{
    if (g_packArchive)
        return true;
    s_archiveNotes.clear();
    g_packArchive = new (std::nothrow) CPackArchive();
    if (!g_packArchive)
        return false;
    char name[32];
    if (!g_packArchive->MountMainPack("Tessavar.000"))
    {
        // No main pack: the game runs from loose files only, and patch packs that
        // are there (kestrup's output, say) go unused, which the player must hear of.
        FreePackArchive();
        for (int number = 1; number <= PACK_PATCH_COUNT; ++number)
        {
            std::snprintf(name, sizeof(name), "Tessavar.%03d", number);
            std::string found = ResolvePathNoCase(name);
            if (access(found.c_str(), F_OK) == 0)
                s_archiveNotes.push_back("Pack file " + found +
                                         " is not used: the packs are read only when Tessavar.000 is in the "
                                         "program folder (an empty one will do)");
        }
        return true;
    }
    for (int number = 1; number <= PACK_PATCH_COUNT; ++number)
    {
        std::snprintf(name, sizeof(name), "Tessavar.%03d", number);
        g_packArchive->MountPatchPack(name);
    }
    for (const SPackMountReport& report : g_packArchive->GetMountReports())
        if (report.damaged)
            s_archiveNotes.push_back(DescribePackDamage(report));
    return true;
}

const std::vector<std::string>& GetPackArchiveNotes()
{
    return s_archiveNotes;
}

void FreePackArchive()
{
    delete g_packArchive;
    g_packArchive = nullptr;
}

bool CZipFileView::OpenEntry(const char* name)
{
    m_entry = m_archive ? m_archive->FindPackEntry(name) : nullptr;
    m_position = 0;
    return m_entry != nullptr;
}

int CZipFileView::Read(void* buffer, uint32_t& count)
{
    if (!m_entry || m_position > m_entry->size)
    {
        count = 0;
        return READ_PAST_END;
    }
    uint64_t left = m_entry->size - m_position;
    if (count <= left)
    {
        if (count)
            std::memcpy(buffer, m_entry->data + m_position, count);
        m_position += count;
        return READ_FULL;
    }
    count = static_cast<uint32_t>(left);
    if (count)
        std::memcpy(buffer, m_entry->data + m_position, count);
    m_position += count;
    return READ_SHORT;
}

bool CZipFileView::Skip(int64_t distance)
{
    if (distance < 0 && uint64_t(0) - static_cast<uint64_t>(distance) > m_position)
        return false;
    m_position += static_cast<uint64_t>(distance);
    return true;
}
