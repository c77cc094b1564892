// The busy indicator's kept background and frame surfaces, and what the background depends on.
#include "marquee/win32/MarqueeFrameBuffers.h"

#include <utility>

#include "framework/win32/Colors.h"

namespace {

void CopyArea(HDC to, HDC from, const RECT& r) {
    BitBlt(to, r.left, r.top, r.right - r.left, r.bottom - r.top, from, r.left, r.top, SRCCOPY);
}

} // namespace

bool TKeptSurface::Fit(int w, int h) {
    w = w > 0 ? w : 1;
    h = h > 0 ? h : 1;
    if (FBitmap && w == FWidth && h == FHeight) return false;
    if (!FDC) FDC.reset(CreateCompatibleDC(nullptr));
    WindowDC screen(nullptr);
    BitmapHandle bitmap(CreateCompatibleBitmap(screen.get(), w, h));
    SelectObject(FDC.get(), bitmap.get()); // the old bitmap, if any, is free to go now
    FBitmap = std::move(bitmap);
    FWidth = w;
    FHeight = h;
    return true;
}

bool TMarqueeBackgroundKey::operator==(const TMarqueeBackgroundKey& o) const {
    return Settled && o.Settled && Window == o.Window && Client.cx == o.Client.cx &&
           Client.cy == o.Client.cy && OriginInTopWindow.x == o.OriginInTopWindow.x &&
           OriginInTopWindow.y == o.OriginInTopWindow.y && Ancestors == o.Ancestors &&
           EraseColor == o.EraseColor && Transparent == o.Transparent &&
           FillVersion == o.FillVersion;
}

TMarqueeBackgroundKey BackgroundKeyOf(const TWinControl& control, bool transparent,
                                      unsigned fillVersion) {
    TMarqueeBackgroundKey key;
    HWND wnd = control.WindowHandle();
    key.Window = wnd;
    RECT r;
    GetClientRect(wnd, &r);
    key.Client = {r.right, r.bottom};
    // The parents' painting beneath: each parent's look changes only with a paint of its
    // own (its windowless children and its parent included, since every change invalidates
    // the window) or with its size; a pending paint means a change is on its way.
    HWND top = wnd;
    for (const TWinControl* p = control.Parent(); p && p->HandleAllocated(); p = p->Parent()) {
        HWND parent = p->WindowHandle();
        GetClientRect(parent, &r);
        key.Ancestors.push_back({parent, p->PaintCount(), {r.right, r.bottom}});
        if (GetUpdateRect(parent, nullptr, FALSE)) key.Settled = false;
        top = parent;
    }
    POINT origin{0, 0};
    MapWindowPoints(wnd, top, &origin, 1);
    key.OriginInTopWindow = origin;
    key.EraseColor = ColorToRGB(control.Color());
    key.Transparent = transparent;
    key.FillVersion = fillVersion;
    return key;
}

bool TMarqueeFrameBuffers::Fit(int w, int h, const TMarqueeBackgroundKey& key) {
    const bool resized = FBackground.Fit(w, h);
    FFrame.Fit(w, h);
    if (resized) FHasBackground = false;
    return HoldsBackground(key);
}

void TMarqueeFrameBuffers::BackgroundPainted(TMarqueeBackgroundKey key) {
    FKey = std::move(key);
    FHasBackground = true;
}

HDC TMarqueeFrameBuffers::StartFrame(const RECT& area) const {
    CopyArea(FFrame.DC(), FBackground.DC(), area);
    return FFrame.DC();
}

void TMarqueeFrameBuffers::Present(HDC target, const RECT& area) const {
    CopyArea(target, FFrame.DC(), area);
}
