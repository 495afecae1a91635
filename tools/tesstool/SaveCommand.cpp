// `tesstool save info FILE` says what the game's readers make of a player's file: the
// hall of fame's "records.bin" or a save slot. `tesstool save sample FOLDER` writes
// files of each kind as the game writes them (the fuzz harnesses start from them).

#include "frontend/FileWriteLayer.h"
#include "frontend/HallOfFame.h"
#include "frontend/ScoreCode.h"
#include "tools/tesstool/ToolCommand.h"
#include "utility/source/QelMemoryFile.h"

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
constexpr size_t PLAYER_FILE_LIMIT = 1u << 20;

void PrintPilot(const char* indent, const SPilotRecord& pilot)
{
    std::printf("%s\"%s\" score %u difficulty %d reached zone %d play time %u ms\n", indent, pilot.name,
                pilot.score, pilot.difficulty, pilot.reachedZone, pilot.playTime);
    std::printf("%s  kills %d, gems collected %d, ships built %d, saves %d; crew beyond the first %d\n", indent,
                pilot.progress[PILOT_KILLS], pilot.progress[PILOT_GEMS_COLLECTED], pilot.progress[PILOT_SHIPS_BUILT],
                pilot.progress[PILOT_SAVES], pilot.campaignValue);
    for (int i = 0; i < PILOT_SHIPS_STORED; ++i)
    {
        const SPilotShipEntry& ship = pilot.ships[i];
        if (ship.status != PILOT_SHIP_REMOVED || ship.name[0])
            std::printf("%s  ship \"%s\" kills %d flight %u ms %s\n", indent, ship.name, ship.value, ship.secondValue,
                        ship.status == PILOT_SHIP_LISTED ? "listed" : ship.status == PILOT_SHIP_LOST ? "lost" : "removed");
    }
}

int DescribeRecords(const std::string& path, const std::vector<uint8_t>& bytes)
{
    CQelMemoryFile file(bytes);
    CHallOfFame hall;
    std::string why;
    if (!hall.Read(file, why))
    {
        std::printf("%s: records file refused: %s\n", path.c_str(), why.c_str());
        return 1;
    }
    std::printf("%s: records file (%zu bytes)\n", path.c_str(), bytes.size());
    std::printf("best quick-action time: %u ms\n", hall.GetBestQuickActionTime());
    for (int v = 0; v < SURVIVAL_VARIANTS; ++v)
        std::printf("best survival score %d: %u code %s\n", v, hall.GetBestSurvivalScore(v),
                    FormatScoreCode(hall.GetSurvivalCode(v)).c_str());
    std::printf("first play: %s\n", hall.IsFirstPlay() ? "yes" : "no");
    for (int i = 0; i < HALL_OF_FAME_SIZE; ++i)
    {
        const SPilotRecord& entry = hall.GetEntry(i);
        if (entry.score == 0)
            continue;
        std::printf("entry %d: ", i);
        PrintPilot("", entry);
    }
    return 0;
}

bool IsRecordsFile(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    for (char& ch : name)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return name == "records.bin";
}

int Info(const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (!ReadWholeUserFile(path, bytes, PLAYER_FILE_LIMIT))
    {
        std::fprintf(stderr, "tesstool: cannot read %s\n", path.c_str());
        return 1;
    }
    if (IsRecordsFile(path))
        return DescribeRecords(path, bytes);
    std::fprintf(stderr, "tesstool: %s is neither records.bin nor a save slot's zone file\n", path.c_str());
    return 1;
}

int Sample(const std::string& folder)
{
    CHallOfFame hall;
    for (const auto& [name, score] : {std::pair<const char*, uint32_t>{"HALVERN", 5200}, {"ALPHA", 1800}})
    {
        SPilotRecord pilot;
        pilot.SetName(name);
        pilot.score = score;
        pilot.progress[PILOT_KILLS] = static_cast<int32_t>(score / 100);
        hall.Insert(pilot);
    }
    hall.RecordQuickActionTime(125000);
    hall.RecordSurvivalScore(1, 420, "HALVERN");
    if (!hall.Save((folder + "/").c_str()))
    {
        std::fprintf(stderr, "tesstool: cannot write %s/%s\n", folder.c_str(), CHallOfFame::FILE_NAME);
        return 1;
    }
    return 0;
}

int RunSaveCommand(const std::vector<std::string>& args)
{
    if (args.size() == 2 && args[0] == "info")
        return Info(args[1]);
    if (args.size() == 2 && args[0] == "sample")
        return Sample(args[1]);
    std::fprintf(stderr, "usage: tesstool save info FILE | sample FOLDER\n");
    return 2;
}
} // namespace

static CToolCommand s_save("save", "info FILE | sample FOLDER", &RunSaveCommand);
