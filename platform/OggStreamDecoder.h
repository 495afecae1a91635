#pragma once
// An Ogg Vorbis file decoded block by block as it is read through the game's file
// layer (disk first, then the pack archive). The file is read forward only: the
// decoder never seeks.

#include <cstdint>
#include <memory>

struct SOggState;

class COggStreamDecoder
{
public:
    COggStreamDecoder();
    ~COggStreamDecoder();
    COggStreamDecoder(const COggStreamDecoder&) = delete;
    COggStreamDecoder& operator=(const COggStreamDecoder&) = delete;

    // Closes any open file first. False when the file is missing or not Ogg Vorbis.
    bool Open(const char* fileName);
    void Close();
    bool IsOpen() const;
    // Samples per second of the open file (0 when none is open).
    uint32_t GetRate() const;
    // Decodes up to bytes of interleaved little-endian PCM: 16-bit signed, or 8-bit
    // unsigned (so that 128 is silence, as in every 8-bit buffer). Gives the bytes
    // decoded, 0 at the end of the file, or a negative number on a decoding error.
    long Read(uint8_t* out, uint32_t bytes, bool eightBit);

private:
    std::unique_ptr<SOggState> m_state;
};
