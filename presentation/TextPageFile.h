#pragma once
// Text-page files: the typed pages of the tutorials and the in-game chat, a data tree
// (its first block; the name is free):
//
//   chat
//   {
//       PrecacheImages              optional: pictures the text shows with "[n]"
//       {
//           1           data\chat\station.tga
//           alignleft1  true        drawn at the left instead of the right
//       }
//       fontidx     1               GUI font 0-3, -1 the system font (default 1)
//       x, y, width, imageheight, textheight   GUI pixels
//       English                     the language's block
//       {
//           page0 { textidstring KEY }   a string-table text (word-wrapped, with its voice)
//           page1 { textid 0x12000004 }  the same by id
//           page2 { line0 Hello [p_name]. line1 ... }   literal lines
//       }
//   }
//
// Pages run from "page0" up to the first one missing; a file without "page0" has
// nothing to show and is refused. In the text "[p_name]" (any case) is the pilot's
// name, "[n]" shows picture n of the list and "[-1]" takes the picture away.

#include <cstdint>
#include <string>
#include <vector>

class CDataNode;
class CDataTree;
class CDefinitionProblems;
class CStringTable;

// The languages' block names by language index.
constexpr const char* TEXT_PAGE_LANGUAGES[] = {"English"};
constexpr int TEXT_PAGE_MAX_PAGES = 256;
constexpr int TEXT_PAGE_MAX_LINES = 256;
constexpr int32_t TEXT_PAGE_MAX_SIZE = 4096;

struct STextPageImageDesc
{
    int32_t id = 0;
    std::string file;
    bool alignLeft = false;
    const CDataNode* node = nullptr; // where the file names it
};

// One page: a string-table text (with its voice) or literal lines.
struct STextPageSource
{
    bool fromTable = false;
    uint32_t stringId = 0;
    std::u16string text;
    std::string voice;
    std::vector<std::u16string> lines;
    const CDataNode* node = nullptr;
};

struct STextPageFileDesc
{
    std::vector<STextPageImageDesc> images;
    int32_t fontIndex = 1;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t imageHeight = 0;
    int32_t textHeight = 0;
    std::vector<STextPageSource> pages;
};

// Reads the file's block for the language; string-table texts are looked up in
// `strings` (none: every such page is a problem). False, with a fatal problem, when
// the language has no block, it has no "page0", or a page's text is not in the
// table; values out of range are put in range with a problem.
bool ReadTextPageFile(const CDataTree& root, int language, const CStringTable* strings, STextPageFileDesc& out,
                      CDefinitionProblems& problems);

// The tag at the start of text (length units): "[p_name]" in any case, or "[" and a
// whole number (an optional "-", then digits) and "]". A "[" that does not end so is
// no tag. length gives the tag's length; image the number (numbers too large for
// any picture give INT32_MIN).
enum ETextPageTag
{
    TEXT_PAGE_NO_TAG,
    TEXT_PAGE_PILOT_TAG,
    TEXT_PAGE_IMAGE_TAG,
};
ETextPageTag FindTextPageTag(const char16_t* text, size_t length, size_t& tagLength, int32_t& image);
