#pragma once
// Component and design texts for the ship tests, and the string table their
// display keys are found in.

#include "core/DataTree.h"
#include "core/StringTable.h"
#include "ships/ShipComponentDatabase.h"

class CGame;

#include <string>
#include <vector>

// The keys every fixture definition names ("Key_Name", "Key_Desc", "Cat0" ...).
const CStringTable& GetFixtureStrings();

// One definition section with every common key, then the given lines (each
// "key<TAB>value" or a whole block, one value a line).
std::string ComponentSection(const std::string& type, const std::string& ident, const std::string& ownKeys,
                             unsigned mass = 10, unsigned health = 30);

// A hull "hull_a" (mass 100, health 150) with four slots: (0,0) a weapon slot with
// launch offset (12, -8); (1,0) internal; (0,1) not internal, offset (-16, 0);
// (1,1) internal.
std::string HullSection(const std::string& ident = "hull_a", unsigned mass = 100);

// Every kind a design of the tests uses: the hull above, an engine (thrust 1000,
// energy 20, dampening 0.9, rated 200, limit 200), a generator (30 a second), a
// battery (100, 10 a second), a gun (energy 10, 5 and 8 a second), a missile
// launcher (ammo 4), missile rounds (6), a gravity beam (energy 5), a shield
// (capacity 50, 10 a second) and a cargo pod; and the CATEGORIES block.
std::string StandardComponents();

constexpr int POD_COUNT_LISTED = -1000; // numPods is the number of pods given

// A design block; pods are "x, y|TYPE|ident" and groups lists of pod numbers.
std::string Design(const std::string& ident, int slot, const std::vector<std::string>& pods,
                   const std::vector<int>& group1 = {}, const std::vector<int>& group2 = {},
                   const std::string& hull = "hull_a", int podCount = POD_COUNT_LISTED);

// Parses data-tree text into top-level nodes.
CDataNodeList ParseText(const std::string& text);

// A database loaded from StandardComponents(); fails the test on error.
void LoadStandardDatabase(CShipComponentDatabase& database);

// The parts and designs as the ships of the game's running level, as its LEVEL
// section would load them; null (and a test failure) when they do not load.
CShipComponentDatabase* AttachLevelShips(CGame& game, const std::string& designs,
                                         const std::string& components = StandardComponents());
