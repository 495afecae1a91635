#pragma once
// The game's pack files: "Tessavar.000" and the patch packs "Tessavar.001" to
// "Tessavar.011" in the program folder, mapped read-only and indexed by entry name.
// Each record is a ZIP local file header (or the same header signed "QUAR"), the
// name, an extra field and the stored data; only the compressed size at offset 18
// gives the data's length. A later pack's entry replaces an earlier one of the same
// name. Entries are read in place: nothing is copied or decompressed.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CQelMappedFile;

constexpr uint32_t PACK_RECORD_HEADER_SIZE = 30;
constexpr int PACK_PATCH_COUNT = 11;
constexpr unsigned PACK_BUCKET_COUNT = 256;

// One indexed entry; every pointer points into a mapping of the archive.
struct SPackEntry
{
    std::string name;            // as stored, "\" turned to "/"
    const uint8_t* record;       // the local header
    const uint8_t* data;         // the stored bytes
    uint32_t size;               // the compressed size (offset 18)
};

// How the walk of one mounted pack file ended. A walk that stops before the file's
// end at anything but a ZIP directory leaves the rest of the file unread: the file
// is damaged, though the entries before that point are used.
struct SPackMountReport
{
    std::string path;
    uint64_t size = 0;     // bytes in the file
    uint64_t end = 0;      // where the walk stopped
    uint32_t entries = 0;  // records indexed
    bool damaged = false;
    bool cutShort = false; // the record at `end` runs past the end of the file
};

// Why a mounted pack is damaged, in a sentence naming the file; empty when it is whole.
std::string DescribePackDamage(const SPackMountReport& report);

// Bucket of an entry name: the byte fold of the CRC of its lower-case form.
uint8_t GetPackBucket(const std::string& name);

class CPackArchive
{
public:
    CPackArchive();
    ~CPackArchive();
    CPackArchive(const CPackArchive&) = delete;
    CPackArchive& operator=(const CPackArchive&) = delete;

    // Map one file and index its records. The main pack adds every record (a later
    // duplicate in the same file is found first); a patch pack replaces entries of
    // the same name. False when the file cannot be mapped; a malformed record only
    // ends the walk, keeping the records before it.
    bool MountMainPack(const char* path);
    bool MountPatchPack(const char* path);

    // The entry of that name ("/" and "\" equal, any case), or null.
    const SPackEntry* FindPackEntry(const char* name) const;

    // The data of an entry inside the mapping, or null.
    const uint8_t* ReadWholeFile(const char* name, uint32_t& size) const;

    // Every entry the game would find, in no particular order.
    void ForEachEntry(const std::function<void(const SPackEntry&)>& visit) const;

    size_t GetMountedCount() const { return m_views.size(); }
    // One report for each mounted file, in mounting order.
    const std::vector<SPackMountReport>& GetMountReports() const { return m_reports; }

private:
    bool Mount(const char* path, bool patch);
    void Index(const uint8_t* base, size_t length, bool patch, SPackMountReport& report);

    std::vector<std::unique_ptr<CQelMappedFile>> m_views;
    std::vector<SPackMountReport> m_reports;
    std::vector<SPackEntry> m_buckets[PACK_BUCKET_COUNT];  // newest last
};

// The process's archive; null when no main pack was mounted.
extern CPackArchive* g_packArchive;

// Creates the archive and mounts "Tessavar.000", then "Tessavar.001" to
// "Tessavar.011" (names found in any letter case). Without a main pack no archive
// is kept and the patch packs are not used. False only when out of memory.
bool InitPackArchive();
// What the player should hear of the last InitPackArchive: damaged packs, and patch
// packs left unused for want of a main pack. One sentence each.
const std::vector<std::string>& GetPackArchiveNotes();
// Unmaps every pack and deletes the archive; pointers into it die with it.
void FreePackArchive();

// The read cursor of one open entry.
class CZipFileView
{
public:
    enum EReadResult
    {
        READ_PAST_END = -1,  // the cursor was beyond the end
        READ_SHORT = 0,      // the rest of the entry (possibly nothing) was copied
        READ_FULL = 1,
    };

    explicit CZipFileView(const CPackArchive* archive) : m_archive(archive) {}

    // Finds the entry ("\" taken as "/"); the cursor starts at its data.
    bool OpenEntry(const char* name);
    // Copies up to count bytes; count becomes the number copied.
    int Read(void* buffer, uint32_t& count);
    uint32_t GetSize() const { return m_entry ? m_entry->size : 0; }
    void Rewind() { m_position = 0; }
    // Moves the cursor; a move to before the data is refused. Past the end is
    // allowed and makes the next read fail.
    bool Skip(int64_t distance);
    uint64_t GetPosition() const { return m_position; }
    const SPackEntry* GetEntry() const { return m_entry; }

private:
    const CPackArchive* m_archive;
    const SPackEntry* m_entry = nullptr;
    uint64_t m_position = 0;
};
