#pragma once
// A running game for the harnesses of the objects' readers: made once, with the
// object types of the world and the ships, a level of 4000 units, no sprite bank,
// and a clock that lets frames pass without sleeping.

class CGame;

CGame& GetFuzzGame();
