#include "runtime/sharedServices.h"

#include <gtest/gtest.h>

#include "platform/messageBox.h"
#include "platform/resources.h"
#include "runtime/Share.h"
#include "runtime/memoryStream.h"
#include "tests/unit/testSupport.h"

namespace {

TEST(ShareText, PosFromAndReplaceAll) {
    EXPECT_EQ(PosFrom("b", "abcb", 1), 2);
    EXPECT_EQ(PosFrom("b", "abcb", 3), 4);
    EXPECT_EQ(PosFrom("b", "abcb", 5), 0);
    EXPECT_EQ(PosFrom("", "abc", 1), 0);
    EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceAll("x%1y%12", "%1", "Z",
                         [](const std::string& s, int pos) {
                             const size_t after = size_t(pos - 1) + 2;
                             return after >= s.size() || s[after] < '0' || s[after] > '9';
                         }),
              "xZy%12");
}

TEST(ShareText, CompareTextAsciiFoldsOnlyLatinLetters) {
    EXPECT_EQ(CompareTextAscii("abc", "ABC"), 0);
    EXPECT_LT(CompareTextAscii("abc", "abd"), 0);
    EXPECT_GT(CompareTextAscii("b", "A"), 0);
    EXPECT_LT(CompareTextAscii("ab", "abc"), 0);
    EXPECT_NE(CompareTextAscii("\xE0", "\xC0"), 0);  // Cyrillic а and А differ
    EXPECT_EQ(CompareTextAscii(std::string("ab\0x", 4), std::string("ab\0y", 4)), 0);
}

TEST(ShareServices, DebugStringGoesToAMessageBox) {
    MessageCapture boxes;
    ShowDebugString("hello");
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "hello");
    EXPECT_EQ(boxes.captions[0], "String-Debug");
}

TEST(ShareServices, LoadResourceStream) {
    static const unsigned char bytes[] = {1, 2, 3};
    platform::RegisterLinkedResource("TESTRES", platform::ResourceTypeStream, bytes, sizeof bytes);
    auto stream = LoadResourceStream("TESTRES");
    platform::UnregisterLinkedResource("TESTRES", platform::ResourceTypeStream);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->Size(), 3u);
    EXPECT_EQ(stream->Position(), 0u);

    auto missing = LoadResourceStream("NO_SUCH_RESOURCE");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->Size(), 0u);
}

TEST(ShareServices, EmbeddedImageHasTheImageAreaSize) {
    auto image = LoadResourceStream("STREAM0");
    ASSERT_EQ(image->Size(), 260096u);
    const auto& bytes = image->Bytes();
    // Everything behind the firmware is 0xFF fill.
    for (size_t i = 130314; i < bytes.size(); ++i) ASSERT_EQ(bytes[i], 0xFF) << i;
}

}  // namespace
