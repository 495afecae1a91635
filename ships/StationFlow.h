#pragma once
// The station answers the game flow, the in-game menu and the player ship's call
// from start-up on.

void InstallStationLinks();
