#pragma once
// TESSAVAR_TRACE=FILE: one line a frame, written as the frame ends, for automated
// runs to check what the game did:
//   frame N time MS mode M screen S focus F checksum HEX objects O enemies E ship H
//     zone Z node K zclock ZMS field R parked P warps W asteroids A map J target T
//     view V hold L gems G kills X score Q covering C step U chat B
// N counts the frames from 0 (the numbering of TESSAVAR_SCRIPT), MS is the game clock,
// M the game flow's mode (0 flight, 1 front end, 2 in-game menu), S the current
// front-end screen (0 none), F the control id of the GUI's focus (-1 none) and HEX
// the world's checksum (0 without a level), 16 hexadecimal digits; O the world's
// objects, E those of them that count as enemies, H the player ship's health (-1
// without a ship); Z and K the current zone and node (-1 where the game has no zones),
// ZMS the zone's clock, R the entries of the node's asteroid field, P the alive
// enemies of the groups parked at the node (made or still to come), W the warp
// sequences running and A the asteroids in the world; J, T and V the galaxy map's
// jump state, target and view; L the load of the player ship's cargo hold (-1 without
// a ship), G the gems in the station's stocks, X the pilot's kills and Q the run's
// score; C 1 while a sequence covers the game (the logo, the intro, an ending), U the
// tutorial's step (-1 none) and B the director's chat page (-1 none).

#include <cstdint>

// Opens the file named by TESSAVAR_TRACE (nothing without it); false when it cannot
// be written.
bool OpenFrameTrace();
void WriteFrameTrace(uint32_t frame);
void CloseFrameTrace();
