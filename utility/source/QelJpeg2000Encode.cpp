// Lossless JPEG-2000 encoding into memory (sample data and tests; the game only decodes).

#include "utility/source/QelJpeg2000.h"
#include "utility/source/QelJpeg2000Quiet.h"

#include <algorithm>
#include <cstring>

namespace
{
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

} // namespace

bool EncodeJpeg2000(const uint8_t* bgraPixels, uint32_t width, uint32_t height, bool withAlpha, bool jp2File,
                    std::vector<uint8_t>& out)
{
    out.clear();
    if (!bgraPixels || width == 0 || height == 0 || width > kMaxJpeg2000Side || height > kMaxJpeg2000Side)
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
        SilenceJpeg2000Codec(codec);
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
