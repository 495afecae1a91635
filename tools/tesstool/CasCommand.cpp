// tesstool cas: ".cas" animations.
//   cas build SOURCE OUT   compiles a readable source (presentation/CasSource.h) into the file
//   cas info FILE          what the game's reader makes of a file: tracks, lines and key counts
//   cas check FILE...      what would go wrong when the game plays them (tools/tesstool/CasCheck.h),
//                          run in the program folder: its packs and string table are used

#include "core/FileBytes.h"
#include "core/StringTable.h"
#include "core/Utf8Text.h"
#include "presentation/CasFile.h"
#include "presentation/CasSource.h"
#include "tools/tesstool/CasCheck.h"
#include "tools/tesstool/ToolCommand.h"
#include "tools/tesstool/ToolFiles.h"
#include "utility/source/QelPackArchive.h"

#include <cstdio>
#include <string>
#include <vector>

namespace
{
std::string Text(const CWString& text)
{
    return Utf16ToUtf8(text.GetText());
}

int Build(const std::string& source, const std::string& out)
{
    SCasAnimation animation;
    std::string error;
    if (!CompileCasSourceFile(source.c_str(), animation, error))
    {
        std::fprintf(stderr, "tesstool cas: %s: %s\n", source.c_str(), error.c_str());
        return 1;
    }
    if (!WriteToolFile(out, WriteCasAnimation(animation)))
    {
        std::fprintf(stderr, "tesstool cas: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}

int Info(const std::string& path)
{
    std::vector<uint8_t> bytes;
    SCasAnimation animation;
    std::string error;
    if (!ReadFileBytes(path.c_str(), bytes))
    {
        std::fprintf(stderr, "tesstool cas: cannot read %s\n", path.c_str());
        return 1;
    }
    if (!ReadCasAnimation(bytes.data(), bytes.size(), animation, error))
    {
        std::fprintf(stderr, "tesstool cas: %s: %s\n", path.c_str(), error.c_str());
        return 1;
    }
    std::printf("length %u\n", animation.m_length);
    for (size_t i = 0; i < animation.m_spriteTracks.size(); ++i)
    {
        const SCasSpriteTrack& t = animation.m_spriteTracks[i];
        std::printf("sprite %zu: %s group %d length %u keys position %zu rotation %zu scale %zu colour %zu "
                    "frame %zu visible %zu\n",
                    i, Text(t.m_fileName).c_str(), t.m_groupId, t.m_clock.m_length, t.m_position.m_keys.size(),
                    t.m_rotation.m_keys.size(), t.m_scale.m_keys.size(), t.m_colour.m_keys.size(),
                    t.m_frame.m_keys.size(), t.m_visible.m_keys.size());
    }
    for (size_t i = 0; i < animation.m_textTracks.size(); ++i)
    {
        const SCasTextTrack& t = animation.m_textTracks[i];
        std::printf("text %zu: length %u font %d keys position %zu colour %zu\n", i, t.m_clock.m_length, t.m_font,
                    t.m_position.m_keys.size(), t.m_colour.m_keys.size());
        for (const CWString& line : t.m_lines)
            std::printf("  line %s\n", Text(line).c_str());
    }
    for (size_t i = 0; i < animation.m_soundTracks.size(); ++i)
    {
        const SCasSoundTrack& t = animation.m_soundTracks[i];
        std::printf("sound %zu: %s length %u loop %d keys pan %zu volume %zu play %zu\n", i,
                    Text(t.m_fileName).c_str(), t.m_clock.m_length, t.m_loop ? 1 : 0, t.m_pan.m_keys.size(),
                    t.m_volume.m_keys.size(), t.m_play.m_keys.size());
    }
    return 0;
}

int Check(const std::vector<std::string>& paths)
{
    if (!InitPackArchive())
    {
        std::fprintf(stderr, "tesstool cas: out of memory\n");
        return 1;
    }
    CStringTable strings;
    const bool haveStrings = strings.Load(STRING_TABLE_PATH) && strings.SelectLanguage(0);
    size_t count = 0;
    for (const std::string& path : paths)
    {
        std::vector<std::string> problems;
        CheckCasSequence(path.c_str(), haveStrings ? &strings : nullptr, problems);
        for (const std::string& problem : problems)
            std::printf("%s: %s\n", path.c_str(), problem.c_str());
        count += problems.size();
    }
    FreePackArchive();
    return count == 0 ? 0 : 1;
}

int Run(const std::vector<std::string>& args)
{
    if (args.size() == 3 && args[0] == "build")
        return Build(args[1], args[2]);
    if (args.size() == 2 && args[0] == "info")
        return Info(args[1]);
    if (args.size() >= 2 && args[0] == "check")
        return Check(std::vector<std::string>(args.begin() + 1, args.end()));
    std::fprintf(stderr, "usage: tesstool cas build SOURCE OUT | info FILE | check FILE...\n");
    return 2;
}

CToolCommand s_cas("cas", "build SOURCE OUT | info FILE | check FILE...", &Run);
} // namespace
