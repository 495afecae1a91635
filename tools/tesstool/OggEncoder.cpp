#include "tools/tesstool/OggEncoder.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace
{
void AppendPage(std::vector<uint8_t>& out, const ogg_page& page)
{
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

// The encoder's blocks that are ready, as pages; true once the last page is out.
bool DrainBlocks(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream, std::vector<uint8_t>& out)
{
    bool ended = false;
    while (vorbis_analysis_blockout(&dsp, &block) == 1)
    {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(&dsp, &packet))
        {
            ogg_stream_packetin(&stream, &packet);
            ogg_page page;
            while (ogg_stream_pageout(&stream, &page) != 0)
            {
                AppendPage(out, page);
                ended = ended || ogg_page_eos(&page);
            }
        }
    }
    return ended;
}
} // namespace

std::vector<uint8_t> EncodeOggVorbis(const std::vector<float>& samples, uint32_t rate, float quality)
{
    std::vector<uint8_t> out;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 1, static_cast<long>(rate), quality) != 0)
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
    // A fixed serial number: the same tune gives the same file.
    ogg_stream_init(&stream, 0x54455353);

    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0)
        AppendPage(out, page);

    constexpr size_t CHUNK = 1024;
    for (size_t done = 0; done < samples.size(); done += CHUNK)
    {
        const size_t count = std::min(CHUNK, samples.size() - done);
        float** buffers = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
        std::copy(samples.begin() + static_cast<long>(done), samples.begin() + static_cast<long>(done + count),
                  buffers[0]);
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        DrainBlocks(dsp, block, stream, out);
    }
    vorbis_analysis_wrote(&dsp, 0);
    while (!DrainBlocks(dsp, block, stream, out))
    {
        if (ogg_stream_flush(&stream, &page) == 0)
            break;
        AppendPage(out, page);
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}
