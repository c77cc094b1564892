// THTMLPlacement: the walk over laid-out lines that painting and hit testing share.
#include "richlabel/core/HtmlPlacement.h"

#include <algorithm>
#include <cstdlib>

#include "richlabel/core/HtmlRender.h"

THTMLPlacement::THTMLPlacement(THTMLRender& Render, THTMLData& Data, TRect R, TPoint SrcPoint)
    : FRender(Render), FData(Data), FR(R), FSrc(SrcPoint) {}

bool THTMLPlacement::Next() {
    if (FDone) return false;
    if (FItem) Advance();
    const TItemList& list = FData.FArray;
    if (FIndex >= list.Count()) {
        FDone = true;
        return false;
    }
    FItem = list.Items(++FIndex);
    if (!FItem->IsBreak()) return true;
    auto* brk = static_cast<THTMLBreakItem*>(FItem);
    const int top = FLine.Break ? FLine.Top + FLine.Height : 0;
    if (top > FR.Height() + 1 + FSrc.Y) {
        FDone = true;
        return false;
    }
    FLine = {brk, top, brk->FHeight, brk->LineDescent(),
             std::max<int>(brk->FWidth, FR.Width() + 1)};
    FX = THTMLRender::LineStartX(*brk, FLine.M);
    return true;
}

void THTMLPlacement::Advance() {
    THTMLItem& item = *FItem;
    switch (item.FItemType) {
    case hitChar:
    case hitVar:
        FLastRun = &item;
        FX += item.FWidth;
        break;
    case hitBitmap:
        FX += item.FWidth + 1;
        break;
    case hitIndent:
        FX = (item.FBoolState & bsAbsolute) ? item.FWidth : FX + item.FWidth;
        break;
    case hitInput:
    case hitControl:
        FX += item.FWidth;
        break;
    case hitLI: {
        const auto& entry = static_cast<const THTMLBreakItem&>(item);
        if (entry.FListItemN >= 1) FX += FRender.MeasureText(MarkerFont(), MarkerText(entry));
        break;
    }
    default: // rules and the other line starts keep x
        break;
    }
}

int THTMLPlacement::Baseline(THTMLItem& item) const {
    int baseline = FLine.Top + FLine.Height - FLine.Descent;
    if (item.IsSub() || item.IsSuper()) {
        int descent = 0;
        const int h = item.GetHeight(descent);
        baseline += item.IsSub() ? h / 4 : -(h / 2);
    }
    return baseline;
}

TRect THTMLPlacement::Box(THTMLItem& item) const {
    const int gap = FData.FLineGap;
    const int lineBottom = FLine.Top + FLine.Height;
    int top = lineBottom - item.FHeight, bottom = lineBottom;
    switch (item.FItemType) {
    case hitChar:
    case hitVar: {
        // The text cell around the baseline the run is drawn on.
        const THTMLFontMetrics m = FRender.MeasureFont(
            {item.FFontRef, item.EffectiveFontHeight(), item.FontStyle, FData.FCharset});
        const int baseline = Baseline(item);
        top = baseline - (std::abs(m.Height) + gap - m.Descent);
        bottom = baseline + m.Descent;
        break;
    }
    case hitBitmap:
        // A transparent picture hangs from the line's top, any other stands on its bottom.
        if (item.FTransparent) {
            top = FLine.Top + gap;
            bottom = FLine.Top + item.FHeight;
        } else {
            top = lineBottom + gap - item.FHeight;
            bottom = lineBottom + gap;
        }
        break;
    case hitInput:
    case hitControl:
        top = FLine.Top + (FLine.Height - item.FHeight) / 2;
        bottom = top + item.FHeight;
        break;
    default:
        break;
    }
    return {FX, top, FX + item.FWidth, bottom};
}

TRect THTMLPlacement::HitBox(THTMLItem& item) const {
    TRect box = Box(item);
    box.Top = std::max(box.Top, FLine.Top);
    box.Bottom = std::min(box.Bottom, FLine.Top + FLine.Height);
    return box;
}

THTMLFont THTMLPlacement::MarkerFont() const {
    if (FLastRun) return RunFont(FData, *FLastRun);
    return {FData.FDefaultFont, FData.FDefaultHeight, FData.FDefaultStyle, FData.FCharset};
}

std::u16string THTMLPlacement::MarkerText(const THTMLBreakItem& entry) {
    std::u16string text;
    for (char c : std::to_string(entry.FListItemN))
        text += char16_t(c);
    return text + u".";
}

THTMLFont THTMLPlacement::RunFont(const THTMLData& data, const THTMLItem& item) {
    const bool linkStyle = item.IsLink() && &item != data.FSelectedItem;
    return {item.FFontRef, item.EffectiveFontHeight(), linkStyle ? data.FLinkStyle : item.FontStyle,
            data.FCharset};
}
