#include "tests/support/AssertCapture.h"

#include <mutex>

namespace
{
std::mutex s_lock;
std::vector<std::string> s_texts;
EAssertAnswer s_answer = EAssertAnswer::Ignore;

EAssertAnswer Capture(const char* text)
{
    std::lock_guard<std::mutex> hold(s_lock);
    s_texts.push_back(text);
    return s_answer;
}
} // namespace

CAssertCapture::CAssertCapture(EAssertAnswer answer)
{
    s_answer = answer;
    s_texts.clear();
    m_previous = SetAssertHandler(&Capture);
}

CAssertCapture::~CAssertCapture()
{
    SetAssertHandler(m_previous);
}

const std::vector<std::string>& CAssertCapture::GetTexts() const
{
    return s_texts;
}

void CAssertCapture::Clear()
{
    std::lock_guard<std::mutex> hold(s_lock);
    s_texts.clear();
}
