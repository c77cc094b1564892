// libFuzzer target: the link list of markup built from the input (links, styles, breaks,
// lists, gaps, rules, sizes and references in any order), laid out at a width and drawn into
// a rectangle scrolled by an offset, all taken from the input. Every link's box lies within
// the rectangle the label draws into and is the union of its parts; hit testing finds a link
// at a point of that rectangle exactly where a listed part of that link lies (both ways,
// checked on a grid and at each part's edges, corners and the pixels just outside them; where
// an absolute gap draws items over each other, hit testing takes the first); and
// the links' texts are the texts of the link runs drawn there, in order.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "richlabel/core/HtmlLinks.h"
#include "richlabel/core/HtmlPlacement.h"
#include "richlabel/core/HtmlRender.h"
#include "richlabel/tests/FakeMeasurer.h"

namespace {

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "rule broken: %s\n", what);
    std::abort();
}

std::u16string WithoutSpaces(const std::u16string& s) {
    std::u16string out;
    for (char16_t c : s)
        if (c != u' ') out += c;
    return out;
}

// clang-format off
const char16_t* const kTokens[] = {
    u"<a href=x>", u"<a href=y>", u"</a>", u"ab", u"Wide", u" ", u"<b>", u"</b>", u"<br>",
    u"<p>", u"<p align=center>", u"<p align=right indent=30>", u"<ul>", u"</ul>", u"<ol>",
    u"</ol>", u"<li>", u"<hr>", u"<font size=22>", u"<font size=-3>", u"</font>", u"<sub>",
    u"</sub>", u"<sup>", u"</sup>", u"&amp;", u"\r\n", u"<ind width=40>",
    u"<ind width=5 pos=abs>", u"<a href=>", u"&nbsp;", u"<i>"};
// clang-format on

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) return 0;
    FakeMeasurer measurer;
    measurer.charWidth = 1 + data[0] % 8;
    const bool wrap = (data[1] & 1) != 0;
    const int width = data[2] % 160;
    const TRect R{int(std::int8_t(data[3])), int(std::int8_t(data[4])) / 4,
                  int(std::int8_t(data[3])) + width, int(std::int8_t(data[4])) / 4 + data[5] % 90};
    const TPoint src{int(std::int8_t(data[6])) / 4, int(std::int8_t(data[7])) / 4};
    std::u16string caption;
    for (std::size_t i = 8; i < size && i < 400; ++i)
        caption += kTokens[data[i] % std::size(kTokens)];

    THTMLRender render(&measurer);
    render.PrepareText(caption, width, wrap);
    THTMLData& d = *render.Data();
    const std::vector<THTMLLink> links = HTMLLinks(render, d, R, src);

    std::u16string listed;
    for (const THTMLLink& link : links) {
        Check(!link.Box.IsEmpty(), "a listed link is shown");
        TRect parts = link.Parts.empty() ? TRect{} : link.Parts.front();
        for (const TRect& part : link.Parts)
            parts = {std::min(parts.Left, part.Left), std::min(parts.Top, part.Top),
                     std::max(parts.Right, part.Right), std::max(parts.Bottom, part.Bottom)};
        Check(link.Box == parts, "a link's box is the union of its parts");
        Check(link.Box.Left >= R.Left && link.Box.Right <= R.Right && link.Box.Top >= R.Top &&
                  link.Box.Bottom <= R.Bottom,
              "a link's box lies within the label");
        listed += WithoutSpaces(link.Text);
    }

    // The link runs as they are drawn into R, and where every item is hit there.
    std::u16string drawn;
    std::vector<TRect> shownItems;
    THTMLPlacement walk(render, d, R, src);
    while (walk.Next()) {
        THTMLItem& item = walk.Item();
        if (item.IsBreak()) continue;
        const TRect box = walk.HitBox(item);
        const int dx = R.Left - src.X, dy = R.Top - src.Y;
        const TRect shown{std::max(box.Left + dx, R.Left), std::max(box.Top + dy, R.Top),
                          std::min(box.Right + dx, R.Right), std::min(box.Bottom + dy, R.Bottom)};
        if (shown.IsEmpty()) continue;
        shownItems.push_back(shown);
        if (item.IsTextRun() && item.IsLink()) drawn += WithoutSpaces(item.Text());
    }
    // An absolute gap can move x back over text already drawn: where two items are drawn
    // over each other, hit testing takes the first, so a link's part may hit the other.
    auto overlapped = [&](TPoint p) {
        int covering = 0;
        for (const TRect& box : shownItems) covering += box.Contains(p);
        return covering > 1;
    };
    Check(listed == drawn, "the links' texts are those of the link runs drawn");

    // Hit testing and the listed parts agree at every point of R looked at.
    auto agree = [&](TPoint p) {
        std::u16string href;
        const bool hit = render.IsCursorOverLink(p, src, R, href);
        for (const THTMLLink& link : links)
            for (const TRect& part : link.Parts)
                if (part.Contains(p)) {
                    Check((hit && href == link.HRef) || overlapped(p),
                          "every point of a listed part hits its link");
                    return;
                }
        Check(!hit, "a point over a link lies in a listed part of it");
    };
    for (int y = R.Top; y < R.Bottom; y += 3)
        for (int x = R.Left; x < R.Right; x += 3) agree({x, y});
    // Where edges disagree: each part's first and last rows and columns, the ones just outside
    // them and its middle, in every combination.
    for (const THTMLLink& link : links)
        for (const TRect& part : link.Parts) {
            const int xs[] = {part.Left - 1, part.Left, (part.Left + part.Right) / 2,
                              part.Right - 1, part.Right};
            const int ys[] = {part.Top - 1, part.Top, (part.Top + part.Bottom) / 2,
                              part.Bottom - 1, part.Bottom};
            for (int y : ys)
                for (int x : xs)
                    if (R.Contains({x, y})) agree({x, y});
        }
    return 0;
}
