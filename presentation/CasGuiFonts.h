#pragma once
// The animation player's fonts in the game: the GUI manager's (g_gui) system font
// and fonts 0 to 3, looked up each time so that fonts loaded or released later count.

#include "presentation/CasFonts.h"

class CFont;

class CCasGuiFonts : public CCasFontSource
{
public:
    CCasFont* GetFont(int index) override;
    CCasFont* GetSystemFont() override;

private:
    class CFace : public CCasFont
    {
    public:
        int GetLineHeight() const override;
        int MeasureWidth(const char16_t* text) const override;
        void DrawText(float x, float y, float z, const char16_t* text, uint32_t colour) override;

        CFont* m_font = nullptr;
    };

    CCasFont* Wrap(CFace& face, CFont* font);

    CFace m_fonts[4];
    CFace m_system;
};
