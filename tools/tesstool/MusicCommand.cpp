// tesstool music: the sample music, synthesised from small text sources
// (MusicSynth.h) and written as Ogg Vorbis files the game streams.

#include "tools/tesstool/MusicSynth.h"
#include "tools/tesstool/OggEncoder.h"
#include "tools/tesstool/ToolCommand.h"
#include "tools/tesstool/ToolFiles.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace
{
// The game's music stream plays 22050 Hz mono.
constexpr uint32_t MUSIC_RATE = 22050;
constexpr float QUALITY = 0.3f;

bool ReadSource(const std::string& path, SMusicSource& source)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
    {
        std::fprintf(stderr, "tesstool: cannot read %s: %s\n", path.c_str(), DescribeUnreadable(path).c_str());
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    std::string error;
    if (!ParseMusicSource(text.str(), source, error))
    {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

// build SOURCE OUT.ogg
int Build(const std::string& sourcePath, const std::string& outPath)
{
    SMusicSource source;
    if (!ReadSource(sourcePath, source))
        return 1;
    const std::vector<uint8_t> bytes = EncodeOggVorbis(RenderMusic(source, MUSIC_RATE), MUSIC_RATE, QUALITY);
    if (bytes.empty() || !WriteToolFile(outPath, bytes))
    {
        std::fprintf(stderr, "tesstool: cannot write %s\n", outPath.c_str());
        return 1;
    }
    return 0;
}

// check SOURCE...: what a build would play, without writing anything.
int Check(const std::vector<std::string>& args)
{
    int status = 0;
    for (size_t i = 1; i < args.size(); ++i)
    {
        SMusicSource source;
        if (!ReadSource(args[i], source))
        {
            status = 1;
            continue;
        }
        std::printf("%s: %d bars at %.0f beats a minute, %.3f s, %zu voices, %zu drums\n", args[i].c_str(),
                    source.GetBarCount(), source.tempo, source.GetSeconds(), source.voices.size(),
                    source.drums.size());
    }
    return status;
}

int RunMusicCommand(const std::vector<std::string>& args)
{
    if (args.size() == 3 && args[0] == "build")
        return Build(args[1], args[2]);
    if (args.size() >= 2 && args[0] == "check")
        return Check(args);
    std::fprintf(stderr, "usage: tesstool music build SOURCE OUT.ogg\n"
                         "       tesstool music check SOURCE...\n");
    return 2;
}

CToolCommand s_music("music", "build SOURCE OUT.ogg | check SOURCE...", &RunMusicCommand);
} // namespace
