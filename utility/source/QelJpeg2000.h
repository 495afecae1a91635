#pragma once
// JPEG-2000 pictures in memory, shared by the game's sprite loader and the unpacker.
// Decoding accepts a JP2 file or a raw code stream (told apart by the first bytes);
// encoding is lossless so that a decoded picture equals its source bit for bit.

#include <cstddef>
#include <cstdint>
#include <vector>

struct SDecodedImage
{
    uint32_t width = 0;
    uint32_t height = 0;
    // Colour components taken from the picture: 3 (red, green, blue) or 4 (with alpha).
    uint32_t componentCount = 0;
    // width x height pixels, 4 bytes each in the order blue, green, red, alpha;
    // alpha is 255 when the picture has no fourth component.
    std::vector<uint8_t> pixels;
};

enum class EJpeg2000Kind
{
    None,
    Jp2File,
    CodeStream
};

// Which container the bytes start with; None for anything else.
EJpeg2000Kind DetectJpeg2000(const uint8_t* data, size_t size);

// Decodes a picture with at least three components. Components 0, 1, 2 (and 3
// where present) become red, green, blue (and alpha). Every taken component must
// cover the whole picture at full resolution with unsigned values of at most 8
// bits; anything else, or broken data, gives false and leaves out empty.
// threadCount above 1 lets the decoder split one large picture across threads.
bool DecodeJpeg2000(const uint8_t* data, size_t size, SDecodedImage& out, int threadCount = 1);

struct SJpeg2000Header
{
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t componentCount = 0;
};

// Reads only the header: the picture's size and component count, checked as
// DecodeJpeg2000 checks them, without decoding any sample (to plan memory).
bool ReadJpeg2000Header(const uint8_t* data, size_t size, SJpeg2000Header& out);

// Encodes width x height blue, green, red, alpha pixels losslessly as three
// components (red, green, blue) or four (with alpha), as a JP2 file or a raw code
// stream. False for an empty picture or when the encoder fails.
bool EncodeJpeg2000(const uint8_t* bgraPixels, uint32_t width, uint32_t height, bool withAlpha, bool jp2File,
                    std::vector<uint8_t>& out);
