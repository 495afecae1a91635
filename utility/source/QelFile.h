#pragma once
// Every file access of the game. A file opened for reading is looked for on disk
// first and then, under the same name, in the pack archive, so loose files in the
// program folder override packed ones. Paths take "\" or "/" and are found in any
// letter case. Binary values are little-endian; floats travel as their bit pattern.
//
// A file opened for writing (without FILE_OPEN_KEEP) is written under a temporary
// name beside it and renamed over the old file by Close, so a failed or abandoned
// write never destroys the previous file. The temporary name is the file's name,
// FILE_TEMP_SUFFIX and FILE_TEMP_UNIQUE_LENGTH letters or digits (see QelTempFiles.h).

#include <cstddef>
#include <cstdint>
#include <ctime>

class CWString;
class CZipFileView;

// A file time as local calendar parts (month 1 to 12).
struct SFileDate
{
    int year;
    int month;
    int day;
    int hour;
    int minute;
    int second;
};

constexpr uint32_t FILE_OPEN_READ = 0x1;
constexpr uint32_t FILE_OPEN_WRITE = 0x2;
constexpr uint32_t FILE_OPEN_KEEP = 0x4;  // writing: keep an existing file's contents
constexpr size_t FILE_PATH_SIZE = 512;
constexpr const char* FILE_TEMP_SUFFIX = ".tmp";
constexpr size_t FILE_TEMP_UNIQUE_LENGTH = 6;

class CFileInterface
{
public:
    virtual ~CFileInterface() = default;

    // Path = folder followed directly by name (the caller supplies any separator).
    // Exactly one of read and write. Refused on an object that is already open.
    virtual bool Open(const char* folder, const char* name, uint32_t flags) = 0;
    virtual bool Close() = 0;
    virtual bool Write(const void* buffer, uint32_t count, uint32_t* written) = 0;
    // True also when fewer bytes than asked remain (count read tells); false on an
    // error or, for a pack entry, when the position is beyond its end.
    virtual bool Read(void* buffer, uint32_t count, uint32_t* read) = 0;
    // Last-write time (creation time when zero) in local time, as the two halves of
    // a count of 100 ns units since 1601. False for a pack entry.
    virtual bool GetLastWriteTime(uint32_t& high, uint32_t& low) = 0;
    // The same time as calendar parts; the month's name goes into monthText.
    virtual bool GetDateText(CWString& monthText, int& day, int& hour, int& minute, int& second) = 0;
    virtual uint32_t GetFileSize() const = 0;
    virtual bool Rewind() = 0;
    virtual bool Skip(int32_t distance) = 0;
    // Reads the named file whole: the pack archive first (the buffer then points
    // into the mapping and isCopy is false), else the disk (a new buffer, isCopy
    // true, released with ReleaseWholeFile). Only on an open object.
    virtual bool ReadWholeFile(const char* name, const uint8_t*& buffer, uint32_t& size, bool& isCopy) = 0;
    virtual const char* GetPath() const = 0;

    // Typed transfers: each succeeds only when exactly its size moved.
    bool ReadU8(uint8_t& value);
    bool ReadS8(int8_t& value);
    bool ReadU16(uint16_t& value);
    bool ReadU32(uint32_t& value);
    bool ReadS32(int32_t& value);
    bool ReadFloat(float& value);
    bool ReadVec2(float& x, float& y);
    bool ReadVec3(float& x, float& y, float& z);
    // A 32-bit length, then that many bytes. False when the length is 0 or does not
    // fit the buffer (the text is then not read), or the bytes run short. The text
    // is always left terminated.
    bool ReadString(char* buffer, uint32_t bufferSize, uint32_t* length);

    bool WriteU8(uint8_t value);
    bool WriteU16(uint16_t value);
    bool WriteU32(uint32_t value);
    bool WriteS32(int32_t value);
    bool WriteFloat(float value);
    bool WriteVec2(float x, float y);
    bool WriteVec3(float x, float y, float z);
    // A 32-bit length (the text's length plus 1), then the text with its NUL.
    bool WriteString(const char* text);

private:
    bool ReadExactly(void* buffer, uint32_t count);
    bool WriteExactly(const void* buffer, uint32_t count);
};

class CQelFile : public CFileInterface
{
public:
    CQelFile() = default;
    // An object still open is closed; an unfinished write is abandoned.
    ~CQelFile() override;
    CQelFile(const CQelFile&) = delete;
    CQelFile& operator=(const CQelFile&) = delete;

    bool Open(const char* folder, const char* name, uint32_t flags) override;
    // For a write, makes the new contents the file's; false (and the old file kept)
    // when any write failed or the rename fails.
    bool Close() override;
    bool Write(const void* buffer, uint32_t count, uint32_t* written) override;
    bool Read(void* buffer, uint32_t count, uint32_t* read) override;
    bool GetLastWriteTime(uint32_t& high, uint32_t& low) override;
    bool GetDateText(CWString& monthText, int& day, int& hour, int& minute, int& second) override;
    uint32_t GetFileSize() const override { return m_size; }
    bool Rewind() override;
    bool Skip(int32_t distance) override;
    bool ReadWholeFile(const char* name, const uint8_t*& buffer, uint32_t& size, bool& isCopy) override;
    const char* GetPath() const override { return m_path; }

    // The last-write time (creation time when zero) as local calendar parts.
    bool GetDate(SFileDate& date) const;
    // Closes a file being written without replacing the old one.
    void Abandon();
    bool IsOpen() const { return m_isOpen; }
    bool IsInPack() const { return m_inPack; }

private:
    bool OpenFSFile(const char* path, uint32_t flags);
    bool OpenForWriting(const char* path, bool keep);
    // The file's time (see GetLastWriteTime) and its local calendar form.
    bool GetLocalFileTime(timespec& when, tm& local) const;
    void Reset();

    char m_path[FILE_PATH_SIZE] = {};
    uint32_t m_size = 0;
    int m_fd = -1;
    bool m_readAccess = false;
    bool m_writeAccess = false;
    bool m_isOpen = false;
    bool m_inPack = false;
    bool m_writeFailed = false;
    char m_tempPath[FILE_PATH_SIZE + 16] = {};  // set while writing under a temporary name
    char m_finalPath[FILE_PATH_SIZE] = {};
    CZipFileView* m_view = nullptr;
};

// A new closed file object, or null when out of memory. The caller deletes it.
CFileInterface* CreateFileObject();

// Opens the file for reading (disk, then pack) and closes it again.
bool FileExists(const char* folder, const char* name);

// Opens a whole path, split at its last "\" or "/" into folder and name.
bool OpenFileByPath(CFileInterface& file, const char* path, uint32_t flags);

// Frees a buffer from ReadWholeFile when it is a copy.
void ReleaseWholeFile(const uint8_t* buffer, bool isCopy);

// The CRC-32 of a whole file read through the file layer; false when it is empty
// or cannot be read.
bool ComputeFileCrc(const char* path, uint32_t& crc);

// Month names are displayed texts of the string table, which sits above this
// layer; it installs the lookup from a text id. Month 1 is January.
using MonthNameLookup = bool (*)(uint32_t textId, CWString& out);
void SetMonthNameLookup(MonthNameLookup lookup);
uint32_t GetMonthTextId(int month);
