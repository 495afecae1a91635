#pragma once
// Every component definition of the level, filed by kind, and the eight stored
// ship designs.

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "ships/ComponentDef.h"
#include "ships/ShipConfig.h"

#include <memory>
#include <string>
#include <vector>

// Whether the node is a block whose name begins with the prefix (letters of any case).
bool BlockNameBegins(const CDataNode& node, const char* prefix);

constexpr int COMPONENT_DEFS_PER_KIND = 10;
constexpr size_t CATEGORY_NAME_MAX = 47; // characters (48 bytes with the terminator)

struct SComponentCategory
{
    int32_t m_defCount = 0;
    std::string m_name;
    uint32_t m_displayStringId = 0;
    std::unique_ptr<CShipComponentDef> m_defs[COMPONENT_DEFS_PER_KIND];

    // Index of the definition with that ident; 0 when none has it.
    int32_t FindDef(const char* ident) const;
    // Null for an index out of range.
    const CShipComponentDef* GetDef(int32_t index) const;
};

class CShipComponentDatabase
{
public:
    CShipComponentDatabase() = default;
    CShipComponentDatabase(const CShipComponentDatabase&) = delete;
    CShipComponentDatabase& operator=(const CShipComponentDatabase&) = delete;

    // Display keys are looked up in this table (the global one when none is set).
    void SetStringTable(const CStringTable* strings) { m_strings = strings; }

    // Every top-level block whose name begins with "SHIP_COMPONENT" becomes a
    // definition, then the first "CATEGORIES" block names the categories. False
    // when a definition lacks a required key or names an unknown kind or shape:
    // the game cannot fly with it (GetProblems lists every problem with its line).
    bool LoadComponents(const char* path);
    bool LoadComponentNodes(const CDataNodeList& nodes, const char* sourceName);
    // One definition section by its "type"; an unknown type makes nothing and is
    // no failure. A kind that already holds 10 definitions keeps them and the new
    // one is dropped with a console line. False when the section is unusable.
    bool ParseComponent(const CDataTree& section);

    // Every block whose name begins with "SHIP_CONFIG" becomes a design in its
    // storage slot, replacing the design there. A design whose slot is out of range
    // is skipped with a console line. A damaged design fails the load: the whole
    // file is refused and no slot changes (the game's own data then ends the
    // program; a save slot refuses to load).
    bool LoadShipConfigs(const char* path);
    bool LoadShipConfigNodes(const CDataNodeList& nodes, const char* sourceName);
    // Writes every occupied slot, slot 0 first, through the data-tree writer
    // (scrambled while the writer's scramble flag is set).
    bool SaveShipConfigs(const char* path) const;
    // The bytes of the design file as a save slot keeps it (scrambled).
    std::vector<uint8_t> EncodeShipConfigs(bool scrambled) const;
    void ClearShipConfigs();

    const SComponentCategory* GetCategory(int32_t kind) const;
    // Null for a kind or index out of range or an unused index.
    const CShipComponentDef* GetComponentDef(int32_t kind, int32_t index) const;
    const CHullDef* GetHullDef(int32_t index) const;
    // The first definition of the kind, or null.
    const CShipComponentDef* GetFirstDef(int32_t kind) const;

    // The design in the slot (0 to 7), or null.
    CShipConfig* GetShipConfig(int32_t slot) const;
    CShipConfig* GetShipConfigByIdent(const char* ident) const;
    // Puts a design in its storage slot (deleting the one there); false, and the
    // design deleted, when the slot is out of range.
    bool StoreShipConfig(std::unique_ptr<CShipConfig> config);
    // Empties the slot (nothing for an empty slot or one out of range).
    void RemoveShipConfig(int32_t slot);
    // The number of occupied slots.
    int32_t GetConfigCount() const;

    // The flight check of the design in the slot: both flags false for an empty
    // slot or when the last generator's output is below the last engine's
    // requirement; otherwise the first says a beam and a weapon are fitted and the
    // second that an engine is.
    void CheckShipConfig(int32_t slot, bool& beamAndWeapon, bool& engine) const;

    // What the last load found, and the file it read ("file:line: text" lines).
    const CDefinitionProblems& GetProblems() const { return m_problems; }
    std::string DescribeProblems() const { return m_problems.Describe(m_problemFile.c_str()); }

private:
    bool Fail(const char* file, const char* message);
    void StartLoad(const char* file);
    void ReadCategories(const CDataTree& block);

    const CStringTable* m_strings = nullptr;
    std::unique_ptr<CShipConfig> m_configs[SHIP_CONFIG_SLOTS];
    SComponentCategory m_categories[COMPONENT_KIND_COUNT];
    CDefinitionProblems m_problems;
    std::string m_problemFile;
};
