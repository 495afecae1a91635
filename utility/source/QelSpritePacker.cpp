#include "utility/source/QelSpritePacker.h"

#include <algorithm>
#include <cstring>

namespace
{
uint32_t RoundUpToPowerOfTwo(uint32_t value)
{
    uint32_t result = 1;
    while (result < value)
        result <<= 1;
    return result;
}
} // namespace

bool PackSpriteFrames(const std::vector<std::vector<uint8_t>>& frames, uint32_t frameWidth, uint32_t frameHeight,
                      const SSpritePackOptions& options, SSpriteFileData& out)
{
    out = SSpriteFileData();
    const size_t frameBytes = static_cast<size_t>(frameWidth) * frameHeight * 4;
    if (frames.empty() || frameWidth == 0 || frameHeight == 0 || frameWidth > options.maxPageSide ||
        frameHeight > options.maxPageSide || options.maxPageSide > spritefile::kMaxPageSide)
        return false;
    for (const std::vector<uint8_t>& frame : frames)
        if (frame.size() != frameBytes)
            return false;

    const uint32_t columns = options.maxPageSide / frameWidth;
    const uint32_t rows = options.maxPageSide / frameHeight;
    const size_t perPage = static_cast<size_t>(columns) * rows;

    out.pixelFormat = options.pixelFormat;
    out.frameWidth = frameWidth;
    out.frameHeight = frameHeight;
    for (size_t first = 0; first < frames.size(); first += perPage)
    {
        const size_t count = std::min(perPage, frames.size() - first);
        // The smallest power-of-two page that holds this page's frames.
        const uint32_t usedColumns = static_cast<uint32_t>(std::min<size_t>(count, columns));
        const uint32_t usedRows = static_cast<uint32_t>((count + columns - 1) / columns);
        SSpritePageData page;
        page.width = RoundUpToPowerOfTwo(usedColumns * frameWidth);
        page.height = RoundUpToPowerOfTwo(usedRows * frameHeight);
        page.storage = options.storage;
        page.pixels.assign(static_cast<size_t>(page.width) * page.height * 4, 0);
        for (size_t i = 0; i < count; ++i)
        {
            const uint32_t left = static_cast<uint32_t>(i % columns) * frameWidth;
            const uint32_t top = static_cast<uint32_t>(i / columns) * frameHeight;
            const uint8_t* source = frames[first + i].data();
            for (uint32_t y = 0; y < frameHeight; ++y)
                std::memcpy(&page.pixels[(static_cast<size_t>(top + y) * page.width + left) * 4],
                            source + static_cast<size_t>(y) * frameWidth * 4, static_cast<size_t>(frameWidth) * 4);
            SSpriteFrameData frame;
            frame.page = static_cast<uint32_t>(out.pages.size());
            frame.leftU = static_cast<float>(left) / static_cast<float>(page.width);
            frame.topV = static_cast<float>(top) / static_cast<float>(page.height);
            out.frames.push_back(frame);
        }
        if (!spritefile::HasAlpha(options.pixelFormat))
            for (size_t i = 3; i < page.pixels.size(); i += 4)
                page.pixels[i] = 255;
        out.pages.push_back(std::move(page));
    }
    return true;
}
