// TGA images as texture files are read.

#include "platform/DebugOutput.h"
#include "platform/Tga.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Reasons for refusing an image would flood the fuzzer's output.
    SetDebugOutputSink([](const char*) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    STgaImage image;
    if (!DecodeTga(data, size, image))
    {
        if (!image.pixels.empty())
            std::abort(); // a failed decode leaves the image empty
        return 0;
    }
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4)
        std::abort();
    return 0;
}
