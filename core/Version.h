#pragma once
// The game's version, shown by "-v", in the launcher, on the console and on the main
// menu.

constexpr const char* TESSAVAR_VERSION = "V1.5c";
