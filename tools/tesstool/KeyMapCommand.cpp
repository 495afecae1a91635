// tesstool keymap: the player's key map ("keymap.dat") as the game reads it, and new
// ones for tests and seeds.

#include "frontend/KeyMap.h"
#include "platform/input/DikCodes.h"
#include "tools/tesstool/ToolCommand.h"
#include "tools/tesstool/ToolFiles.h"

#include <cstdio>
#include <cstdlib>

namespace
{
const char* const ACTION_NAMES[CControls::ACTION_COUNT] = {
    "fire group 1", "fire group 2", "gravity beam", "call the station", "thrust",
    "reverse",      "turn left",    "turn right",   "confirm"};

// print FILE: what the game takes from the file on a machine without joysticks.
int Print(const std::string& path)
{
    SKeyMap map;
    std::string reason;
    const EKeyMapRead read = LoadKeyMapFile(path.c_str(), nullptr, map, &reason);
    if (read == EKeyMapRead::DefaultsWhole)
        std::printf("%s %s: the game uses the default key map\n", path.c_str(), reason.c_str());
    for (int i = 0; i < CControls::ACTION_COUNT; ++i)
    {
        const char* name = GetDikName(static_cast<uint8_t>(map.keys[i]));
        std::printf("%-16s %3d %s\n", ACTION_NAMES[i], static_cast<int>(map.keys[i]), name ? name : "(no name)");
    }
    std::printf("dead zone step   %d (%d%% of an axis's half range)\n", static_cast<int>(map.deadZoneStep),
                static_cast<int>(map.deadZoneStep) * 5);
    if (read == EKeyMapRead::DefaultBindings)
        std::printf("joystick         none here: the file %s\n", reason.c_str());
    else
        std::printf("joystick         none\n");
    return read == EKeyMapRead::DefaultsWhole ? 1 : 0;
}

// write OUT [CODE x 9]: the default key map, or one with the nine key codes given.
int Write(const std::vector<std::string>& args)
{
    SKeyMap map;
    if (args.size() == 11)
    {
        for (int i = 0; i < CControls::ACTION_COUNT; ++i)
        {
            char* end = nullptr;
            const long code = std::strtol(args[static_cast<size_t>(i) + 2].c_str(), &end, 0);
            if (!end || *end || code < 0 || code > 255)
            {
                std::fprintf(stderr, "tesstool: '%s' is not a key code of 0 to 255\n",
                             args[static_cast<size_t>(i) + 2].c_str());
                return 2;
            }
            map.keys[i] = static_cast<int32_t>(code);
        }
    }
    if (!WriteToolFile(args[1], EncodeKeyMap(map)))
    {
        std::fprintf(stderr, "tesstool: cannot write %s\n", args[1].c_str());
        return 1;
    }
    return 0;
}

int RunKeyMapCommand(const std::vector<std::string>& args)
{
    if (args.size() == 2 && args[0] == "print")
        return Print(args[1]);
    if ((args.size() == 2 || args.size() == 11) && args[0] == "write")
        return Write(args);
    std::fprintf(stderr, "usage: tesstool keymap print FILE\n"
                         "       tesstool keymap write OUT [CODE x 9]\n");
    return 2;
}

CToolCommand s_keymap("keymap", "print FILE | write OUT [CODE x 9]", &RunKeyMapCommand);
} // namespace
