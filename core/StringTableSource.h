#pragma once
// The source form of the game's string table, compiled by the tools. UTF-8 text,
// one entry per line:
//   # a comment
//   [English]               starts a language; the first language fixes the ids
//   0xbf000007 = January    a text that the code addresses by a fixed id
//   SomeKey = Some text     a text that data files address by its key
//   Key = Text | voice.ogg  an optional second text after " | "
// In texts "\n" is a line break, "\|" a bar and "\\" a backslash. Later languages
// list the same ids and keys; what they leave out falls back to the first one.
//
// A fixed id's entry gets a generated key that falls into the id's bucket and is
// placed at the id's position; earlier positions of the bucket are padded. Keyed
// entries follow the fixed ones of their bucket, so they never move a fixed id.

#include "core/StringTable.h"

#include <memory>
#include <string>
#include <vector>

class CStringTableSource
{
public:
    // False with a message naming the line on malformed input.
    bool Parse(const std::string& utf8, std::string& error);
    bool Build(std::vector<std::unique_ptr<CStringTableLanguage>>& languages, std::string& error) const;
    bool HasSecondTexts() const;

private:
    struct SLine
    {
        bool fixed = false;
        uint32_t id = 0;
        std::u16string key;
        std::u16string text;
        std::u16string secondText;
        int lineNumber = 0;
    };
    struct SLanguage
    {
        std::u16string name;
        std::vector<SLine> lines;
    };

    std::vector<SLanguage> m_languages;
};

// A key in the given bucket made from base (base itself, or base with a number).
CWString MakeKeyInBucket(const std::string& base, uint8_t bucket);
