// The clipboard through the public API: opening, handing text over in either text format,
// and the memory blocks that carry it.
#include "clipboard.h"

#include <gtest/gtest.h>

namespace {

// Puts `text` on the clipboard as `format`: the clipboard takes the block over.
void Put(UINT format, const char *text)
{
    ASSERT_TRUE(test::PutClipboardText(text, format));
}

TEST(Clipboard, TextComesBackInTheFormatGivenAndInTheOtherUntilEmptied)
{
    Put(CF_UNICODETEXT, "-3600");
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(test::ClipboardText(CF_UNICODETEXT), "-3600");
    EXPECT_EQ(test::ClipboardText(CF_TEXT), "-3600");

    Put(CF_TEXT, "450 tenths");
    EXPECT_EQ(test::ClipboardText(CF_UNICODETEXT), "450 tenths");
    EXPECT_EQ(test::ClipboardText(CF_TEXT), "450 tenths");

    // Emptied, it holds text in neither format.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), nullptr);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
}

TEST(Clipboard, NeedsOpeningForAllButAskingWhatItHolds)
{
    Put(CF_UNICODETEXT, "7");
    SetLastError(0);
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
    SetLastError(0);
    EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
    SetLastError(0);
    EXPECT_FALSE(CloseClipboard());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(WCHAR));
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, block), nullptr);
    GlobalFree(block);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT)) << "asking needs no opening";
    EXPECT_EQ(test::ClipboardText(CF_UNICODETEXT), "7") << "a refused change leaves the text";
}

TEST(Clipboard, KnowsTheWindowThatOpenedIt)
{
    HWND window =
        CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
    ASSERT_TRUE(OpenClipboard(window));
    EXPECT_EQ(GetOpenClipboardWindow(), window);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
    DestroyWindow(window);
}

// A moveable block: a handle that locking turns into its bytes, counted locks, its size.
TEST(GlobalMemory, MoveableBlocksLockAndUnlockInPairs)
{
    HGLOBAL block = GlobalAlloc(GHND, 10);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 10u);
    auto *bytes = static_cast<BYTE *>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[9], 0) << "GMEM_ZEROINIT";
    bytes[0] = 42;
    EXPECT_EQ(static_cast<BYTE *>(GlobalLock(block)), bytes);
    EXPECT_TRUE(GlobalUnlock(block)) << "still locked once";
    SetLastError(0xdead);
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR)) << "unlocked now";
    EXPECT_EQ(static_cast<BYTE *>(GlobalLock(block))[0], 42);
    GlobalUnlock(block);
    EXPECT_EQ(GlobalFree(block), nullptr);

    HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 4);
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(GlobalLock(fixed), fixed) << "a fixed block's handle is its address";
    EXPECT_EQ(GlobalSize(fixed), 4u);
    EXPECT_EQ(GlobalFree(fixed), nullptr);
}

} // namespace
