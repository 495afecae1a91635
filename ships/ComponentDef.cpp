#include "ships/ComponentDef.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "core/StringTable.h"
#include "core/Utf8Text.h"
#include "core/Vector3.h"
#include "core/WString.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <vector>

bool SamePodPosition(const CVector2D& a, const CVector2D& b)
{
    return std::fabs(a.x - b.x) <= 1e-8f && std::fabs(a.y - b.y) <= 1e-8f;
}

bool CShipComponentDef::Parse(const CDataTree& section, SDefParseContext& context)
{
    CKeyReader keys(section, context);
    if (keys.RequireValue("ident"))
    {
        uint32_t identLength = section.GetStringLength("ident");
        if (identLength == 0 || identLength > COMPONENT_IDENT_MAX)
            keys.Fail(section.FindValue("ident"), "\"ident\" must hold 1 to 48 characters, not %u", identLength);
        keys.ReadText("ident", m_ident, COMPONENT_IDENT_MAX);
    }
    if (keys.RequireValue("description"))
        keys.ReadText("description", m_description, COMPONENT_DESCRIPTION_MAX);
    keys.RequireUInt("mass", m_mass);
    keys.RequireUInt("health", m_health);
    if (keys.RequireValue("podRequirements"))
    {
        std::string shape;
        keys.ReadText("podRequirements", shape, 32);
        if (!PodShapeFromName(shape.c_str(), m_podShape))
            keys.Fail(section.FindValue("podRequirements"), "unknown pod shape \"%s\"", shape.c_str());
    }
    keys.RequireInt("iconFrame", m_iconFrame);
    CVector3 cost;
    if (section.GetVec3("cost", cost))
    {
        m_cost[0] = cost.x;
        m_cost[1] = cost.y;
        m_cost[2] = cost.z;
    }
    else if (keys.RequireValue("cost"))
        keys.Fail(section.FindValue("cost"), "\"cost\" needs three numbers: normal, rare and very rare gems");
    keys.RequireStringId("displayidstring", m_displayStringId);
    keys.RequireStringId("descriptionidstring", m_descriptionStringId);
    ParseOwnKeys(keys);
    return keys.IsOk();
}

void CShipComponentDef::CKeyReader::Fail(const CDataNode* near, const char* format, ...)
{
    m_failed = true;
    if (!m_context.m_problems)
        return;
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    std::string block = Utf16ToUtf8(m_section.GetName());
    m_context.m_problems->AddFatal(near ? near : &m_section, "%s (block \"%s\")", text, block.c_str());
}

void CShipComponentDef::CKeyReader::Missing(const char* key)
{
    const CDataValue* value = m_section.FindValue(key);
    if (value)
    {
        std::string text = Utf16ToUtf8(value->GetTrimmedText());
        Fail(value, "malformed value \"%s\" of \"%s\"", text.c_str(), key);
        return;
    }
    m_failed = true;
    if (m_context.m_problems)
        m_context.m_problems->AddMissingKey(&m_section, key);
}

bool CShipComponentDef::CKeyReader::RequireValue(const char* key)
{
    if (m_section.FindValue(key))
        return true;
    Missing(key);
    return false;
}

void CShipComponentDef::CKeyReader::RequireInt(const char* key, int32_t& out)
{
    if (!m_section.GetInt(key, out))
        Missing(key);
}

void CShipComponentDef::CKeyReader::RequireUInt(const char* key, uint32_t& out)
{
    if (!m_section.GetUInt(key, out))
        Missing(key);
}

void CShipComponentDef::CKeyReader::RequireFloat(const char* key, float& out)
{
    if (!m_section.GetFloat(key, out))
        Missing(key);
}

void CShipComponentDef::CKeyReader::RequireVec2(const char* key, CVector2D& out)
{
    if (!m_section.GetVec2(key, out))
        Missing(key);
}

void CShipComponentDef::CKeyReader::RequireKind(const char* key, EComponentKind& out)
{
    if (!RequireValue(key))
        return;
    std::string text;
    ReadText(key, text, 64);
    if (!ComponentKindFromName(text.c_str(), out))
        Fail(m_section.FindValue(key), "unknown component kind \"%s\" in \"%s\"", text.c_str(), key);
}

void CShipComponentDef::CKeyReader::ReadInt(const char* key, int32_t& out)
{
    m_section.GetInt(key, out);
}

void CShipComponentDef::CKeyReader::ReadFloat(const char* key, float& out)
{
    m_section.GetFloat(key, out);
}

void CShipComponentDef::CKeyReader::ReadVec2(const char* key, CVector2D& out)
{
    m_section.GetVec2(key, out);
}

void CShipComponentDef::CKeyReader::ReadBool(const char* key, bool& out)
{
    m_section.GetBool(key, out);
}

void CShipComponentDef::CKeyReader::ReadText(const char* key, std::string& out, size_t maxChars)
{
    std::vector<char> buffer(maxChars + 1);
    if (m_section.GetString(key, buffer.data(), buffer.size()))
        out = buffer.data();
}

std::unique_ptr<CDataTree> CShipComponentDef::CKeyReader::CopyBlock(const char* key, bool allowSelf)
{
    const CDataTree* block = m_section.FindBlock(key);
    if (!block && allowSelf)
        block = &m_section;
    if (!block)
        return nullptr;
    return std::unique_ptr<CDataTree>(static_cast<CDataTree*>(block->Clone()));
}

void CShipComponentDef::CKeyReader::RequireStringId(const char* key, uint32_t& out)
{
    CWString text;
    if (!m_section.GetWString(key, text))
    {
        Missing(key);
        return;
    }
    if (!m_context.m_strings || !m_context.m_strings->FindId(text, out))
    {
        std::string name = Utf16ToUtf8(text.GetText());
        Fail(m_section.FindValue(key), "\"%s\" names \"%s\", which the string table lacks", key, name.c_str());
    }
}
