#include "frontend/SequenceTable.h"

namespace
{
constexpr SSequenceEntry SEQUENCES[SEQUENCE_COUNT] = {
    {"data\\animations\\logo\\logo.cas", 0, true, false, false},
    {nullptr, 10, false, false, false},
    {"data\\animations\\intro\\intro.cas", 0, true, false, false},
    {"data\\animations\\outro\\outro.cas", 10, true, false, false},
    {"data\\animations\\drivesections\\dsec_01.cas", 10, true, false, false},
    {"data\\animations\\drivesections\\dsec_02.cas", 10, true, false, false},
    {"data\\animations\\drivesections\\dsec_03.cas", 10, true, false, false},
    {"data\\animations\\drivesections\\dsec_04.cas", 10, true, false, false},
    {"data\\animations\\drivesections\\dsec_05.cas", 10, true, false, false},
    {nullptr, 10, false, false, false},
    {"data\\frontend\\bridge\\bridge.cas", 0, false, true, false},
    {"data\\frontend\\main\\start.cas", 0, false, false, false},
    {"data\\animations\\drivesections\\fame_0.cas", 0, true, false, false},
    {"data\\animations\\drivesections\\fame_1.cas", 0, true, false, false},
    {"data\\animations\\drivesections\\fame_2.cas", 0, true, false, false},
    {"data\\animations\\drivesections\\fame_3.cas", 0, true, false, false},
    {"data\\animations\\drivesections\\fame_4.cas", 0, true, false, false},
    {"data\\animations\\drivesections\\fame_5.cas", 0, true, false, false},
    {"data\\frontend\\warpmap\\backdrop\\grid_bdrp.cas", 0, false, true, false},
    {"data\\frontend\\randd\\backdrop\\randd_bdrp.cas", 0, false, true, false},
    {"data\\frontend\\shipconstruct\\backdrop\\starbay_bdrp.cas", 0, false, true, false},
    {"data\\frontend\\saveLoad\\backdrop\\Cryo_bdrp.cas", 0, false, true, false},
    {"data\\frontend\\station\\backdrop\\station_bdrp.cas", 0, false, true, false},
    {"data\\animations\\LostInSpace\\IA-win.cas", 0, true, false, true},
    {"data\\animations\\LostInSpace\\LostInSpace.cas", 0, true, false, true},
    {"data\\animations\\LostInSpace\\ImASurvivor.cas", 0, true, false, true},
    {"data\\animations\\LostInSpace\\StationDestroyed.cas", 0, true, false, true},
};
} // namespace

const SSequenceEntry* GetSequenceEntry(int index)
{
    if (index < 0 || index >= SEQUENCE_COUNT)
        return nullptr;
    return &SEQUENCES[index];
}

bool IsCoveringSequence(int index)
{
    return index >= 0 && index < SEQUENCE_COUNT && index != 1 && (index < 10 || index > 22);
}
