#pragma once
// What the game's console commands need of the campaign, which sits in a layer
// above and installs itself on the game; the base does nothing.

class CCampaignLink
{
public:
    virtual ~CCampaignLink() = default;
    // "/fitstation n": the station's four fittings at 2n, and their count at 2n + 1.
    virtual void FitStation(int /*n*/) {}
};
