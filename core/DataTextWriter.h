#pragma once
// Collects the UTF-16 text of data-tree nodes and gives the bytes of a data file:
// the marker FF FE, or the marker 0xFFAA followed by every unit XORed with a
// counter that starts at 23827 and grows by one per unit.

#include <cstdint>
#include <string>
#include <vector>

constexpr uint16_t DATA_SCRAMBLE_SEED = 23827;
constexpr uint16_t DATA_MARKER_UTF16 = 0xFEFF;
constexpr uint16_t DATA_MARKER_SCRAMBLED = 0xFFAA;

class CDataTextWriter
{
public:
    void PutTabs(int count, bool indent);
    void Put(const std::u16string& text) { m_text += text; }
    void Put(char16_t unit) { m_text += unit; }
    void PutLineEnd() { m_text += u"\r\n"; }

    const std::u16string& GetText() const { return m_text; }
    // The file's bytes: marker and the units, little-endian, scrambled when asked.
    std::vector<uint8_t> Encode(bool scramble) const;

private:
    std::u16string m_text;
};

// The process-wide scramble flag: set by the save-game writer around the writing
// of the ship-design file only.
void SetDataTreeScramble(bool scramble);
bool GetDataTreeScramble();
