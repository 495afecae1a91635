#pragma once
// A running game for the harnesses of the objects' readers: made once, before the
// first input (this file holds the harness's initialisation), with the object types
// of the world and the ships and a level of 4000 units (FuzzWorld.h).

class CGame;

CGame& GetFuzzGame();
