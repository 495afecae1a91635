#pragma once
// Writes string-table files (the tools make the game's table and test fixtures
// with it). Each language's buckets are written as its groups, in order.

#include "core/StringTable.h"

#include <cstdint>
#include <vector>

// type 1: the plain form (count, then key and text per entry); 2: the typed form
// with a second text; 3: typed with a fourth string as well.
std::vector<uint8_t> EncodeStringTable(const std::vector<const CStringTableLanguage*>& languages, uint32_t type);
