// What assistive technology is told about a window's controls, as portable rules: the order
// in which sibling controls are read, the label that names a field, and a text as it is read
// out (one line, no accelerator marks).
#pragma once
#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Accelerator.h"
#include "framework/core/Geometry.h"

// The order in which a screen reader meets sibling controls: row by row from the top, left
// to right within a row. Two controls share a row when the vertical centre of each lies
// within the other's height (a label and the field beside it); a tall control that merely
// spans other rows (a panel over several steps) starts a row of its own at its top.
// Answers indices into `bounds`; ties keep the given order.
inline std::vector<std::size_t> ReadingOrder(const std::vector<TRect>& bounds) {
    std::vector<std::size_t> byTop(bounds.size());
    for (std::size_t i = 0; i < byTop.size(); ++i)
        byTop[i] = i;
    std::stable_sort(byTop.begin(), byTop.end(), [&](std::size_t a, std::size_t b) {
        const TRect &ra = bounds[a], &rb = bounds[b];
        return ra.Top != rb.Top ? ra.Top < rb.Top : ra.Left < rb.Left;
    });
    auto centreWithin = [](const TRect& inner, const TRect& outer) {
        const int twiceCentre = inner.Top + inner.Bottom;
        return twiceCentre >= 2 * outer.Top && twiceCentre < 2 * outer.Bottom;
    };
    std::vector<std::size_t> order;
    std::size_t rowStart = 0;
    for (std::size_t i = 0; i < byTop.size(); ++i) {
        const TRect& first = bounds[byTop[rowStart]];
        const TRect& next = bounds[byTop[i]];
        const bool sameRow = i > rowStart && centreWithin(next, first) && centreWithin(first, next);
        if (!sameRow) rowStart = i;
        order.push_back(byTop[i]);
        if (!sameRow) continue;
        // Keep the row sorted left to right as it grows.
        auto row = order.end() - std::ptrdiff_t(i - rowStart + 1);
        std::stable_sort(row, order.end(), [&](std::size_t a, std::size_t b) {
            return bounds[a].Left < bounds[b].Left;
        });
    }
    return order;
}

// A sibling as far as naming goes: whether it is a text label, and which sibling the label
// is bound to (its focus control), if any.
struct TNamingSibling {
    bool IsLabel = false;
    int LabelFor = -1; // index of the sibling this label is bound to, or -1
};

// The label that names the sibling at `index`: a label bound to it, else an unbound label
// read directly before it (`order` is the reading order of `siblings`). -1 when none does.
inline int NamingLabel(const std::vector<TNamingSibling>& siblings,
                       const std::vector<std::size_t>& order, std::size_t index) {
    for (std::size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].IsLabel && siblings[i].LabelFor == int(index)) return int(i);
    auto at = std::find(order.begin(), order.end(), index);
    if (at == order.begin() || at == order.end()) return -1;
    const std::size_t before = *std::prev(at);
    return siblings[before].IsLabel && siblings[before].LabelFor < 0 ? int(before) : -1;
}

// A text as assistive technology reads it: line breaks, tabs and runs of spaces become one
// space, with none at either end.
inline std::u16string SpokenText(std::u16string_view text) {
    std::u16string spoken;
    bool gap = false;
    for (char16_t c : text) {
        if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n') {
            gap = !spoken.empty();
            continue;
        }
        if (gap) spoken += u' ';
        gap = false;
        spoken += c;
    }
    return spoken;
}

// A caption as it is read: without its accelerator marks when it has them, on one line.
inline std::u16string SpokenCaption(std::u16string_view caption, bool accelerators) {
    return SpokenText(accelerators ? WithoutAcceleratorMarks(caption) : std::u16string(caption));
}
