#include "frontend/PilotRecord.h"

#include "frontend/FileTag.h"
#include "utility/source/QelFile.h"

#include <cstring>

namespace
{
const char* const DIFFICULTY_TAG = "DMH";

void CopyName(char (&out)[PILOT_NAME_SIZE], const char* text)
{
    std::strncpy(out, text ? text : "", PILOT_NAME_SIZE - 1);
    out[PILOT_NAME_SIZE - 1] = '\0';
}

bool ReadShipEntry(CFileInterface& file, SPilotShipEntry& entry)
{
    return file.ReadString(entry.name, PILOT_NAME_SIZE, nullptr) && file.ReadS32(entry.value) &&
           file.ReadS32(entry.status) && file.ReadU32(entry.secondValue) && entry.status >= PILOT_SHIP_REMOVED &&
           entry.status <= PILOT_SHIP_LOST;
}

// The difficulty chunk, or the older single byte: not 0 is difficulty 2, 0 is 0.
bool ReadDifficulty(CFileInterface& file, int32_t& difficulty)
{
    if (ReadFileTag(file, DIFFICULTY_TAG))
        return file.ReadS32(difficulty) && difficulty >= 0 && difficulty <= 2;
    uint8_t old = 0;
    if (!file.ReadU8(old))
        return false;
    difficulty = old != 0 ? 2 : 0;
    return true;
}
} // namespace

void SPilotRecord::Clear()
{
    *this = SPilotRecord();
}

void SPilotRecord::CopyFrom(const SPilotRecord& other)
{
    *this = other;
}

void SPilotRecord::SetName(const char* text)
{
    CopyName(name, text);
}

void SPilotRecord::UpdateShipTable(const SPilotShipSource* sources, int count)
{
    for (int s = 0; s < count; ++s)
    {
        const SPilotShipSource& source = sources[s];
        char shipName[PILOT_NAME_SIZE];
        CopyName(shipName, source.name);
        int place = -1;
        for (int i = 0; i < PILOT_SHIP_TABLE_SIZE && place < 0; ++i)
            if (ships[i].status == PILOT_SHIP_LISTED && std::strcmp(ships[i].name, shipName) == 0)
                place = i;
        if (place < 0)
        {
            for (int i = 0; i < PILOT_SHIP_TABLE_SIZE && place < 0; ++i)
                if (ships[i].value < source.value)
                    place = i;
            if (place < 0)
                continue;
            for (int i = PILOT_SHIP_TABLE_SIZE - 1; i > place; --i)
                ships[i] = ships[i - 1];
            std::memcpy(ships[place].name, shipName, PILOT_NAME_SIZE);
            ships[place].status = PILOT_SHIP_LISTED;
        }
        ships[place].value = source.value;
        ships[place].secondValue = source.secondValue;
    }
}

void SPilotRecord::SetShipStatus(const char* shipName, bool removed)
{
    char wanted[PILOT_NAME_SIZE];
    CopyName(wanted, shipName);
    for (SPilotShipEntry& entry : ships)
        if (entry.status == PILOT_SHIP_LISTED && std::strcmp(entry.name, wanted) == 0)
        {
            entry.status = removed ? PILOT_SHIP_REMOVED : PILOT_SHIP_LOST;
            return;
        }
}

bool SPilotRecord::Write(CFileInterface& file) const
{
    bool ok = true;
    for (int32_t value : arrayA)
        ok = ok && file.WriteS32(value);
    for (int32_t value : arrayB)
        ok = ok && file.WriteS32(value);
    for (int32_t value : progress)
        ok = ok && file.WriteS32(value);
    ok = ok && file.WriteS32(campaignValue) && file.WriteS32(reachedZone);
    ok = ok && file.WriteU32(score) && file.WriteU32(secondValue) && file.WriteU32(playTime);
    ok = ok && file.WriteString(name);
    for (int i = 0; i < PILOT_SHIPS_STORED; ++i)
        ok = ok && file.WriteString(ships[i].name) && file.WriteS32(ships[i].value) &&
             file.WriteS32(ships[i].status) && file.WriteU32(ships[i].secondValue);
    return ok && WriteFileTag(file, DIFFICULTY_TAG) && file.WriteS32(difficulty);
}

bool SPilotRecord::Read(CFileInterface& file)
{
    SPilotRecord read = *this;
    bool ok = true;
    for (int32_t& value : read.arrayA)
        ok = ok && file.ReadS32(value);
    for (int32_t& value : read.arrayB)
        ok = ok && file.ReadS32(value);
    for (int32_t& value : read.progress)
        ok = ok && file.ReadS32(value);
    ok = ok && file.ReadS32(read.campaignValue) && file.ReadS32(read.reachedZone);
    ok = ok && file.ReadU32(read.score) && file.ReadU32(read.secondValue) && file.ReadU32(read.playTime);
    ok = ok && file.ReadString(read.name, PILOT_NAME_SIZE, nullptr);
    for (int i = 0; i < PILOT_SHIPS_STORED; ++i)
        ok = ok && ReadShipEntry(file, read.ships[i]);
    ok = ok && ReadDifficulty(file, read.difficulty);
    if (!ok || read.reachedZone < 0 || read.reachedZone > PILOT_MAX_REACHED_ZONE)
        return false;
    *this = read;
    return true;
}
