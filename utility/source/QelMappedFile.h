#pragma once
// A whole file mapped read-only into memory, for readers that use records in
// place. The name is found ignoring case and with either separator.

#include <cstddef>
#include <cstdint>

class CQelMappedFile
{
public:
    CQelMappedFile() = default;
    ~CQelMappedFile() { Unmap(); }
    CQelMappedFile(const CQelMappedFile&) = delete;
    CQelMappedFile& operator=(const CQelMappedFile&) = delete;

    // False when the file is missing, unreadable or cannot be mapped. An empty
    // file maps as zero bytes.
    bool Map(const char* path);
    void Unmap();

    bool IsMapped() const { return m_mapped; }
    const uint8_t* GetData() const { return m_data; }
    size_t GetSize() const { return m_size; }

private:
    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    bool m_mapped = false;
};
