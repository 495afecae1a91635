#pragma once
// One running copy per user: an exclusive lock on a file in the user folder. The
// kernel drops the lock when the process ends, so a crashed copy never blocks the next.

class CSingleInstance
{
public:
    ~CSingleInstance() { Release(); }

    // True when another instance holds the lock (this one must end).
    bool Acquire(const char* lockPath);
    void Release();
    bool IsHeld() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};
