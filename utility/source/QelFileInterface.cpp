#include "utility/source/QelFile.h"

#include <cstring>

// The typed transfers of every file object, built on its Read and Write.

namespace
{
void StoreLe(uint8_t* out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t LoadLe(const uint8_t* in, int bytes)
{
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<uint32_t>(in[i]) << (8 * i);
    return value;
}

uint32_t FloatBits(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

float BitsFloat(uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}
} // namespace

bool CFileInterface::ReadExactly(void* buffer, uint32_t count)
{
    uint32_t got = 0;
    return Read(buffer, count, &got) && got == count;
}

bool CFileInterface::WriteExactly(const void* buffer, uint32_t count)
{
    uint32_t put = 0;
    return Write(buffer, count, &put) && put == count;
}

bool CFileInterface::ReadU8(uint8_t& value)
{
    return ReadExactly(&value, 1);
}

bool CFileInterface::ReadS8(int8_t& value)
{
    uint8_t byte;
    if (!ReadU8(byte))
        return false;
    value = static_cast<int8_t>(byte);
    return true;
}

bool CFileInterface::ReadU16(uint16_t& value)
{
    uint8_t bytes[2];
    if (!ReadExactly(bytes, 2))
        return false;
    value = static_cast<uint16_t>(LoadLe(bytes, 2));
    return true;
}

bool CFileInterface::ReadU32(uint32_t& value)
{
    uint8_t bytes[4];
    if (!ReadExactly(bytes, 4))
        return false;
    value = LoadLe(bytes, 4);
    return true;
}

bool CFileInterface::ReadS32(int32_t& value)
{
    uint32_t bits;
    if (!ReadU32(bits))
        return false;
    value = static_cast<int32_t>(bits);
    return true;
}

bool CFileInterface::ReadFloat(float& value)
{
    uint32_t bits;
    if (!ReadU32(bits))
        return false;
    value = BitsFloat(bits);
    return true;
}

bool CFileInterface::ReadVec2(float& x, float& y)
{
    return ReadFloat(x) && ReadFloat(y);
}

bool CFileInterface::ReadVec3(float& x, float& y, float& z)
{
    return ReadFloat(x) && ReadFloat(y) && ReadFloat(z);
}

bool CFileInterface::ReadString(char* buffer, uint32_t bufferSize, uint32_t* length)
{
    // Every failure leaves an empty text: a caller that goes on with the buffer
    // must never find it unterminated or half filled.
    if (!buffer || bufferSize == 0)
        return false;
    buffer[0] = '\0';
    uint32_t stored;
    if (!ReadU32(stored) || stored == 0 || stored > bufferSize)
        return false;
    if (!ReadExactly(buffer, stored))
    {
        buffer[0] = '\0';
        return false;
    }
    // A stored text without its NUL is terminated here when there is room.
    if (buffer[stored - 1] != '\0')
    {
        if (stored == bufferSize)
        {
            buffer[0] = '\0';
            return false;
        }
        buffer[stored] = '\0';
    }
    if (length)
        *length = stored;
    return true;
}

bool CFileInterface::WriteU8(uint8_t value)
{
    return WriteExactly(&value, 1);
}

bool CFileInterface::WriteU16(uint16_t value)
{
    uint8_t bytes[2];
    StoreLe(bytes, value, 2);
    return WriteExactly(bytes, 2);
}

bool CFileInterface::WriteU32(uint32_t value)
{
    uint8_t bytes[4];
    StoreLe(bytes, value, 4);
    return WriteExactly(bytes, 4);
}

bool CFileInterface::WriteS32(int32_t value)
{
    return WriteU32(static_cast<uint32_t>(value));
}

bool CFileInterface::WriteFloat(float value)
{
    return WriteU32(FloatBits(value));
}

bool CFileInterface::WriteVec2(float x, float y)
{
    return WriteFloat(x) && WriteFloat(y);
}

bool CFileInterface::WriteVec3(float x, float y, float z)
{
    return WriteFloat(x) && WriteFloat(y) && WriteFloat(z);
}

bool CFileInterface::WriteString(const char* text)
{
    if (!text)
        return false;
    size_t length = std::strlen(text) + 1;
    if (length > UINT32_MAX)
        return false;
    return WriteU32(static_cast<uint32_t>(length)) && WriteExactly(text, static_cast<uint32_t>(length));
}

