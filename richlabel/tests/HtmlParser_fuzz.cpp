// libFuzzer target: arbitrary bytes as a UTF-16 caption, with a wrap width, wrap flag and
// default font height taken from the first bytes; checks the invariants of every parse.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "richlabel/core/HtmlRender.h"

namespace {

// Widths that differ per character, so wrapping meets uneven runs.
class VaryingMeasurer : public THTMLMeasurer {
  public:
    int TextWidth(const THTMLFont& font, const std::u16string& text) override {
        int w = 0;
        for (char16_t c : text)
            w += 2 + c % 7 + ((font.Style & fsBold) ? 1 : 0);
        return w;
    }
    THTMLFontMetrics Metrics(const THTMLFont& font) override {
        const int cell = font.Height < 0 ? 3 - (font.Height % 200) : 3 + font.Height % 200;
        return {cell, cell / 4, 5, 11};
    }
    int PixelsPerInchY() override { return 96; }
};

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const int maxWidth = int(std::int8_t(data[0])) * 4;
    const bool wrap = (data[1] & 1) != 0;
    const int defaultHeight = int(std::int8_t(data[2]));
    const bool linkSelect = (data[3] & 1) != 0;
    data += 4;
    size -= 4;
    std::u16string text(size / 2, u'\0');
    std::memcpy(text.data(), data, text.size() * 2);

    VaryingMeasurer measurer;
    THTMLRender render(&measurer);
    render.SetLinkSelect(linkSelect);
    render.Data()->FDefaultHeight = defaultHeight;
    render.PrepareText(text, maxWidth, wrap);

    const THTMLData& d = *render.Data();
    const TItemList& list = d.FArray;
    if (!list.Empty()) Check(list.First()->IsBreak(), "a non-empty list starts with a break item");
    Check(list.Empty() || list.First()->FItemType == hitPara, "the front item is a paragraph");
    int lines = 0;
    for (const auto& item : list) {
        Check(item->FOwner == &d, "items belong to their data");
        if (item->IsBreak()) ++lines;
    }
    Check(lines == d.LineCount(), "every break item starts a line");
    for (const THTMLItem* linked : d.FControlsArray) {
        bool found = false;
        for (const auto& item : list)
            found |= item.get() == linked;
        Check(found, "links and inputs are items of the list");
    }
    if (list.Empty()) Check(d.FTextSize == TTextSize{}, "an empty list has no size");

    // Hit testing and the interactions over a few points of the laid-out text.
    const TRect r{0, 0, maxWidth > 0 ? maxWidth : 50, 200};
    const int stepY = d.FTextSize.cy / 12 + 1, stepX = d.FTextSize.cx / 12 + 1;
    for (int y = -2; y < d.FTextSize.cy + 4; y += stepY)
        for (int x = -2; x < d.FTextSize.cx + 4; x += stepX) {
            std::u16string href;
            render.IsCursorOverLink({x, y}, {0, 0}, r, href);
            render.MouseMoveTransfer(0, x, y, r);
        }
    render.ClickTransfer(3, 3, r);
    std::u16string out;
    render.AsText(out);
    d.GenerateHTML(out);
    return 0;
}
