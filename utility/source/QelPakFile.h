#pragma once
// The resource pack: one file holding a tree of folders and stored files.
//
//   "QLPK", version 0x00010000, then the root folder record.
//   folder: name (64 bytes, NUL inside), subfolder count, file count,
//           the subfolder records (each complete, depth first), then the file records.
//   file:   data size, name size (with its NUL), name, data.
//
// The whole pack is mapped read-only; folders and files point into the mapping
// and nothing is copied. Every count, size and name is checked against the
// mapping while the tree is built, so a walk of an opened pack never leaves it.

#include "utility/source/QelMappedFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CQelMemoryReader;

// One file of the pack, in place: its name (always terminated) and its bytes.
struct SQelPakFileFile
{
    uint32_t m_dataSize = 0;
    uint32_t m_nameSize = 0; // with the terminating NUL
    const char* m_name = nullptr;
    const uint8_t* m_data = nullptr;
};

class CQelPakFileFolder
{
public:
    // Folders nest at most this deep below the root.
    static constexpr int kMaxDepth = 32;
    // Longest path of a file inside the pack, folders joined by "/": the game's
    // pack lookup takes no longer name.
    static constexpr size_t kMaxPathLength = 259;

    CQelPakFileFolder() = default;
    ~CQelPakFileFolder() { Free(); }
    CQelPakFileFolder(const CQelPakFileFolder&) = delete;
    CQelPakFileFolder& operator=(const CQelPakFileFolder&) = delete;

    // Reads the folder record at the reader's position and moves past the whole
    // record. pathLength is the length of the parent's path ("a/b"), 0 for the root.
    // On failure error says why and nothing stays allocated.
    bool Read(CQelMemoryReader& reader, int depth, size_t pathLength, std::string& error);
    void Free();

    const char* GetName() const { return m_name; }
    uint32_t GetSubfolderCount() const { return m_subfolderCount; }
    const CQelPakFileFolder& GetSubfolder(uint32_t index) const { return m_subfolders[index]; }
    uint32_t GetFileCount() const { return m_fileCount; }
    const SQelPakFileFile& GetFile(uint32_t index) const { return m_files[index]; }

    // The files of this folder and of all folders below it.
    uint32_t CountFiles() const;

private:
    const uint8_t* m_record = nullptr;
    const char* m_name = nullptr;
    uint32_t m_subfolderCount = 0;
    CQelPakFileFolder* m_subfolders = nullptr;
    uint32_t m_fileCount = 0;
    SQelPakFileFile* m_files = nullptr;
};

class CQelPakFile
{
public:
    static constexpr uint32_t kVersion = 0x00010000;

    CQelPakFile() = default;
    ~CQelPakFile() { Close(); }
    CQelPakFile(const CQelPakFile&) = delete;
    CQelPakFile& operator=(const CQelPakFile&) = delete;

    // Maps a pack and reads its tree. A missing, unreadable or malformed pack
    // gives false with nothing kept; the reason goes to the error log and to
    // GetLastError.
    bool Open(const char* fileName);
    // The root of the first opened pack; false when none is open.
    bool GetRootFolder(const CQelPakFileFolder*& root) const;
    // Frees every folder tree and releases every mapping.
    void Close();

    const std::string& GetLastError() const { return m_lastError; }

private:
    bool Fail(const char* fileName, const std::string& reason);

    std::vector<CQelMappedFile*> m_mappings;
    std::vector<CQelPakFileFolder*> m_pakFileRoots;
    std::string m_lastError;
};

// True for a name that can stand as one component of a pack path: not empty,
// not "." or "..", without separators or control characters.
bool IsValidPakName(const char* name, size_t length);
