// The layout pass and hit testing with the fake measurer (a negative height h gives a cell of
// |h| + 3 pixels with a quarter of it below the baseline).
#include <gtest/gtest.h>

#include "richlabel/tests/HtmlTestSupport.h"

namespace {

THTMLBreakItem* LineAt(THTMLData& d, int pos) {
    return static_cast<THTMLBreakItem*>(d.FArray.Items(pos));
}

TEST_F(RenderFixture, MixedHeightsShareOneLineHeightAndDescent) {
    render.Data()->FDefaultHeight = -15;              // cell 18, descent 4
    THTMLData& d = Parse(u"a<font size=22>b</font>"); // cell 22, descent 5
    ASSERT_EQ(Describe(d), "P 'a'@-15 'b'@22");
    EXPECT_EQ(FindRun(u"a")->FHeight, 18);
    EXPECT_EQ(FindRun(u"b")->FHeight, 22);
    EXPECT_EQ(LineAt(d, 1)->FHeight, 22);
    EXPECT_EQ(LineAt(d, 1)->LineDescent(), 5);
    EXPECT_EQ(LineAt(d, 1)->FWidth, 6 + 6);
    EXPECT_EQ(d.FTextSize, (TTextSize{12, 22}));
}

TEST_F(RenderFixture, EmptyLinesTakeTheHeightOfTheirFont) {
    // The step caption: the second line is empty and as high as the plain font.
    THTMLData& d = Parse(u"<b>Schritt 1:</b><br><br>Klicken");
    ASSERT_EQ(Describe(d), "P 'Schritt 1:'b B B 'Klicken'");
    EXPECT_EQ(LineAt(d, 3)->FHeight, 14);
    EXPECT_EQ(LineAt(d, 4)->FHeight, 14);
    // A caption ending in "br" gets an extra empty line.
    THTMLData& e = Parse(u"a<br>");
    ASSERT_EQ(Describe(e), "P 'a' B");
    EXPECT_EQ(e.FTextSize, (TTextSize{6, 28}));
}

TEST_F(RenderFixture, EmptyListHasNoSize) {
    EXPECT_EQ(Parse(u"").FTextSize, (TTextSize{0, 0}));
    EXPECT_EQ(Parse(u"<b></b>").FTextSize, (TTextSize{0, 0}));
}

TEST_F(RenderFixture, SubAndSuperscriptAdjustHeightAndDescent) {
    // Both are measured two pixels smaller: -9 gives a cell of 12 with descent 3.
    THTMLData& d = Parse(u"x<sup>y</sup><sub>z</sub>");
    EXPECT_EQ(FindRun(u"y")->FHeight, 12 + 12 * 2 / 3);
    EXPECT_EQ(FindRun(u"z")->FHeight, 12 + 12 / 4);
    EXPECT_EQ(LineAt(d, 1)->FHeight, 20);
    EXPECT_EQ(LineAt(d, 1)->LineDescent(), 3 + 12 / 4);
}

TEST_F(RenderFixture, LineSpacingAndLineGap) {
    render.Data()->FLineSpacing = 30;
    render.Data()->FLineGap = 2;
    THTMLData& d = Parse(u"a<br>b");
    EXPECT_EQ(LineAt(d, 1)->FHeight, 32); // the break item's height is raised, plus the gap
    EXPECT_EQ(FindRun(u"a")->FHeight, 16);
    EXPECT_EQ(d.FTextSize.cy, 32 + 32 + 2 * 2);
}

TEST_F(RenderFixture, WidestLineIncludesIndentAndAbsoluteGaps) {
    THTMLData& d = Parse(u"<p indent=7>aa<br>b<ind width=40 pos=abs>c");
    EXPECT_EQ(LineAt(d, 1)->FWidth, 7 + 11);
    EXPECT_EQ(LineAt(d, 3)->FWidth, 7 + 40 + 6); // an absolute gap sets the width so far
    EXPECT_EQ(d.FTextSize.cx, 53);
}

struct HitCase {
    const char* what;
    std::u16string text;
    int rectWidth;
    TPoint point;
    const char16_t* hit; // text of the item hit, nullptr for none
};

class HitTesting : public RenderHelper, public ::testing::TestWithParam<HitCase> {};

TEST_P(HitTesting, FindsTheItemAtAPoint) {
    const HitCase& c = GetParam();
    Parse(c.text);
    THTMLItem* item = render.ItemAt(c.point, {0, 0}, {0, 0, c.rectWidth, 100});
    if (!c.hit)
        EXPECT_EQ(item, nullptr) << c.what;
    else
        EXPECT_TRUE(item && item->FText == c.hit) << c.what;
}

// "hello" is 26 pixels wide and 14 high; lines start at x 0 unless aligned.
const HitCase kHitCases[] = {
    {"left, inside", u"hello", 100, {3, 5}, u"hello"},
    {"left, last column", u"hello", 100, {25, 5}, u"hello"},
    // Boxes end where the run's last column ends (as painting and the links list take them).
    {"left, just past the run", u"hello", 100, {26, 5}, nullptr},
    {"below every line", u"hello", 100, {3, 14}, nullptr},
    {"second line", u"a<br>hello", 100, {3, 20}, u"hello"},
    // Lines align within R's width + 1, as painting takes it.
    {"centred: starts at (101 - 26 - 1) / 2", u"<p align=center>hello", 100, {36, 5}, nullptr},
    {"centred, first pixel", u"<p align=center>hello", 100, {37, 5}, u"hello"},
    {"right: starts at 101 - 26 - 1", u"<p align=right>hello", 100, {73, 5}, nullptr},
    {"right, first pixel", u"<p align=right>hello", 100, {74, 5}, u"hello"},
    {"centred wider than R starts at 0", u"<p align=center>hello", 10, {0, 5}, u"hello"},
    {"right wider than R starts at -1", u"<p align=right>hello", 10, {-1, 5}, u"hello"},
    {"right wider than R, -2 misses", u"<p align=right>hello", 10, {-2, 5}, nullptr},
    {"superscript sits higher: rows 2 to 13 of a 20-pixel line",
     u"x<sup>y</sup>",
     100,
     {7, 2},
     u"y"},
    {"superscript, above its box", u"x<sup>y</sup>", 100, {7, 1}, nullptr},
    {"superscript is not at the bottom", u"x<sup>y</sup>", 100, {7, 19}, nullptr},
    {"runs after the first", u"ab<b>cd</b>", 100, {14, 5}, u"cd"},
    // 'A' (cell 22, descent 5) sets the baseline at 17: 'k' (cell 14, descent 3) is drawn in
    // rows 6 to 19, not at the bottom of the line.
    {"small run on a tall line, top row", u"<font size=22>A</font>k", 100, {9, 6}, u"k"},
    {"small run on a tall line, above", u"<font size=22>A</font>k", 100, {9, 5}, nullptr},
    {"small run on a tall line, bottom row", u"<font size=22>A</font>k", 100, {9, 19}, u"k"},
    {"small run on a tall line, below", u"<font size=22>A</font>k", 100, {9, 20}, nullptr},
};

INSTANTIATE_TEST_SUITE_P(Table, HitTesting, ::testing::ValuesIn(kHitCases));

// Links at the places painting draws them: the link's first column and its last
// (x + width - 1) hit it; the columns just outside do not.
struct PlacementCase {
    const char* what;
    std::u16string text;
    TRect R;
    int drawnX; // where painting puts the link, relative to R
};

class LinkPlacement : public RenderHelper, public ::testing::TestWithParam<PlacementCase> {};

// The top of the line that holds `item`.
int LineTop(THTMLData& d, const THTMLItem* item) {
    int top = 0, height = 0;
    for (const auto& it : d.FArray) {
        if (it.get() == item) break;
        if (!it->IsBreak()) continue;
        top += height;
        height = it->FHeight;
    }
    return top;
}

TEST_P(LinkPlacement, HitsTheLinkWhereItIsDrawn) {
    const PlacementCase& c = GetParam();
    THTMLData& d = Parse(c.text);
    ASSERT_EQ(d.FControlsArray.size(), 1u) << c.what;
    THTMLItem* link = d.FControlsArray[0];
    const int y = c.R.Top + LineTop(d, link) + link->FHeight / 2;
    const int left = c.R.Left + c.drawnX, right = left + link->FWidth;
    EXPECT_EQ(render.ItemAt({left, y}, {0, 0}, c.R), link) << c.what;
    EXPECT_EQ(render.ItemAt({right - 1, y}, {0, 0}, c.R), link) << c.what;
    EXPECT_NE(render.ItemAt({left - 1, y}, {0, 0}, c.R), link) << c.what;
    EXPECT_NE(render.ItemAt({right, y}, {0, 0}, c.R), link) << c.what;
}

// Runs are 5 pixels a character plus 1 (bold 6): "a" 6, "ab" 11, "abc" 16, "link" 21. A
// list indents by the maximum character width, 10. Each link follows text, since a link tag
// keeps the (empty) run in front of it.
const PlacementCase kPlacementCases[] = {
    {"after text", u"ab<a href=x>link</a>", {0, 0, 100, 50}, 11},
    {"R away from the origin", u"ab<a href=x>link</a>", {30, 20, 130, 70}, 11},
    {"centred: (101 - 32 - 1) / 2, then 'ab'",
     u"<p align=center>ab<a href=x>link</a>",
     {0, 0, 100, 50},
     34 + 11},
    {"right: 101 - 32 - 1, then 'ab'",
     u"<p align=right>ab<a href=x>link</a>",
     {0, 0, 100, 50},
     68 + 11},
    {"after a gap", u"ab<ind width=30>a<a href=x>link</a>", {0, 0, 100, 50}, 11 + 30 + 6},
    {"an absolute gap moves x to its position",
     u"abc<ind width=60 pos=abs>a<a href=x>link</a>",
     {0, 0, 100, 50},
     60 + 6},
    {"an absolute gap on a centred line",
     u"<p align=center>abc<ind width=60 pos=abs>a<a href=x>link</a>",
     {0, 0, 100, 50},
     60 + 6},
    {"a numbered entry: after its number \"1.\"",
     u"<ol><li>a<a href=x>link</a></ol>",
     {0, 0, 100, 50},
     10 + 10 + 6},
    {"the number in the last run's font (bold)",
     u"<b>bold</b><ol><li>a<a href=x>link</a></ol>",
     {0, 0, 100, 50},
     10 + 12 + 6},
    {"a bullet takes no room", u"<ul><li>a<a href=x>link</a></ul>", {0, 0, 100, 50}, 10 + 6},
    {"a picture takes its width + 1",
     u"<img src=p width=20 height=5>a<a href=x>link</a>",
     {0, 0, 100, 50},
     21 + 6},
};

INSTANTIATE_TEST_SUITE_P(Table, LinkPlacement, ::testing::ValuesIn(kPlacementCases));

TEST_F(RenderFixture, HitTestingWithoutWidthUsesTheLastPaintRectangle) {
    Parse(u"<p align=right>hello");
    render.Data()->FRect = {0, 0, 100, 50};
    EXPECT_NE(render.ItemAt({80, 5}, {0, 0}, {}), nullptr);
    // The scroll offset moves the point into the text.
    EXPECT_NE(render.ItemAt({70, 5}, {10, 0}, {}), nullptr);
}

TEST_F(RenderFixture, LinksInputsAndChangeNotifications) {
    int changes = 0;
    render.OnChange = [&](TObject*) { ++changes; };
    // Line: 'see ' (21) 'it'(link, 11) ' ' (6) box (17) box (17) box (17).
    Parse(u"see <a href=\"http://x\">it</a> <input type=radio name=g checked=true>"
          u"<input type=radio name=g><input type=checkbox>");
    THTMLData& d = *render.Data();
    const TRect R{0, 0, 200, 40};
    std::u16string href = u"stale";
    EXPECT_FALSE(render.IsCursorOverLink({3, 5}, {0, 0}, R, href));
    EXPECT_TRUE(href.empty());
    EXPECT_TRUE(render.IsCursorOverLink({25, 5}, {0, 0}, R, href));
    EXPECT_EQ(href, u"http://x");

    auto* first = static_cast<THTMLInputItem*>(d.FControlsArray[1]);
    auto* second = static_cast<THTMLInputItem*>(d.FControlsArray[2]);
    auto* box = static_cast<THTMLInputItem*>(d.FControlsArray[3]);
    render.MouseMoveTransfer(0, 50, 10, R);
    EXPECT_EQ(d.ActiveItem(), first);
    render.MouseMoveTransfer(0, 51, 10, R);
    EXPECT_EQ(changes, 1); // the same item again changes nothing
    render.MouseMoveTransfer(0, 3, 10, R);
    EXPECT_EQ(d.ActiveItem(), nullptr);
    EXPECT_EQ(changes, 2);

    render.ClickTransfer(67, 10, R); // the second radio button
    EXPECT_TRUE(second->FChecked);
    EXPECT_FALSE(first->FChecked);
    EXPECT_EQ(d.SelectedItem(), second);
    render.ClickTransfer(85, 10, R);
    EXPECT_TRUE(box->FChecked);
    render.ClickTransfer(85, 10, R);
    EXPECT_FALSE(box->FChecked);
    render.ClickTransfer(25, 5, R); // a link is selected only with LinkSelect
    EXPECT_EQ(d.SelectedItem(), nullptr);
    render.SetLinkSelect(true);
    render.ClickTransfer(25, 5, R);
    EXPECT_EQ(d.SelectedItem(), d.FControlsArray[0]);
    EXPECT_EQ(changes, 2 + 5);
    render.SelectLinkAt({3, 5}, {0, 0}, R);
    EXPECT_EQ(d.SelectedItem()->FText, u"see ");
}

} // namespace

#include "richlabel/core/HtmlColorAdjust.h"

TEST(ColorAdjust, MovesHalfwayAwayFromTheReferenceLightness) {
    EXPECT_EQ(ColorLightness(0x000000), 0);
    EXPECT_EQ(ColorLightness(0xFFFFFF), 252);
    // On a dark reference every channel moves halfway toward white.
    EXPECT_EQ(AdjustColorFrom(0x6D6D6D, 0x000000), 0xB6B6B6u);
    EXPECT_EQ(AdjustColorFrom(0x0000FF, 0x000000), 0x7F7FFFu);
    // On a light one it moves down by half the distance to white, not below 0.
    EXPECT_EQ(AdjustColorFrom(0xC8C8C8, 0xFFFFFF), 0xACACACu);
    EXPECT_EQ(AdjustColorFrom(0x000000, 0xFFFFFF), 0x000000u);
}
