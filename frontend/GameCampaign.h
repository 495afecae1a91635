#pragma once
// The campaign of the running game: made at start-up and installed as the game's
// campaign link, taken out and deleted at shutdown.

class CCampaign;
class CGame;

// False without memory. The overlay texture of the progress graphs is loaded when a
// renderer is there.
bool InstallGameCampaign(CGame& game);
void RemoveGameCampaign(CGame& game);
// Null before InstallGameCampaign and after RemoveGameCampaign.
CCampaign* GetGameCampaign();
