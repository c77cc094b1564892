// HTMLLinks: the placement walk that painting and hit testing share, gathering link runs.
#include "richlabel/core/HtmlLinks.h"

#include <algorithm>

#include "richlabel/core/HtmlPlacement.h"
#include "richlabel/core/HtmlRender.h"

namespace {

TRect Union(const TRect& a, const TRect& b) {
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

} // namespace

std::vector<THTMLLink> HTMLLinks(THTMLRender& render, THTMLData& data, TRect R, TPoint SrcPoint) {
    std::vector<THTMLLink> links;
    bool open = false;      // the last run was a link: the next run of its address continues it
    bool lineBreak = false; // a line started since the open link's last run
    THTMLPlacement walk(render, data, R, SrcPoint);
    while (walk.Next()) {
        THTMLItem& item = walk.Item();
        if (item.IsBreak()) {
            lineBreak = open;
            continue;
        }
        if (!item.IsTextRun()) {
            open = false;
            continue;
        }
        if (!item.IsLink()) {
            open = false;
            continue;
        }
        // The box the run is hit in, moved to R's coordinates and cut to R, outside which
        // nothing is drawn; a run drawn wholly outside is none.
        const TRect at = walk.HitBox(item);
        const int dx = R.Left - SrcPoint.X, dy = R.Top - SrcPoint.Y;
        const TRect box{std::max(at.Left + dx, R.Left), std::max(at.Top + dy, R.Top),
                        std::min(at.Right + dx, R.Right), std::min(at.Bottom + dy, R.Bottom)};
        if (box.IsEmpty()) continue;
        if (open && links.back().HRef == item.LinkRef()) {
            THTMLLink& link = links.back();
            if (lineBreak && !link.Text.empty() && link.Text.back() != u' ') link.Text += u' ';
            link.Text += item.Text();
            link.Box = Union(link.Box, box);
            link.Parts.push_back(box);
        } else {
            links.push_back({item.LinkRef(), item.Text(), box, {box}});
        }
        open = true;
        lineBreak = false;
    }
    return links;
}
