#pragma once
// The campaign's block of a save, ending with the pilot record: written in its newest
// form (tag "V4e"), read in that form and the two older ones ("V14": 18 research
// records; no tag: 17 records and no weapon flags on the mounts, which then all hold
// weapons). Where a block carries both tags, "V4e" found first decides.

#include <string>

class CFileInterface;
struct SCampaignState;

bool WriteCampaignBlock(CFileInterface& file, const SCampaignState& state);
// Reads the block over `state`, which keeps what a save does not store (ship states 5
// to 7, the pilot's ship entries 5 to 7, the stored ships' energy). False, with the
// reason in `why`, for a block that ends early or holds a count, index, stage, flag or
// float out of range; `state` may then be half read and must be thrown away. Gem stocks
// are brought into 0 to 100 and stored health below 1 becomes 1.
bool ReadCampaignBlock(CFileInterface& file, SCampaignState& state, std::string& why);
