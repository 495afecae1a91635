// Sprite files with raw and JPEG-2000 pages, as the sprite bank fills a slot.

#include "presentation/SpriteTypes.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SSpriteFile file;
    std::string error;
    if (!file.Read(data, size, error))
    {
        if (error.empty() || file.IsUsed())
            std::abort(); // a refused file says why and leaves the slot free
        return 0;
    }
    for (const SSpriteFrame& frame : file.m_frames)
    {
        if (frame.m_page >= file.m_pages.size())
            std::abort();
    }
    file.Clear();
    return 0;
}
