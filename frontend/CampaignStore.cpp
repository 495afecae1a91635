// The campaign's store of components and the rewards that fill it.

#include "core/Random.h"
#include "frontend/Campaign.h"

namespace
{
bool IsItemKey(int32_t kind, int32_t definition)
{
    return kind >= 0 && kind < COMPONENT_KIND_COUNT && definition >= 0 && definition < CAMPAIGN_DEFS_PER_KIND;
}
} // namespace

int CCampaign::FindStoredItem(int32_t kind, int32_t definition) const
{
    for (int i = 0; i < CAMPAIGN_STORE_SIZE; ++i)
    {
        const SStoreRecord& item = m_state.store[i];
        if (item.used && item.kind == kind && item.definition == definition)
            return i;
    }
    return -1;
}

bool CCampaign::AddStoredItem(int32_t kind, int32_t definition)
{
    if (!IsItemKey(kind, definition))
        return false;
    const int found = FindStoredItem(kind, definition);
    if (found >= 0)
    {
        ++m_state.store[found].count;
        return true;
    }
    for (int i = CAMPAIGN_STORE_SIZE - 1; i >= 0; --i)
    {
        SStoreRecord& item = m_state.store[i];
        if (!item.used)
        {
            item.kind = kind;
            item.definition = definition;
            item.count = 1;
            item.used = true;
            return true;
        }
    }
    return false;
}

int CCampaign::CountStoredItems() const
{
    int count = 0;
    for (const SStoreRecord& item : m_state.store)
        count += item.used ? 1 : 0;
    return count;
}

int CCampaign::FindItemsByKey(int32_t kind)
{
    m_walkKind = kind;
    m_walkCursor = -1;
    return NextItemByKey();
}

int CCampaign::NextItemByKey()
{
    for (int i = m_walkCursor + 1; i < CAMPAIGN_STORE_SIZE; ++i)
    {
        const SStoreRecord& item = m_state.store[i];
        if (item.used && item.kind == m_walkKind)
        {
            m_walkCursor = i;
            return i;
        }
    }
    m_walkCursor = CAMPAIGN_STORE_SIZE;
    return -1;
}

bool CCampaign::AddRandomItem()
{
    int32_t eligible[COMPONENT_KIND_COUNT];
    int32_t count = 0;
    for (int32_t kind = 0; kind < COMPONENT_KIND_COUNT; ++kind)
    {
        const SResearchRecord& research = m_state.research[kind];
        if (kind != COMPONENT_HULL && research.enabled && research.stage != -1)
            eligible[count++] = kind;
    }
    // Nothing researched yet (a campaign just reset): no item rather than a draw from
    // an empty list.
    if (count == 0)
        return false;
    const int32_t kind = eligible[GameRand() % static_cast<uint32_t>(count)];
    const int32_t stage = m_state.research[kind].stage;
    const int32_t definition = stage > 0 ? static_cast<int32_t>(GameRand() % static_cast<uint32_t>(stage)) : 0;
    return AddStoredItem(kind, definition);
}

bool CCampaign::AddRewardItem()
{
    if (m_rewards.empty())
        return AddRandomItem();
    const SItemKey top = m_rewards.back();
    m_rewards.pop_back();
    return AddStoredItem(top.kind, top.definition);
}

void CCampaign::PushRewardItems(const SItemKey* items, int count)
{
    for (int i = 0; i < count && i < REWARD_LIST_SIZE; ++i)
        if (items[i].kind != 0 && static_cast<int>(m_rewards.size()) < REWARD_STACK_SIZE)
            m_rewards.push_back(items[i]);
}
