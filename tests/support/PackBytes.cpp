#include "tests/support/PackBytes.h"

namespace
{
void Put16(std::string& out, uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}
} // namespace

std::string MakePackRecord(const SPackRecordBytes& record)
{
    std::string out = record.signature;
    Put16(out, 20);
    Put16(out, 0);
    Put16(out, record.method);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, 0);
    int64_t size = record.sizeField < 0 ? static_cast<int64_t>(record.data.size()) : record.sizeField;
    Put32(out, static_cast<uint32_t>(size));
    Put32(out, record.uncompressedField);
    Put16(out, static_cast<uint32_t>(record.name.size()));
    Put16(out, static_cast<uint32_t>(record.extra.size()));
    return out + record.name + record.extra + record.data;
}

std::string MakeStoredRecord(const std::string& name, const std::string& data)
{
    SPackRecordBytes record;
    record.name = name;
    record.data = data;
    return MakePackRecord(record);
}

std::string MakeZipTrailer(const SPackRecordBytes* records, int count)
{
    std::string central;
    uint32_t offset = 0;
    for (int i = 0; i < count; ++i)
    {
        const SPackRecordBytes& r = records[i];
        central += std::string("PK\x01\x02", 4);
        Put16(central, 20);
        Put16(central, 10);
        Put16(central, 0);
        Put16(central, r.method);
        Put32(central, 0);
        Put32(central, 0);
        Put32(central, static_cast<uint32_t>(r.data.size()));
        Put32(central, static_cast<uint32_t>(r.data.size()));
        Put16(central, static_cast<uint32_t>(r.name.size()));
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put32(central, 0);
        Put32(central, offset);
        central += r.name;
        offset += static_cast<uint32_t>(MakePackRecord(r).size());
    }
    std::string end("PK\x05\x06", 4);
    Put16(end, 0);
    Put16(end, 0);
    Put16(end, static_cast<uint32_t>(count));
    Put16(end, static_cast<uint32_t>(count));
    Put32(end, static_cast<uint32_t>(central.size()));
    Put32(end, offset);
    Put16(end, 0);
    return central + end;
}
