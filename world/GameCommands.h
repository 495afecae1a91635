#pragma once
// The game's console commands: "/nodeath", "/nosucking", "/showboss",
// "/fitstation n", "/skipzone n" and "/showobject type file". They act on the game
// of the process and do nothing without one.

class CConsole;

void RegisterGameCommands(CConsole& console);
