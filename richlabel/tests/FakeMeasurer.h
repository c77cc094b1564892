// A deterministic measurer for native tests: every character is `charWidth` pixels wide
// (bold adds one), and a font's cell height follows its requested height.
#pragma once
#include <cstdlib>

#include "richlabel/core/HtmlMeasurer.h"

class FakeMeasurer : public THTMLMeasurer {
  public:
    int charWidth = 5;

    int TextWidth(const THTMLFont& font, const std::u16string& text) override {
        const int w = charWidth + ((font.Style & fsBold) ? 1 : 0);
        return int(text.size()) * w;
    }
    // Negative heights are character heights: the cell adds 3 pixels of internal leading.
    THTMLFontMetrics Metrics(const THTMLFont& font) override {
        int cell = font.Height < 0 ? -font.Height + 3 : font.Height > 0 ? font.Height : 16;
        return {cell, cell / 4, charWidth, 2 * charWidth};
    }
    int PixelsPerInchY() override { return 96; }
};
