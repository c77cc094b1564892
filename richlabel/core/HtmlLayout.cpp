// The layout pass: widths, heights and descents of every item, line metrics on each line's
// break item, and the size of the whole text.
#include <algorithm>

#include "richlabel/core/HtmlRender.h"

void LayoutHTMLData(THTMLData& data) {
    const TItemList& list = data.FArray;
    const int count = list.Count();
    int widest = 0, total = 0, lines = 0;
    int i = 1;
    while (i <= count) {
        THTMLItem* first = list.Items(i);
        // The list always starts with a break item; anything before one is laid out as a
        // line of its own all the same.
        auto* brk = first->IsBreak() ? static_cast<THTMLBreakItem*>(first) : nullptr;
        int lineWidth = 0, lineHeight = 0, lineDescent = 0;
        bool firstItem = true;
        int j = i;
        for (; j <= count; ++j) {
            THTMLItem* item = list.Items(j);
            if (j > i && item->IsBreak()) break;
            const int width = item->GetWidth();
            item->FWidth = std::uint16_t(width);
            if (item->FItemType == hitIndent && (item->FBoolState & bsAbsolute))
                lineWidth = item->FWidth;
            else
                lineWidth += width;

            int descent = 0, height;
            if (item == brk) {
                THTMLItem* next = list.Items(j + 1);
                height = brk->LineStartHeight(!next || next->IsBreak(), descent);
            } else {
                height = item->GetHeight(descent);
            }
            int stored = height;
            if (item->IsTextRun() && item->IsSub()) {
                descent += height / 4;
                stored = height + height / 4;
            } else if (item->IsTextRun() && item->IsSuper()) {
                descent -= height / 2;
                stored = height + height * 2 / 3;
            }
            item->FHeight = std::uint16_t(stored);
            lineHeight = std::max(lineHeight, int(item->FHeight));
            lineDescent = firstItem ? descent : std::max(lineDescent, descent);
            firstItem = false;
        }
        int lineTotal = lineWidth;
        if (brk) {
            brk->FHeight = std::uint16_t(lineHeight);
            brk->FWidth = std::uint16_t(std::uint16_t(brk->FIndent) + std::uint16_t(lineWidth));
            brk->FParams =
                (brk->FParams & 0xFFFF) | (std::uint32_t(std::uint16_t(lineDescent)) << 16);
            lineTotal = brk->FWidth;
        }
        widest = std::max(widest, lineTotal);
        total += lineHeight;
        ++lines;
        i = j;
    }
    data.FTextSize = {widest, total + data.FLineGap * lines};
}
