#pragma once
// Assertions that report and go on. Each site has its own ignore flag: once the
// user chose to ignore a site, it is skipped before anything is formatted. Code
// after an assertion must still fail safely, whatever the user answered.

#include <string>

enum class EAssertAnswer
{
    Abort,    // end the program with exit status 1
    Retry,    // go on
    Ignore,   // go on
    IgnoreAlways, // go on and never report this site again
};

// Asked once per report with the full text; the default prints it on standard
// error under the caption "Assert Failed!" and goes on.
using AssertHandler = EAssertAnswer (*)(const char* text);

// Installs a handler (null restores the default) and gives back the previous one.
AssertHandler SetAssertHandler(AssertHandler handler);

// The text of a report: the plain form, or with a message in front.
std::string FormatAssertText(const char* message, const char* expression, const char* file, int line,
                             const char* function);

// Formats, passes the text to the error log and asks the handler. A set ignore
// flag skips everything.
void ReportAssert(const char* expression, const char* file, int line, const char* function, bool* ignore);
void ReportAssertMessage(const char* message, const char* expression, const char* file, int line,
                         const char* function, bool* ignore);

#define QEL_ASSERT(expression)                                                      \
    do                                                                              \
    {                                                                               \
        static bool s_qelAssertIgnore = false;                                      \
        if (!(expression) && !s_qelAssertIgnore)                                    \
            ReportAssert(#expression, __FILE__, __LINE__, __func__, &s_qelAssertIgnore); \
    } while (0)

// As QEL_ASSERT, reporting the given text as the expression.
#define QEL_ASSERT_AS(expression, text)                                             \
    do                                                                              \
    {                                                                               \
        static bool s_qelAssertIgnore = false;                                      \
        if (!(expression) && !s_qelAssertIgnore)                                    \
            ReportAssert(text, __FILE__, __LINE__, __func__, &s_qelAssertIgnore);   \
    } while (0)

#define QEL_ASSERT_MSG(expression, message)                                         \
    do                                                                              \
    {                                                                               \
        static bool s_qelAssertIgnore = false;                                      \
        if (!(expression) && !s_qelAssertIgnore)                                    \
            ReportAssertMessage(message, #expression, __FILE__, __LINE__, __func__, \
                                &s_qelAssertIgnore);                                \
    } while (0)
