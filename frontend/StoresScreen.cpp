#include "frontend/StoresScreen.h"

#include "frontend/Campaign.h"
#include "frontend/ComponentInfoPanel.h"
#include "frontend/GameCampaign.h"
#include "frontend/GameFlow.h"
#include "frontend/GemGauges.h"
#include "frontend/StoreRules.h"
#include "ships/ShipComponentDatabase.h"
#include "world/Game.h"
#include "world/HudLink.h"

#include <algorithm>

namespace
{
const CVector2D GAUGE_POINTS[GEM_KIND_COUNT] = {CVector2D(530.0f, 80.0f), CVector2D(500.0f, 80.0f),
                                                CVector2D(470.0f, 80.0f)};
} // namespace

CStoresScreen::CStoresScreen(CGameFlow& flow) : CFrontEndScreen(flow, SCREEN_STORES, LAYOUT)
{
}

int CStoresScreen::FindRow(int32_t controlId)
{
    const int offset = controlId - FIRST_ROW;
    return offset >= 0 && offset % ROW_STEP == 0 && offset / ROW_STEP < ROWS ? offset / ROW_STEP : -1;
}

int CStoresScreen::CountRecords() const
{
    const CCampaign* campaign = GetGameCampaign();
    return campaign ? campaign->CountStoredItems() : 0;
}

void CStoresScreen::Show()
{
    ShowPage();
    m_scroll = 0;
    BuildRows();
    m_page.Focus(ENTRY);
    m_flow.GetGame().GetHud().Show(true);
    ShowGemGauges(m_flow, GAUGE_BAR_WIDTH);
    ArmInputGate();
}

void CStoresScreen::Hide()
{
    CFrontEndScreen::Hide();
    HideGemGauges(m_flow);
    m_flow.GetGame().GetHud().Show(false);
}

void CStoresScreen::Update()
{
    if (const CCampaign* campaign = GetGameCampaign())
        PlaceGemGauges(m_flow, campaign->GetState().gems, GAUGE_POINTS);
}

void CStoresScreen::BuildRows()
{
    const CCampaign* campaign = GetGameCampaign();
    const CShipComponentDatabase* database = campaign ? campaign->GetComponentDatabase() : nullptr;
    const std::vector<int> records = campaign ? ListUsedRecords(*campaign) : std::vector<int>();
    m_scroll = std::clamp(m_scroll, 0, std::max(static_cast<int>(records.size()) - 1, 0));
    m_shownRows = std::clamp(static_cast<int>(records.size()) - m_scroll, 0, ROWS);
    for (int row = 0; row < ROWS; ++row)
    {
        const int id = GetRowId(row);
        const bool shown = row < m_shownRows;
        m_rowRecords[row] = shown ? records[m_scroll + row] : -1;
        for (int part : {static_cast<int>(ROW_BACKING), 0})
        {
            m_page.SetVisible(id + part, shown);
            m_page.SetEnabled(id + part, shown);
        }
        if (!shown)
        {
            for (int part : {ROW_CATEGORY, ROW_NAME, ROW_COUNT})
                m_page.SetText(id + part, std::u16string());
            continue;
        }
        const SStoreRecord& item = campaign->GetState().store[m_rowRecords[row]];
        const SComponentCategory* category = database ? database->GetCategory(item.kind) : nullptr;
        const CShipComponentDef* def = database ? database->GetComponentDef(item.kind, item.definition) : nullptr;
        if (category)
            m_page.SetTextById(id + ROW_CATEGORY, category->m_displayStringId);
        else
            m_page.SetText(id + ROW_CATEGORY, u"...");
        if (def)
            m_page.SetTextById(id + ROW_NAME, def->m_displayStringId);
        else
            m_page.SetText(id + ROW_NAME, u"...");
        m_page.SetText(id + ROW_COUNT, FormatNumber(item.count));
    }
    const int below = static_cast<int>(records.size()) - m_scroll;
    m_page.SetEnabled(SCROLL_UP, m_scroll >= 1);
    m_page.SetEnabled(SCROLL_DOWN, below >= ROWS + 1);
}

void CStoresScreen::Sell(int row)
{
    CCampaign* campaign = GetGameCampaign();
    const int record = GetRowRecord(row);
    if (!campaign || record < 0)
        return;
    const bool last = campaign->GetState().store[record].count <= 1;
    if (!SellFromRecord(*campaign, campaign->GetComponentDatabase(), record))
        return;
    if (last && m_scroll > 0)
        --m_scroll;
    BuildRows();
    if (m_shownRows > 0)
        m_page.Focus(GetRowId(std::min(row, m_shownRows - 1)));
    else
        m_page.Focus(ENTRY);
}

bool CStoresScreen::Scroll(int step)
{
    const int below = CountRecords() - m_scroll;
    if ((step < 0 && m_scroll <= 0) || (step > 0 && below <= ROWS))
        return false;
    m_scroll += step;
    BuildRows();
    return true;
}

void CStoresScreen::HandleEvent(int32_t controlId, int32_t event, int32_t value)
{
    const int row = FindRow(controlId);
    if (event == GUI_EVENT_ACTION)
    {
        if (value == GUI_ACTION_BACK && (controlId == ENTRY || row >= 0))
            m_page.Focus(BACK);
        // Up on the first row and down on the last move the list, the focus staying.
        else if (value == GUI_ACTION_UP && row == 0 && Scroll(-1))
            m_page.Focus(GetRowId(0));
        else if (value == GUI_ACTION_DOWN && row == ROWS - 1 && Scroll(1))
            m_page.Focus(GetRowId(ROWS - 1));
        return;
    }
    if (event != GUI_EVENT_ACTIVATED)
        return;
    if (row >= 0)
    {
        Sell(row);
        return;
    }
    switch (controlId)
    {
    case ENTRY:
        if (m_shownRows > 0)
            m_page.Focus(GetRowId(0));
        break;
    case BACK:
        m_flow.SetScreen(SCREEN_HUB);
        break;
    case SCROLL_UP:
    case SCROLL_DOWN:
        Scroll(controlId == SCROLL_UP ? -1 : 1);
        if (!m_page.IsEnabled(SCROLL_UP) || !m_page.IsEnabled(SCROLL_DOWN))
            m_page.Focus(ENTRY);
        break;
    default:
        break;
    }
}
