#include "frontend/FileTag.h"

#include "utility/source/QelFile.h"

#include <cstdint>
#include <cstring>

namespace
{
constexpr uint32_t TAG_LENGTH = 4;
constexpr uint32_t TAG_LETTERS = 3;
} // namespace

bool WriteFileTag(CFileInterface& file, const char* letters)
{
    return file.WriteString(letters);
}

bool ReadFileTag(CFileInterface& file, const char* letters)
{
    uint8_t bytes[8] = {};
    uint32_t got = 0;
    if (!file.Read(bytes, sizeof(bytes), &got))
        return false;
    const uint32_t length = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    if (got == sizeof(bytes) && length == TAG_LENGTH && std::memcmp(bytes + 4, letters, TAG_LETTERS) == 0)
        return true;
    file.Skip(-static_cast<int32_t>(got));
    return false;
}
