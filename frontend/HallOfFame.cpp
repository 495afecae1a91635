#include "frontend/HallOfFame.h"

#include "core/Console.h"
#include "frontend/FileTag.h"
#include "frontend/FileWriteLayer.h"
#include "frontend/ScoreCode.h"
#include "utility/source/QelMemoryFile.h"

#include <cstring>

namespace
{
const char* const RECORDS_TAG = "V_3";
// Far more than eight records with the longest names take.
constexpr size_t RECORDS_FILE_LIMIT = 65536;

// The low and high words of a code.
uint32_t Low(uint64_t code)
{
    return static_cast<uint32_t>(code & 0xFFFFFFFFu);
}

uint32_t High(uint64_t code)
{
    return static_cast<uint32_t>(code >> 32);
}
} // namespace

void CHallOfFame::SetDefaults()
{
    for (SPilotRecord& record : m_table)
        record.Clear();
    m_bestQuickActionTime = DEFAULT_QUICK_ACTION_TIME;
    for (int v = 0; v < SURVIVAL_VARIANTS; ++v)
    {
        m_bestSurvival[v] = 0;
        m_survivalCode[v] = 0;
    }
    m_firstPlay = true;
}

bool CHallOfFame::Load(const char* folder)
{
    SetDefaults();
    const std::string path = std::string(folder) + FILE_NAME;
    std::vector<uint8_t> bytes;
    if (!ReadWholeUserFile(path, bytes, RECORDS_FILE_LIMIT))
        return false;
    CQelMemoryFile file(std::move(bytes));
    std::string why;
    if (Read(file, why))
        return true;
    if (g_console)
        g_console->Printf("The records file %s is damaged (%s): the hall of fame starts afresh", path.c_str(),
                          why.c_str());
    return false;
}

bool CHallOfFame::Save(const char* folder) const
{
    CQelMemoryFile file;
    return Write(file) && WriteWholeFile(std::string(folder) + FILE_NAME, file.GetBytes());
}

bool CHallOfFame::Write(CFileInterface& file) const
{
    bool ok = WriteFileTag(file, RECORDS_TAG);
    for (const SPilotRecord& record : m_table)
        ok = ok && record.Write(file);
    ok = ok && file.WriteU32(m_bestQuickActionTime) && file.WriteU8(m_firstPlay ? 1 : 0);
    ok = ok && file.WriteU32(m_bestSurvival[0]) && file.WriteU32(m_bestSurvival[1]);
    return ok && file.WriteU32(Low(m_survivalCode[0])) && file.WriteU32(Low(m_survivalCode[1])) &&
           file.WriteU32(High(m_survivalCode[0])) && file.WriteU32(High(m_survivalCode[1]));
}

bool CHallOfFame::Read(CFileInterface& file, std::string& why)
{
    CHallOfFame read;
    const bool tagged = ReadFileTag(file, RECORDS_TAG);
    for (int i = 0; i < HALL_OF_FAME_SIZE; ++i)
        if (!read.m_table[i].Read(file))
        {
            why = "pilot record " + std::to_string(i) + " is damaged";
            return false;
        }
    uint8_t flag = 0;
    if (!file.ReadU32(read.m_bestQuickActionTime) || !file.ReadU8(flag) || flag > 1)
    {
        why = "the best time or the first-play flag is damaged";
        return false;
    }
    read.m_firstPlay = flag != 0;
    if (tagged)
    {
        uint32_t words[6];
        for (uint32_t& word : words)
            if (!file.ReadU32(word))
            {
                why = "the survival scores end early";
                return false;
            }
        read.m_bestSurvival[0] = words[0];
        read.m_bestSurvival[1] = words[1];
        read.m_survivalCode[0] = static_cast<uint64_t>(words[4]) << 32 | words[2];
        read.m_survivalCode[1] = static_cast<uint64_t>(words[5]) << 32 | words[3];
    }
    uint8_t beyond = 0;
    uint32_t got = 0;
    if (file.Read(&beyond, 1, &got) && got != 0)
    {
        why = "bytes follow the last field";
        return false;
    }
    *this = read;
    return true;
}

bool CHallOfFame::Insert(const SPilotRecord& record)
{
    for (int i = 0; i < HALL_OF_FAME_SIZE; ++i)
    {
        if (std::strcmp(m_table[i].name, record.name) != 0)
            continue;
        if (m_table[i].score >= record.score)
            return false;
        for (int j = i; j + 1 < HALL_OF_FAME_SIZE; ++j)
            m_table[j] = m_table[j + 1];
        m_table[HALL_OF_FAME_SIZE - 1].Clear();
        break;
    }
    for (int i = 0; i < HALL_OF_FAME_SIZE; ++i)
    {
        if (m_table[i].score >= record.score)
            continue;
        for (int j = HALL_OF_FAME_SIZE - 1; j > i; --j)
            m_table[j] = m_table[j - 1];
        m_table[i].CopyFrom(record);
        return true;
    }
    return false;
}

bool CHallOfFame::RecordQuickActionTime(uint32_t ms)
{
    if (ms <= m_bestQuickActionTime)
        return false;
    m_bestQuickActionTime = ms;
    return true;
}

bool CHallOfFame::RecordSurvivalScore(int variant, uint32_t score, const char* pilotName)
{
    if (variant < 0 || variant >= SURVIVAL_VARIANTS || score <= m_bestSurvival[variant])
        return false;
    m_bestSurvival[variant] = score;
    const uint32_t kind = variant == 1 ? SCORE_CODE_SURVIVAL_TIMED : SCORE_CODE_SURVIVAL_OPEN;
    m_survivalCode[variant] = MakeScoreCode(score, kind, pilotName);
    return true;
}

uint32_t CHallOfFame::GetBestSurvivalScore(int variant) const
{
    return variant >= 0 && variant < SURVIVAL_VARIANTS ? m_bestSurvival[variant] : 0;
}

uint64_t CHallOfFame::GetSurvivalCode(int variant) const
{
    return variant >= 0 && variant < SURVIVAL_VARIANTS ? m_survivalCode[variant] : 0;
}
