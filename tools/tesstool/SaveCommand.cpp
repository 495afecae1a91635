// `tesstool save info FILE` says what the game's readers make of a player's file: the
// hall of fame's "records.bin" or a save slot's "save%izone.bin" (with the ships file
// beside it, and the zones of "data/game1.txt" under the current folder, as the game
// reads them). `tesstool save sample FOLDER [ZONES]` writes a records file as the game
// writes one, and with a zone file a save slot of a new game in its zones (the fuzz
// harnesses start from them).

#include "core/DefinitionProblems.h"
#include "frontend/Campaign.h"
#include "frontend/DirectorBlock.h"
#include "frontend/FileWriteLayer.h"
#include "frontend/SaveSlots.h"
#include "ships/ShipComponentDatabase.h"
#include "utility/source/QelCrc32.h"
#include "world/Game.h"
#include "world/ZoneFile.h"
#include "world/ZoneManager.h"
#include "world/ZoneNodeState.h"
#include "frontend/HallOfFame.h"
#include "frontend/ScoreCode.h"
#include "tools/tesstool/ToolCommand.h"
#include "utility/source/QelMemoryFile.h"

#include <cctype>
#include <cstdio>
#include <cstring>
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

const char* const ZONE_FILE = "data/game1.txt";

// The zone block read as a load reads it, against the zones of the game's zone file:
// false when it is refused; `end` 0 when it could not be read here.
bool DescribeZoneBlock(const std::vector<uint8_t>& bytes, size_t& end)
{
    CDefinitionProblems problems;
    ZoneVector zones;
    if (!LoadZoneFile(ZONE_FILE, zones, problems))
    {
        std::printf("zones: %s cannot be read here; the zone block is not checked\n", ZONE_FILE);
        return true;
    }
    CGame game;
    CZoneManager manager(game);
    manager.SetZones(std::move(zones));
    CCampaign campaign;
    game.SetCampaign(&campaign);
    CQelMemoryFile file(bytes);
    const bool read = manager.LoadState(file, true);
    game.SetCampaign(nullptr);
    if (!read)
    {
        std::printf("zone block: refused\n");
        return false;
    }
    end = file.GetPosition();
    std::printf("zone block: zone %d node %d, zone clock %u ms\n", manager.GetZoneIndex(),
                manager.GetCurrentNodeIndex(), manager.GetZoneTime());
    const SCampaignState& state = campaign.GetState();
    std::printf("campaign: gems %d %d %d, crew %d, friendly aliens %d, current ship %d\n", state.gems.count[0],
                state.gems.count[1], state.gems.count[2], state.crew, state.friendlyAliens, state.currentShip);
    std::printf("pilot: ");
    PrintPilot("", state.pilot);
    for (int32_t z = 0; z < manager.GetZoneCount(); ++z)
    {
        const CZoneNodeState* zone = manager.GetZone(z)->m_nodeState.get();
        if (zone)
            std::printf("zone %d special cargo: first %s, second %s\n", static_cast<int>(z),
                        zone->m_flags[ZONE_FLAG_SPECIAL_CARGO_1] ? "delivered" : "none",
                        zone->m_flags[ZONE_FLAG_SPECIAL_CARGO_2] ? "delivered" : "none");
    }
    return true;
}

int DescribeSlot(const std::string& path, const std::vector<uint8_t>& bytes)
{
    SSlotFiles files;
    files.zone = bytes;
    std::string shipsPath = path;
    shipsPath.replace(shipsPath.size() - std::strlen("zone.bin"), std::string::npos, "ships.txt");
    files.hasShips = ReadSlotShips(shipsPath, bytes, files.ships);
    SSaveHead head;
    std::string why;
    CQelMemoryFile file(bytes);
    if (!ReadSaveHead(file, head, why))
    {
        std::printf("%s: save slot refused: %s\n", path.c_str(), why.c_str());
        return 1;
    }
    std::printf("%s: save slot (%zu bytes)\n", path.c_str(), bytes.size());
    std::printf("slot name: \"%s\"\npilot: \"%s\" score %u\n", head.slotName, head.pilotName, head.score);
    const bool checked = CheckSlotHead(files, head, why);
    if (head.headed)
        std::printf("ships file checksum %08x: %s\n", head.checksum, checked ? "matches" : why.c_str());
    else
        std::printf("no checksum head (an older file)\n");
    if (files.hasShips)
    {
        std::string shipsWhy;
        std::printf("ships file: %s\n", CheckShipsFile(files.ships, shipsWhy) ? "designs read" : shipsWhy.c_str());
    }
    std::printf("difficulty: %d\n", ReadSaveDifficulty(bytes));
    size_t end = 0;
    const bool zonesRead = DescribeZoneBlock(bytes, end);
    const size_t directorSize = MeasureDirectorBlock(bytes.data(), bytes.size());
    SDirectorBlock director;
    if (bytes.size() >= directorSize &&
        ReadDirectorBlock(bytes.data() + bytes.size() - directorSize, directorSize, director))
        std::printf("director: stage %d, chat page %d, station strike %s%s\n", director.stage, director.chatPage,
                    director.strikeDone ? "spent" : "not spent",
                    directorSize == SDirectorBlock::OLDER_SIZE ? " (an older block)" : "");
    if (end != 0 && bytes.size() - end != directorSize)
    {
        std::printf("the director's block is %zu bytes, not %zu or %zu\n", bytes.size() - end,
                    SDirectorBlock::OLDER_SIZE, SDirectorBlock::SIZE);
        return 1;
    }
    return checked && zonesRead ? 0 : 1;
}

bool IsSlotZoneFile(const std::string& path)
{
    const std::string tail = "zone.bin";
    if (path.size() < tail.size())
        return false;
    std::string end = path.substr(path.size() - tail.size());
    for (char& ch : end)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return end == tail;
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
    if (IsSlotZoneFile(path))
        return DescribeSlot(path, bytes);
    std::fprintf(stderr, "tesstool: %s is neither records.bin nor a save slot's zone file\n", path.c_str());
    return 1;
}

// A save slot of a new game in the zones of a zone file: every zone played, zone 0 at
// its start node, the campaign of a new game, the director's block of a new game and
// no ship designs.
bool WriteSampleSlot(const std::string& folder, const std::string& zoneFile)
{
    CDefinitionProblems problems;
    ZoneVector zones;
    if (!LoadZoneFile(zoneFile.c_str(), zones, problems))
        return false;
    CGame game;
    CZoneManager manager(game);
    manager.SetZones(std::move(zones));
    CCampaign campaign;
    campaign.SetNewGameResearch();
    game.SetCampaign(&campaign);
    for (int32_t z = 0; z < manager.GetZoneCount(); ++z)
    {
        manager.SetCurrentZone(z);
        manager.InitNodeState();
    }
    manager.SetCurrentZone(0);
    manager.SetCurrentNode(manager.GetZone(0)->m_map.startNode);
    manager.SetPilotName("HALVERN");
    manager.SetSlotName("SAMPLE");
    const std::vector<uint8_t> ships = CShipComponentDatabase().EncodeShipConfigs(true);
    CQelMemoryFile zone;
    std::vector<uint8_t> block;
    WriteDirectorBlock(SDirectorBlock(), block);
    uint32_t written = 0;
    const bool made = manager.SaveState(zone, Crc32(ships.data(), ships.size())) &&
                      zone.Write(block.data(), static_cast<uint32_t>(block.size()), &written);
    game.SetCampaign(nullptr);
    return made && WriteSlotFiles(folder + "/", 0, ships, zone.GetBytes());
}

int Sample(const std::string& folder, const std::string& zoneFile)
{
    if (!zoneFile.empty() && !WriteSampleSlot(folder, zoneFile))
    {
        std::fprintf(stderr, "tesstool: cannot write a save slot of %s in %s\n", zoneFile.c_str(), folder.c_str());
        return 1;
    }
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
    if ((args.size() == 2 || args.size() == 3) && args[0] == "sample")
        return Sample(args[1], args.size() == 3 ? args[2] : std::string());
    std::fprintf(stderr, "usage: tesstool save info FILE | sample FOLDER [ZONES]\n");
    return 2;
}
} // namespace

static CToolCommand s_save("save", "info FILE | sample FOLDER [ZONES]", &RunSaveCommand);
