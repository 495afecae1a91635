#pragma once
// What the construction grid needs of the campaign's store of components, which sits
// in a layer above and is handed to the grid by its owner. The base holds nothing, so
// a grid without a store places nothing.

#include <cstdint>

class CComponentStoreLink
{
public:
    virtual ~CComponentStoreLink() = default;
    // The units of the item (a component kind and definition index) held, 0 for none.
    virtual int32_t CountStoredItem(int32_t /*kind*/, int32_t /*definition*/) const { return 0; }
    // Takes one unit; the item's record is freed when its count reaches 0. False, and
    // nothing changes, when no unit is held.
    virtual bool TakeStoredItem(int32_t /*kind*/, int32_t /*definition*/) { return false; }
};
