#include "frontend/DirectorBlock.h"

#include <cstring>

namespace
{
// The tail's tag as the file layer writes a string: its length, the text and its NUL.
constexpr uint8_t TAIL_TAG[8] = {4, 0, 0, 0, 'V', '_', 'S', 0};

bool HasTail(const uint8_t* data, size_t size)
{
    if (!data || size < SDirectorBlock::SIZE)
        return false;
    const uint8_t* tail = data + size - (SDirectorBlock::SIZE - SDirectorBlock::OLDER_SIZE);
    return std::memcmp(tail, TAIL_TAG, sizeof(TAIL_TAG)) == 0 && tail[sizeof(TAIL_TAG)] <= 1;
}

void PutI32(std::vector<uint8_t>& out, int32_t value)
{
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(bits >> shift));
}

template <size_t N>
void PutBytes(std::vector<uint8_t>& out, const uint8_t (&bytes)[N])
{
    out.insert(out.end(), bytes, bytes + N);
}

int32_t TakeI32(const uint8_t*& data)
{
    const uint32_t bits = static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
                          static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
    data += 4;
    return static_cast<int32_t>(bits);
}

// Flag bytes are read as set or clear whatever their value.
template <size_t N>
void TakeBytes(const uint8_t*& data, uint8_t (&bytes)[N])
{
    for (size_t i = 0; i < N; ++i)
        bytes[i] = data[i] != 0 ? 1 : 0;
    data += N;
}
} // namespace

void WriteDirectorBlock(const SDirectorBlock& block, std::vector<uint8_t>& out)
{
    PutI32(out, block.stage);
    PutI32(out, block.step);
    PutI32(out, block.chatPage);
    PutBytes(out, block.visit);
    PutBytes(out, block.boss);
    PutBytes(out, block.frontEnd);
    PutI32(out, block.lastArrivalZone);
    PutBytes(out, block.flight);
    PutI32(out, block.lastZone28);
    PutI32(out, block.lastZone60);
    out.push_back(block.flight28);
    out.push_back(block.flight31);
    out.insert(out.end(), TAIL_TAG, TAIL_TAG + sizeof(TAIL_TAG));
    out.push_back(block.strikeDone != 0 ? 1 : 0);
}

size_t MeasureDirectorBlock(const uint8_t* data, size_t size)
{
    return HasTail(data, size) ? SDirectorBlock::SIZE : SDirectorBlock::OLDER_SIZE;
}

bool ReadDirectorBlock(const uint8_t* data, size_t size, SDirectorBlock& block)
{
    if (!data || (size != SDirectorBlock::OLDER_SIZE && !(size == SDirectorBlock::SIZE && HasTail(data, size))))
        return false;
    const bool tail = size == SDirectorBlock::SIZE;
    SDirectorBlock read;
    read.stage = TakeI32(data);
    read.step = TakeI32(data);
    read.chatPage = TakeI32(data);
    TakeBytes(data, read.visit);
    TakeBytes(data, read.boss);
    TakeBytes(data, read.frontEnd);
    read.lastArrivalZone = TakeI32(data);
    TakeBytes(data, read.flight);
    read.lastZone28 = TakeI32(data);
    read.lastZone60 = TakeI32(data);
    read.flight28 = *data++ != 0 ? 1 : 0;
    read.flight31 = *data++ != 0 ? 1 : 0;
    read.strikeDone = tail ? data[sizeof(TAIL_TAG)] : 0;
    block = read;
    return true;
}
