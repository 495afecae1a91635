#pragma once
// The facts of one ship component in a panel of thirteen static texts with
// consecutive control ids, as the construction, stores and research screens lay it
// out: first + 0 the description, then six rows of a label (first + 1, 3, ..., 11)
// and its value (first + 2, 4, ..., 12). Which labels and values a component shows
// depends on its kind; labels are string-table texts, values numbers or texts.
//
// The last row gives the count the caller passes (the units in the stores) when it is
// 1 or more, in place of the kind's own last row.

#include <cstdint>
#include <string>

class CScreenLayout;
class CShipComponentDatabase;

constexpr int COMPONENT_INFO_ROWS = 13;

// One text of the panel: a string-table text, or a literal.
struct SInfoText
{
    bool isId = false;
    uint32_t id = 0;
    std::u16string literal;

    bool operator==(const SInfoText& other) const
    {
        return isId == other.isId && id == other.id && literal == other.literal;
    }
};

struct SComponentInfo
{
    SInfoText rows[COMPONENT_INFO_ROWS];
};

// The texts for the definition of the kind (the empty form for kind 0, the empty flag
// or a definition the database does not hold).
SComponentInfo BuildComponentInfo(const CShipComponentDatabase* database, int32_t kind, int32_t definition,
                                  bool empty, int32_t count);
// Sets the panel's texts on the layout's controls first to first + 12.
void ShowComponentInfo(const CScreenLayout& layout, int firstId, const CShipComponentDatabase* database, int32_t kind,
                       int32_t definition, bool empty, int32_t count);

// "%i" of a whole number as displayed text.
std::u16string FormatNumber(int64_t value);
