#pragma once
// Whether a typed text page shows: while one does, the world stands still and the
// game clock does not move. The text pages sit in a layer above and install
// themselves on the game; the base never shows a page.

#include <string>

class CTextPageLink
{
public:
    virtual ~CTextPageLink() = default;
    virtual bool IsAnyPageShowing() const { return false; }
    // The pilot's name, shown where a page says "[p_name]".
    virtual void SetPilotName(const std::u16string& /*name*/) {}
};
