// Where painting puts each item of laid-out text: line tops, the aligned start of each line,
// list markers, gaps, pictures and the box every item covers. Painting and hit testing both
// walk the text with it, so a point is over an item exactly where the item is drawn.
#pragma once
#include <string>

#include "framework/core/Geometry.h"
#include "richlabel/core/HtmlData.h"
#include "richlabel/core/HtmlItems.h"

class THTMLRender;

// The line being walked. Positions are in layout coordinates: the scroll offset and R's
// top-left corner are not applied.
struct THTMLLinePlace {
    THTMLBreakItem* Break = nullptr; // none before the first break item
    int Top = 0;
    int Height = 0;
    int Descent = 0; // the largest descent on the line
    int M = 0;       // the width the line is aligned within
};

class THTMLPlacement {
  public:
    // Walks the data's items as they are drawn into R, scrolled by SrcPoint.
    THTMLPlacement(THTMLRender& Render, THTMLData& Data, TRect R, TPoint SrcPoint);

    // Steps to the next item: false at the end of the list and at the first line that starts
    // below R (where painting stops).
    bool Next();
    THTMLItem& Item() const { return *FItem; }
    const THTMLLinePlace& Line() const { return FLine; }
    // Where the item is drawn; for a break item the line's start, where a number goes.
    int X() const { return FX; }

    // The baseline of a text run, or of a list entry's number, on the current line.
    int Baseline(THTMLItem& item) const;
    // The area an item (not a line start) covers where it is drawn; right and bottom are
    // excluded, as in the platform's rectangles. Painting, hit testing and the links list all
    // take it so, so a pixel belongs to at most one of two neighbouring runs.
    TRect Box(THTMLItem& item) const;
    // Where a point is over the item: its box within the rows of its own line. A text cell can
    // reach above its line (a line with a subscript sits its baseline lower) and a picture below
    // it, but every point belongs to the line whose rows hold it.
    TRect HitBox(THTMLItem& item) const;

    // A list entry's number is written in the font of the last run drawn before it (the
    // data's default font before any run).
    THTMLFont MarkerFont() const;
    static std::u16string MarkerText(const THTMLBreakItem& entry);
    // The font a text run is drawn in: a link's style is the data's link style unless the
    // run is the selected item.
    static THTMLFont RunFont(const THTMLData& data, const THTMLItem& item);

  private:
    void Advance(); // x past the current item

    THTMLRender& FRender;
    THTMLData& FData;
    TRect FR;
    TPoint FSrc;
    int FIndex = 0; // position of the current item in the list (1-based)
    THTMLItem* FItem = nullptr;
    const THTMLItem* FLastRun = nullptr;
    THTMLLinePlace FLine;
    int FX = 0;
    bool FDone = false;
};
