#include "world/LevelConfig.h"

#include "core/Console.h"
#include "core/DataTree.h"
#include "core/DataTreeParser.h"
#include "core/FileBytes.h"
#include "core/TextRoutines.h"
#include "core/Utf8Text.h"

#include <cstdio>

namespace
{
struct SSectionReader
{
    std::string prefix;
    LevelSectionReader reader;
};

std::vector<SSectionReader>& GetReaders()
{
    static std::vector<SSectionReader> readers;
    return readers;
}

bool IsNameUnit(char16_t unit)
{
    return IsDigitUnit(unit) || IsAsciiLetterUnit(unit) || unit == u'_';
}

bool HasPrefixNoCase(const std::string& name, const std::string& prefix)
{
    if (name.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (FoldUnit(static_cast<char16_t>(name[i])) != FoldUnit(static_cast<char16_t>(prefix[i])))
            return false;
    return true;
}

const char16_t* SkipBlockComment(const char16_t* at)
{
    if (at[0] != u'/' || at[1] != u'*')
        return at;
    at += 2;
    while (*at != 0 && !(at[0] == u'*' && at[1] == u'/'))
        ++at;
    return *at != 0 ? at + 2 : at;
}

const char16_t* EndOfLine(const char16_t* at)
{
    while (*at != 0 && *at != u'\n')
        ++at;
    return at;
}

// Whether a block's opening brace follows the name at this point (after blanks,
// line breaks and comments), and where.
const char16_t* FindOpeningBrace(const char16_t* at)
{
    at = SkipBlanksAndCommentsW(at);
    return *at == u'{' ? at : nullptr;
}
} // namespace

void RegisterLevelSectionReader(const char* prefix, LevelSectionReader reader)
{
    for (const SSectionReader& known : GetReaders())
        if (known.reader == reader && known.prefix == prefix)
            return; // registering twice reads the section once
    GetReaders().push_back({prefix, reader});
}

void ClearLevelSectionReaders()
{
    GetReaders().clear();
}

std::string GetLevelFileName(int levelNumber)
{
    char name[64];
    std::snprintf(name, sizeof(name), "data\\init%i.txt", levelNumber);
    return name;
}

// Walks the text as the grammar reads it, item by item: a name followed by an
// opening brace starts a block, any other line is a value line (whose braces, if
// any, are text), a closing brace ends the innermost block.
void CLevelConfig::FindSections()
{
    m_sections.clear();
    const char16_t* start = m_text.c_str();
    const char16_t* at = start;
    int depth = 0;
    SLevelSection current;
    SDataParseState lines;
    lines.textStart = start;
    for (;;)
    {
        at = SkipBlockComment(SkipBlanksAndCommentsW(at));
        at = SkipBlanksAndCommentsW(at);
        if (*at == 0)
            break;
        if (*at == u'}')
        {
            ++at;
            if (depth > 0 && --depth == 0)
            {
                current.end = static_cast<size_t>(at - start);
                m_sections.push_back(current);
            }
            continue;
        }
        const char16_t* nameStart = at;
        while (IsNameUnit(*at))
            ++at;
        const char16_t* brace = FindOpeningBrace(at);
        if (brace && (at != nameStart || *nameStart == u'{'))
        {
            if (depth == 0)
            {
                current = SLevelSection();
                char name[64];
                NarrowText(std::u16string(nameStart, at).c_str(), name, sizeof(name));
                current.name = name;
                current.begin = static_cast<size_t>(nameStart - start);
                current.line = GetDataTextLine(lines, nameStart);
            }
            ++depth;
            at = brace + 1;
            continue;
        }
        // A value line, or something the grammar would refuse: on to the next line.
        at = EndOfLine(nameStart);
    }
}

std::unique_ptr<CDataTree> CLevelConfig::ParseSection(SLevelSection& section)
{
    // Parsed in place, so its nodes know their lines in the file.
    SDataParseState state;
    state.textStart = m_text.c_str();
    const char16_t* cursor = m_text.c_str() + section.begin;
    std::unique_ptr<CDataTree> tree = ParseDataNode(cursor, 0, state);
    if (!tree && !section.reported)
    {
        m_problems.AddAtLine(section.line, false, "section \"%s\" does not parse; it is skipped",
                             section.name.c_str());
        section.reported = true;
    }
    return tree;
}

bool CLevelConfig::LoadFromBytes(const std::string& bytes, const char* name)
{
    m_fileName = name ? name : "";
    m_problems.Clear();
    m_text = DecodeDataText(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    FindSections();

    std::unique_ptr<CDataTree> level;
    for (SLevelSection& section : m_sections)
    {
        if (!HasPrefixNoCase(section.name, "LEVEL"))
            continue;
        level = ParseSection(section);
        if (level)
            break;
    }
    if (!level)
    {
        m_problems.AddFatal(nullptr, "no LEVEL section that parses");
        if (g_console)
            g_console->Printf("Level %s has no LEVEL section", m_fileName.c_str());
        return false;
    }
    int32_t value = 0;
    if (level->GetIntW(u"worldWidth", value))
        m_worldWidth = value > 0 ? static_cast<uint32_t>(value) : 0;
    if (level->GetIntW(u"treeDepth", value))
        m_treeDepth = value > 0 ? static_cast<uint32_t>(value) : 0;
    if (level->GetIntW(u"totalAsteroidMass", value))
        m_totalAsteroidMass = value > 0 ? static_cast<uint32_t>(value) : 0;
    level->GetFloatW(u"ratioLarge", m_ratioLarge);
    level->GetFloatW(u"ratioMedium", m_ratioMedium);
    level->GetFloatW(u"ratioSmall", m_ratioSmall);
    level->GetFloatW(u"chanceOfGems", m_chanceOfGems);
    level->GetFloatW(u"viewLag", m_viewLag);
    if (m_worldWidth == 0)
    {
        // Everything that spreads over the playfield divides by its width.
        m_problems.AddFatal(level.get(), "LEVEL gives no positive \"worldWidth\"");
        if (g_console)
            g_console->Printf("Level %s has no worldWidth", m_fileName.c_str());
        return false;
    }
    return true;
}

bool CLevelConfig::Load(int levelNumber)
{
    std::string name = GetLevelFileName(levelNumber);
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(name.c_str(), bytes))
    {
        m_fileName = name;
        m_problems.Clear();
        m_problems.AddFatal(nullptr, "the level file cannot be read");
        if (g_console)
            g_console->Printf("Level file %s cannot be read", name.c_str());
        return false;
    }
    return LoadFromBytes(std::string(bytes.begin(), bytes.end()), name.c_str());
}

void CLevelConfig::LoadSections(CGame* game)
{
    for (SLevelSection& section : m_sections)
    {
        std::unique_ptr<CDataTree> tree;
        bool parsed = false;
        for (const SSectionReader& reader : GetReaders())
        {
            if (!HasPrefixNoCase(section.name, reader.prefix))
                continue;
            if (!parsed)
            {
                tree = ParseSection(section);
                parsed = true;
            }
            if (tree)
                reader.reader(*tree, game, m_problems);
        }
    }
    m_sections.clear();
    m_text.clear();
    m_text.shrink_to_fit();
}
