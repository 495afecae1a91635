// Glyph tables of bitmap fonts ("data/gui/<name>.txt") as a font reads them for two
// loaded pages.

#include "presentation/Font.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<SFontPage> pages(2);
    pages[0] = SFontPage{256, 256, 0, 1.0f / 256, 1.0f / 256};
    pages[1] = SFontPage{64, 32, 1, 1.0f / 64, 1.0f / 32};
    std::vector<SFontRange> ranges;
    std::string reason;
    if (!BuildFontGlyphs(data, size, pages, ranges, reason))
    {
        if (!ranges.empty() || reason.empty())
            std::abort(); // a refused table leaves no glyphs and says why
        return 0;
    }
    // Runs in code order; each glyph of a run has its run's code and a loaded page.
    uint32_t previous = 0;
    for (size_t r = 0; r < ranges.size(); ++r)
    {
        const SFontRange& range = ranges[r];
        if (range.count == 0 || range.count != range.glyphs.size() || (r > 0 && range.first < previous))
            std::abort();
        for (size_t i = 0; i < range.glyphs.size(); ++i)
            if (uint32_t(range.glyphs[i].code) != range.first + i || range.glyphs[i].page < 0 ||
                range.glyphs[i].page >= int(pages.size()))
                std::abort();
        previous = range.first;
    }
    return 0;
}
