#pragma once
// A file interface over bytes in memory: the blocks of a save written to (or read
// from) a buffer instead of the disk, for tests, fuzz harnesses and tools. It is open
// from construction; Open is refused, Close does nothing.

#include "utility/source/QelFile.h"

#include <cstdint>
#include <vector>

class CQelMemoryFile : public CFileInterface
{
public:
    CQelMemoryFile() = default;
    explicit CQelMemoryFile(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    CQelMemoryFile(const uint8_t* data, size_t size) : m_bytes(data, data + size) {}

    bool Open(const char*, const char*, uint32_t) override { return false; }
    bool Close() override { return true; }
    // Writes over what lies at the position and lengthens the buffer as needed.
    bool Write(const void* buffer, uint32_t count, uint32_t* written) override;
    bool Read(void* buffer, uint32_t count, uint32_t* read) override;
    bool GetLastWriteTime(uint32_t&, uint32_t&) override { return false; }
    bool GetDateText(CWString&, int&, int&, int&, int&) override { return false; }
    uint32_t GetFileSize() const override { return static_cast<uint32_t>(m_bytes.size()); }
    bool Rewind() override;
    // Refused (the position unchanged) when it would leave the buffer.
    bool Skip(int32_t distance) override;
    bool ReadWholeFile(const char*, const uint8_t*&, uint32_t&, bool&) override { return false; }
    const char* GetPath() const override { return "(memory)"; }

    const std::vector<uint8_t>& GetBytes() const { return m_bytes; }
    size_t GetPosition() const { return m_position; }
    size_t GetRemaining() const { return m_bytes.size() - m_position; }

private:
    std::vector<uint8_t> m_bytes;
    size_t m_position = 0;
};
