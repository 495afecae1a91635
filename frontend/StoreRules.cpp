#include "frontend/StoreRules.h"

#include "frontend/Campaign.h"
#include "frontend/GameCampaign.h"
#include "ships/ShipComponentDatabase.h"

bool RefundComponent(CCampaign& campaign, const CShipComponentDatabase* database, int32_t kind, int32_t definition)
{
    const CShipComponentDef* def = database ? database->GetComponentDef(kind, definition) : nullptr;
    return def && campaign.AddGems(def->m_cost[GEM_NORMAL], def->m_cost[GEM_RARE], def->m_cost[GEM_VERY_RARE]);
}

bool TakeFromRecord(CCampaign& campaign, int record)
{
    if (record < 0 || record >= CAMPAIGN_STORE_SIZE)
        return false;
    SStoreRecord& item = campaign.GetState().store[record];
    if (!item.used)
        return false;
    if (--item.count <= 0)
    {
        item.count = 0;
        item.used = false;
    }
    return true;
}

bool SellFromRecord(CCampaign& campaign, const CShipComponentDatabase* database, int record)
{
    if (record < 0 || record >= CAMPAIGN_STORE_SIZE || !campaign.GetState().store[record].used)
        return false;
    const SStoreRecord& item = campaign.GetState().store[record];
    return RefundComponent(campaign, database, item.kind, item.definition) && TakeFromRecord(campaign, record);
}

std::vector<int> ListUsedRecords(const CCampaign& campaign)
{
    std::vector<int> records;
    for (int i = 0; i < CAMPAIGN_STORE_SIZE; ++i)
        if (campaign.GetState().store[i].used)
            records.push_back(i);
    return records;
}

CCampaign* CCampaignStoreLink::GetCampaign() const
{
    return m_campaign ? m_campaign : GetGameCampaign();
}

int32_t CCampaignStoreLink::CountStoredItem(int32_t kind, int32_t definition) const
{
    const CCampaign* campaign = GetCampaign();
    const int record = campaign ? campaign->FindStoredItem(kind, definition) : -1;
    return record >= 0 ? campaign->GetState().store[record].count : 0;
}

bool CCampaignStoreLink::TakeStoredItem(int32_t kind, int32_t definition)
{
    CCampaign* campaign = GetCampaign();
    return campaign && TakeFromRecord(*campaign, campaign->FindStoredItem(kind, definition));
}
