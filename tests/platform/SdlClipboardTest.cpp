#include "core/Clipboard.h"
#include "platform/SdlClipboard.h"

#include <gtest/gtest.h>

// Runs under SDL's dummy video driver, which keeps the clipboard inside the process.
TEST(SdlClipboard, CopiedTextPastesBackAsAscii)
{
    SetClipboardHook(GetSdlClipboardHook());
    bool copied = CopyTextToClipboard("  A1B2-\xE9-C3D4");
    char buffer[CLIPBOARD_TEXT_SIZE] = {};
    bool pasted = copied && PasteTextFromClipboard(buffer);
    SetClipboardHook(nullptr);
    ASSERT_TRUE(copied);
    ASSERT_TRUE(pasted);
    EXPECT_STREQ(buffer, "A1B2-?-C3D4");
}
