#include "core/StringTableSource.h"

#include "core/TextRoutines.h"
#include "core/Utf8Text.h"

#include <cstdio>
#include <map>
#include <sstream>

namespace
{
constexpr uint32_t MAX_FIXED_POSITION = 4096; // far beyond any bucket the code uses

std::string Trim(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool ParseFixedId(const std::string& text, uint32_t& id)
{
    if (text.size() < 3 || text.size() > 10 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X'))
        return false;
    id = 0;
    for (size_t i = 2; i < text.size(); ++i)
    {
        char c = text[i];
        int digit = (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                  : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
        if (digit < 0)
            return false;
        id = id << 4 | static_cast<uint32_t>(digit);
    }
    return true;
}

// Escapes resolved; the text splits at the first unescaped bar into text and second text.
bool Unescape(const std::string& raw, std::string& text, std::string& second, bool& hasSecond)
{
    std::string* out = &text;
    hasSecond = false;
    for (size_t i = 0; i < raw.size(); ++i)
    {
        char c = raw[i];
        if (c == '\\' && i + 1 < raw.size())
        {
            char next = raw[++i];
            *out += next == 'n' ? '\n' : next == 't' ? '\t' : next;
        }
        else if (c == '|' && !hasSecond)
        {
            hasSecond = true;
            out = &second;
        }
        else
            *out += c;
    }
    text = Trim(text);
    second = Trim(second);
    return true;
}

std::string LineError(int line, const std::string& what)
{
    return "line " + std::to_string(line) + ": " + what;
}

std::u16string FoldKey(const std::u16string& key)
{
    std::u16string folded(key);
    for (char16_t& unit : folded)
        unit = FoldUnit(unit);
    return folded;
}

std::string Identity(bool fixed, uint32_t id, const std::u16string& key)
{
    if (fixed)
        return "#" + std::to_string(id);
    return "k" + Utf16ToUtf8(FoldKey(key));
}
} // namespace

CWString MakeKeyInBucket(const std::string& base, uint8_t bucket)
{
    CWString key;
    for (uint32_t n = 0;; ++n)
    {
        key.AssignNarrow((n == 0 ? base : base + "_" + std::to_string(n)).c_str());
        if (CStringTable::GetKeyBucket(key) == bucket)
            return key;
    }
}

bool CStringTableSource::Parse(const std::string& utf8, std::string& error)
{
    m_languages.clear();
    std::istringstream in(utf8);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number)
    {
        std::string text = Trim(line);
        if (text.empty() || text[0] == '#')
            continue;
        if (text.front() == '[' && text.back() == ']')
        {
            SLanguage language;
            if (!Utf8ToUtf16(Trim(text.substr(1, text.size() - 2)), language.name) || language.name.empty())
                return error = LineError(number, "bad language name"), false;
            m_languages.push_back(std::move(language));
            continue;
        }
        if (m_languages.empty())
            return error = LineError(number, "an entry before the first [language]"), false;
        size_t equals = text.find('=');
        if (equals == std::string::npos)
            return error = LineError(number, "no '=' between id or key and text"), false;
        SLine entry;
        entry.lineNumber = number;
        std::string left = Trim(text.substr(0, equals));
        std::string plain;
        std::string second;
        bool hasSecond = false;
        Unescape(Trim(text.substr(equals + 1)), plain, second, hasSecond);
        if (left.empty())
            return error = LineError(number, "empty key"), false;
        if (left.compare(0, 2, "0x") == 0 || left.compare(0, 2, "0X") == 0)
        {
            if (!ParseFixedId(left, entry.id))
                return error = LineError(number, "bad id '" + left + "'"), false;
            entry.fixed = true;
            if ((entry.id & 0xFFFFFFu) >= MAX_FIXED_POSITION)
                return error = LineError(number, "id position too large"), false;
        }
        else if (left[0] == '~' || !Utf8ToUtf16(left, entry.key))
            return error = LineError(number, "bad key '" + left + "'"), false;
        if (!Utf8ToUtf16(plain, entry.text) || !Utf8ToUtf16(second, entry.secondText))
            return error = LineError(number, "text is not UTF-8"), false;
        m_languages.back().lines.push_back(std::move(entry));
    }
    if (m_languages.empty())
        return error = "no [language] section", false;
    return true;
}

bool CStringTableSource::HasSecondTexts() const
{
    for (const SLanguage& language : m_languages)
        for (const SLine& line : language.lines)
            if (!line.secondText.empty())
                return true;
    return false;
}

bool CStringTableSource::Build(std::vector<std::unique_ptr<CStringTableLanguage>>& languages, std::string& error) const
{
    languages.clear();
    if (m_languages.empty())
        return error = "no language", false;

    // The layout, from the first language: per bucket the identity of every slot.
    std::vector<std::string> slots[STRING_TABLE_BUCKETS];
    std::vector<CWString> keys[STRING_TABLE_BUCKETS];
    std::map<std::string, const SLine*> firstLines;
    for (const SLine& line : m_languages.front().lines)
    {
        if (!line.fixed)
            continue;
        uint8_t bucket = static_cast<uint8_t>(line.id >> 24);
        size_t position = line.id & 0xFFFFFFu;
        if (slots[bucket].size() <= position)
        {
            slots[bucket].resize(position + 1);
            keys[bucket].resize(position + 1);
        }
        if (!slots[bucket][position].empty())
            return error = LineError(line.lineNumber, "id given twice"), false;
        char name[16];
        std::snprintf(name, sizeof(name), "~%08x", line.id);
        slots[bucket][position] = Identity(true, line.id, line.key);
        keys[bucket][position] = MakeKeyInBucket(name, bucket);
        firstLines[slots[bucket][position]] = &line;
    }
    for (size_t bucket = 0; bucket < STRING_TABLE_BUCKETS; ++bucket)
    {
        for (size_t position = 0; position < slots[bucket].size(); ++position)
        {
            if (!slots[bucket][position].empty())
                continue;
            char name[48];
            std::snprintf(name, sizeof(name), "~pad%02zx_%zu", bucket, position);
            slots[bucket][position] = std::string("pad") + name;
            keys[bucket][position] = MakeKeyInBucket(name, static_cast<uint8_t>(bucket));
        }
    }
    for (const SLine& line : m_languages.front().lines)
    {
        if (line.fixed)
            continue;
        std::string identity = Identity(false, 0, line.key);
        if (firstLines.count(identity))
            return error = LineError(line.lineNumber, "key given twice"), false;
        CWString key;
        key.AssignWideN(line.key.data(), line.key.size());
        uint8_t bucket = CStringTable::GetKeyBucket(key);
        slots[bucket].push_back(identity);
        keys[bucket].push_back(key);
        firstLines[identity] = &line;
    }

    for (const SLanguage& source : m_languages)
    {
        std::map<std::string, const SLine*> own;
        for (const SLine& line : source.lines)
        {
            std::string identity = Identity(line.fixed, line.id, line.key);
            if (!firstLines.count(identity))
                return error = LineError(line.lineNumber, "not in the first language"), false;
            // A second line for the same text would silently replace the first.
            if (own.count(identity))
                return error = LineError(line.lineNumber, line.fixed ? "id given twice" : "key given twice"), false;
            own[identity] = &line;
        }
        auto language = std::make_unique<CStringTableLanguage>();
        language->m_name.AssignWideN(source.name.data(), source.name.size());
        for (size_t bucket = 0; bucket < STRING_TABLE_BUCKETS; ++bucket)
        {
            for (size_t position = 0; position < slots[bucket].size(); ++position)
            {
                SStringTableEntry entry;
                entry.key = keys[bucket][position];
                const std::string& identity = slots[bucket][position];
                auto found = own.find(identity);
                const SLine* line = found != own.end() ? found->second : nullptr;
                if (!line && firstLines.count(identity))
                    line = firstLines[identity];
                entry.text.AssignWideN(line ? line->text.data() : u"", line ? line->text.size() : 0);
                if (line && !line->secondText.empty())
                    entry.secondText.AssignWideN(line->secondText.data(), line->secondText.size());
                language->m_buckets[bucket].push_back(std::move(entry));
            }
        }
        languages.push_back(std::move(language));
    }
    return true;
}
