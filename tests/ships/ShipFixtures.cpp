#include "tests/ships/ShipFixtures.h"

#include "core/DataFile.h"
#include "core/StringTableWriter.h"
#include "ships/ShipLevelData.h"
#include "world/Game.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
std::unique_ptr<CStringTable> MakeStrings()
{
    auto language = std::make_unique<CStringTableLanguage>();
    language->m_name.AssignWide(u"English");
    std::vector<std::string> keys = {"Key_Name", "Key_Desc", "Other_Name"};
    for (int i = 0; i < COMPONENT_KIND_COUNT; ++i)
        keys.push_back("Cat" + std::to_string(i));
    for (const std::string& key : keys)
    {
        SStringTableEntry entry;
        entry.key.AssignNarrow(key.c_str());
        entry.text.AssignNarrow(("text of " + key).c_str());
        language->m_buckets[CStringTable::GetKeyBucket(entry.key)].push_back(entry);
    }
    std::vector<uint8_t> bytes = EncodeStringTable({language.get()}, 1);
    auto table = std::make_unique<CStringTable>();
    if (!table->LoadFromMemory(bytes.data(), bytes.size()) || !table->SelectLanguage(0))
        ADD_FAILURE() << "fixture string table did not load";
    return table;
}
} // namespace

const CStringTable& GetFixtureStrings()
{
    static std::unique_ptr<CStringTable> s_table = MakeStrings();
    return *s_table;
}

std::string ComponentSection(const std::string& type, const std::string& ident, const std::string& ownKeys,
                             unsigned mass, unsigned health)
{
    return "SHIP_COMPONENT_" + ident.substr(0, 16) + "\n{\n"
           "type\t" + type + "\n"
           "ident\t" + ident + "\n"
           "description\tA part\n"
           "mass\t" + std::to_string(mass) + "\n"
           "health\t" + std::to_string(health) + "\n"
           "podRequirements\tONE\n"
           "iconFrame\t2\n"
           "cost\t1, 2, 3\n"
           "displayidstring\tKey_Name\n"
           "descriptionidstring\tKey_Desc\n" +
           ownKeys + "}\n";
}

std::string HullSection(const std::string& ident, unsigned mass)
{
    return ComponentSection("HULL", ident,
                            "gridSize\t2, 2\n"
                            "numPods\t4\n"
                            "pod0\n{\npos\t0, 0\nexclude\tNONE\nspecific\tANY_WEAPON\ninternal\tNO\nlaunchOffset\t12, -8\n}\n"
                            "pod1\n{\npos\t1, 0\nexclude\tENGINE\nspecific\tNONE\ninternal\tYES\nlaunchOffset\t5, 5\n}\n"
                            "pod2\n{\npos\t0, 1\nexclude\tNONE\nspecific\tENGINE\ninternal\tNO\nlaunchOffset\t-16, 0\n}\n"
                            "pod3\n{\npos\t1, 1\nexclude\tANY_WEAPON\nspecific\tNONE\ninternal\tYES\n}\n"
                            "bodySprite\n{\nspriteFile\tdummy\nwidth\t32\nheight\t32\nnumFrames\t16\n}\n"
                            "collision\n{\nnumObj\t1\nc0\n{\ntype\trootCircle\nradius\t16\noffset\t0, 0\n}\n}\n"
                            "deathEffect\tboom\n"
                            "collisionContactEffect\tspark\n",
                            mass, 150);
}

std::string StandardComponents()
{
    std::string text = HullSection();
    text += ComponentSection("ENGINE", "engine_a",
                             "thrust\t1000\ninertialDampening\t0.9\nemergencyBoost\t2\nmassDampingRated\t200\n"
                             "velocityLimit\t200\nenergyRequirement\t20\n"
                             "engineSprite\n{\nspriteFile\tdummy\nwidth\t16\nheight\t8\nnumFrames\t4\n}\n"
                             "engineEffectOffset\t-2, 0\nengineSpriteOffset\t1, 0\nengineEffect\ttrail\n",
                             20);
    text += ComponentSection("GENERATOR", "generator_a", "outputPerSec\t30\n", 15);
    text += ComponentSection("BATTERY", "battery_a", "maxEnergy\t100\nchargeRateSec\t10\n");
    text += ComponentSection("WEAPON_PROJECTILE_GUN", "gun_a",
                             "energyRequirement\t10\nfireRateSec\t5\nmaxTapSec\t8\nweaponEffect\tbolt\n");
    text += ComponentSection("WEAPON_MISSILE", "missile_a",
                             "energyRequirement\t5\nfireRateSec\t2\nmaxTapSec\t4\nweaponEffect\tmissile\nammo\t4\n");
    text += ComponentSection("AMMO_MISSILE", "rounds_a", "ammo\t6\n");
    text += ComponentSection("GRAVITY_BEAM", "beam_a",
                             "gravityEffect\tbeam\nobjEffect\thold\nradius\t40\nenergyRequirement\t5\n");
    text += ComponentSection("SHIELD", "shield_a",
                             "shieldEffect\tshield\nshieldEdgeEffect\tedge\nmaxChargeRateSec\t10\nradius\t30\n"
                             "energyRequirement\t50\n");
    text += ComponentSection("CARGO", "cargo_a", "");
    text += "CATEGORIES\n{\n";
    for (int i = 0; i < COMPONENT_KIND_COUNT; ++i)
        text += "type" + std::to_string(i) + "\t" + GetComponentKindName(i) + "\ndisplaystringid" + std::to_string(i) +
                "\tCat" + std::to_string(i) + "\n";
    text += "}\n";
    return text;
}

std::string Design(const std::string& ident, int slot, const std::vector<std::string>& pods,
                   const std::vector<int>& group1, const std::vector<int>& group2, const std::string& hull,
                   int podCount)
{
    std::string text = "SHIP_CONFIG\n{\nident\t" + ident + "\nhull\t" + hull + "\nnumPods\t" +
                       std::to_string(podCount == POD_COUNT_LISTED ? static_cast<int>(pods.size()) : podCount) +
                       "\nstorageSlot\t" + std::to_string(slot) + "\n";
    for (size_t i = 0; i < pods.size(); ++i)
    {
        size_t bar1 = pods[i].find('|');
        size_t bar2 = pods[i].find('|', bar1 + 1);
        text += "pod" + std::to_string(i) + "\n{\ntopLeftPos\t" + pods[i].substr(0, bar1) + "\ntype\t" +
                pods[i].substr(bar1 + 1, bar2 - bar1 - 1) + "\nident\t" + pods[i].substr(bar2 + 1) + "\n}\n";
    }
    const std::vector<int>* groups[] = {&group1, &group2};
    for (int g = 0; g < 2; ++g)
    {
        text += "weaponGroup" + std::to_string(g + 1) + "\n{\nnumItems\t" + std::to_string(groups[g]->size()) + "\n";
        for (size_t i = 0; i < groups[g]->size(); ++i)
            text += "item" + std::to_string(i) + "\t" + std::to_string((*groups[g])[i]) + "\n";
        text += "}\n";
    }
    return text + "}\n";
}

CDataNodeList ParseText(const std::string& text)
{
    CDataNodeList nodes;
    ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes);
    return nodes;
}

void LoadStandardDatabase(CShipComponentDatabase& database)
{
    database.SetStringTable(&GetFixtureStrings());
    ASSERT_TRUE(database.LoadComponentNodes(ParseText(StandardComponents()), "standard"))
        << database.DescribeProblems();
}

CShipComponentDatabase* AttachLevelShips(CGame& game, const std::string& designs, const std::string& components)
{
    if (!game.GetLevelConfig())
    {
        ADD_FAILURE() << "no level runs";
        return nullptr;
    }
    auto data = std::make_unique<CShipLevelData>();
    CShipComponentDatabase& database = data->m_database;
    database.SetStringTable(&GetFixtureStrings());
    if (!database.LoadComponentNodes(ParseText(components), "components") ||
        !database.LoadShipConfigNodes(ParseText(designs), "designs"))
    {
        ADD_FAILURE() << database.DescribeProblems();
        return nullptr;
    }
    game.GetLevelConfig()->AddData(std::move(data));
    return &database;
}
