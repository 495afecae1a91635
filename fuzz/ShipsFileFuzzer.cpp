// A save slot's ships file as a load checks it: scrambled (or plain) data-tree text of
// ship designs. A file that checks out must write back, scrambled, to a file that
// checks out again; nothing may crash, hang or leak.

#include "core/DataFile.h"
#include "frontend/SaveSlots.h"
#include "ships/ShipComponentDatabase.h"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    std::string why;
    if (!CheckShipsFile(bytes, why))
        return 0;
    CDataNodeList nodes;
    ParseDataBytes(bytes.data(), bytes.size(), nodes);
    CShipComponentDatabase designs;
    if (!designs.LoadShipConfigNodes(nodes, "ships file"))
        __builtin_trap();
    const std::vector<uint8_t> written = designs.EncodeShipConfigs(true);
    if (!CheckShipsFile(written, why))
        __builtin_trap();
    return 0;
}
