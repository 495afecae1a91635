#pragma once
// Saving and loading the running game in the six slots (SaveSlots.h): the ship designs
// of the level, the zone block with the campaign and the pilot record, and the
// director's block. A load reads and checks the whole slot (head and checksum, every
// count, index, stage and float of the zone and campaign blocks, the director's block,
// nothing after it, the ships file's designs) before the running game is touched; a
// damaged slot is refused with a console line and the game goes on as it was.

#include "frontend/SaveSlots.h"

#include <string>

class CGameFlow;

class CSaveGames
{
public:
    explicit CSaveGames(CGameFlow& flow);

    // The user's save folder until a test names another (with its trailing "/").
    void SetFolder(const std::string& folder) { m_folder = folder; }
    const std::string& GetFolder() const { return m_folder; }

    // Saves into slot 0 to 5 under the slot name: one more save counted in the pilot
    // record, the pair written (a failure keeps the slot's old pair and the count),
    // then the pilot entered into the hall of fame. False when nothing was saved.
    bool Save(int slot, const char* slotName);
    // The pilot's newest slot (the same pilot name and difficulty; equal times go to
    // the later slot), then every other slot of the pilot brought to the same
    // progress, each keeping its own slot name; the save notice shows for 2000 ms.
    // The slot saved first, or -1 when the pilot has none.
    int SaveToPilotSlots();

    // The whole slot read and checked without changing anything.
    bool Check(int slot, std::string& why) const;
    // Checked, then the running game ends and the slot's game takes its place: the
    // zones, campaign and director as saved, the level of the saved zone started with
    // the slot's ship designs. False (the game as it was) for a damaged slot.
    bool Load(int slot, std::string& why);

    bool AnySaveExists() const;

    // The pair a save writes now under the slot name (the save counter as it stands);
    // false where there are no designs or zones to save.
    bool MakeSlotFiles(const char* slotName, std::vector<uint8_t>& ships, std::vector<uint8_t>& zone) const;

private:
    // The slot's pair made and written with the slot name.
    bool WriteSlot(int slot, const char* slotName);

    CGameFlow& m_flow;
    std::string m_folder;
};
