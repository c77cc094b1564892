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
    EXPECT_EQ(links[0].Box.Width(), 21 + 1) << "hit testing includes the right edge";
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

} // namespace
