#pragma once
// Writes pack files in the record format the pack archive reads: for each entry a
// 30-byte local header, the name (no terminator) and the stored data. The size at
// offset 18 is filled when the entry ends. Entries may be written in one call or
// streamed. The file is written under a temporary name and only replaces an
// existing pack when Close succeeds.

#include "utility/source/QelFile.h"

#include <cstdint>
#include <string>

class CPackArchiveWriter
{
public:
    enum class ESignature
    {
        Zip,   // "PK\3\4" headers with version 1.0 and the CRC and both sizes filled
        Quar,  // "QUAR" headers: every field 0 but the size at offset 18 and the name length
    };

    explicit CPackArchiveWriter(ESignature signature = ESignature::Zip) : m_signature(signature) {}
    ~CPackArchiveWriter();
    CPackArchiveWriter(const CPackArchiveWriter&) = delete;
    CPackArchiveWriter& operator=(const CPackArchiveWriter&) = delete;

    bool Open(const char* path);
    // Finishes the file; false when anything failed (the old file then stays).
    bool Close();
    // Drops what was written; the old file stays.
    void Abandon();

    bool BeginEntry(const char* name);
    bool WriteBytes(const void* data, uint32_t count);
    bool WriteU32(uint32_t value);
    bool EndEntry();
    bool WriteEntry(const char* name, const void* data, uint32_t count);

    bool IsOpen() const { return m_file.IsOpen(); }
    uint32_t GetEntryCount() const { return m_entryCount; }

private:
    bool WriteHeader();

    ESignature m_signature;
    CQelFile m_file;
    bool m_inEntry = false;
    bool m_failed = false;
    std::string m_name;
    uint32_t m_dataSize = 0;
    uint32_t m_crc = 0;
    uint32_t m_entryCount = 0;
};
