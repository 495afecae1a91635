#include "tests/ships/ShipFixtures.h"

#include "core/DataFile.h"
#include "core/StringTableWriter.h"

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
                             unsigned mass)
{
    return "SHIP_COMPONENT_" + ident.substr(0, 16) + "\n{\n"
           "type\t" + type + "\n"
           "ident\t" + ident + "\n"
           "description\tA part\n"
           "mass\t" + std::to_string(mass) + "\n"
           "health\t30\n"
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
                            mass);
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
