// The measuring interface the layout works through: run widths and font metrics. The Win32
// layer implements it on a memory DC; native tests use a deterministic fake.
#pragma once
#include <string>

#include "richlabel/core/HtmlTypes.h"

class THTMLMeasurer {
  public:
    virtual ~THTMLMeasurer() = default;
    // Width in pixels of one line of text in the font, as a calculated text rectangle
    // (right - left) reports it.
    virtual int TextWidth(const THTMLFont& font, const std::u16string& text) = 0;
    virtual THTMLFontMetrics Metrics(const THTMLFont& font) = 0;
    // Vertical resolution of the screen, for point sizes.
    virtual int PixelsPerInchY() = 0;
};
