#pragma once
// A string table made in memory from the source form the tools compile
// (StringTableSource.h), for tests of code that shows texts by key or id.

#include "core/StringTable.h"

#include <string>

// Compiles the source into the table and selects language 0; false (with the reason
// in error) when the source does not compile or load.
bool LoadStringTableSource(const std::string& source, CStringTable& table, std::string& error);
