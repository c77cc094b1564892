// Trimming of the temporary folder's text, the installer's file name, the trailing "\".
#include <gtest/gtest.h>

#include "assistant/core/PathText.h"
#include "assistant/core/ProductConfig.h"

TEST(PathText, TrimRemovesCodesUpTo32OnBothEnds) {
    EXPECT_EQ(TrimControlAndSpace(u"  C:\\Temp \t\r\n"), u"C:\\Temp");
    EXPECT_EQ(TrimControlAndSpace(std::u16string(u"\x01\x1F C:\\a b\x20", 9)), u"C:\\a b");
    EXPECT_EQ(TrimControlAndSpace(u" \t "), u"");
    EXPECT_EQ(TrimControlAndSpace(u""), u"");
    EXPECT_EQ(TrimControlAndSpace(u"C:\\x\u00A0"), u"C:\\x\u00A0"); // 160 is not trimmed
}

TEST(PathText, FileNameIsTextAfterLastSlash) {
    EXPECT_EQ(FileNameFromUrl(ProductConfig::URL), "lumvoraVV.exe");
    EXPECT_EQ(FileNameFromUrl("http://h/a/b/"), "");
    EXPECT_EQ(FileNameFromUrl("noslash"), "noslash");
}

TEST(PathText, TrailingBackslashExactlyOnce) {
    EXPECT_EQ(WithTrailingBackslash(u"C:\\Temp"), u"C:\\Temp\\");
    EXPECT_EQ(WithTrailingBackslash(u"C:\\Temp\\"), u"C:\\Temp\\");
    EXPECT_EQ(WithTrailingBackslash(u""), u"\\");
}
