#pragma once
// The stores screen (screen 11): the components the campaign holds, seven rows at a
// time, each sold back for half its cost by activating its row; the gem stocks beside
// them.

#include "frontend/FrontEndScreen.h"

class CCampaign;

class CStoresScreen : public CFrontEndScreen
{
public:
    static constexpr const char* LAYOUT = "data/frontend/stores.txt";
    static constexpr int ROWS = 7;
    static constexpr int ROW_STEP = 5;
    static constexpr int GAUGE_BAR_WIDTH = 10;

    enum EControl : int
    {
        ENTRY = 11002,
        BACK = 11003,
        FIRST_ROW = 11005,  // rows 11005, 11010, ... 11035
        LAST_ROW = FIRST_ROW + (ROWS - 1) * ROW_STEP,
        SCROLL_UP = 11050,
        SCROLL_DOWN = 11051,
    };
    // Beside each row button: a control shown with it (row - 1), the category (row + 1),
    // the component's name (row + 2) and the count (row + 3).
    enum ERowPart : int
    {
        ROW_BACKING = -1,
        ROW_CATEGORY = 1,
        ROW_NAME = 2,
        ROW_COUNT = 3,
    };

    explicit CStoresScreen(CGameFlow& flow);

    void Show() override;
    void Hide() override;
    void Update() override;

    int GetScrollPosition() const { return m_scroll; }
    int GetShownRows() const { return m_shownRows; }
    // The store record of a shown row, -1 for none.
    int GetRowRecord(int row) const { return row >= 0 && row < m_shownRows ? m_rowRecords[row] : -1; }
    static int GetRowId(int row) { return FIRST_ROW + row * ROW_STEP; }

protected:
    void HandleEvent(int32_t controlId, int32_t event, int32_t value) override;

private:
    // The row of a row button's id, -1 for any other id.
    static int FindRow(int32_t controlId);
    void BuildRows();
    void Sell(int row);
    // One row up (-1) or down (1) when there is room; false when nothing moved.
    bool Scroll(int step);
    int CountRecords() const;

    int m_scroll = 0;
    int m_shownRows = 0;
    int m_rowRecords[ROWS] = {};
};
