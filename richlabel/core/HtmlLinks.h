// The links of a laid-out text as a reader meets them: one entry per link, with its address,
// its text and the box it covers where it is drawn.
#pragma once
#include <string>
#include <vector>

#include "framework/core/Geometry.h"
#include "richlabel/core/HtmlData.h"

class THTMLRender;

struct THTMLLink {
    std::u16string HRef;
    // The runs' text; a line break inside the link reads as a space.
    std::u16string Text;
    // Every part of the link where it is drawn into R, cut to R (right and bottom exclusive).
    TRect Box;
    // Each of its runs where it is drawn into R, cut to R; Box is their union. Hit testing
    // finds this link at every point of a part, and at no point of R outside all parts.
    std::vector<TRect> Parts;
};

// The links of `data` in text order, as they are drawn into R scrolled by SrcPoint (the
// coordinates hit testing takes). Consecutive runs with the same address are one link, also
// across lines; any other run between them ends it. Runs drawn wholly outside R (lines below
// it, text right of it or scrolled out of it) are not shown and bring none.
std::vector<THTMLLink> HTMLLinks(THTMLRender& render, THTMLData& data, TRect R, TPoint SrcPoint);
