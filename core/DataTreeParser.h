#pragma once
// The data-tree grammar over UTF-16 text in memory. Parsing never reports a
// reason: a malformed block is dropped, and at top level it ends the file.

#include "core/DataTree.h"

#include <cstdint>
#include <memory>
#include <string>
#include <set>
#include <utility>
#include <vector>

struct SDataParseState
{
    int depthLimit = DATA_DEPTH_LIMIT;
    // The files being read right now, outermost first: an include of one of them
    // would never end, so it is refused.
    std::vector<std::string> openFiles;
    // Where in the text being parsed, and at which depth, a block already failed.
    // A failed nested block is retried as a value line and the line after it as a
    // block, which parses the same inner text again: without this a deep broken
    // file costs 2^depth parses.
    std::set<std::pair<const char16_t*, int>>* failedBlocks = nullptr;
    // The text being parsed and the last place whose line was counted, so that each
    // node gets its line without counting from the start every time.
    const char16_t* textStart = nullptr;
    const char16_t* countedTo = nullptr;
    uint32_t countedLine = 1;
};

// The line (1 = first) of a place in the text being parsed.
uint32_t GetDataTextLine(SDataParseState& state, const char16_t* at);

// Turns a data file's bytes into terminated UTF-16 text: FF FE starts UTF-16LE,
// 0xFFAA scrambled UTF-16LE, anything else is 8-bit text (widened, ending at a
// NUL byte). UTF-16 text gets a line break appended so its last line needs none.
std::u16string DecodeDataText(const uint8_t* bytes, size_t size);

// Parses top-level blocks at the text while they succeed, appending each.
void ParseDataText(const char16_t* text, CDataNodeList& nodes, int depth, SDataParseState& state);

// One block at the cursor; on success the cursor moves past it and the blanks
// after it, on failure it is left alone and null is returned.
std::unique_ptr<CDataTree> ParseDataNode(const char16_t*& cursor, int depth, SDataParseState& state);

// One value line at the cursor (the cursor does not move); null when malformed.
std::unique_ptr<CDataValue> ParseDataValue(const char16_t* cursor);

// Reads a data file's top-level blocks for an include, with the parse state of
// the including file (defined with the file functions).
bool LoadDataFileNodesAt(const char* path, CDataNodeList& nodes, int depth, SDataParseState& state);
