#include "core/SettingsWriter.h"

#include "core/DataTree.h"

void CSettingsWriter::WriteBool(CDataTree& tree, const char* name, const bool* value)
{
    if (value)
        tree.AddBool(name, *value);
}

void CSettingsWriter::WriteInt(CDataTree& tree, const char* name, const int32_t* value)
{
    if (value)
        tree.AddInt(name, *value);
}
