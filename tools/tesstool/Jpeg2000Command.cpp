// tesstool jp2: JPEG-2000 images as the unpacker's resource pack holds them,
// encoded losslessly from a TGA image with the game's own encoder.
//   jp2 encode IN.tga OUT [--codestream] [--alpha]

#include "platform/Tga.h"
#include "tools/tesstool/ToolCommand.h"
#include "tools/tesstool/ToolFiles.h"
#include "utility/source/QelJpeg2000.h"

#include <cstdio>

namespace
{
int Encode(const std::vector<std::string>& args)
{
    bool codeStream = false;
    bool alpha = false;
    for (size_t i = 3; i < args.size(); ++i)
    {
        if (args[i] == "--codestream")
            codeStream = true;
        else if (args[i] == "--alpha")
            alpha = true;
        else
            return 2;
    }
    STgaImage image;
    if (!LoadTga(args[1].c_str(), image))
    {
        std::fprintf(stderr, "tesstool jp2: %s is not a TGA image the game reads\n", args[1].c_str());
        return 1;
    }
    std::vector<uint8_t> bytes;
    if (!EncodeJpeg2000(image.pixels.data(), static_cast<uint32_t>(image.width), static_cast<uint32_t>(image.height),
                        alpha, !codeStream, bytes) ||
        !WriteToolFile(args[2], bytes))
    {
        std::fprintf(stderr, "tesstool jp2: cannot write %s\n", args[2].c_str());
        return 1;
    }
    return 0;
}

int RunJpeg2000Command(const std::vector<std::string>& args)
{
    int result = args.size() >= 3 && args[0] == "encode" ? Encode(args) : 2;
    if (result == 2)
        std::fprintf(stderr, "usage: tesstool jp2 encode IN.tga OUT [--codestream] [--alpha]\n");
    return result;
}

CToolCommand s_jp2("jp2", "encode IN.tga OUT [--codestream] [--alpha]", &RunJpeg2000Command);
} // namespace
