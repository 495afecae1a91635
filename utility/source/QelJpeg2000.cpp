#include "utility/source/QelJpeg2000.h"

#include <openjpeg.h>

#include <algorithm>
#include <cstring>

namespace
{
// Pictures larger than this on a side are refused before anything is allocated.
const uint32_t kMaxSide = 16384;

const uint8_t kJp2Signature[12] = {0x00, 0x00, 0x00, 0x0C, 0x6A, 0x50, 0x20, 0x20, 0x0D, 0x0A, 0x87, 0x0A};
const uint8_t kCodeStreamStart[4] = {0xFF, 0x4F, 0xFF, 0x51};

void Quiet(const char*, void*)
{
}

void SilenceCodec(opj_codec_t* codec)
{
    opj_set_error_handler(codec, &Quiet, nullptr);
    opj_set_warning_handler(codec, &Quiet, nullptr);
    opj_set_info_handler(codec, &Quiet, nullptr);
}

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

// Writing side of a memory stream.
struct SWriteTarget
{
    std::vector<uint8_t>* bytes;
    size_t position;
};

OPJ_SIZE_T WriteToMemory(void* buffer, OPJ_SIZE_T count, void* user)
{
    SWriteTarget* target = static_cast<SWriteTarget*>(user);
    if (target->bytes->size() < target->position + count)
        target->bytes->resize(target->position + count);
    std::memcpy(target->bytes->data() + target->position, buffer, count);
    target->position += count;
    return count;
}

OPJ_OFF_T SkipInOutput(OPJ_OFF_T bytes, void* user)
{
    SWriteTarget* target = static_cast<SWriteTarget*>(user);
    if (bytes < 0 && static_cast<size_t>(-bytes) > target->position)
        return -1;
    target->position = static_cast<size_t>(static_cast<OPJ_OFF_T>(target->position) + bytes);
    if (target->bytes->size() < target->position)
        target->bytes->resize(target->position);
    return bytes;
}

OPJ_BOOL SeekInOutput(OPJ_OFF_T position, void* user)
{
    SWriteTarget* target = static_cast<SWriteTarget*>(user);
    if (position < 0)
        return OPJ_FALSE;
    target->position = static_cast<size_t>(position);
    if (target->bytes->size() < target->position)
        target->bytes->resize(target->position);
    return OPJ_TRUE;
}

// A component is usable when it covers the whole picture, one sample per pixel,
// with unsigned values of at most 8 bits.
bool IsPlainComponent(const opj_image_comp_t& component, uint32_t width, uint32_t height)
{
    return component.data && component.w == width && component.h == height && component.dx == 1 &&
           component.dy == 1 && component.sgnd == 0 && component.prec >= 1 && component.prec <= 8 &&
           component.factor == 0;
}

bool CopyPixels(const opj_image_t& image, SDecodedImage& out)
{
    if (image.numcomps < 3 || !image.comps || image.x1 <= image.x0 || image.y1 <= image.y0)
        return false;
    uint32_t width = image.x1 - image.x0;
    uint32_t height = image.y1 - image.y0;
    if (width > kMaxSide || height > kMaxSide)
        return false;
    uint32_t taken = std::min<uint32_t>(image.numcomps, 4);
    for (uint32_t c = 0; c < taken; ++c)
        if (!IsPlainComponent(image.comps[c], width, height))
            return false;

    size_t count = static_cast<size_t>(width) * height;
    out.pixels.assign(count * 4, 255);
    // Memory order blue, green, red, alpha from components 2, 1, 0, 3.
    static const int kByteOfComponent[4] = {2, 1, 0, 3};
    for (uint32_t c = 0; c < taken; ++c)
    {
        const OPJ_INT32* samples = image.comps[c].data;
        uint8_t* target = out.pixels.data() + kByteOfComponent[c];
        for (size_t i = 0; i < count; ++i)
            target[i * 4] = static_cast<uint8_t>(samples[i] & 0xFF);
    }
    out.width = width;
    out.height = height;
    out.componentCount = taken;
    return true;
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

namespace
{
// A decoder over bytes in memory with its header read and checked; the header's
// size is checked before the decoder allocates any samples.
struct SOpenDecoder
{
    opj_codec_t* codec = nullptr;
    opj_stream_t* stream = nullptr;
    opj_image_t* image = nullptr;
    SReadSource source = {nullptr, 0, 0};

    SOpenDecoder() = default;
    SOpenDecoder(const SOpenDecoder&) = delete;
    SOpenDecoder& operator=(const SOpenDecoder&) = delete;
    ~SOpenDecoder()
    {
        if (image)
            opj_image_destroy(image);
        if (stream)
            opj_stream_destroy(stream);
        if (codec)
            opj_destroy_codec(codec);
    }

    bool Open(const uint8_t* data, size_t size)
    {
        EJpeg2000Kind kind = DetectJpeg2000(data, size);
        if (kind == EJpeg2000Kind::None)
            return false;
        codec = opj_create_decompress(kind == EJpeg2000Kind::Jp2File ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
        if (!codec)
            return false;
        SilenceCodec(codec);
        opj_dparameters_t parameters;
        opj_set_default_decoder_parameters(&parameters);
        stream = opj_stream_create(64 * 1024, OPJ_TRUE);
        if (!stream || !opj_setup_decoder(codec, &parameters))
            return false;
        source = {data, size, 0};
        opj_stream_set_user_data(stream, &source, nullptr);
        opj_stream_set_user_data_length(stream, size);
        opj_stream_set_read_function(stream, &ReadFromMemory);
        opj_stream_set_skip_function(stream, &SkipInMemory);
        opj_stream_set_seek_function(stream, &SeekInMemory);
        return opj_read_header(stream, codec, &image) && image && image->x1 > image->x0 &&
               image->y1 > image->y0 && image->x1 - image->x0 <= kMaxSide && image->y1 - image->y0 <= kMaxSide &&
               image->numcomps >= 3;
    }
};
} // namespace

bool ReadJpeg2000Header(const uint8_t* data, size_t size, SJpeg2000Header& out)
{
    out = SJpeg2000Header();
    SOpenDecoder decoder;
    if (!decoder.Open(data, size))
        return false;
    out.width = decoder.image->x1 - decoder.image->x0;
    out.height = decoder.image->y1 - decoder.image->y0;
    out.componentCount = decoder.image->numcomps;
    return true;
}

bool DecodeJpeg2000(const uint8_t* data, size_t size, SDecodedImage& out, int threadCount)
{
    out = SDecodedImage();
    SOpenDecoder decoder;
    bool ok = decoder.Open(data, size);
    if (ok && threadCount > 1)
        opj_codec_set_threads(decoder.codec, threadCount);
    ok = ok && opj_decode(decoder.codec, decoder.stream, decoder.image) &&
         opj_end_decompress(decoder.codec, decoder.stream);
    ok = ok && CopyPixels(*decoder.image, out);
    if (!ok)
        out = SDecodedImage();
    return ok;
}

bool EncodeJpeg2000(const uint8_t* bgraPixels, uint32_t width, uint32_t height, bool withAlpha, bool jp2File,
                    std::vector<uint8_t>& out)
{
    out.clear();
    if (!bgraPixels || width == 0 || height == 0 || width > kMaxSide || height > kMaxSide)
        return false;
    const uint32_t componentCount = withAlpha ? 4 : 3;
    opj_image_cmptparm_t componentParameters[4];
    std::memset(componentParameters, 0, sizeof(componentParameters));
    for (uint32_t c = 0; c < componentCount; ++c)
    {
        componentParameters[c].dx = 1;
        componentParameters[c].dy = 1;
        componentParameters[c].w = width;
        componentParameters[c].h = height;
        componentParameters[c].prec = 8;
        componentParameters[c].sgnd = 0;
    }
    opj_image_t* image = opj_image_create(componentCount, componentParameters, OPJ_CLRSPC_SRGB);
    if (!image)
        return false;
    image->x0 = 0;
    image->y0 = 0;
    image->x1 = width;
    image->y1 = height;
    if (withAlpha)
        image->comps[3].alpha = 1;
    static const int kByteOfComponent[4] = {2, 1, 0, 3};
    size_t count = static_cast<size_t>(width) * height;
    for (uint32_t c = 0; c < componentCount; ++c)
        for (size_t i = 0; i < count; ++i)
            image->comps[c].data[i] = bgraPixels[i * 4 + kByteOfComponent[c]];

    opj_cparameters_t parameters;
    opj_set_default_encoder_parameters(&parameters);
    // Reversible 5/3 wavelet with no quality layers given: lossless. Small pictures
    // need fewer resolution levels than the default.
    parameters.irreversible = 0;
    parameters.tcp_mct = 1;
    int resolutions = 1;
    while (resolutions < 6 && (1u << resolutions) <= std::min(width, height))
        ++resolutions;
    parameters.numresolution = resolutions;

    opj_codec_t* codec = opj_create_compress(jp2File ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
    bool ok = codec != nullptr;
    if (ok)
    {
        SilenceCodec(codec);
        ok = opj_setup_encoder(codec, &parameters, image);
    }
    opj_stream_t* stream = ok ? opj_stream_create(64 * 1024, OPJ_FALSE) : nullptr;
    SWriteTarget target = {&out, 0};
    if (stream)
    {
        opj_stream_set_user_data(stream, &target, nullptr);
        opj_stream_set_write_function(stream, &WriteToMemory);
        opj_stream_set_skip_function(stream, &SkipInOutput);
        opj_stream_set_seek_function(stream, &SeekInOutput);
        ok = opj_start_compress(codec, image, stream) && opj_encode(codec, stream) && opj_end_compress(codec, stream);
        opj_stream_destroy(stream);
    }
    else
        ok = false;
    if (codec)
        opj_destroy_codec(codec);
    opj_image_destroy(image);
    if (!ok)
        out.clear();
    return ok;
}
