#pragma once
// "/flight" on the console: until the front end can start a flight, the running game
// flies the level's starter ship (design 1 of the first level) in its world, among an
// asteroid field of the level, with the camera on it and the player's keys at the
// controls; typed again it ends the flight and the pre-world display returns.

// Registers the command with the console.
void RegisterFlightDemoCommand();
// Ends a flight that is running (the game's teardown).
void StopFlightDemo();
