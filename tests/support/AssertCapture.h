#pragma once
// Collects the utility library's assertion reports while it lives, answering
// each with a chosen answer instead of asking anyone.

#include "utility/source/QelAssert.h"

#include <string>
#include <vector>

class CAssertCapture
{
public:
    explicit CAssertCapture(EAssertAnswer answer = EAssertAnswer::Ignore);
    ~CAssertCapture();
    CAssertCapture(const CAssertCapture&) = delete;
    CAssertCapture& operator=(const CAssertCapture&) = delete;

    const std::vector<std::string>& GetTexts() const;
    void Clear();

private:
    AssertHandler m_previous;
};
