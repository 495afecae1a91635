#include "utility/source/QelAssert.h"

#include "utility/source/QelErrorLog.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace
{
EAssertAnswer AnswerOnStandardError(const char* text)
{
    // The report's "\r\r\n" breaks are line breaks here.
    std::string lines;
    for (const char* c = text; *c; ++c)
        if (*c != '\r')
            lines += *c;
    std::fprintf(stderr, "Assert Failed!: %s", lines.c_str());
    std::fflush(stderr);
    return EAssertAnswer::Ignore;
}

std::atomic<AssertHandler> s_handler{&AnswerOnStandardError};

void Ask(const std::string& text, bool* ignore)
{
    g_errorLog.Report(text.c_str());
    switch (s_handler.load()(text.c_str()))
    {
    case EAssertAnswer::Abort:
        // Other threads may still run: end at once rather than run exit handlers under them.
        std::fflush(nullptr);
        std::_Exit(1);
    case EAssertAnswer::IgnoreAlways:
        if (ignore)
            *ignore = true;
        break;
    case EAssertAnswer::Retry:
    case EAssertAnswer::Ignore:
        break;
    }
}
} // namespace

AssertHandler SetAssertHandler(AssertHandler handler)
{
    return s_handler.exchange(handler ? handler : &AnswerOnStandardError);
}

std::string FormatAssertText(const char* message, const char* expression, const char* file, int line,
                             const char* function)
{
    char text[2048];
    if (message)
        std::snprintf(text, sizeof(text),
                      "%s\r\r\n\r\r\nAssert failed!\r\r\nExpression: %s\r\r\nFile: %s\r\r\nLine: %d\r\r\nFunction: %s"
                      "\r\r\n\r\r\n",
                      message, expression, file, line, function);
    else
        std::snprintf(text, sizeof(text),
                      "Assert failed!\r\r\nExpression: %s\r\r\nFile: %s\r\r\nLine: %d\r\r\nFunction: %s\r\r\n\r\r\n",
                      expression, file, line, function);
    return text;
}

void ReportAssert(const char* expression, const char* file, int line, const char* function, bool* ignore)
{
    if (ignore && *ignore)
        return;
    Ask(FormatAssertText(nullptr, expression, file, line, function), ignore);
}

void ReportAssertMessage(const char* message, const char* expression, const char* file, int line,
                         const char* function, bool* ignore)
{
    if (ignore && *ignore)
        return;
    Ask(FormatAssertText(message, expression, file, line, function), ignore);
}
