#pragma once
// The six save slots of the user's save folder, each a pair of files: "save%izone.bin"
// (the progress) and "save%iships.txt" (the ship designs, scrambled data-tree text).
//
// "save%izone.bin", little-endian, a string being a 32-bit length (its NUL counted) and
// its bytes: the tag "CRC" and the CRC-32 of the whole ships file of the slot (older
// files start without both); the pilot name and, after the 32-bit score, the slot name,
// each at most 9 bytes with the NUL; the zone block, which ends with the campaign's
// block and the pilot record (the pilot's difficulty last: 4, "DMH", NUL, i32); the
// director's block (DirectorBlock.h). Nothing may follow it.
//
// These are the file-level rules, without a running game: the head, the checksum, the
// difficulty, the names and dates the screens list, and the pair written so that a
// failure at any point keeps the slot that was there.

#include "core/WString.h"

#include <cstdint>
#include <string>
#include <vector>

class CFileInterface;

constexpr int SAVE_SLOT_COUNT = 6;
constexpr uint32_t SAVE_NAME_BYTES = 9;  // with the NUL
constexpr size_t SAVE_FILE_LIMIT = 64u << 20;
// From the end of the director's older 79 bytes: the difficulty chunk's length word,
// and the difficulty. Older files keep one difficulty byte 83 bytes before the end.
constexpr size_t SAVE_DIFFICULTY_CHUNK_FROM_END = 91;
constexpr size_t SAVE_DIFFICULTY_FROM_END = 83;

struct SSaveHead
{
    bool headed = false;
    uint32_t checksum = 0;
    char pilotName[SAVE_NAME_BYTES] = {};
    uint32_t score = 0;
    char slotName[SAVE_NAME_BYTES] = {};
};

bool IsSaveSlot(int slot);
// The files of a slot in a folder given with its trailing "/".
std::string GetSlotZonePath(const std::string& folder, int slot);
std::string GetSlotShipsPath(const std::string& folder, int slot);

// The head of a zone file: the file stands after the slot name. False, with the
// reason, when it ends early or a name is empty of its NUL or longer than 9 bytes.
bool ReadSaveHead(CFileInterface& file, SSaveHead& head, std::string& why);
// The pilot's difficulty (0 to 2) of a zone file's bytes, -1 when it cannot be read.
int ReadSaveDifficulty(const std::vector<uint8_t>& zoneBytes);

// A slot's two files as they lie in the folder.
struct SSlotFiles
{
    std::vector<uint8_t> zone;
    std::vector<uint8_t> ships;
    bool hasShips = false;
};
bool ReadSlotFiles(const std::string& folder, int slot, SSlotFiles& files);
// The ships file that belongs to a zone file's bytes: the one at `shipsPath`, or, where a
// save was cut short between its two renames (the new ships file in place beside the
// old zone file), the old one that the save keeps beside it until its zone file is in.
// False when there is none.
bool ReadSlotShips(const std::string& shipsPath, const std::vector<uint8_t>& zone, std::vector<uint8_t>& ships);
// The head read and, for a headed file, its checksum held against the ships file.
bool CheckSlotHead(const SSlotFiles& files, SSaveHead& head, std::string& why);
// Whether the slot's zone file exists, and whether its head checks out.
bool DoesSlotExist(const std::string& folder, int slot);
bool CheckSaveSlot(const std::string& folder, int slot, SSaveHead* head = nullptr);
bool AnySaveExists(const std::string& folder);
// Whether a slot other than `skipSlot` is named so (its head read without the check).
bool IsSlotNameUsed(const std::string& folder, const char* name, int skipSlot);
// The zone file's local date as the screens show it: day, month name, then hour,
// minute and second in two digits ("%i%s %S:%S:%S"). False when it cannot be had.
bool FormatSlotDate(const std::string& folder, int slot, CWString& text);
// The zone file's local last-write time in 100 ns ticks (0 when there is none).
uint64_t GetSlotTime(const std::string& folder, int slot);

// A slot's ships file holds designs the game can read: false, with the reason, for
// text that does not parse or a design that names an unknown kind or too many parts.
bool CheckShipsFile(const std::vector<uint8_t>& bytes, std::string& why);

// Writes the pair: both files in full under temporary names first, then the ships file
// renamed into place, then the zone file. Should the zone file fail after the ships
// file went in, the slot's old ships file is put back, so the old pair still matches.
// Until the zone file is in, the old ships file is also kept under a second name, so
// that a game killed between the two renames leaves a slot that reads the old save.
bool WriteSlotFiles(const std::string& folder, int slot, const std::vector<uint8_t>& ships,
                    const std::vector<uint8_t>& zone);
