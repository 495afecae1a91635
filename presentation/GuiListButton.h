#pragma once
// A list button (type 13): a row with an arrow at each end that shows one of its
// options; left and right step through them (round from the last to the first when it
// wraps around), select or a click between the arrows activates it (event 1). The
// options are texts, or the whole numbers of a range, made when they are shown.
//
// Every left or right raises event 0 with its code, also when the selection did not
// move. Up and down move the focus along its links; a link that names a control when
// no enabled control results first raises event 6 (up) or 7 (down) with the id named.
// Without options nothing is drawn in the middle and left and right change nothing.

#include "presentation/GuiFocusable.h"
#include "presentation/GuiText.h"

#include <string>
#include <vector>

class CGuiListButton : public CGuiFocusable
{
public:
    explicit CGuiListButton(const SGuiListButtonDesc& desc);

    int GetType() const override { return GUI_TYPE_LIST_BUTTON; }
    bool PointerClick(const SGuiPoint& point) override;
    void Action(int code) override;
    bool Draw(float z) override;
    void RefreshStrings() override;

    // Options replace a number range.
    void ClearOptions();
    void AddOption(const char* text);
    void AddOptionWide(const char16_t* text);
    void AddOptionById(uint32_t id);
    // The numbers low to high as the options (none when high < low).
    void SetNumberRange(int32_t low, int32_t high);
    // n from 0 to the option count - 1; other values change nothing.
    void SetSelection(int n);
    int GetSelection() const { return m_selection; }
    int GetOptionCount() const;
    // The text of option n ("" outside the options).
    std::u16string GetOptionText(int n) const;

private:
    void Step(int code);
    void NavigateList(int code);
    // The arrows' rectangles on the screen.
    void GetArrows(SGuiRect& left, SGuiRect& right) const;

    std::vector<CGuiShownText> m_options;
    bool m_numberRange;
    int32_t m_rangeLow;
    int32_t m_rangeHigh;
    int m_selection = 0;
    bool m_bordered;
    bool m_centred;
    bool m_wrapAround;
    bool m_alphaTest;
    bool m_alphaBlend;
    int m_fontId;
};
