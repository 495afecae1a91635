#include "frontend/SaveGames.h"

#include "core/Console.h"
#include "frontend/DirectorBlock.h"
#include "frontend/GameFlow.h"
#include "frontend/UserFiles.h"
#include "presentation/GuiManager.h"
#include "ships/ShipLevelData.h"
#include "utility/source/QelCrc32.h"
#include "utility/source/QelMemoryFile.h"
#include "world/Game.h"
#include "world/TextPageLink.h"
#include "world/ZoneLink.h"

#include <cstring>

namespace
{
constexpr uint32_t SAVE_NOTICE_MS = 2000;

// What a slot holds, read and checked in full.
struct SCheckedSlot
{
    SSlotFiles files;
    SSaveHead head;
    std::vector<uint8_t> director; // the director's block as stored, taken whole by the director
};

std::u16string Widen(const char* text)
{
    return std::u16string(text, text + std::strlen(text));
}
} // namespace

CSaveGames::CSaveGames(CGameFlow& flow) : m_flow(flow)
{
    if (!GetSaveFolder(m_folder))
        m_folder.clear();
}

bool CSaveGames::AnySaveExists() const
{
    return !m_folder.empty() && ::AnySaveExists(m_folder);
}

bool CSaveGames::MakeSlotFiles(const char* slotName, std::vector<uint8_t>& ships, std::vector<uint8_t>& zone) const
{
    CGame& game = m_flow.GetGame();
    const CShipComponentDatabase* designs = GetLevelShipDatabase();
    if (!designs)
        return false;
    ships = designs->EncodeShipConfigs(true);
    CZoneLink& zones = game.GetZones();
    zones.SetSlotName(slotName);
    CQelMemoryFile file;
    std::vector<uint8_t> director;
    m_flow.GetDirector().WriteState(director);
    uint32_t written = 0;
    if (director.size() != SDirectorBlock::SIZE || !zones.WriteSaveBlock(file, Crc32(ships.data(), ships.size())) ||
        !file.Write(director.data(), static_cast<uint32_t>(director.size()), &written) ||
        written != director.size())
        return false;
    zone = file.GetBytes();
    return true;
}

bool CSaveGames::WriteSlot(int slot, const char* slotName)
{
    std::vector<uint8_t> ships;
    std::vector<uint8_t> zone;
    return !m_folder.empty() && IsSaveSlot(slot) && MakeSlotFiles(slotName, ships, zone) &&
           WriteSlotFiles(m_folder, slot, ships, zone);
}

bool CSaveGames::Save(int slot, const char* slotName)
{
    CCampaignFlowLink& campaign = m_flow.GetCampaign();
    campaign.PrepareSave();
    campaign.AddSaveCount(1);
    if (!WriteSlot(slot, slotName))
    {
        campaign.AddSaveCount(-1);
        if (g_console)
            g_console->Printf("The game could not be saved in slot %d", slot);
        return false;
    }
    campaign.EnterHallOfFame();
    return true;
}

int CSaveGames::SaveToPilotSlots()
{
    CGame& game = m_flow.GetGame();
    const int difficulty = m_flow.GetCampaign().GetDifficulty();
    const char* pilot = game.GetZones().GetPilotName();
    bool owned[SAVE_SLOT_COUNT] = {};
    char names[SAVE_SLOT_COUNT][SAVE_NAME_BYTES] = {};
    int newest = -1;
    uint64_t newestTime = 0;
    for (int slot = 0; slot < SAVE_SLOT_COUNT && !m_folder.empty(); ++slot)
    {
        SSlotFiles files;
        if (!ReadSlotFiles(m_folder, slot, files))
            continue;
        CQelMemoryFile file(files.zone);
        SSaveHead head;
        std::string why;
        if (!ReadSaveHead(file, head, why) || ReadSaveDifficulty(files.zone) != difficulty ||
            std::strncmp(head.pilotName, pilot, SAVE_NAME_BYTES) != 0)
            continue;
        owned[slot] = true;
        std::memcpy(names[slot], head.slotName, SAVE_NAME_BYTES);
        const uint64_t time = GetSlotTime(m_folder, slot);
        if (newest < 0 || time >= newestTime)
        {
            newest = slot;
            newestTime = time;
        }
    }
    if (newest < 0)
        return -1;
    if (!Save(newest, names[newest]))
        return -1;
    for (int slot = 0; slot < SAVE_SLOT_COUNT; ++slot)
        if (owned[slot] && slot != newest && !WriteSlot(slot, names[slot]) && g_console)
            g_console->Printf("The game could not be saved in slot %d", slot);
    game.GetZones().SetSlotName(names[newest]);
    m_flow.ShowTimedMessage(game.GetTime() + SAVE_NOTICE_MS);
    return newest;
}

namespace
{
bool CheckSlot(CGameFlow& flow, const std::string& folder, int slot, SCheckedSlot& out, std::string& why)
{
    if (folder.empty() || !ReadSlotFiles(folder, slot, out.files))
    {
        why = "the slot's zone file cannot be read";
        return false;
    }
    if (!CheckSlotHead(out.files, out.head, why))
        return false;
    if (!out.files.hasShips)
    {
        why = "the ships file is missing";
        return false;
    }
    if (!CheckShipsFile(out.files.ships, why))
        return false;
    CQelMemoryFile file(out.files.zone);
    if (!flow.GetGame().GetZones().ReadSaveBlock(file, false))
    {
        why = "the zone block is damaged";
        return false;
    }
    const size_t size = file.GetRemaining();
    if (size < SDirectorBlock::OLDER_SIZE || size > SDirectorBlock::SIZE)
    {
        why = size < SDirectorBlock::OLDER_SIZE ? "the director's block ends early" : "bytes follow the director's block";
        return false;
    }
    const uint8_t* block = out.files.zone.data() + file.GetPosition();
    SDirectorBlock decoded;
    if (!ReadDirectorBlock(block, size, decoded))
    {
        why = "the director's block is damaged";
        return false;
    }
    out.director.assign(block, block + size);
    return true;
}
} // namespace

bool CSaveGames::Check(int slot, std::string& why) const
{
    SCheckedSlot checked;
    return CheckSlot(m_flow, m_folder, slot, checked, why);
}

bool CSaveGames::Load(int slot, std::string& why)
{
    SCheckedSlot checked;
    if (!CheckSlot(m_flow, m_folder, slot, checked, why))
    {
        if (g_console)
            g_console->Printf("Save slot %d is refused: %s", slot, why.c_str());
        return false;
    }
    CGame& game = m_flow.GetGame();
    CZoneLink& zones = game.GetZones();
    m_flow.EndRunForLoad();
    CQelMemoryFile file(checked.files.zone);
    if (!zones.ReadSaveBlock(file, true))
    {
        why = "the zone block was refused on the second reading";
        return false;
    }
    if (!m_flow.GetDirector().ReadState(checked.director.data(), checked.director.size()))
    {
        why = "the director's block was refused on the second reading";
        return false;
    }
    game.SetShipConfigFileName("data\\saves\\save" + std::to_string(slot) + "ships.txt");
    if (!m_flow.StartLoadedRun())
    {
        why = "the saved zone's level cannot start";
        return false;
    }
    const std::u16string name = Widen(zones.GetPilotName());
    game.GetTextPages().SetPilotName(name);
    if (g_gui)
        g_gui->SetPilotName(name);
    return true;
}
