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
    HFONT selectedFont = nullptr;

    // Selecting a font costs the platform far more than drawing a word: runs in the font
    // already selected select nothing.
    void SelectFont(const THTMLFont& font) {
        HFONT handle = fonts.Get(font);
        if (handle == selectedFont) return;
        SelectObject(dc, handle);
        selectedFont = handle;
    }

    TColor Adjusted(TColor c) const {
        const TColor rgb = ColorToRGB(c);
        return adjust ? AdjustColorFrom(rgb, adjustFrom) : rgb;
    }
    // Positions relative to the origin, less the scroll offset.
    int DX(int v) const { return v - src.X + ox; }
    int DY(int v) const { return v - src.Y + oy; }
    RECT DRect(const TRect& r) const { return {DX(r.Left), DY(r.Top), DX(r.Right), DY(r.Bottom)}; }
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
    THTMLPlacement walk(*this, *FData, ps.R, ps.src);
    while (walk.Next()) {
        THTMLItem& item = walk.Item();
        switch (item.FItemType) {
        case hitLI:
            PaintMarker(ps, walk, static_cast<THTMLBreakItem&>(item));
            break;
        case hitChar:
        case hitVar:
            PaintRun(ps, walk, item);
            break;
        case hitBitmap:
            PaintImage(ps, walk, item);
            break;
        case hitHR:
            PaintRule(ps, walk, item);
            break;
        case hitInput: {
            const TRect box = walk.Box(item);
            FCheckBoxPainter.Paint(ps.dc, ps.DRect(box), static_cast<THTMLInputItem&>(item),
                                   FData->FActiveItem == &item);
            break;
        }
        case hitControl:
            PaintControl(ps, walk, item);
            break;
        default: // the other line starts and gaps draw nothing
            break;
        }
    }
}

void THTMLGdiRender::PaintRun(PaintState& ps, const THTMLPlacement& walk, THTMLItem& item) {
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
    if (selected) {
        color = ps.useOver ? ps.selColor : FData->FHighlightColor;
    } else {
        if (ps.useOver && item.FFntCnt <= 0) color = ps.color;
        if (item.IsLink()) color = FData->FLinkColor;
    }
    SetTextColor(ps.dc, ps.Adjusted(color));
    ps.SelectFont(THTMLPlacement::RunFont(*FData, item));
    TextOutW(ps.dc, ps.DX(walk.X()), ps.DY(walk.Baseline(item)), AsWide(item.FText),
             int(item.FText.size()));
}

void THTMLGdiRender::PaintMarker(PaintState& ps, const THTMLPlacement& walk, THTMLBreakItem& item) {
    const THTMLLinePlace& line = walk.Line();
    if (item.FListItemN >= 1) {
        // The number: in the font of the last run drawn and the entry's own colour, without
        // the override colours; the walk moves x past it.
        const std::u16string number = THTMLPlacement::MarkerText(item);
        ps.SelectFont(walk.MarkerFont());
        SetTextColor(ps.dc, ColorToRGB(item.FontColor));
        SetBkMode(ps.dc, TRANSPARENT);
        TextOutW(ps.dc, ps.DX(walk.X()), ps.DY(walk.Baseline(item)), AsWide(number),
                 int(number.size()));
        return;
    }
    // The bullet: as wide as the entry font's average character, left of the line start.
    const int s = item.GetWidth();
    const int d = line.Descent;
    const int x = walk.X();
    const TColor color = ColorToRGB(ps.useOver && item.FFntCnt <= 0 ? ps.color : item.FontColor);
    const int top = ps.DY(line.Top + d + (line.Height - d - s) / 2);
    BrushHandle brush = MakeSolidBrush(color);
    ScopedSelect select(ps.dc, brush.get());
    Ellipse(ps.dc, ps.DX(x - s - 1) - 5, top, ps.DX(x - 1) - 5, top + s);
}

void THTMLGdiRender::PaintImage(PaintState& ps, const THTMLPlacement& walk, THTMLItem& item) {
    std::unique_ptr<THTMLPicture> picture = RequestImage(item.FText);
    auto* bitmap = dynamic_cast<THTMLBitmapPicture*>(picture.get());
    if (!bitmap || !bitmap->Handle()) return;
    MemoryDC src(ps.dc);
    ScopedSelect select(src.get(), bitmap->Handle());
    const RECT box = ps.DRect(walk.Box(item));
    if (item.FTransparent) {
        // The bottom-left pixel's colour is left undrawn.
        const COLORREF key = GetPixel(src.get(), 0, bitmap->Height() - 1);
        const int w = std::min<int>(box.right - box.left, bitmap->Width());
        const int h = std::min<int>(box.bottom - box.top, bitmap->Height());
        if (w > 0 && h > 0)
            TransparentBlt(ps.dc, box.left, box.top, w, h, src.get(), 0, 0, w, h, key);
    } else {
        SetStretchBltMode(ps.dc, COLORONCOLOR);
        StretchBlt(ps.dc, box.left, box.top, item.FWidth, item.FHeight, src.get(), 0, 0,
                   bitmap->Width(), bitmap->Height(), SRCCOPY);
    }
}

void THTMLGdiRender::PaintRule(PaintState& ps, const THTMLPlacement& walk, THTMLItem& item) {
    const THTMLLinePlace& line = walk.Line();
    const int top = ps.DY(line.Top + line.Height / 2);
    const int left = ps.DX(walk.X());
    const int right = ps.DX(item.FWidth ? walk.X() + item.FWidth : line.M);
    if (right <= left) return;
    const COLORREF shadow = ColorToRGB(clBtnShadow), face = ColorToRGB(clBtnFace);
    FillSolidRect(ps.dc, {left, top, right, top + 1}, shadow);        // top edge
    FillSolidRect(ps.dc, {left, top, left + 1, top + 2}, shadow);     // left edge
    FillSolidRect(ps.dc, {left + 1, top + 1, right, top + 2}, face);  // bottom edge
    FillSolidRect(ps.dc, {right - 1, top + 1, right, top + 2}, face); // right edge
}

void THTMLGdiRender::PaintControl(PaintState& ps, const THTMLPlacement& walk, THTMLItem& item) {
    auto& control = static_cast<THTMLControlItem&>(item);
    HWND wnd = HWND(control.FControl.get());
    if (!wnd || IsWindowVisible(wnd)) return;
    POINT origin = FControl ? FControl->OriginInWindow() : POINT{0, 0};
    const TRect box = walk.Box(item);
    SetWindowPos(wnd, nullptr, origin.x + ps.R.Left + box.Left - ps.src.X,
                 origin.y + ps.R.Top + box.Top - ps.src.Y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}
