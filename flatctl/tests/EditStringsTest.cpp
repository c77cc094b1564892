// Text storage: single-line text kept unchanged, multi-line split and join, longest line.
#include <gtest/gtest.h>

#include "flatctl/core/EditStrings.h"

TEST(EditStrings, EmptyListGivesAnEmptyParagraph) {
    TFlatEditStrings s;
    EXPECT_EQ(s.LineCount(), 1);
    EXPECT_EQ(s.Line(0), u"");
    EXPECT_EQ(s.Text(), u"");
}

TEST(EditStrings, AssignAndJoin) {
    struct Case {
        bool multiline;
        std::u16string in;
        int rows;
        std::u16string joined;
    };
    const Case cases[] = {
        {false, u"ab\r\ncd\ref", 1, u"ab\r\ncd\ref"}, // line breaks stay characters
        {true, u"ab\r\ncd\ref\ngh", 4, u"ab\r\ncd\r\nef\r\ngh"},
        {true, u"ab\r\n", 2, u"ab\r\n"},
        {true, u"", 1, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.in.begin(), c.in.end()));
        TFlatEditStrings s(c.multiline);
        s.SetText(c.in);
        EXPECT_EQ(s.LineCount(), c.rows);
        EXPECT_EQ(s.Text(), c.joined);
    }
}

TEST(EditStrings, InsertDeleteAndLongestLine) {
    TFlatEditStrings s(true);
    s.SetText(u"a\r\nlonger\r\nbb");
    EXPECT_EQ(s.LongestLine(), 1);
    EXPECT_EQ(s.LongestLineLength(), 6);
    s.InsertText(2, 1, u"0123456");
    EXPECT_EQ(s.Line(2), u"b0123456b");
    EXPECT_EQ(s.LongestLine(), 2);
    s.DeleteText(2, 1, 100); // the count is held to the row
    EXPECT_EQ(s.Line(2), u"b");
    EXPECT_EQ(s.LongestLine(), 1);
    s.InsertText(0, 99, u"!"); // a column past the end appends
    EXPECT_EQ(s.Line(0), u"a!");
}
