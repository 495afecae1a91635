#pragma once
// Counted, numbered blocks of definitions ("numPaths" with "path0", "path1", ...):
// counts are checked against the tables that hold what they count.

#include <cstdint>

class CDataTree;
class CDefinitionProblems;

// The count under `key` (0 when missing). A count below 0 or above `max` is a fatal
// problem and gives false.
bool ReadDefinitionCount(const CDataTree& node, const char* key, int32_t max, int32_t& count,
                         CDefinitionProblems& problems);

// The block named by the prefix and the index ("path" and 2 give "path2"), or null; a
// missing block is a fatal problem when required.
const CDataTree* FindNumberedBlock(const CDataTree& node, const char* prefix, int32_t index, bool required,
                                   CDefinitionProblems& problems);
