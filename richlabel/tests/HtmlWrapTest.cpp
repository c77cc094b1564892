// Word wrap while reading, with the fake measurer: 5 pixels a character (6 bold), and one
// pixel more per run, so "aaaaa" is 26 pixels wide.
#include <gtest/gtest.h>

#include <random>

#include "richlabel/tests/HtmlTestSupport.h"

namespace {

struct WrapCase {
    const char* what;
    std::u16string text;
    int maxWidth;
    std::string items;
};

class Wrapping : public RenderHelper, public ::testing::TestWithParam<WrapCase> {};

TEST_P(Wrapping, BreaksLinesAsListed) {
    EXPECT_EQ(Items(GetParam().text, GetParam().maxWidth, true), GetParam().items)
        << GetParam().what;
}

const WrapCase kWrapCases[] = {
    {"fits", u"aaa bbb", 36, "P 'aaa bbb'"},
    {"at the last space, the space staying up", u"aaa bbb ccc", 42, "P 'aaa bbb ' S 'ccc'"},
    {"inside a word after a space", u"aaa bbbbb", 30, "P 'aaa ' S 'bbbbb'"},
    {"long word at a line start is split between characters", u"x<br>abcdefghij", 26,
     "P 'x' B 'abcde' S 'fghij'"},
    {"a word after other text moves whole", u"ab abcde", 26, "P 'ab ' S 'abcde'"},
    {"a run after another run moves whole", u"ab <b>abcde</b>", 32, "P 'ab ' S 'abcde'b"},
    {"earlier runs are never split", u"<b>aaa bbb</b>ccc", 50, "P 'aaa bbb'b S 'ccc'"},
    {"an overflowing space starts the next line", u"aaaaa b", 26, "P 'aaaaa' S ' b'"},
    {"a reference character taken off is appended again", u"aa a&auml;", 22, "P 'aa ' S 'aä'"},
    {"indent counts toward the used width", u"<p indent=10>aaa bbb", 36, "P 'aaa ' S 'bbb'"},
};

INSTANTIATE_TEST_SUITE_P(Table, Wrapping, ::testing::ValuesIn(kWrapCases));

TEST_F(RenderFixture, SoftBreaksKeepTheLineAlignmentAndIndent) {
    THTMLData& d = Parse(u"<p align=right indent=4>aaa bbb ccc", 45, true);
    EXPECT_EQ(Describe(d), "P 'aaa bbb ' S 'ccc'");
    auto* soft = static_cast<THTMLBreakItem*>(d.FArray.Items(3));
    EXPECT_EQ(soft->Alignment(), 2);
    EXPECT_EQ(soft->FIndent, 4);
}

TEST_F(RenderFixture, WrappingWithoutWrapFlagIgnoresTheWidth) {
    EXPECT_EQ(Items(u"aaa bbb ccc", 10, false), "P 'aaa bbb ccc'");
}

// Random captions of words, spaces, style and font tags and breaks at random widths: the
// invariants of a parse hold, every line fits unless it holds a single character, and
// wrapping neither loses nor invents characters.
TEST(WrapRandom, InvariantsHoldForRandomCaptions) {
    std::mt19937 rng(20261210);
    const std::u16string pieces[] = {
        u"a",       u"bb",  u"ccc",   u"dddddddd", u" ",      u"  ",     u"<b>",
        u"</b>",    u"<i>", u"</i>",  u"<br>",     u"&auml;", u"&nbsp;", u"<font size=22>",
        u"</font>", u"<p>", u"<sup>", u"</sup>"};
    for (int round = 0; round < 400; ++round) {
        std::u16string text;
        const int n = 1 + int(rng() % 40);
        for (int i = 0; i < n; ++i)
            text += pieces[rng() % std::size(pieces)];
        const int width = 8 + int(rng() % 120);

        RenderHelper plain;
        plain.Parse(text);
        RenderHelper wrapped;
        THTMLData& d = wrapped.Parse(text, width, true);
        SCOPED_TRACE(ToUtf8(text) + " @" + std::to_string(width));

        auto letters = [](const THTMLData& data) {
            std::u16string s;
            for (const auto& item : data.FArray)
                if (item->IsTextRun())
                    for (char16_t c : item->FText)
                        if (c != u' ') s += c;
            return s;
        };
        ASSERT_EQ(letters(d), letters(*plain.render.Data()));
        if (d.FArray.Empty()) continue;
        ASSERT_TRUE(d.FArray.First()->IsBreak());

        // A lone space that overflowed stays at the end of its line.
        int lineWidth = 0, lineChars = 0, trailingSpaces = 0;
        auto checkLine = [&] {
            if (lineChars > 1) {
                EXPECT_LE(lineWidth - trailingSpaces, width);
            }
        };
        for (const auto& item : d.FArray) {
            if (item->IsBreak()) {
                checkLine();
                lineWidth = item->FIndent;
                lineChars = 0;
                trailingSpaces = 0;
                continue;
            }
            EXPECT_FALSE(item->FText.empty());
            lineWidth += item->FWidth;
            lineChars += int(item->FText.size());
            const bool spaces = item->FText.find_first_not_of(u' ') == std::u16string::npos;
            trailingSpaces = spaces ? trailingSpaces + item->FWidth : 0;
        }
        checkLine();
    }
}

} // namespace
