// The links of a laid-out text as assistive technology lists them: one per link, its text,
// and a box in which hit testing finds that same link.
#include <gtest/gtest.h>

#include "framework/core/Accessibility.h"
#include "richlabel/core/HtmlLinks.h"
#include "richlabel/tests/HtmlTestSupport.h"

namespace {

// The link hit testing finds at the centre of a link's box.
std::u16string HitAtCentre(THTMLRender& render, const THTMLLink& link, TRect R) {
    std::u16string href;
    const TPoint centre{(link.Box.Left + link.Box.Right) / 2, (link.Box.Top + link.Box.Bottom) / 2};
    render.IsCursorOverLink(centre, {0, 0}, R, href);
    return href;
}

TEST_F(RenderFixture, EachLinkOnceWithItsTextAndAddress) {
    Parse(u"see <a href=one>the <b>first</b></a> and <a href=two>second</a><a href=three>3</a>");
    const TRect R{0, 0, 300, 40};
    const std::vector<THTMLLink> links = HTMLLinks(render, *render.Data(), R, {0, 0});
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(links[0].HRef, u"one");
    EXPECT_EQ(links[0].Text, u"the first") << "runs of one link in different styles join";
    EXPECT_EQ(links[1].Text, u"second");
    EXPECT_EQ(links[2].HRef, u"three") << "a link right after another is its own";
    for (const THTMLLink& link : links)
        EXPECT_EQ(HitAtCentre(render, link, R), link.HRef) << ToUtf8(link.Text);
}

TEST_F(RenderFixture, AWrappedLinkIsOneLinkOverBothLines) {
    // 25 pixels hold five characters: the link's words land on two lines.
    Parse(u"<a href=w>ab cd</a>", 25, true);
    const TRect R{0, 0, 25, 60};
    const std::vector<THTMLLink> links = HTMLLinks(render, *render.Data(), R, {0, 0});
    ASSERT_EQ(links.size(), 1u) << Describe(*render.Data());
    EXPECT_EQ(SpokenText(links[0].Text), u"ab cd");
    EXPECT_GT(links[0].Box.Height(), FindRun(u"cd")->FHeight) << "the box covers both lines";
}

TEST_F(RenderFixture, LinkBoxesFollowRAndTheScrollOffset) {
    Parse(u"ab<a href=x>link</a>");
    const TRect R{30, 20, 130, 70};
    const std::vector<THTMLLink> links = HTMLLinks(render, *render.Data(), R, {5, 0});
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].Box.Left, 30 + 11 - 5);
    EXPECT_EQ(links[0].Box.Width(), 21) << "a run's box ends where its last column ends";
    std::u16string href;
    const TPoint p{links[0].Box.Left + 2, links[0].Box.Top + 2};
    EXPECT_TRUE(render.IsCursorOverLink(p, {5, 0}, R, href));
}

TEST_F(RenderFixture, LinksAreCutToWhatIsDrawnInR) {
    // Five pixels a character from x 1: "link" runs from 11 to 31, "far" from 36 to 51.
    Parse(u"ab<a href=x>link</a> <a href=y>far</a>");
    const TRect R{0, 0, 25, 8};
    const std::vector<THTMLLink> links = HTMLLinks(render, *render.Data(), R, {0, 0});
    ASSERT_EQ(links.size(), 1u) << "a link right of R is not drawn";
    EXPECT_EQ(links[0].HRef, u"x");
    EXPECT_EQ(links[0].Box.Left, 11);
    EXPECT_EQ(links[0].Box.Right, 25);
    EXPECT_EQ(links[0].Box.Bottom, 8);
    EXPECT_TRUE(HTMLLinks(render, *render.Data(), R, {60, 0}).empty())
        << "links scrolled out of R are not drawn";
}

TEST_F(RenderFixture, NoLinksInPlainMarkupOrBelowR) {
    Parse(u"<b>Step 1:</b><br><br>Click");
    EXPECT_TRUE(HTMLLinks(render, *render.Data(), {0, 0, 200, 60}, {0, 0}).empty());
    Parse(u"a<br>b<br>c<br><a href=x>d</a>");
    EXPECT_TRUE(HTMLLinks(render, *render.Data(), {0, 0, 200, 10}, {0, 0}).empty())
        << "a line that is not drawn brings no link";
}

// Edges of R where hit testing and the links list once disagreed: inside R, every point of a
// listed part hits its link, and hit testing finds a link nowhere else.
struct EdgeCase {
    const char* what;
    std::u16string text;
    TRect R;
    TPoint src;
    std::size_t links;
};

class LinkEdges : public RenderHelper, public ::testing::TestWithParam<EdgeCase> {};

TEST_P(LinkEdges, ListedPartsAreWhereHitTestingFindsTheLink) {
    const EdgeCase& c = GetParam();
    Parse(c.text);
    const std::vector<THTMLLink> links = HTMLLinks(render, *render.Data(), c.R, c.src);
    ASSERT_EQ(links.size(), c.links) << c.what;
    for (int y = c.R.Top; y < c.R.Bottom; ++y)
        for (int x = c.R.Left; x < c.R.Right; ++x) {
            std::u16string hit, listed;
            render.IsCursorOverLink({x, y}, c.src, c.R, hit);
            for (const THTMLLink& link : links)
                for (const TRect& part : link.Parts)
                    if (part.Contains({x, y})) listed = link.HRef;
            EXPECT_EQ(hit, listed) << c.what << " at " << x << "," << y;
        }
}

// The link covers columns 11 to 31 of its line, which is 14 rows high.
const EdgeCase kEdgeCases[] = {
    {"R ends one column into the link: that column is the link's, not the run's before it",
     u"ab<a href=x>link</a>", {0, 0, 12, 14}, {0, 0}, 1},
    {"the line scrolled by its height lies wholly above R: no link, no row of it",
     u"<a href=x>link</a>", {0, 0, 100, 50}, {0, 14}, 0},
    {"scrolled by one row less: the last row is shown",
     u"<a href=x>link</a>", {0, 0, 100, 50}, {0, 13}, 1},
    {"a subscript lowers the baseline: the link's cell reaches above its line, whose rows "
     "alone are the link's", u"a<br><a href=x>link</a><sub>b</sub>", {0, 0, 100, 50}, {0, 0}, 1},
    {"scrolled left to the link's last column", u"ab<a href=x>link</a>", {0, 0, 60, 14}, {31, 0}, 1},
    {"scrolled left past the link", u"ab<a href=x>link</a>", {0, 0, 60, 14}, {32, 0}, 0},
};

INSTANTIATE_TEST_SUITE_P(Table, LinkEdges, ::testing::ValuesIn(kEdgeCases));

} // namespace
