// String-table texts used as formats ("Zone %i", "Welcome back, %s"): a broken
// or edited table hands any text to the formatter. Each conversion here finds
// an argument it can take: texts for %s and %S, numbers for the rest.

#include "core/WString.h"
#include "core/WideFormat.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::u16string format;
    for (size_t at = 0; at + 1 < size; at += 2)
        format += static_cast<char16_t>(data[at] | data[at + 1] << 8);
    // More conversions than arguments would read past them: no text calls for that.
    size_t conversions = 0;
    for (char16_t unit : format)
        conversions += unit == u'%';
    if (conversions > 8)
        return 0;
    // Every argument is a pointer to a text that reads as both UTF-16 and 8-bit
    // (the letters' high bytes are zero, so the 8-bit reading stops after one);
    // read as a number it is just some value. The doubles feed %f.
    static const char16_t text[] = u"text";
    CWString out;
    FormatWide(out, format.c_str(), text, text, text, text, text, text, text, text, 1.5, -2.25, 1e300, 0.0, 3.0, 4.0,
               5.0, 6.0);
    return 0;
}
