#include "core/DataTreeParser.h"

#include "core/DataTextWriter.h"
#include "core/TextRoutines.h"

namespace
{
bool IsNameStart(char16_t unit)
{
    return IsDigitUnit(unit) || IsAsciiLetterUnit(unit) || unit == u'_';
}

// To the start of the next line, never past the terminator.
const char16_t* NextLine(const char16_t* at)
{
    while (*at != 0 && *at != u'\n')
        ++at;
    return *at == u'\n' ? at + 1 : at;
}

bool StartsWithNoCase(const char16_t* text, const char16_t* prefix)
{
    for (; *prefix != 0; ++text, ++prefix)
        if (FoldUnit(*text) != FoldUnit(*prefix))
            return false;
    return true;
}

// "#include path": the included file's blocks become children of the block.
void SpliceInclude(const char16_t* line, CDataTree& block, int depth, SDataParseState& state)
{
    std::unique_ptr<CDataValue> value = ParseDataValue(line);
    if (!value || depth + 1 > state.depthLimit)
        return;
    char path[DATA_VALUE_MAX + 1];
    NarrowText(value->GetTrimmedText().c_str(), path, sizeof(path));
    CDataNodeList included;
    LoadDataFileNodesAt(path, included, depth + 1, state);
    for (auto& node : included)
        block.AppendParsedBlock(std::move(node));
}
} // namespace

std::u16string DecodeDataText(const uint8_t* bytes, size_t size)
{
    std::u16string text;
    uint16_t marker = size >= 2 ? static_cast<uint16_t>(bytes[0] | bytes[1] << 8) : 0;
    if (marker == DATA_MARKER_UTF16 || marker == DATA_MARKER_SCRAMBLED)
    {
        bool scrambled = marker == DATA_MARKER_SCRAMBLED;
        uint16_t counter = DATA_SCRAMBLE_SEED;
        text.reserve((size - 2) / 2 + 1);
        for (size_t at = 2; at + 1 < size; at += 2, ++counter)
        {
            char16_t unit = static_cast<char16_t>(bytes[at] | bytes[at + 1] << 8);
            if (scrambled)
                unit = static_cast<char16_t>(unit ^ counter);
            if (unit == 0)
                break;
            text += unit;
        }
        text += u'\n';
        return text;
    }
    text.reserve(size);
    for (size_t at = 0; at < size && bytes[at] != 0; ++at)
        text += WidenChar(static_cast<char>(bytes[at]));
    return text;
}

uint32_t GetDataTextLine(SDataParseState& state, const char16_t* at)
{
    if (!state.textStart || at < state.textStart)
        return 0;
    if (!state.countedTo || at < state.countedTo)
    {
        state.countedTo = state.textStart;
        state.countedLine = 1;
    }
    for (; state.countedTo < at; ++state.countedTo)
        if (*state.countedTo == u'\n')
            ++state.countedLine;
    return state.countedLine;
}

void ParseDataText(const char16_t* text, CDataNodeList& nodes, int depth, SDataParseState& state)
{
    std::set<std::pair<const char16_t*, int>> failedBlocks;
    std::set<std::pair<const char16_t*, int>>* outer = state.failedBlocks;
    state.failedBlocks = &failedBlocks;
    // An included file has lines of its own; the includer's count resumes after it.
    const char16_t* outerStart = state.textStart;
    const char16_t* outerCounted = state.countedTo;
    uint32_t outerLine = state.countedLine;
    state.textStart = text;
    state.countedTo = nullptr;
    const char16_t* cursor = text;
    while (*SkipBlanksAndCommentsW(cursor) != 0)
    {
        std::unique_ptr<CDataTree> block = ParseDataNode(cursor, depth, state);
        if (!block)
            break;
        nodes.push_back(std::move(block));
    }
    state.failedBlocks = outer;
    state.textStart = outerStart;
    state.countedTo = outerCounted;
    state.countedLine = outerLine;
}

std::unique_ptr<CDataValue> ParseDataValue(const char16_t* cursor)
{
    const char16_t* at = SkipBlanksAndCommentsW(cursor);
    if (!IsNameStart(*at) && *at != u'#')
        return nullptr;
    size_t nameLength = TokenLengthW(at);
    if (nameLength > DATA_NAME_MAX)
        return nullptr;
    std::u16string name(at, nameLength);
    at += nameLength;
    while (*at != 0 && *at != u'\t' && *at != u'\n' && *at != u' ')
        ++at;
    while (*at == u' ' || *at == u'\t')
        ++at;
    if (at[0] == u'/' && at[1] == u'/')
        while (*at != 0 && *at != u'\n' && *at != u'\r')
            ++at;
    size_t valueLength = 0;
    while (at[valueLength] != 0 && at[valueLength] != u'\r' && at[valueLength] != u'\n')
        ++valueLength;
    if (valueLength > DATA_VALUE_MAX)
        return nullptr;
    return std::make_unique<CDataValue>(name, std::u16string(at, valueLength));
}

namespace
{
std::unique_ptr<CDataTree> ParseBlockAt(const char16_t*& cursor, int depth, SDataParseState& state);
} // namespace

std::unique_ptr<CDataTree> ParseDataNode(const char16_t*& cursor, int depth, SDataParseState& state)
{
    if (depth > state.depthLimit)
        return nullptr;
    if (!state.failedBlocks)
        return ParseBlockAt(cursor, depth, state);
    const std::pair<const char16_t*, int> place(cursor, depth);
    if (state.failedBlocks->count(place))
        return nullptr;
    std::unique_ptr<CDataTree> block = ParseBlockAt(cursor, depth, state);
    if (!block)
        state.failedBlocks->insert(place);
    return block;
}

namespace
{
std::unique_ptr<CDataTree> ParseBlockAt(const char16_t*& cursor, int depth, SDataParseState& state)
{
    const char16_t* at = SkipBlanksAndCommentsW(cursor);
    if (at[0] == u'/' && at[1] == u'*')
    {
        at += 2;
        while (*at != 0 && !(at[0] == u'*' && at[1] == u'/'))
            ++at;
        if (*at != 0)
            at += 2;
        at = SkipBlanksAndCommentsW(at);
    }

    auto block = std::make_unique<CDataTree>();
    block->SetLine(GetDataTextLine(state, at));
    if (IsNameStart(*at))
    {
        size_t nameLength = TokenLengthW(at);
        if (nameLength > DATA_NAME_MAX)
            return nullptr;
        block->SetName(std::u16string(at, nameLength));
        at += nameLength;
    }
    at = SkipBlanksAndCommentsW(at);
    if (*at != u'{')
        return nullptr;
    at = SkipBlanksAndCommentsW(at + 1);

    while (*at != u'}')
    {
        if (*at == 0)
            return nullptr; // the closing brace is missing
        if (*at == u'#')
        {
            if (StartsWithNoCase(at, u"#include"))
                SpliceInclude(at, *block, depth, state);
            at = NextLine(at);
        }
        else
        {
            const char16_t* child = at;
            if (std::unique_ptr<CDataTree> nested = ParseDataNode(child, depth + 1, state))
            {
                block->AppendParsedBlock(std::move(nested));
                at = child;
            }
            else if (std::unique_ptr<CDataValue> value = ParseDataValue(at))
            {
                value->SetLine(GetDataTextLine(state, at));
                block->AppendParsedValue(std::move(value));
                at = NextLine(at);
            }
            else
                return nullptr;
        }
        at = SkipBlanksAndCommentsW(at);
    }
    cursor = SkipBlanksAndCommentsW(at + 1);
    return block;
}
} // namespace
