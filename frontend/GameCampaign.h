#pragma once
// The campaign of the running game: made at start-up and installed as the game's
// campaign link, with its services (pilot record, hall of fame, saves) installed on the
// game flow; taken out and deleted at shutdown.

class CCampaign;
class CCampaignServices;
class CGame;

// False without memory. The overlay texture of the progress graphs is loaded when a
// renderer is there, the hall of fame from the user's "records.bin".
bool InstallGameCampaign(CGame& game);
void RemoveGameCampaign(CGame& game);
// Null before InstallGameCampaign and after RemoveGameCampaign.
CCampaign* GetGameCampaign();
CCampaignServices* GetGameCampaignServices();
