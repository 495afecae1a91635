#include "frontend/SaveSlots.h"

#include "core/DataFile.h"
#include "core/WideFormat.h"
#include "frontend/DirectorBlock.h"
#include "frontend/FileTag.h"
#include "frontend/FileWriteLayer.h"
#include "ships/ShipComponentDatabase.h"
#include "utility/source/QelCrc32.h"
#include "utility/source/QelFile.h"
#include "utility/source/QelMemoryFile.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace
{
const char* const HEAD_TAG = "CRC";
const char* const DIFFICULTY_TAG = "DMH";

uint32_t LoadU32(const std::vector<uint8_t>& bytes, size_t at)
{
    return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
           static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

// A counted name of at most 9 bytes, its NUL where the count says.
bool ReadName(CFileInterface& file, char (&name)[SAVE_NAME_BYTES], const char* what, std::string& why)
{
    uint32_t length = 0;
    std::memset(name, 0, sizeof(name));
    if (!file.ReadString(name, SAVE_NAME_BYTES, &length))
    {
        why = std::string(what) + " is missing or longer than 8 characters";
        return false;
    }
    name[SAVE_NAME_BYTES - 1] = '\0';
    return true;
}

std::string TwoDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof(text), "%02d", value);
    return text;
}

// A file of the folder open for writing, its bytes written; null when either fails.
std::unique_ptr<CFileInterface> WriteUnclosed(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::unique_ptr<CFileInterface> file = GetFileWriteLayer().OpenForWriting(path);
    if (!file)
        return nullptr;
    uint32_t written = 0;
    if (!bytes.empty() && (!file->Write(bytes.data(), static_cast<uint32_t>(bytes.size()), &written) ||
                           written != bytes.size()))
        return nullptr;  // abandoned as it goes
    return file;
}

// Where a save keeps the slot's old ships file until its new zone file is in.
std::string GetKeptShipsPath(const std::string& shipsPath)
{
    return shipsPath + ".bak";
}

// Keeps the ships file that matches the zone file on disk under its second name: a
// second link to the slot's ships file, or a copy where the folder takes no links. A
// kept file that is already the matching one (a save cut short before) stays.
bool KeepShipsFile(const std::string& shipsPath, const std::vector<uint8_t>& matching)
{
    const std::string keptPath = GetKeptShipsPath(shipsPath);
    std::vector<uint8_t> current;
    if (!ReadWholeUserFile(shipsPath, current, SAVE_FILE_LIMIT) || current != matching)
        return true;
    std::error_code error;
    std::filesystem::remove(keptPath, error);
    std::filesystem::create_hard_link(shipsPath, keptPath, error);
    return !error || WriteWholeFile(keptPath, matching);
}
} // namespace

bool IsSaveSlot(int slot)
{
    return slot >= 0 && slot < SAVE_SLOT_COUNT;
}

std::string GetSlotZonePath(const std::string& folder, int slot)
{
    return folder + "save" + std::to_string(slot) + "zone.bin";
}

std::string GetSlotShipsPath(const std::string& folder, int slot)
{
    return folder + "save" + std::to_string(slot) + "ships.txt";
}

bool ReadSaveHead(CFileInterface& file, SSaveHead& head, std::string& why)
{
    head = SSaveHead();
    head.headed = ReadFileTag(file, HEAD_TAG);
    if (head.headed && !file.ReadU32(head.checksum))
    {
        why = "the file ends inside its head";
        return false;
    }
    if (!ReadName(file, head.pilotName, "the pilot name", why))
        return false;
    if (!file.ReadU32(head.score))
    {
        why = "the file ends before the score";
        return false;
    }
    return ReadName(file, head.slotName, "the slot name", why);
}

int ReadSaveDifficulty(const std::vector<uint8_t>& bytes)
{
    // Measured as if the director's block had no tail.
    const size_t size =
        bytes.size() - (MeasureDirectorBlock(bytes.data(), bytes.size()) - SDirectorBlock::OLDER_SIZE);
    if (size >= SAVE_DIFFICULTY_CHUNK_FROM_END)
    {
        const size_t chunk = size - SAVE_DIFFICULTY_CHUNK_FROM_END;
        if (LoadU32(bytes, chunk) == 4 && std::memcmp(&bytes[chunk + 4], DIFFICULTY_TAG, 4) == 0)
        {
            const int32_t difficulty = static_cast<int32_t>(LoadU32(bytes, size - SAVE_DIFFICULTY_FROM_END));
            return difficulty >= 0 && difficulty <= 2 ? difficulty : -1;
        }
    }
    // An older file: one byte, any value but 0 meaning the hard game.
    if (size < SAVE_DIFFICULTY_FROM_END)
        return -1;
    return bytes[size - SAVE_DIFFICULTY_FROM_END] != 0 ? 2 : 0;
}

bool ReadSlotFiles(const std::string& folder, int slot, SSlotFiles& files)
{
    files = SSlotFiles();
    if (!IsSaveSlot(slot) || !ReadWholeUserFile(GetSlotZonePath(folder, slot), files.zone, SAVE_FILE_LIMIT))
        return false;
    files.hasShips = ReadSlotShips(GetSlotShipsPath(folder, slot), files.zone, files.ships);
    return true;
}

bool ReadSlotShips(const std::string& shipsPath, const std::vector<uint8_t>& zone, std::vector<uint8_t>& ships)
{
    const bool read = ReadWholeUserFile(shipsPath, ships, SAVE_FILE_LIMIT);
    CQelMemoryFile file(zone);
    SSaveHead head;
    std::string why;
    if (!ReadSaveHead(file, head, why) || !head.headed || (read && Crc32(ships.data(), ships.size()) == head.checksum))
        return read;
    std::vector<uint8_t> kept;
    if (!ReadWholeUserFile(GetKeptShipsPath(shipsPath), kept, SAVE_FILE_LIMIT) ||
        Crc32(kept.data(), kept.size()) != head.checksum)
        return read;
    ships = std::move(kept);
    return true;
}

bool CheckSlotHead(const SSlotFiles& files, SSaveHead& head, std::string& why)
{
    CQelMemoryFile file(files.zone);
    if (!ReadSaveHead(file, head, why))
        return false;
    if (!head.headed)
        return true;
    if (!files.hasShips)
    {
        why = "the ships file is missing";
        return false;
    }
    if (Crc32(files.ships.data(), files.ships.size()) != head.checksum)
    {
        why = "the ships file does not match the checksum";
        return false;
    }
    return true;
}

bool DoesSlotExist(const std::string& folder, int slot)
{
    if (!IsSaveSlot(slot))
        return false;
    CQelFile file;
    if (!OpenFileByPath(file, GetSlotZonePath(folder, slot).c_str(), FILE_OPEN_READ) || file.IsInPack())
        return false;
    file.Close();
    return true;
}

bool CheckSaveSlot(const std::string& folder, int slot, SSaveHead* head)
{
    SSlotFiles files;
    SSaveHead read;
    std::string why;
    if (!ReadSlotFiles(folder, slot, files) || !CheckSlotHead(files, read, why))
        return false;
    if (head)
        *head = read;
    return true;
}

bool AnySaveExists(const std::string& folder)
{
    for (int slot = 0; slot < SAVE_SLOT_COUNT; ++slot)
        if (CheckSaveSlot(folder, slot))
            return true;
    return false;
}

bool IsSlotNameUsed(const std::string& folder, const char* name, int skipSlot)
{
    for (int slot = 0; slot < SAVE_SLOT_COUNT; ++slot)
    {
        SSlotFiles files;
        if (slot == skipSlot || !ReadSlotFiles(folder, slot, files))
            continue;
        CQelMemoryFile file(files.zone);
        SSaveHead head;
        std::string why;
        if (ReadSaveHead(file, head, why) && std::strcmp(head.slotName, name) == 0)
            return true;
    }
    return false;
}

bool FormatSlotDate(const std::string& folder, int slot, CWString& text)
{
    CQelFile file;
    if (!IsSaveSlot(slot) || !OpenFileByPath(file, GetSlotZonePath(folder, slot).c_str(), FILE_OPEN_READ))
        return false;
    CWString month;
    int day = 0, hour = 0, minute = 0, second = 0;
    const bool dated = file.GetDateText(month, day, hour, minute, second);
    file.Close();
    if (!dated)
        return false;
    FormatWide(text, u"%i %s %S:%S:%S", day, month.GetText(), TwoDigits(hour).c_str(), TwoDigits(minute).c_str(),
               TwoDigits(second).c_str());
    return true;
}

uint64_t GetSlotTime(const std::string& folder, int slot)
{
    CQelFile file;
    if (!IsSaveSlot(slot) || !OpenFileByPath(file, GetSlotZonePath(folder, slot).c_str(), FILE_OPEN_READ))
        return 0;
    uint32_t high = 0, low = 0;
    const bool dated = file.GetLastWriteTime(high, low);
    file.Close();
    return dated ? (static_cast<uint64_t>(high) << 32 | low) : 0;
}

bool CheckShipsFile(const std::vector<uint8_t>& bytes, std::string& why)
{
    CDataNodeList nodes;
    if (!ParseDataBytes(bytes.data(), bytes.size(), nodes))
    {
        why = "the ships file does not parse";
        return false;
    }
    CShipComponentDatabase designs;
    if (designs.LoadShipConfigNodes(nodes, "ships file"))
        return true;
    why = designs.DescribeProblems();
    return false;
}

bool WriteSlotFiles(const std::string& folder, int slot, const std::vector<uint8_t>& ships,
                    const std::vector<uint8_t>& zone)
{
    if (!IsSaveSlot(slot))
        return false;
    const std::string shipsPath = GetSlotShipsPath(folder, slot);
    SSlotFiles old;
    const bool hadShips = ReadSlotFiles(folder, slot, old) && old.hasShips;
    if (hadShips && !KeepShipsFile(shipsPath, old.ships))
        return false;
    std::unique_ptr<CFileInterface> shipsFile = WriteUnclosed(shipsPath, ships);
    if (!shipsFile)
        return false;
    std::unique_ptr<CFileInterface> zoneFile = WriteUnclosed(GetSlotZonePath(folder, slot), zone);
    if (!zoneFile || !shipsFile->Close())
        return false;  // both abandoned: nothing on disk changed
    if (zoneFile->Close())
    {
        std::remove(GetKeptShipsPath(shipsPath).c_str());
        return true;
    }
    // The new ships file went in without its zone file: the old pair again.
    if (hadShips)
        WriteWholeFile(shipsPath, old.ships);
    else
        std::remove(shipsPath.c_str());
    return false;
}
