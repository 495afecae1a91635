#pragma once
// The hierarchical text format of every definition file, the settings file, the
// GUI skins and layouts and the ship designs of a save: named blocks in braces
// holding named values and further blocks.

#include "core/WString.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CVector2D;
class CVector3;
class CDataTextWriter;

constexpr size_t DATA_NAME_MAX = 32;   // units of a node name
constexpr size_t DATA_VALUE_MAX = 256; // units of a value text
constexpr int DATA_DEPTH_LIMIT = 64;   // what every reader passes as the depth limit

enum EDataNodeType
{
    DATA_NODE_VALUE = 0,
    DATA_NODE_BLOCK = 1,
};

class CDataNode
{
public:
    CDataNode() = default;
    CDataNode(const CDataNode&) = delete;
    CDataNode& operator=(const CDataNode&) = delete;
    virtual ~CDataNode() = default;

    virtual int GetType() const = 0;
    // A deep copy of the same kind.
    virtual CDataNode* Clone() const = 0;
    // Appends the node's text; tabs per indent level only when indent is set.
    virtual bool Write(CDataTextWriter& out, int indentLevel, bool indent) const = 0;

    bool IsBlock() const { return GetType() == DATA_NODE_BLOCK; }
    const std::u16string& GetName() const { return m_name; }
    // Names longer than 32 units are cut.
    void SetName(const std::u16string& name) { m_name = name.substr(0, DATA_NAME_MAX); }
    void SetNameNarrow(const char* name);
    // Case-insensitive (a-z folded) over at most 32 units.
    bool HasName(const char16_t* name) const;
    // The line of its text where the parser found the node (1 = first), 0 for nodes
    // made in code; checks of definition files name it.
    uint32_t GetLine() const { return m_line; }
    void SetLine(uint32_t line) { m_line = line; }

protected:
    std::u16string m_name;
    uint32_t m_line = 0;
};

class CDataValue : public CDataNode
{
public:
    CDataValue() = default;
    CDataValue(const std::u16string& name, const std::u16string& text);

    int GetType() const override { return DATA_NODE_VALUE; }
    CDataNode* Clone() const override;
    bool Write(CDataTextWriter& out, int indentLevel, bool indent) const override;

    // The text as read: a trailing "//" comment and trailing blanks are part of it.
    const std::u16string& GetText() const { return m_text; }
    // Texts longer than 256 units are cut.
    void SetText(const std::u16string& text) { m_text = text.substr(0, DATA_VALUE_MAX); }
    // What the getters see: up to the first "//", trailing blanks removed.
    std::u16string GetTrimmedText() const;

private:
    std::u16string m_text;
};

class CDataTree : public CDataNode
{
public:
    CDataTree() = default;
    explicit CDataTree(const std::u16string& name) { SetName(name); }

    int GetType() const override { return DATA_NODE_BLOCK; }
    CDataNode* Clone() const override;
    bool Write(CDataTextWriter& out, int indentLevel, bool indent) const override;

    // Children in file order; the tree owns them.
    size_t GetChildCount() const { return m_children.size(); }
    CDataNode* GetChild(size_t index) const;
    // The index-th child block, or null.
    CDataTree* GetChildBlock(size_t index) const;
    // What the parser read (includes counted as blocks); nodes added later are not counted.
    uint32_t GetParsedValueCount() const { return m_parsedValues; }
    uint32_t GetParsedBlockCount() const { return m_parsedBlocks; }

    // Lookups by name, case-insensitive over 32 units; the W forms take UTF-16 names.
    CDataNode* FindChild(const char* name) const;
    CDataNode* FindChildW(const char16_t* name) const;
    CDataTree* FindBlock(const char* name) const;
    CDataTree* FindBlockW(const char16_t* name) const;
    CDataValue* FindValue(const char* name) const;

    // Typed getters: the FIRST child of the name decides. When there is none, or it
    // is a block, they give false and leave the output untouched; so do the bool,
    // integer and vector getters when its text does not parse. GetFloat takes any
    // text as the C library's atof does: a value without a number gives true and 0.
    bool GetBool(const char* name, bool& out) const;
    bool GetBoolW(const char16_t* name, bool& out) const;
    bool GetInt(const char* name, int32_t& out) const;
    bool GetIntW(const char16_t* name, int32_t& out) const;
    bool GetUInt(const char* name, uint32_t& out) const;
    bool GetUIntW(const char16_t* name, uint32_t& out) const;
    bool GetFloat(const char* name, float& out) const;
    bool GetFloatW(const char16_t* name, float& out) const;
    // The trimmed text narrowed (units of 128 and above become spaces), cut to fit
    // the buffer and always terminated.
    bool GetString(const char* name, char* buffer, size_t size) const;
    bool GetStringW(const char16_t* name, char* buffer, size_t size) const;
    bool GetWString(const char* name, CWString& out) const;
    // Length of the trimmed text; 0 when missing or a block.
    uint32_t GetStringLength(const char* name) const;
    bool GetVec2(const char* name, CVector2D& out) const;
    bool GetVec3(const char* name, CVector3& out) const;
    bool GetVec4(const char* name, float out[4]) const;

    // Adders append a new value (counts unchanged); names are cut to 32 units and
    // numbers are written the same in every locale.
    void AddChild(CDataNode* node);
    void AddBool(const char* name, bool value);
    void AddInt(const char* name, int32_t value);
    void AddString(const char* name, const char* text);
    void AddWString(const char* name, const CWString& text);
    void AddVec2(const char* name, float x, float y);
    // Setters replace the first child of the name: a value gets the new text, a
    // block is removed and a new value appended; none appends a new value.
    void SetBool(const char* name, bool value);
    void SetInt(const char* name, int32_t value);
    void SetString(const char* name, const char* text);
    // Removes and deletes the first child of the name, either kind.
    bool RemoveChild(const char* name);

    // Parser side: appends and counts.
    void AppendParsedValue(std::unique_ptr<CDataNode> node);
    void AppendParsedBlock(std::unique_ptr<CDataNode> node);

private:
    CDataValue* FindValueForGetter(const char16_t* name) const;
    void SetText(const char* name, const std::u16string& text);

    std::vector<std::unique_ptr<CDataNode>> m_children;
    uint32_t m_parsedValues = 0;
    uint32_t m_parsedBlocks = 0;
};

using CDataNodeList = std::vector<std::unique_ptr<CDataNode>>;

// Deletes the node (if any) and nulls the pointer.
template <typename T>
void FreeDataNode(T** node)
{
    if (node)
    {
        delete *node;
        *node = nullptr;
    }
}

// 8-bit names and texts widened unit by unit with sign extension.
std::u16string WidenToU16(const char* text, size_t maxUnits = SIZE_MAX);
