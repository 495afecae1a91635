#pragma once
// Lets a device add its keys to the settings tree without knowing the tree's class:
// the renderer and the input device write their settings through one of these.

#include <cstdint>

class CDataTree;

class CSettingsWriter
{
public:
    virtual ~CSettingsWriter() = default;
    // Append a value "true"/"false" or "%i" to the tree; a null value adds nothing.
    virtual void WriteBool(CDataTree& tree, const char* name, const bool* value);
    virtual void WriteInt(CDataTree& tree, const char* name, const int32_t* value);
};
