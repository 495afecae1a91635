#include "utility/source/QelFile.h"

#include "utility/source/QelCrc32.h"
#include "utility/source/QelPackArchive.h"
#include "utility/source/QelPathResolve.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
MonthNameLookup s_monthNameLookup = nullptr;

// String-table ids of the month names, January first.
const uint32_t MONTH_TEXT_IDS[12] = {
    0xbf000007, 0xd8000002, 0x7a000008, 0x75000004, 0x2a000005, 0xad000004,
    0x4d000006, 0x60000004, 0xa6000001, 0x85000001, 0x93000007, 0xc3000005,
};

// Seconds from 1601 (the file-time epoch) to 1970.
constexpr uint64_t FILE_TIME_EPOCH_OFFSET = 11644473600ull;

// The pack stores names relative to the program folder, without a leading separator.
const char* PackName(const char* path)
{
    return (path[0] == '/' || path[0] == '\\') ? path + 1 : path;
}

bool CopyPath(char* out, size_t outSize, const std::string& path)
{
    if (path.size() + 1 > outSize)
        return false;
    std::memcpy(out, path.c_str(), path.size() + 1);
    return true;
}

std::string ParentFolder(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return std::string();
    return path.substr(0, slash == 0 ? 1 : slash);
}

// The modification time, or the status-change time when that is zero.
bool GetFileTime(int fd, timespec& when)
{
    struct stat info;
    if (fd < 0 || fstat(fd, &info) != 0)
        return false;
    when = info.st_mtim;
    if (when.tv_sec == 0 && when.tv_nsec == 0)
        when = info.st_ctim;
    return true;
}

bool ReadAll(int fd, uint8_t* buffer, size_t count, size_t& done)
{
    done = 0;
    while (done < count)
    {
        ssize_t got = read(fd, buffer + done, count - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
    }
    return true;
}

// Opens an existing regular file for reading; fills the size.
int OpenRegularFile(const std::string& path, uint32_t& size)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || static_cast<uint64_t>(info.st_size) > UINT32_MAX)
    {
        close(fd);
        return -1;
    }
    size = static_cast<uint32_t>(info.st_size);
    return fd;
}

} // namespace

// ---------------------------------------------------------------- CQelFile

CQelFile::~CQelFile()
{
    if (m_tempPath[0])
        Abandon();
    else if (m_isOpen)
        Close();
}

void CQelFile::Reset()
{
    m_fd = -1;
    m_size = 0;
    m_readAccess = false;
    m_writeAccess = false;
    m_isOpen = false;
    m_inPack = false;
    m_writeFailed = false;
    m_tempPath[0] = '\0';
    m_finalPath[0] = '\0';
    delete m_view;
    m_view = nullptr;
}

bool CQelFile::Open(const char* folder, const char* name, uint32_t flags)
{
    if (m_isOpen || !folder || !name)
        return false;
    std::string path = std::string(folder) + name;
    if (!CopyPath(m_path, sizeof(m_path), path))
    {
        m_path[0] = '\0';
        return false;
    }
    if (OpenFSFile(m_path, flags))
        return true;
    if ((flags & FILE_OPEN_READ) == 0 || (flags & FILE_OPEN_WRITE) != 0 || !g_packArchive)
        return false;

    auto* view = new (std::nothrow) CZipFileView(g_packArchive);
    if (!view)
        return false;
    if (!view->OpenEntry(PackName(m_path)))
    {
        delete view;
        return false;
    }
    m_view = view;
    m_size = view->GetSize();
    m_isOpen = true;
    m_inPack = true;
    m_readAccess = true;
    return true;
}

bool CQelFile::OpenFSFile(const char* path, uint32_t flags)
{
    uint32_t access = flags & (FILE_OPEN_READ | FILE_OPEN_WRITE);
    if (access == FILE_OPEN_READ)
    {
        int fd = OpenRegularFile(ResolvePathNoCase(path), m_size);
        if (fd < 0)
            return false;
        m_fd = fd;
        m_readAccess = true;
        m_isOpen = true;
        return true;
    }
    if (access == FILE_OPEN_WRITE)
    {
        // A missing folder is created (one level) and the open tried once more.
        if (OpenForWriting(path, (flags & FILE_OPEN_KEEP) != 0))
            return true;
        if (errno != ENOENT)
            return false;
        std::string parent = ParentFolder(ResolvePathNoCase(path));
        if (parent.empty() || !CreateFolderNoCase(parent))
            return false;
        return OpenForWriting(path, (flags & FILE_OPEN_KEEP) != 0);
    }
    return false;
}

bool CQelFile::OpenForWriting(const char* path, bool keep)
{
    std::string target = ResolvePathNoCase(path);
    if (target.empty() || target.back() == '/')
    {
        errno = EISDIR;
        return false;
    }
    if (keep)
    {
        int fd = open(target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        struct stat info;
        if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || static_cast<uint64_t>(info.st_size) > UINT32_MAX)
        {
            close(fd);
            errno = EINVAL;
            return false;
        }
        m_fd = fd;
        m_size = static_cast<uint32_t>(info.st_size);
    }
    else
    {
        // A link is followed: the file it names gets the new contents, and the link
        // (a settings file kept elsewhere, say) stays in place.
        struct stat entry;
        if (lstat(target.c_str(), &entry) == 0 && S_ISLNK(entry.st_mode))
        {
            if (char* real = realpath(target.c_str(), nullptr))
            {
                target = real;
                free(real);
            }
        }
        std::string temp = target + FILE_TEMP_SUFFIX + std::string(FILE_TEMP_UNIQUE_LENGTH, 'X');
        if (temp.size() + 1 > sizeof(m_tempPath) || target.size() + 1 > sizeof(m_finalPath))
        {
            errno = ENAMETOOLONG;
            return false;
        }
        std::memcpy(m_tempPath, temp.c_str(), temp.size() + 1);
        int fd = mkostemp(m_tempPath, O_CLOEXEC);
        if (fd < 0)
        {
            int error = errno;
            m_tempPath[0] = '\0';
            errno = error;
            return false;
        }
        // The new file takes the old one's permissions, or the usual ones.
        struct stat info;
        fchmod(fd, stat(target.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0644);
        std::memcpy(m_finalPath, target.c_str(), target.size() + 1);
        m_fd = fd;
        m_size = 0;
    }
    m_writeAccess = true;
    m_isOpen = true;
    return true;
}

bool CQelFile::Close()
{
    if (!m_isOpen)
        return false;
    bool ok = true;
    if (m_fd >= 0)
    {
        if (m_tempPath[0])
        {
            ok = !m_writeFailed && fsync(m_fd) == 0;
            ok = (close(m_fd) == 0) && ok;
            ok = ok && rename(m_tempPath, m_finalPath) == 0;
            if (!ok)
                unlink(m_tempPath);
        }
        else
        {
            ok = close(m_fd) == 0 && !m_writeFailed;
        }
    }
    Reset();
    return ok;
}

void CQelFile::Abandon()
{
    if (!m_isOpen)
        return;
    if (m_fd >= 0)
        close(m_fd);
    if (m_tempPath[0])
        unlink(m_tempPath);
    Reset();
}

bool CQelFile::Write(const void* buffer, uint32_t count, uint32_t* written)
{
    if (written)
        *written = 0;
    if (!m_isOpen || !m_writeAccess || (count && !buffer))
        return false;
    const auto* at = static_cast<const uint8_t*>(buffer);
    uint32_t done = 0;
    while (done < count)
    {
        ssize_t put = write(m_fd, at + done, count - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
        {
            m_writeFailed = true;
            if (written)
                *written = done;
            return false;
        }
        done += static_cast<uint32_t>(put);
    }
    if (written)
        *written = done;
    return true;
}

bool CQelFile::Read(void* buffer, uint32_t count, uint32_t* read)
{
    if (read)
        *read = 0;
    if (!m_isOpen || !m_readAccess || (count && !buffer))
        return false;
    if (m_inPack)
    {
        uint32_t got = count;
        int result = m_view->Read(buffer, got);
        if (read)
            *read = got;
        return result != CZipFileView::READ_PAST_END;
    }
    size_t got = 0;
    bool ok = ReadAll(m_fd, static_cast<uint8_t*>(buffer), count, got);
    if (read)
        *read = static_cast<uint32_t>(got);
    return ok;
}

bool CQelFile::GetLocalFileTime(timespec& when, tm& local) const
{
    if (!m_isOpen || m_inPack || !GetFileTime(m_fd, when))
        return false;
    time_t seconds = when.tv_sec;
    return localtime_r(&seconds, &local) != nullptr;
}

bool CQelFile::GetLastWriteTime(uint32_t& high, uint32_t& low)
{
    timespec when;
    tm local;
    if (!GetLocalFileTime(when, local))
        return false;
    int64_t localSeconds = static_cast<int64_t>(when.tv_sec) + local.tm_gmtoff;
    uint64_t ticks = static_cast<uint64_t>(localSeconds + static_cast<int64_t>(FILE_TIME_EPOCH_OFFSET)) * 10000000ull +
                     static_cast<uint64_t>(when.tv_nsec) / 100u;
    high = static_cast<uint32_t>(ticks >> 32);
    low = static_cast<uint32_t>(ticks);
    return true;
}

bool CQelFile::GetDate(SFileDate& date) const
{
    timespec when;
    tm local;
    if (!GetLocalFileTime(when, local))
        return false;
    date = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
    return true;
}

bool CQelFile::GetDateText(CWString& monthText, int& day, int& hour, int& minute, int& second)
{
    SFileDate date;
    if (!GetDate(date))
        return false;
    day = date.day;
    hour = date.hour;
    minute = date.minute;
    second = date.second;
    if (s_monthNameLookup)
        s_monthNameLookup(GetMonthTextId(date.month), monthText);
    return true;
}

bool CQelFile::Rewind()
{
    if (!m_isOpen)
        return false;
    if (m_inPack)
    {
        m_view->Rewind();
        return true;
    }
    return lseek(m_fd, 0, SEEK_SET) == 0;
}

bool CQelFile::Skip(int32_t distance)
{
    if (!m_isOpen)
        return false;
    if (m_inPack)
        return m_view->Skip(distance);
    return lseek(m_fd, distance, SEEK_CUR) >= 0;
}

bool CQelFile::ReadWholeFile(const char* name, const uint8_t*& buffer, uint32_t& size, bool& isCopy)
{
    if (!m_isOpen || !name)
        return false;
    if (g_packArchive)
    {
        if (const uint8_t* data = g_packArchive->ReadWholeFile(PackName(name), size))
        {
            buffer = data;
            isCopy = false;
            return true;
        }
    }
    uint32_t fileSize = 0;
    int fd = OpenRegularFile(ResolvePathNoCase(name), fileSize);
    if (fd < 0)
        return false;
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    // One byte more, always zero, so text readers find an end.
    auto* data = new (std::nothrow) uint8_t[static_cast<size_t>(fileSize) + 1];
    size_t got = 0;
    bool ok = data && ReadAll(fd, data, fileSize, got) && got == fileSize;
    close(fd);
    if (!ok)
    {
        delete[] data;
        return false;
    }
    data[fileSize] = 0;
    buffer = data;
    size = fileSize;
    isCopy = true;
    return true;
}

// ---------------------------------------------------------------- free functions

CFileInterface* CreateFileObject()
{
    return new (std::nothrow) CQelFile();
}

bool FileExists(const char* folder, const char* name)
{
    CQelFile file;
    if (!file.Open(folder, name, FILE_OPEN_READ))
        return false;
    file.Close();
    return true;
}

bool OpenFileByPath(CFileInterface& file, const char* path, uint32_t flags)
{
    if (!path)
        return false;
    std::string whole(path);
    if (whole.size() >= FILE_PATH_SIZE)
        return false;
    size_t cut = whole.find_last_of("/\\");
    if (cut == std::string::npos)
        return file.Open(whole.c_str(), "", flags);
    // The name keeps its separator: folder + name is the path again.
    return file.Open(whole.substr(0, cut).c_str(), whole.c_str() + cut, flags);
}

void ReleaseWholeFile(const uint8_t* buffer, bool isCopy)
{
    if (isCopy)
        delete[] buffer;
}

bool ComputeFileCrc(const char* path, uint32_t& crc)
{
    CQelFile file;
    if (!path || !OpenFileByPath(file, path, FILE_OPEN_READ) || file.GetFileSize() == 0)
        return false;
    uint8_t block[65536];
    uint32_t value = 0;
    uint32_t left = file.GetFileSize();
    while (left > 0)
    {
        uint32_t want = left < sizeof(block) ? left : static_cast<uint32_t>(sizeof(block));
        uint32_t got = 0;
        if (!file.Read(block, want, &got) || got != want)
            return false;
        value = Crc32Update(value, block, got);
        left -= got;
    }
    crc = value;
    return true;
}

void SetMonthNameLookup(MonthNameLookup lookup)
{
    s_monthNameLookup = lookup;
}

uint32_t GetMonthTextId(int month)
{
    return (month >= 1 && month <= 12) ? MONTH_TEXT_IDS[month - 1] : 0;
}
