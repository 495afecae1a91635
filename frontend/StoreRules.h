#pragma once
// The campaign's store as the front end uses it: taking a unit out, selling one back
// for half its cost, and the store as the grid of the construction screen sees it.

#include "ships/ComponentStoreLink.h"

#include <cstdint>
#include <vector>

class CCampaign;
class CShipComponentDatabase;

// The definition's cost goes to the gem stocks by the refund rule (half of it). False,
// and nothing changes, for an unknown definition or when every stock is full.
bool RefundComponent(CCampaign& campaign, const CShipComponentDatabase* database, int32_t kind, int32_t definition);
// One unit of a store record out; the record is freed at 0. False for a record that is
// not in use.
bool TakeFromRecord(CCampaign& campaign, int record);
// Sells one unit of the record: refunded, then taken out. False (nothing changes) when
// the refund is refused.
bool SellFromRecord(CCampaign& campaign, const CShipComponentDatabase* database, int record);
// The used store records in record order.
std::vector<int> ListUsedRecords(const CCampaign& campaign);

// The construction grid's store: the running game's campaign, or the one given.
class CCampaignStoreLink : public CComponentStoreLink
{
public:
    explicit CCampaignStoreLink(CCampaign* campaign = nullptr) : m_campaign(campaign) {}
    int32_t CountStoredItem(int32_t kind, int32_t definition) const override;
    bool TakeStoredItem(int32_t kind, int32_t definition) override;

private:
    CCampaign* GetCampaign() const;

    CCampaign* m_campaign;
};
