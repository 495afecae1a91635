#include "core/DataTextWriter.h"

namespace
{
bool s_scramble = false;

void PutUnit(std::vector<uint8_t>& bytes, uint16_t unit)
{
    bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<uint8_t>(unit >> 8));
}
} // namespace

void SetDataTreeScramble(bool scramble)
{
    s_scramble = scramble;
}

bool GetDataTreeScramble()
{
    return s_scramble;
}

void CDataTextWriter::PutTabs(int count, bool indent)
{
    if (indent && count > 0)
        m_text.append(static_cast<size_t>(count), u'\t');
}

std::vector<uint8_t> CDataTextWriter::Encode(bool scramble) const
{
    std::vector<uint8_t> bytes;
    bytes.reserve(2 + m_text.size() * 2);
    PutUnit(bytes, scramble ? DATA_MARKER_SCRAMBLED : DATA_MARKER_UTF16);
    uint16_t counter = DATA_SCRAMBLE_SEED;
    for (char16_t unit : m_text)
    {
        PutUnit(bytes, scramble ? static_cast<uint16_t>(unit ^ counter) : static_cast<uint16_t>(unit));
        ++counter;
    }
    return bytes;
}
