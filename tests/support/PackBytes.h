#pragma once
// Raw pack records for tests, including malformed ones the writer never makes.

#include <cstdint>
#include <string>

struct SPackRecordBytes
{
    std::string name;
    std::string data;
    std::string extra;
    std::string signature = std::string("PK\x03\x04", 4);
    uint16_t method = 0;
    int64_t sizeField = -1;           // the size at offset 18; -1 = the data's size
    uint32_t uncompressedField = 0;   // offset 22
};

std::string MakePackRecord(const SPackRecordBytes& record);
// A stored record with a ZIP signature and no extra field.
std::string MakeStoredRecord(const std::string& name, const std::string& data);

// A ZIP central directory and end record for the given stored records, as ZIP
// tools append after the local records (offsets assume the records start at 0).
std::string MakeZipTrailer(const SPackRecordBytes* records, int count);
