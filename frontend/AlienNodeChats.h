#pragma once
// Which chat an alien node shows on a visit. The zone's first alien node shows its
// first chat (30 + 2 x zone) on the first visit and, in zones 0 to 3, its thanks
// (31 + 2 x zone) on a later visit once its business is rewarded. Zone 0's second
// alien node shows chat 63 once its broken station has been handled.

struct SAlienNodeVisit
{
    int zone = 0;
    bool secondNode = false; // zone 0's second alien node, else the zone's first
    bool firstVisit = false; // the zone's visit counter stands at 1
    bool rewarded = false;   // the zones' word (CZoneLink::HasAlienReward)
    bool brokenStationHandled = false;
};

// The chat, or -1 for none.
int ChooseAlienNodeChat(const SAlienNodeVisit& visit);
