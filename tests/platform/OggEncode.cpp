#include "tests/platform/OggEncode.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{
void AppendPage(std::string& out, const ogg_page& page)
{
    out.append(reinterpret_cast<const char*>(page.header), static_cast<size_t>(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
}
} // namespace

std::string EncodeOggTone(uint32_t rate, int channels, double seconds, double hz, double amplitude)
{
    std::string out;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, static_cast<long>(rate), 0.6f) != 0)
    {
        vorbis_info_clear(&info);
        return out;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1234);

    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0)
        AppendPage(out, page);

    const long total = static_cast<long>(seconds * rate);
    long done = 0;
    bool ended = false;
    while (!ended)
    {
        long chunk = std::min(1024L, total - done);
        if (chunk > 0)
        {
            float** buffers = vorbis_analysis_buffer(&dsp, static_cast<int>(chunk));
            for (long i = 0; i < chunk; ++i)
            {
                float v = static_cast<float>(amplitude * std::sin(2.0 * M_PI * hz * (done + i) / rate));
                for (int c = 0; c < channels; ++c)
                    buffers[c][i] = v;
            }
            vorbis_analysis_wrote(&dsp, static_cast<int>(chunk));
            done += chunk;
        }
        else
        {
            vorbis_analysis_wrote(&dsp, 0);
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1)
        {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet))
            {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                {
                    AppendPage(out, page);
                    if (ogg_page_eos(&page))
                        ended = true;
                }
            }
        }
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

double MeasureRms(const std::vector<int16_t>& samples)
{
    if (samples.empty())
        return 0.0;
    double sum = 0.0;
    for (int16_t s : samples)
        sum += static_cast<double>(s) * s;
    return std::sqrt(sum / samples.size());
}

double MeasurePitch(const std::vector<int16_t>& samples, uint32_t rate)
{
    int crossings = 0;
    size_t first = 0, last = 0;
    for (size_t i = 1; i < samples.size(); ++i)
    {
        if (samples[i - 1] < 0 && samples[i] >= 0)
        {
            if (crossings == 0)
                first = i;
            last = i;
            ++crossings;
        }
    }
    if (crossings < 2)
        return 0.0;
    return (crossings - 1) * static_cast<double>(rate) / static_cast<double>(last - first);
}
