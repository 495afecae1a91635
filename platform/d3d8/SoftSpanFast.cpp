// Span loops specialised for the states the game draws most.

#include "platform/d3d8/SoftSpan.h"

bool DrawSpanFast(const SSpanContext&, bool, const SSpan&)
{
    return false;
}
