// Ship component and design files, as the level and a save slot give them: the
// bytes are read as components into a database that already holds a small set of
// parts, then as designs against it; every design that loads is checked, measured,
// edited, written (plain and scrambled) and read back.

#include "core/DataFile.h"
#include "core/DataTextWriter.h"
#include "core/StringTable.h"
#include "core/StringTableWriter.h"
#include "fuzz/FuzzSupport.h"
#include "ships/ShipComponentDatabase.h"

#include <cstring>
#include <memory>
#include <string>

namespace
{
// The keys the base parts name; fuzzed definitions may name them too.
const char* const KEYS[] = {"Name", "Desc"};

const char BASE_PARTS[] =
    "SHIP_COMPONENT_HULL\n{\ntype HULL\nident hull\ndescription d\nmass 10\nhealth 10\npodRequirements ONE\n"
    "iconFrame 0\ncost 1, 2, 3\ndisplayidstring Name\ndescriptionidstring Desc\ngridSize 2, 1\nnumPods 2\n"
    "pod0\n{\npos 0, 0\nexclude NONE\nspecific ANY_WEAPON\ninternal NO\nlaunchOffset 4, 4\n}\n"
    "pod1\n{\npos 1, 0\nexclude NONE\nspecific NONE\ninternal YES\n}\n"
    "bodySprite\n{\nspriteFile dummy\n}\ncollision\n{\nnumObj 1\nc0\n{\ntype rootCircle\nradius 4\noffset 0, 0\n}\n}\n"
    "deathEffect boom\ncollisionContactEffect spark\n}\n"
    "SHIP_COMPONENT_ENGINE\n{\ntype ENGINE\nident engine\ndescription d\nmass 5\nhealth 10\npodRequirements ONE\n"
    "iconFrame 0\ncost 1, 2, 3\ndisplayidstring Name\ndescriptionidstring Desc\nthrust 10\ninertialDampening 0.9\n"
    "emergencyBoost 1\nmassDampingRated 10\nvelocityLimit 10\nenergyRequirement 3\n}\n"
    "SHIP_COMPONENT_GEN\n{\ntype GENERATOR\nident gen\ndescription d\nmass 5\nhealth 10\npodRequirements ONE\n"
    "iconFrame 0\ncost 1, 2, 3\ndisplayidstring Name\ndescriptionidstring Desc\noutputPerSec 4\n}\n";

CStringTable* MakeStrings()
{
    auto language = std::make_unique<CStringTableLanguage>();
    for (const char* key : KEYS)
    {
        SStringTableEntry entry;
        entry.key.AssignNarrow(key);
        entry.text.AssignNarrow(key);
        language->m_buckets[CStringTable::GetKeyBucket(entry.key)].push_back(entry);
    }
    std::vector<uint8_t> bytes = EncodeStringTable({language.get()}, 1);
    auto* table = new CStringTable();
    table->LoadFromMemory(bytes.data(), bytes.size());
    table->SelectLanguage(0);
    return table;
}

void Exercise(CShipComponentDatabase& database)
{
    for (int slot = 0; slot < SHIP_CONFIG_SLOTS; ++slot)
    {
        CShipConfig* config = database.GetShipConfig(slot);
        bool beamAndWeapon = false;
        bool engine = false;
        database.CheckShipConfig(slot, beamAndWeapon, engine);
        if (!config)
            continue;
        config->GetTotalMass();
        config->FindEnginePod();
        for (int i = 0; i < config->m_podCount; ++i)
        {
            database.GetComponentDef(config->m_pods[i].m_kind, config->m_pods[i].m_defIndex);
            config->AssignToWeaponGroup(1 + i % 2, config->m_pods[i].m_topLeft);
        }
        if (config->m_podCount > 0)
            config->RemovePodFromWeaponGroup(config->m_pods[0].m_topLeft.x, config->m_pods[0].m_topLeft.y);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CStringTable* s_strings = MakeStrings();
    GetFuzzScratchFolder();
    CShipComponentDatabase database;
    database.SetStringTable(s_strings);
    CDataNodeList base;
    ParseDataBytes(reinterpret_cast<const uint8_t*>(BASE_PARTS), std::strlen(BASE_PARTS), base);
    if (!database.LoadComponentNodes(base, "base"))
        __builtin_trap();

    CDataNodeList nodes;
    ParseDataBytes(data, size, nodes);
    database.LoadComponentNodes(nodes, "fuzz");
    database.LoadShipConfigNodes(nodes, "fuzz");
    Exercise(database);
    for (bool scrambled : {false, true})
    {
        SetDataTreeScramble(scrambled);
        bool saved = database.SaveShipConfigs("ships.txt");
        SetDataTreeScramble(false);
        if (saved)
        {
            database.ClearShipConfigs();
            // What was written reads back.
            if (!database.LoadShipConfigs("ships.txt"))
                __builtin_trap();
        }
    }
    return 0;
}
