#include "platform/DialogFont.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

TEST(DialogFont, EveryPrintableCharacterHasItsOwnWellFormedGlyph)
{
    std::set<std::string> shapes;
    for (char c = ' '; c <= '~'; ++c)
    {
        const char* const* rows = GetDialogGlyph(c);
        std::string shape;
        for (int row = 0; row < DIALOG_GLYPH_HEIGHT; ++row)
        {
            ASSERT_EQ(std::strlen(rows[row]), static_cast<size_t>(DIALOG_GLYPH_WIDTH)) << c;
            for (int column = 0; column < DIALOG_GLYPH_WIDTH; ++column)
                ASSERT_TRUE(rows[row][column] == '#' || rows[row][column] == '.') << c;
            shape += rows[row];
        }
        EXPECT_EQ(shape.find('#') == std::string::npos, c == ' ') << "only the blank is empty: " << c;
        shapes.insert(shape);
    }
    // No two characters look alike: a shifted table would repeat or mismatch glyphs.
    EXPECT_EQ(shapes.size(), 95u);
    EXPECT_EQ(GetDialogGlyph('\t'), GetDialogGlyph('?'));
    EXPECT_EQ(GetDialogGlyph(static_cast<char>(0xE9)), GetDialogGlyph('?'));
}
