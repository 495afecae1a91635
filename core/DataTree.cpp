#include "core/DataTree.h"

#include "core/DataTextWriter.h"
#include "core/TextRoutines.h"
#include "core/Vector2D.h"
#include "core/Vector3.h"

#include <algorithm>

namespace
{
std::u16string WidenName(const char* name)
{
    return WidenToU16(name, DATA_NAME_MAX);
}

// The value text as it can stand on its line: line breaks inside it would split
// it into two lines when read back, and a "{" as its first non-blank unit would
// make the reader take the line for the name of a block, which then swallows the
// rest of the file. That brace is written as "(".
std::u16string WritableValue(const std::u16string& text)
{
    std::u16string line(text);
    std::replace(line.begin(), line.end(), u'\r', u' ');
    std::replace(line.begin(), line.end(), u'\n', u' ');
    size_t first = line.find_first_not_of(u" \t");
    if (first != std::u16string::npos && line[first] == u'{')
        line[first] = u'(';
    return line;
}

std::u16string FromAscii(const char* text)
{
    return std::u16string(text, text + std::char_traits<char>::length(text));
}
} // namespace

std::u16string WidenToU16(const char* text, size_t maxUnits)
{
    std::u16string wide;
    for (; *text != 0 && wide.size() < maxUnits; ++text)
        wide += WidenChar(*text);
    return wide;
}

void CDataNode::SetNameNarrow(const char* name)
{
    m_name = WidenName(name);
}

bool CDataNode::HasName(const char16_t* name) const
{
    return CompareWideNoCaseN(m_name.c_str(), name, DATA_NAME_MAX) == 0;
}

// ---- values ----

CDataValue::CDataValue(const std::u16string& name, const std::u16string& text)
{
    SetName(name);
    SetText(text);
}

CDataNode* CDataValue::Clone() const
{
    CDataValue* copy = new CDataValue(m_name, m_text);
    copy->SetLine(m_line);
    return copy;
}

bool CDataValue::Write(CDataTextWriter& out, int indentLevel, bool indent) const
{
    out.PutTabs(indentLevel, indent);
    out.Put(m_name);
    out.Put(u'\t');
    out.Put(WritableValue(m_text));
    out.PutLineEnd();
    return true;
}

std::u16string CDataValue::GetTrimmedText() const
{
    return m_text.substr(0, TrimmedValueLengthW(m_text.c_str(), m_text.size()));
}

// ---- blocks ----

CDataNode* CDataTree::Clone() const
{
    CDataTree* copy = new CDataTree(m_name);
    copy->SetLine(m_line);
    for (const auto& child : m_children)
        copy->m_children.emplace_back(child->Clone());
    return copy;
}

bool CDataTree::Write(CDataTextWriter& out, int indentLevel, bool indent) const
{
    if (!m_name.empty())
    {
        out.PutTabs(indentLevel, indent);
        out.Put(m_name);
        out.PutLineEnd();
    }
    out.PutTabs(indentLevel, indent);
    out.Put(u'{');
    out.PutLineEnd();
    for (const auto& child : m_children)
        if (!child->Write(out, indentLevel + 1, indent))
            return false;
    out.PutTabs(indentLevel, indent);
    out.Put(u'}');
    out.PutLineEnd();
    return true;
}

CDataNode* CDataTree::GetChild(size_t index) const
{
    return index < m_children.size() ? m_children[index].get() : nullptr;
}

CDataTree* CDataTree::GetChildBlock(size_t index) const
{
    for (const auto& child : m_children)
        if (child->IsBlock() && index-- == 0)
            return static_cast<CDataTree*>(child.get());
    return nullptr;
}

CDataNode* CDataTree::FindChild(const char* name) const
{
    return FindChildW(WidenName(name).c_str());
}

CDataNode* CDataTree::FindChildW(const char16_t* name) const
{
    for (const auto& child : m_children)
        if (child->HasName(name))
            return child.get();
    return nullptr;
}

CDataTree* CDataTree::FindBlock(const char* name) const
{
    return FindBlockW(WidenName(name).c_str());
}

CDataTree* CDataTree::FindBlockW(const char16_t* name) const
{
    for (const auto& child : m_children)
        if (child->IsBlock() && child->HasName(name))
            return static_cast<CDataTree*>(child.get());
    return nullptr;
}

CDataValue* CDataTree::FindValue(const char* name) const
{
    std::u16string wide = WidenName(name);
    for (const auto& child : m_children)
        if (!child->IsBlock() && child->HasName(wide.c_str()))
            return static_cast<CDataValue*>(child.get());
    return nullptr;
}

CDataValue* CDataTree::FindValueForGetter(const char16_t* name) const
{
    CDataNode* node = FindChildW(name);
    return (node && !node->IsBlock()) ? static_cast<CDataValue*>(node) : nullptr;
}

// ---- getters ----

bool CDataTree::GetBool(const char* name, bool& out) const
{
    return GetBoolW(WidenName(name).c_str(), out);
}

bool CDataTree::GetBoolW(const char16_t* name, bool& out) const
{
    CDataValue* value = FindValueForGetter(name);
    return value && ParseBoolW(value->GetText().c_str(), out);
}

bool CDataTree::GetInt(const char* name, int32_t& out) const
{
    return GetIntW(WidenName(name).c_str(), out);
}

bool CDataTree::GetIntW(const char16_t* name, int32_t& out) const
{
    CDataValue* value = FindValueForGetter(name);
    return value && ParseIntW(value->GetText().c_str(), out);
}

bool CDataTree::GetUInt(const char* name, uint32_t& out) const
{
    return GetUIntW(WidenName(name).c_str(), out);
}

bool CDataTree::GetUIntW(const char16_t* name, uint32_t& out) const
{
    CDataValue* value = FindValueForGetter(name);
    return value && ParseUIntW(value->GetText().c_str(), out);
}

bool CDataTree::GetFloat(const char* name, float& out) const
{
    return GetFloatW(WidenName(name).c_str(), out);
}

bool CDataTree::GetFloatW(const char16_t* name, float& out) const
{
    CDataValue* value = FindValueForGetter(name);
    if (!value)
        return false;
    out = ParseFloatW(value->GetText().c_str());
    return true;
}

bool CDataTree::GetString(const char* name, char* buffer, size_t size) const
{
    return GetStringW(WidenName(name).c_str(), buffer, size);
}

bool CDataTree::GetStringW(const char16_t* name, char* buffer, size_t size) const
{
    CDataValue* value = FindValueForGetter(name);
    if (!value || size == 0)
        return false;
    NarrowText(value->GetTrimmedText().c_str(), buffer, size);
    return true;
}

bool CDataTree::GetWString(const char* name, CWString& out) const
{
    CDataValue* value = FindValueForGetter(WidenName(name).c_str());
    if (!value)
        return false;
    std::u16string text = value->GetTrimmedText();
    out.AssignWideN(text.data(), text.size());
    return true;
}

uint32_t CDataTree::GetStringLength(const char* name) const
{
    CDataValue* value = FindValueForGetter(WidenName(name).c_str());
    return value ? static_cast<uint32_t>(value->GetTrimmedText().size()) : 0;
}

namespace
{
// The value text narrowed for the vector getters (at most 511 characters).
std::string NarrowValue(const CDataValue& value)
{
    char text[512];
    NarrowText(value.GetText().c_str(), text, sizeof(text));
    return text;
}

// Floats read like "%f", separated by commas that must follow each number directly.
bool ScanFloats(const std::string& text, float* out, int count)
{
    const char* at = text.c_str();
    for (int i = 0; i < count; ++i)
    {
        if (i > 0)
        {
            if (*at != ',')
                return false;
            ++at;
        }
        if (!ScanFloat(at, out[i], &at))
            return false;
    }
    return true;
}
} // namespace

bool CDataTree::GetVec2(const char* name, CVector2D& out) const
{
    CDataValue* value = FindValueForGetter(WidenName(name).c_str());
    if (!value)
        return false;
    std::string text = NarrowValue(*value);
    const char* at = text.c_str();
    bool exponentOk = true;
    float x = ParseFloat(at, &at, &exponentOk);
    if (!exponentOk || *at != ',')
        return false;
    for (++at; *at == ' ' || *at == '\t';)
        ++at;
    float y = ParseFloat(at, &at, &exponentOk);
    if (!exponentOk)
        return false;
    out = CVector2D(x, y);
    return true;
}

bool CDataTree::GetVec3(const char* name, CVector3& out) const
{
    CDataValue* value = FindValueForGetter(WidenName(name).c_str());
    float parts[3];
    if (!value || !ScanFloats(NarrowValue(*value), parts, 3))
        return false;
    out = CVector3(parts[0], parts[1], parts[2]);
    return true;
}

bool CDataTree::GetVec4(const char* name, float out[4]) const
{
    CDataValue* value = FindValueForGetter(WidenName(name).c_str());
    float parts[4];
    if (!value || !ScanFloats(NarrowValue(*value), parts, 4))
        return false;
    std::copy(parts, parts + 4, out);
    return true;
}

// ---- adders and setters ----

void CDataTree::AddChild(CDataNode* node)
{
    if (node)
        m_children.emplace_back(node);
}

void CDataTree::AddBool(const char* name, bool value)
{
    AddChild(new CDataValue(WidenName(name), value ? u"true" : u"false"));
}

void CDataTree::AddInt(const char* name, int32_t value)
{
    char text[16];
    FormatInt(value, text, sizeof(text));
    AddChild(new CDataValue(WidenName(name), FromAscii(text)));
}

void CDataTree::AddString(const char* name, const char* text)
{
    AddChild(new CDataValue(WidenName(name), WidenToU16(text, DATA_VALUE_MAX)));
}

void CDataTree::AddWString(const char* name, const CWString& text)
{
    AddChild(new CDataValue(WidenName(name), text.GetText()));
}

void CDataTree::AddVec2(const char* name, float x, float y)
{
    char first[64];
    char second[64];
    FormatFloat(x, first, sizeof(first));
    FormatFloat(y, second, sizeof(second));
    AddChild(new CDataValue(WidenName(name), FromAscii(first) + u", " + FromAscii(second)));
}

void CDataTree::SetText(const char* name, const std::u16string& text)
{
    std::u16string wide = WidenName(name);
    for (auto it = m_children.begin(); it != m_children.end(); ++it)
    {
        if (!(*it)->HasName(wide.c_str()))
            continue;
        if (!(*it)->IsBlock())
        {
            static_cast<CDataValue*>(it->get())->SetText(text);
            return;
        }
        m_children.erase(it);
        break;
    }
    AddChild(new CDataValue(wide, text));
}

void CDataTree::SetBool(const char* name, bool value)
{
    SetText(name, value ? u"true" : u"false");
}

void CDataTree::SetInt(const char* name, int32_t value)
{
    char text[16];
    FormatInt(value, text, sizeof(text));
    SetText(name, FromAscii(text));
}

void CDataTree::SetString(const char* name, const char* text)
{
    SetText(name, WidenToU16(text, DATA_VALUE_MAX));
}

bool CDataTree::RemoveChild(const char* name)
{
    std::u16string wide = WidenName(name);
    for (auto it = m_children.begin(); it != m_children.end(); ++it)
    {
        if ((*it)->HasName(wide.c_str()))
        {
            m_children.erase(it);
            return true;
        }
    }
    return false;
}

void CDataTree::AppendParsedValue(std::unique_ptr<CDataNode> node)
{
    m_children.push_back(std::move(node));
    ++m_parsedValues;
}

void CDataTree::AppendParsedBlock(std::unique_ptr<CDataNode> node)
{
    m_children.push_back(std::move(node));
    ++m_parsedBlocks;
}
