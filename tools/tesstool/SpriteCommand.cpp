// tesstool sprite: builds sprite files from TGA images (one frame each) or drawn
// shape sources (see SpriteShapes.h) and prints what the game's loader reads from one.

#include "platform/Tga.h"
#include "tools/tesstool/SpriteShapes.h"
#include "tools/tesstool/ToolCommand.h"
#include "tools/tesstool/ToolFiles.h"
#include "utility/source/QelSpriteFormat.h"
#include "utility/source/QelSpritePacker.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace
{
bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    bytes = buffer.str();
    return !in.bad();
}

bool ReadNumber(const std::string& text, long low, long high, long& value)
{
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0' && value >= low && value <= high;
}

bool EndsWithNoCase(const std::string& text, const char* ending)
{
    size_t length = std::strlen(ending);
    if (text.size() < length)
        return false;
    for (size_t i = 0; i < length; ++i)
        if (std::tolower(static_cast<unsigned char>(text[text.size() - length + i])) != ending[i])
            return false;
    return true;
}

// A ".tga" source is one frame; anything else is a shape source of one or more frames.
bool ReadSource(const std::string& name, const std::string& bytes, bool keepAlpha, const std::string& fontFile,
                SShapeFrames& out, std::string& error)
{
    if (!EndsWithNoCase(name, ".tga"))
        return DrawShapeSource(bytes, keepAlpha, out, error, fontFile);
    STgaImage image;
    if (!DecodeTga(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image))
    {
        error = "not a readable TGA image";
        return false;
    }
    out = SShapeFrames();
    out.width = static_cast<uint32_t>(image.width);
    out.height = static_cast<uint32_t>(image.height);
    out.frames.push_back(std::move(image.pixels));
    return true;
}

int Build(const std::vector<std::string>& args)
{
    if (args.empty())
        return 2;
    const std::string& target = args[0];
    SSpritePackOptions options;
    bool formatGiven = false;
    std::string fontFile;
    std::vector<std::string> sources;
    for (size_t i = 1; i < args.size(); ++i)
    {
        long value = 0;
        if (args[i] == "--format" && i + 1 < args.size() && ReadNumber(args[i + 1], 0, 4, value))
        {
            options.pixelFormat = static_cast<int32_t>(value);
            formatGiven = true;
            ++i;
        }
        else if (args[i] == "--page" && i + 1 < args.size() &&
                 ReadNumber(args[i + 1], 1, spritefile::kMaxPageSide, value))
        {
            options.maxPageSide = static_cast<uint32_t>(value);
            ++i;
        }
        else if (args[i] == "--font" && i + 1 < args.size())
            fontFile = args[++i];
        else if (args[i] == "--jp2")
            options.storage = spritefile::kStorageJpeg2000;
        else if (args[i].rfind("--", 0) == 0)
        {
            std::fprintf(stderr, "tesstool sprite: bad option '%s'\n", args[i].c_str());
            return 2;
        }
        else
            sources.push_back(args[i]);
    }
    if (!formatGiven || sources.empty())
    {
        std::fprintf(stderr, "tesstool sprite build: --format and at least one source are needed\n");
        return 2;
    }

    std::vector<std::vector<uint8_t>> frames;
    uint32_t width = 0, height = 0;
    for (const std::string& source : sources)
    {
        std::string text, error;
        SShapeFrames drawn;
        if (!ReadWholeFile(source, text))
        {
            std::fprintf(stderr, "tesstool sprite: cannot read %s\n", source.c_str());
            return 1;
        }
        if (!ReadSource(source, text, spritefile::HasAlpha(options.pixelFormat), fontFile, drawn, error))
        {
            std::fprintf(stderr, "tesstool sprite: %s: %s\n", source.c_str(), error.c_str());
            return 1;
        }
        if (!frames.empty() && (drawn.width != width || drawn.height != height))
        {
            std::fprintf(stderr, "tesstool sprite: %s: frames of one file must have one size\n", source.c_str());
            return 1;
        }
        width = drawn.width;
        height = drawn.height;
        frames.insert(frames.end(), std::make_move_iterator(drawn.frames.begin()),
                      std::make_move_iterator(drawn.frames.end()));
    }

    SSpriteFileData file;
    std::vector<uint8_t> bytes;
    std::string error;
    if (!PackSpriteFrames(frames, width, height, options, file))
    {
        std::fprintf(stderr, "tesstool sprite: %u x %u frames do not fit a %u page\n", width, height,
                     options.maxPageSide);
        return 1;
    }
    if (!WriteSpriteFile(file, bytes, &error) || !WriteToolFile(target, bytes))
    {
        std::fprintf(stderr, "tesstool sprite: cannot write %s %s\n", target.c_str(), error.c_str());
        return 1;
    }
    return 0;
}

int Info(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        return 2;
    std::string bytes, error;
    SSpriteFileData file;
    if (!ReadWholeFile(args[0], bytes))
    {
        std::fprintf(stderr, "tesstool sprite: cannot read %s\n", args[0].c_str());
        return 1;
    }
    if (!ParseSpriteFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), file, &error))
    {
        std::fprintf(stderr, "tesstool sprite: %s: %s\n", args[0].c_str(), error.c_str());
        return 1;
    }
    std::printf("format %d, frame %u x %u, %zu pages, %zu frames\n", file.pixelFormat, file.frameWidth,
                file.frameHeight, file.pages.size(), file.frames.size());
    for (size_t p = 0; p < file.pages.size(); ++p)
        std::printf("page %zu: %u x %u %s\n", p, file.pages[p].width, file.pages[p].height,
                    file.pages[p].storage == spritefile::kStorageJpeg2000 ? "jpeg2000" : "raw");
    for (size_t f = 0; f < file.frames.size(); ++f)
    {
        const SSpriteFrameData& frame = file.frames[f];
        const SSpritePageData& page = file.pages[frame.page];
        float right = frame.leftU + static_cast<float>(file.frameWidth) / static_cast<float>(page.width);
        float bottom = frame.topV + static_cast<float>(file.frameHeight) / static_cast<float>(page.height);
        std::printf("frame %zu: page %u, u %g..%g, v %g..%g\n", f, frame.page, frame.leftU, right, frame.topV,
                    bottom);
    }
    return 0;
}

int RunSpriteCommand(const std::vector<std::string>& args)
{
    if (!args.empty() && args[0] == "build")
        return Build(std::vector<std::string>(args.begin() + 1, args.end()));
    if (!args.empty() && args[0] == "info")
        return Info(std::vector<std::string>(args.begin() + 1, args.end()));
    std::fprintf(stderr, "usage: tesstool sprite build OUT --format N [--jp2] [--page SIDE] [--font TTF] IMAGE...\n"
                         "       tesstool sprite info FILE\n");
    return 2;
}

CToolCommand s_sprite("sprite", "build OUT --format N [--jp2] [--page SIDE] [--font TTF] IMAGE... | info FILE",
                      &RunSpriteCommand);
} // namespace
