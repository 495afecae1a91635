// JPEG-2000 pictures (JP2 files and raw code streams) as sprite pages and the
// unpacker's images are decoded: full resolution only, and subsampled alike.

#include "utility/source/QelJpeg2000.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (bool subsampledAlike : {false, true})
    {
        SJpeg2000Limits limits;
        limits.subsampledAlike = subsampledAlike;
        SJpeg2000Header header;
        const bool headerRead = ReadJpeg2000Header(data, size, header, limits);
        SDecodedImage image;
        if (!DecodeJpeg2000(data, size, image, 1, limits))
        {
            if (!image.pixels.empty())
                std::abort();
            continue;
        }
        // A picture that decodes has the size and components its header promised.
        if (!headerRead || header.width != image.width || header.height != image.height ||
            std::min(header.componentCount, 4u) != image.componentCount ||
            image.pixels.size() != static_cast<size_t>(image.width) * image.height * 4)
            std::abort();
    }
    return 0;
}
