#pragma once
// A file-write layer for tests that makes the player's files fail part-way: the Nth
// write call (counted over every file opened while it is installed) writes half its
// bytes and fails, or the Nth file's Close (its rename) fails, or the process is killed
// (SIGKILL) as the Nth file's Close begins, before its rename: run that in a death
// test. Installed for the object's life.
//
//   CFailingWriteLayer failing;
//   failing.FailWrite(2);            // the second write call fails
//   EXPECT_FALSE(hall.Save(folder)); // the old file is still there

#include "frontend/FileWriteLayer.h"

class CFailingWriteLayer : public CFileWriteLayer
{
public:
    CFailingWriteLayer();
    ~CFailingWriteLayer() override;

    // 0: never.
    void FailWrite(int n) { m_failWrite = n; }
    void FailClose(int n) { m_failClose = n; }
    void FailOpen(int n) { m_failOpen = n; }
    void KillAtClose(int n) { m_killClose = n; }
    int GetWrites() const { return m_writes; }
    int GetOpens() const { return m_opens; }
    int GetCloses() const { return m_closes; }

    std::unique_ptr<CFileInterface> OpenForWriting(const std::string& path) override;

    // Counted by the files it opened.
    bool TakeWrite();
    bool TakeClose();

private:
    int m_failWrite = 0;
    int m_failClose = 0;
    int m_failOpen = 0;
    int m_killClose = 0;
    int m_writes = 0;
    int m_opens = 0;
    int m_closes = 0;
};
