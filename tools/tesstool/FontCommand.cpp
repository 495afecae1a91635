// tesstool font: bakes the game's bitmap fonts from TrueType fonts.

#include "tools/tesstool/FontBaker.h"
#include "tools/tesstool/ToolCommand.h"

#include <cstdio>
#include <cstdlib>

namespace
{
const char* const USAGE = "bake OUTDIR NAME FONTFILE PIXELS [--page SIDE] [--codes LIST]";

int Bake(const std::vector<std::string>& args)
{
    if (args.size() < 5)
        return -1;
    SFontBakeOptions options;
    options.fontFile = args[3];
    options.pixelSize = std::atoi(args[4].c_str());
    for (size_t i = 5; i < args.size(); ++i)
    {
        if (args[i] == "--page" && i + 1 < args.size())
            options.pageSide = std::atoi(args[++i].c_str());
        else if (args[i] == "--codes" && i + 1 < args.size())
        {
            if (!ParseCodeList(args[++i], options.codes))
            {
                std::fprintf(stderr, "tesstool: bad code list %s\n", args[i].c_str());
                return 1;
            }
        }
        else
            return -1;
    }
    if (options.codes.empty())
        options.codes = DefaultFontCodes();
    SBakedFont font;
    std::string reason;
    if (!BakeFont(options, font, reason) || !WriteBakedFont(font, options.pageSide, args[1], args[2], reason))
    {
        std::fprintf(stderr, "tesstool: font %s: %s\n", args[2].c_str(), reason.c_str());
        return 1;
    }
    std::printf("%s: %zu glyphs on %zu page(s), line height %d\n", args[2].c_str(), font.glyphs.size(),
                font.pages.size(), font.lineHeight);
    return 0;
}

int RunFontCommand(const std::vector<std::string>& args)
{
    int status = (!args.empty() && args[0] == "bake") ? Bake(args) : -1;
    if (status < 0)
    {
        std::fprintf(stderr, "usage: tesstool font %s\n", USAGE);
        return 2;
    }
    return status;
}
} // namespace

static CToolCommand s_font("font", USAGE, &RunFontCommand);
