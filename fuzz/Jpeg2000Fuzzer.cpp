// JPEG-2000 pictures (JP2 files and raw code streams) as sprite pages and the
// unpacker's images are decoded.

#include "utility/source/QelJpeg2000.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SJpeg2000Header header;
    bool headerRead = ReadJpeg2000Header(data, size, header);
    SDecodedImage image;
    if (!DecodeJpeg2000(data, size, image))
    {
        if (!image.pixels.empty())
            std::abort();
        return 0;
    }
    // A picture that decodes has the size and components its header promised.
    if (!headerRead || header.width != image.width || header.height != image.height ||
        header.componentCount != image.componentCount ||
        image.pixels.size() != static_cast<size_t>(image.width) * image.height * 4)
        std::abort();
    return 0;
}
