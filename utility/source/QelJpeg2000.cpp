// Decoding of JPEG-2000 pictures held in memory.

#include "utility/source/QelJpeg2000.h"
#include "utility/source/QelJpeg2000Quiet.h"

#include <algorithm>
#include <cstring>

namespace
{
const uint8_t kJp2Signature[12] = {0x00, 0x00, 0x00, 0x0C, 0x6A, 0x50, 0x20, 0x20, 0x0D, 0x0A, 0x87, 0x0A};
const uint8_t kCodeStreamStart[4] = {0xFF, 0x4F, 0xFF, 0x51};

// Reading side of a memory stream.
struct SReadSource
{
    const uint8_t* data;
    size_t size;
    size_t position;
};

OPJ_SIZE_T ReadFromMemory(void* buffer, OPJ_SIZE_T bytes, void* user)
{
    SReadSource* source = static_cast<SReadSource*>(user);
    size_t left = source->size - source->position;
    if (left == 0)
        return static_cast<OPJ_SIZE_T>(-1);
    size_t count = std::min<size_t>(bytes, left);
    std::memcpy(buffer, source->data + source->position, count);
    source->position += count;
    return count;
}

OPJ_OFF_T SkipInMemory(OPJ_OFF_T bytes, void* user)
{
    SReadSource* source = static_cast<SReadSource*>(user);
    if (bytes < 0)
    {
        size_t back = std::min<size_t>(static_cast<size_t>(-bytes), source->position);
        source->position -= back;
        return -static_cast<OPJ_OFF_T>(back);
    }
    size_t step = std::min<size_t>(static_cast<size_t>(bytes), source->size - source->position);
    source->position += step;
    return static_cast<OPJ_OFF_T>(step);
}

OPJ_BOOL SeekInMemory(OPJ_OFF_T position, void* user)
{
    SReadSource* source = static_cast<SReadSource*>(user);
    if (position < 0 || static_cast<uint64_t>(position) > source->size)
        return OPJ_FALSE;
    source->position = static_cast<size_t>(position);
    return OPJ_TRUE;
}

// A taken component is usable when it has the size the header promised, one sample per
// pixel, with unsigned values of at most 8 bits.
bool IsPlainComponent(const opj_image_comp_t& component, const SJpeg2000Header& header)
{
    return component.data && component.w == header.width && component.h == header.height && component.sgnd == 0 &&
           component.prec >= 1 && component.prec <= 8 && component.factor == 0;
}

bool Fail(std::string* reason, const char* text)
{
    if (reason)
        *reason = text;
    return false;
}
} // namespace

EJpeg2000Kind DetectJpeg2000(const uint8_t* data, size_t size)
{
    if (data && size >= sizeof(kJp2Signature) && std::memcmp(data, kJp2Signature, sizeof(kJp2Signature)) == 0)
        return EJpeg2000Kind::Jp2File;
    if (data && size >= sizeof(kCodeStreamStart) && std::memcmp(data, kCodeStreamStart, sizeof(kCodeStreamStart)) == 0)
        return EJpeg2000Kind::CodeStream;
    return EJpeg2000Kind::None;
}

bool HasJpeg2000Threads()
{
    return opj_has_thread_support() != OPJ_FALSE;
}

struct CJpeg2000Decoder::SState
{
    opj_codec_t* codec = nullptr;
    opj_stream_t* stream = nullptr;
    opj_image_t* image = nullptr;
    SReadSource source = {nullptr, 0, 0};

    ~SState()
    {
        if (image)
            opj_image_destroy(image);
        if (stream)
            opj_stream_destroy(stream);
        if (codec)
            opj_destroy_codec(codec);
    }
};

CJpeg2000Decoder::CJpeg2000Decoder() = default;
CJpeg2000Decoder::~CJpeg2000Decoder() = default;

void CJpeg2000Decoder::Release()
{
    m_state.reset();
    m_header = SJpeg2000Header();
    m_componentCount = 0;
    m_threads = 1;
}

bool CJpeg2000Decoder::Decode(const uint8_t* data, size_t size, int threadCount, const SJpeg2000Limits& limits,
                              std::string* reason)
{
    Release();
    // The size marker is checked by hand before the decoder is made.
    SJpeg2000Header header;
    if (!ReadJpeg2000Header(data, size, header, limits, reason))
        return false;
    std::unique_ptr<SState> state(new SState);
    const EJpeg2000Kind kind = DetectJpeg2000(data, size);
    state->codec = opj_create_decompress(kind == EJpeg2000Kind::Jp2File ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
    if (!state->codec)
        return Fail(reason, "the decoder cannot be made");
    SilenceJpeg2000Codec(state->codec);
    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    state->stream = opj_stream_create(64 * 1024, OPJ_TRUE);
    // Strict: a code stream cut short is broken data, not a picture with missing parts.
    if (!state->stream || !opj_setup_decoder(state->codec, &parameters) ||
        !opj_decoder_set_strict_mode(state->codec, OPJ_TRUE))
        return Fail(reason, "the decoder cannot be set up");
    // Threads are taken only before the header is read.
    int threads = 1;
    if (threadCount > 1 && opj_codec_set_threads(state->codec, threadCount))
        threads = threadCount;
    state->source = {data, size, 0};
    opj_stream_set_user_data(state->stream, &state->source, nullptr);
    opj_stream_set_user_data_length(state->stream, size);
    opj_stream_set_read_function(state->stream, &ReadFromMemory);
    opj_stream_set_skip_function(state->stream, &SkipInMemory);
    opj_stream_set_seek_function(state->stream, &SeekInMemory);
    if (!opj_read_header(state->stream, state->codec, &state->image) || !state->image)
        return Fail(reason, "the JPEG-2000 header does not read");
    if (!opj_decode(state->codec, state->stream, state->image) || !opj_end_decompress(state->codec, state->stream))
        return Fail(reason, "the JPEG-2000 data does not decode");

    // A palette or channel box must not change what the header promised.
    const opj_image_t& image = *state->image;
    if (image.numcomps != header.componentCount || !image.comps)
        return Fail(reason, "the decoded picture is not the one its header promised");
    const uint32_t taken = std::min<uint32_t>(image.numcomps, 4);
    for (uint32_t c = 0; c < taken; ++c)
        if (!IsPlainComponent(image.comps[c], header))
            return Fail(reason, "the decoded picture is not the one its header promised");
    m_state = std::move(state);
    m_header = header;
    m_componentCount = taken;
    m_threads = threads;
    return true;
}

void CJpeg2000Decoder::WritePixels(uint8_t* target, uint32_t bytesPerPixel) const
{
    if (!m_state)
        return;
    // One pass over the picture reading the component planes side by side.
    const opj_image_comp_t* comps = m_state->image->comps;
    const OPJ_INT32* red = comps[0].data;
    const OPJ_INT32* green = comps[1].data;
    const OPJ_INT32* blue = comps[2].data;
    const OPJ_INT32* alpha = m_componentCount > 3 ? comps[3].data : nullptr;
    const size_t count = size_t(m_header.width) * m_header.height;
    if (bytesPerPixel == 3)
    {
        for (size_t i = 0; i < count; ++i, target += 3)
        {
            target[0] = static_cast<uint8_t>(blue[i]);
            target[1] = static_cast<uint8_t>(green[i]);
            target[2] = static_cast<uint8_t>(red[i]);
        }
        return;
    }
    for (size_t i = 0; i < count; ++i, target += 4)
    {
        target[0] = static_cast<uint8_t>(blue[i]);
        target[1] = static_cast<uint8_t>(green[i]);
        target[2] = static_cast<uint8_t>(red[i]);
        target[3] = alpha ? static_cast<uint8_t>(alpha[i]) : 255;
    }
}

bool DecodeJpeg2000(const uint8_t* data, size_t size, SDecodedImage& out, int threadCount,
                    const SJpeg2000Limits& limits, std::string* reason)
{
    out = SDecodedImage();
    CJpeg2000Decoder decoder;
    if (!decoder.Decode(data, size, threadCount, limits, reason))
        return false;
    const SJpeg2000Header& header = decoder.GetHeader();
    out.pixels.resize(size_t(header.width) * header.height * 4);
    decoder.WritePixels(out.pixels.data(), 4);
    out.width = header.width;
    out.height = header.height;
    out.componentCount = decoder.GetComponentCount();
    out.decoderThreads = decoder.GetThreads();
    return true;
}
