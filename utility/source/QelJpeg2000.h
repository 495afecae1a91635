#pragma once
// JPEG-2000 pictures in memory, shared by the game's sprite loader and the unpacker.
// Decoding accepts a JP2 file or a raw code stream (told apart by the first bytes);
// encoding is lossless so that a decoded picture equals its source bit for bit.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
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
    // Threads the decoder ran with (1 when it was given none of its own).
    int decoderThreads = 1;
};

enum class EJpeg2000Kind
{
    None,
    Jp2File,
    CodeStream
};

// Which container the bytes start with; None for anything else.
EJpeg2000Kind DetectJpeg2000(const uint8_t* data, size_t size);

// Pictures larger than this on a side are refused before anything is allocated.
const uint32_t kMaxJpeg2000Side = 16384;
// A tile grid finer than this is refused: the decoder keeps tables for every tile.
const uint32_t kMaxJpeg2000Tiles = 1024;

// What a reader of pictures takes. Components 0, 1, 2 (and 3 where present) become red,
// green, blue (and alpha); each must hold unsigned values of at most 8 bits.
struct SJpeg2000Limits
{
    uint32_t maxSide = kMaxJpeg2000Side;
    // False: the taken components cover the picture at full resolution. True: they may be
    // subsampled, all alike; the decoded picture then has the components' size.
    bool subsampledAlike = false;
};

struct SJpeg2000Header
{
    uint32_t width = 0; // of the taken components: the size of the decoded picture
    uint32_t height = 0;
    uint32_t componentCount = 0; // in the code stream; at most 4 are taken
    uint32_t tileCount = 0;
};

// Reads the code stream's size marker (in a JP2 file or a raw code stream) without the
// decoder and checks it against the limits: a picture no reader could take, a tile grid
// of more than kMaxJpeg2000Tiles, fewer than 3 or more than 16 components. False with the
// reason when refused; a header that passes may still fail to decode.
bool ReadJpeg2000Header(const uint8_t* data, size_t size, SJpeg2000Header& out,
                        const SJpeg2000Limits& limits = SJpeg2000Limits(), std::string* reason = nullptr);

// Decodes a picture whose header passes ReadJpeg2000Header with the same limits.
// Anything else, or broken data (a cut-short code stream included), gives false and
// leaves out empty, with the reason. threadCount above 1 asks the decoder to split the picture's code
// blocks across that many threads; out.decoderThreads says how many it was granted.
bool DecodeJpeg2000(const uint8_t* data, size_t size, SDecodedImage& out, int threadCount = 1,
                    const SJpeg2000Limits& limits = SJpeg2000Limits(), std::string* reason = nullptr);

// A picture decoded in steps, for callers that place its pixels themselves (the unpacker
// writes them straight into the image file it stores).
class CJpeg2000Decoder
{
public:
    CJpeg2000Decoder();
    ~CJpeg2000Decoder();
    CJpeg2000Decoder(const CJpeg2000Decoder&) = delete;
    CJpeg2000Decoder& operator=(const CJpeg2000Decoder&) = delete;

    // As DecodeJpeg2000; the decoded samples are kept until Release or the next Decode.
    bool Decode(const uint8_t* data, size_t size, int threadCount, const SJpeg2000Limits& limits,
                std::string* reason = nullptr);
    const SJpeg2000Header& GetHeader() const { return m_header; }
    uint32_t GetComponentCount() const { return m_componentCount; } // taken: 3 or 4
    int GetThreads() const { return m_threads; }
    // Rows of blue, green, red bytes (bytesPerPixel 3) or blue, green, red, alpha (4,
    // alpha 255 without a fourth component), header width x height pixels.
    void WritePixels(uint8_t* target, uint32_t bytesPerPixel) const;
    void Release();

private:
    struct SState;
    std::unique_ptr<SState> m_state;
    SJpeg2000Header m_header;
    uint32_t m_componentCount = 0;
    int m_threads = 1;
};

// Whether the decoder can split a picture across threads at all.
bool HasJpeg2000Threads();

// Encodes width x height blue, green, red, alpha pixels losslessly as three
// components (red, green, blue) or four (with alpha), as a JP2 file or a raw code
// stream. False for an empty picture or when the encoder fails.
bool EncodeJpeg2000(const uint8_t* bgraPixels, uint32_t width, uint32_t height, bool withAlpha, bool jp2File,
                    std::vector<uint8_t>& out);
