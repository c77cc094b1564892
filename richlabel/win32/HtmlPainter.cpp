// Painting the laid-out lines: double buffering, baselines, alignment, run colours and
// fonts, list markers, rules, gaps, pictures, inputs and embedded controls.
#include <algorithm>

#include "framework/win32/Colors.h"
#include "framework/win32/Control.h"
#include "framework/win32/WinText.h"
#include "richlabel/core/HtmlColorAdjust.h"
#include "richlabel/win32/HtmlGdiRender.h"

struct THTMLGdiRender::PaintState {
    HDC dc = nullptr;
    int ox = 0, oy = 0; // drawing origin
    TPoint src;
    TRect R;
    bool useOver = false;
    TColor color = 0, bkColor = 0, selColor = 0, selBkColor = 0;
    bool adjust = false;
    TColor adjustFrom = 0; // plain RGB of the adjustment reference
    TGdiFontCache fonts;
    int x = 0, y = 0;
    int lineHeight = 0, lineDescent = 0, M = 0;

    TColor Adjusted(TColor c) const {
        const TColor rgb = ColorToRGB(c);
        return adjust ? AdjustColorFrom(rgb, adjustFrom) : rgb;
    }
    // Positions relative to the origin, less the scroll offset.
    int DX(int v) const { return v - src.X + ox; }
    int DY(int v) const { return v - src.Y + oy; }
};

void THTMLGdiRender::DrawText(HDC dc, TPoint SrcPoint, TRect R, TColor AdjustFromColor) {
    DrawTextEx(dc, SrcPoint, R, false, 0, 0, 0, 0, AdjustFromColor);
}

void THTMLGdiRender::DrawTextEx(HDC dc, TPoint SrcPoint, TRect R, bool UseOverColors, TColor AColor,
                                TColor ABkColor, TColor ASelColor, TColor ASelBkColor,
                                TColor AAdjustFromColor) {
    if (!FData || !dc) return;
    PaintState ps;
    ps.src = SrcPoint;
    ps.R = R;
    ps.useOver = UseOverColors;
    ps.color = AColor;
    ps.bkColor = ABkColor;
    ps.selColor = ASelColor;
    ps.selBkColor = ASelBkColor;
    ps.adjust = AAdjustFromColor != clNone;
    ps.adjustFrom = ps.adjust ? ColorToRGB(AAdjustFromColor) : 0;
    FData->FRect = R;

    if (!FDoubleBuffered) {
        ps.dc = dc;
        ps.ox = R.Left;
        ps.oy = R.Top;
        ScopedSaveDC save(dc);
        PaintItems(ps);
        return;
    }
    // The destination shows through: its pixels are copied in, drawn over and copied back.
    const int w = R.Width() + 1, h = R.Height() + 1;
    MemoryDC mem(dc);
    BitmapHandle bitmap(CreateCompatibleBitmap(dc, w > 0 ? w : 1, h > 0 ? h : 1));
    ScopedSelect select(mem.get(), bitmap.get());
    BitBlt(mem.get(), 0, 0, w, h, dc, R.Left, R.Top, SRCCOPY);
    SetDCBrushColor(mem.get(), GetDCBrushColor(dc));
    ps.dc = mem.get();
    {
        ScopedSaveDC save(mem.get());
        PaintItems(ps);
    }
    BitBlt(dc, R.Left, R.Top, w, h, mem.get(), 0, 0, SRCCOPY);
}

void THTMLGdiRender::PaintItems(PaintState& ps) {
    SetTextAlign(ps.dc, TA_BASELINE);
    const TItemList& list = FData->FArray;
    bool firstLine = true;
    for (int i = 1; i <= list.Count(); ++i) {
        THTMLItem* item = list.Items(i);
        if (item->IsBreak()) {
            auto* brk = static_cast<THTMLBreakItem*>(item);
            if (!firstLine) ps.y += ps.lineHeight;
            firstLine = false;
            if (ps.y > ps.R.Height() + 1 + ps.src.Y) break;
            ps.lineHeight = brk->FHeight;
            ps.lineDescent = brk->LineDescent();
            ps.M = std::max<int>(brk->FWidth, ps.R.Width() + 1);
            ps.x = LineStartX(*brk, ps.M);
            if (brk->FItemType == hitLI) PaintMarker(ps, *brk);
            continue;
        }
        switch (item->FItemType) {
        case hitChar:
        case hitVar:
            PaintRun(ps, *item);
            break;
        case hitBitmap:
            PaintImage(ps, *item);
            break;
        case hitHR:
            PaintRule(ps, *item);
            break;
        case hitIndent:
            ps.x = (item->FBoolState & bsAbsolute) ? item->FWidth : ps.x + item->FWidth;
            break;
        case hitInput: {
            auto& input = static_cast<THTMLInputItem&>(*item);
            const int top = ps.y + (ps.lineHeight - input.FHeight) / 2;
            RECT box{ps.DX(ps.x), ps.DY(top), ps.DX(ps.x) + input.FWidth,
                     ps.DY(top) + input.FHeight};
            FCheckBoxPainter.Paint(ps.dc, box, input, FData->FActiveItem == &input);
            ps.x += input.FWidth;
            break;
        }
        case hitControl:
            PaintControl(ps, *item);
            break;
        default:
            break;
        }
    }
}

void THTMLGdiRender::PaintRun(PaintState& ps, THTMLItem& item) {
    const bool selected = &item == FData->FSelectedItem;
    TColor bg = item.FontBgColor;
    if (selected)
        bg = ps.useOver ? ps.selBkColor : FData->FHighlightBgColor;
    else if (ps.useOver && item.FFntCnt <= 0)
        bg = ps.bkColor;
    if (bg == clNone) {
        SetBkMode(ps.dc, TRANSPARENT);
    } else {
        SetBkMode(ps.dc, OPAQUE);
        SetBkColor(ps.dc, ColorToRGB(bg));
    }
    TColor color = item.FontColor;
    TFontStyles style = item.FontStyle;
    if (selected) {
        color = ps.useOver ? ps.selColor : FData->FHighlightColor;
    } else {
        if (ps.useOver && item.FFntCnt <= 0) color = ps.color;
        if (item.IsLink()) {
            style = FData->FLinkStyle;
            color = FData->FLinkColor;
        }
    }
    SetTextColor(ps.dc, ps.Adjusted(color));
    SelectObject(ps.dc,
                 ps.fonts.Get({item.FFontRef, item.EffectiveFontHeight(), style, FData->FCharset}));
    int baseline = ps.y + ps.lineHeight - ps.lineDescent;
    if (item.IsSub() || item.IsSuper()) {
        int descent = 0;
        const int h = item.GetHeight(descent);
        baseline += item.IsSub() ? h / 4 : -(h / 2);
    }
    TextOutW(ps.dc, ps.DX(ps.x), ps.DY(baseline), AsWide(item.FText), int(item.FText.size()));
    ps.x += item.FWidth;
}

void THTMLGdiRender::PaintMarker(PaintState& ps, THTMLBreakItem& item) {
    // The marker's size is the average character width of the entry's font; the layout pass
    // has put the line's width into FWidth by now.
    const int s = item.GetWidth();
    const int d = ps.lineDescent;
    const TColor color = ColorToRGB(ps.useOver && item.FFntCnt <= 0 ? ps.color : item.FontColor);
    RECT box{ps.DX(ps.x - s - 1), ps.DY(ps.y + d + (ps.lineHeight - d - s) / 2), ps.DX(ps.x - 1),
             0};
    box.bottom = box.top + s;
    if (item.FListItemN < 1) {
        BrushHandle brush = MakeSolidBrush(color);
        ScopedSelect select(ps.dc, brush.get());
        Ellipse(ps.dc, box.left - 5, box.top, box.right - 5, box.bottom);
        return;
    }
    const std::u16string number = [&] {
        std::u16string s16;
        for (char c : std::to_string(item.FListItemN))
            s16 += char16_t(c);
        return s16 + u".";
    }();
    SelectObject(ps.dc, ps.fonts.Get({item.FFontRef, item.EffectiveFontHeight(), item.FontStyle,
                                      FData->FCharset}));
    SetTextColor(ps.dc, color);
    SetBkMode(ps.dc, TRANSPARENT);
    int baseline = ps.y + ps.lineHeight - ps.lineDescent;
    if (item.IsSub() || item.IsSuper()) {
        int descent = 0;
        const int h = item.GetHeight(descent);
        baseline += item.IsSub() ? h / 4 : -(h / 2);
    }
    TextOutW(ps.dc, ps.DX(ps.x), ps.DY(baseline), AsWide(number), int(number.size()));
    SIZE size{};
    GetTextExtentPoint32W(ps.dc, AsWide(number), int(number.size()), &size);
    ps.x += size.cx;
}

void THTMLGdiRender::PaintImage(PaintState& ps, THTMLItem& item) {
    std::unique_ptr<THTMLPicture> picture = RequestImage(item.FText);
    auto* bitmap = dynamic_cast<THTMLBitmapPicture*>(picture.get());
    if (bitmap && bitmap->Handle()) {
        MemoryDC src(ps.dc);
        ScopedSelect select(src.get(), bitmap->Handle());
        const int gap = FData->FLineGap;
        if (item.FTransparent) {
            // The bottom-left pixel's colour is left undrawn.
            const COLORREF key = GetPixel(src.get(), 0, bitmap->Height() - 1);
            const int w = std::min<int>(item.FWidth, bitmap->Width());
            const int h = std::min<int>(item.FHeight - gap, bitmap->Height());
            if (w > 0 && h > 0)
                TransparentBlt(ps.dc, ps.DX(ps.x), ps.DY(ps.y + gap), w, h, src.get(), 0, 0, w, h,
                               key);
        } else {
            const int bottom = ps.y + ps.lineHeight + gap;
            SetStretchBltMode(ps.dc, COLORONCOLOR);
            StretchBlt(ps.dc, ps.DX(ps.x), ps.DY(bottom - item.FHeight), item.FWidth, item.FHeight,
                       src.get(), 0, 0, bitmap->Width(), bitmap->Height(), SRCCOPY);
        }
    }
    ps.x += item.FWidth + 1;
}

void THTMLGdiRender::PaintRule(PaintState& ps, THTMLItem& item) {
    const int top = ps.DY(ps.y + ps.lineHeight / 2);
    const int left = ps.DX(ps.x);
    const int right = ps.DX(item.FWidth ? ps.x + item.FWidth : ps.M);
    if (right <= left) return;
    const COLORREF shadow = ColorToRGB(clBtnShadow), face = ColorToRGB(clBtnFace);
    FillSolidRect(ps.dc, {left, top, right, top + 1}, shadow);        // top edge
    FillSolidRect(ps.dc, {left, top, left + 1, top + 2}, shadow);     // left edge
    FillSolidRect(ps.dc, {left + 1, top + 1, right, top + 2}, face);  // bottom edge
    FillSolidRect(ps.dc, {right - 1, top + 1, right, top + 2}, face); // right edge
}

void THTMLGdiRender::PaintControl(PaintState& ps, THTMLItem& item) {
    auto& control = static_cast<THTMLControlItem&>(item);
    if (HWND wnd = HWND(control.FControl.get()); wnd && !IsWindowVisible(wnd)) {
        POINT origin = FControl ? FControl->OriginInWindow() : POINT{0, 0};
        const int top = ps.y + (ps.lineHeight - item.FHeight) / 2;
        SetWindowPos(wnd, nullptr, origin.x + ps.R.Left + ps.x - ps.src.X,
                     origin.y + ps.R.Top + top - ps.src.Y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    ps.x += item.FWidth;
}
