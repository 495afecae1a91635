#include "utility/source/QelMappedFile.h"

#include "utility/source/QelPathResolve.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

bool CQelMappedFile::Map(const char* path)
{
    Unmap();
    std::string resolved = ResolvePathNoCase(path ? path : "");
    int handle = open(resolved.c_str(), O_RDONLY | O_CLOEXEC);
    if (handle < 0)
        return false;
    struct stat info;
    bool ok = fstat(handle, &info) == 0 && S_ISREG(info.st_mode);
    if (ok && info.st_size > 0)
    {
        void* view = mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, handle, 0);
        ok = view != MAP_FAILED;
        if (ok)
        {
            m_data = static_cast<const uint8_t*>(view);
            m_size = static_cast<size_t>(info.st_size);
        }
    }
    close(handle);
    m_mapped = ok;
    return ok;
}

void CQelMappedFile::Unmap()
{
    if (m_mapped && m_data)
        munmap(const_cast<uint8_t*>(m_data), m_size);
    m_data = nullptr;
    m_size = 0;
    m_mapped = false;
}
