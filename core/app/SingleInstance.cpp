#include "core/app/SingleInstance.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

bool CSingleInstance::Acquire(const char* lockPath)
{
    Release();
    int fd = open(lockPath, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return false; // no lock file possible: do not stop the player from playing
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
    {
        bool other = errno == EWOULDBLOCK;
        close(fd);
        return other;
    }
    m_fd = fd;
    return false;
}

void CSingleInstance::Release()
{
    if (m_fd >= 0)
    {
        close(m_fd); // closing drops the lock
        m_fd = -1;
    }
}
