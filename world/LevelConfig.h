#pragma once
// A level's settings from its file "data\init%i.txt": the first top-level "LEVEL"
// section that parses gives the playfield and the asteroid budget; the file's other
// sections go to their readers (registered by the parts that own them). Sections
// are found by matching braces, so one broken section costs only itself.

#include "core/DefinitionProblems.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDataTree;
class CGame;

// Data that a layer above makes from the level's sections (the ships' components
// and designs) and keeps with the level settings, so it goes when the level ends.
class CLevelData
{
public:
    virtual ~CLevelData() = default;
};

// One top-level section of a level file: its name and where its text lies.
struct SLevelSection
{
    std::string name;
    uint32_t line = 0;
    size_t begin = 0;  // the name's first unit
    size_t end = 0;    // one past the closing brace
    bool reported = false; // found broken and said so
};

// A reader of the level file's sections whose name begins with its prefix (compared
// without regard to case), called in file order with the parsed section. The game is
// null when the file is only being checked (tesstool check): the reader then reports
// its problems and makes nothing.
using LevelSectionReader = void (*)(const CDataTree& section, CGame* game, CDefinitionProblems& problems);
void RegisterLevelSectionReader(const char* prefix, LevelSectionReader reader);
void ClearLevelSectionReaders();

class CLevelConfig
{
public:
    // Reads "data\init%i.txt" and its LEVEL section. False (with the reason among the
    // problems and on the console) when the file cannot be read, holds no LEVEL
    // section that parses, or that section gives no positive "worldWidth".
    bool Load(int levelNumber);
    // The same from text in memory (a file's bytes), for tests and checks.
    bool LoadFromBytes(const std::string& bytes, const char* name);
    // Hands every section to its readers, in file order; sections that do not parse
    // are skipped (and reported). The text is let go afterwards.
    void LoadSections(CGame* game);

    uint32_t GetWorldWidth() const { return m_worldWidth; }
    uint32_t GetTreeDepth() const { return m_treeDepth; }
    uint32_t GetTotalAsteroidMass() const { return m_totalAsteroidMass; }
    float GetRatioSmall() const { return m_ratioSmall; }
    float GetRatioMedium() const { return m_ratioMedium; }
    float GetRatioLarge() const { return m_ratioLarge; }
    float GetChanceOfGems() const { return m_chanceOfGems; }
    // The camera's lag: 1.0 (no lag) when the file does not give "viewLag".
    float GetViewLag() const { return m_viewLag; }
    const std::string& GetFileName() const { return m_fileName; }
    const std::vector<SLevelSection>& GetSections() const { return m_sections; }
    const CDefinitionProblems& GetProblems() const { return m_problems; }
    CDefinitionProblems& GetProblems() { return m_problems; }

    // Data kept with the level; the first of the class is found.
    void AddData(std::unique_ptr<CLevelData> data) { m_data.push_back(std::move(data)); }
    template <typename T>
    T* FindData() const
    {
        for (const std::unique_ptr<CLevelData>& data : m_data)
            if (T* found = dynamic_cast<T*>(data.get()))
                return found;
        return nullptr;
    }

private:
    void FindSections();
    std::unique_ptr<CDataTree> ParseSection(SLevelSection& section);

    uint32_t m_worldWidth = 0;
    uint32_t m_treeDepth = 0;
    uint32_t m_totalAsteroidMass = 0;
    float m_ratioLarge = 0.0f;
    float m_ratioMedium = 0.0f;
    float m_ratioSmall = 0.0f;
    float m_chanceOfGems = 0.0f;
    float m_viewLag = 1.0f;
    std::string m_fileName;
    std::u16string m_text;
    std::vector<SLevelSection> m_sections;
    CDefinitionProblems m_problems;
    std::vector<std::unique_ptr<CLevelData>> m_data;
};

// "data\init%i.txt" for a level number.
std::string GetLevelFileName(int levelNumber);
