// RAII owners and scoped guards for GDI handles: every object is deleted, every selection
// restored and every DC released, on every path.
#pragma once
#include <windows.h>

#include "framework/win32/UniqueHandle.h"

using FontHandle = GdiObject<HFONT>;
using BrushHandle = GdiObject<HBRUSH>;
using PenHandle = GdiObject<HPEN>;
using BitmapHandle = GdiObject<HBITMAP>;
using RegionHandle = GdiObject<HRGN>;

// Selects an object into a DC and puts the previous one back on scope exit.
class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect() {
        if (old_) SelectObject(dc_, old_);
    }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// Saves the whole DC state (clip, origin, objects, modes) and restores it on scope exit.
class ScopedSaveDC {
  public:
    explicit ScopedSaveDC(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
    ScopedSaveDC(const ScopedSaveDC&) = delete;
    ScopedSaveDC& operator=(const ScopedSaveDC&) = delete;
    ~ScopedSaveDC() { RestoreDC(dc_, id_); }

  private:
    HDC dc_;
    int id_;
};

// GetDC / ReleaseDC of a window (or the screen for nullptr).
class WindowDC {
  public:
    explicit WindowDC(HWND wnd) : wnd_(wnd), dc_(GetDC(wnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_) ReleaseDC(wnd_, dc_);
    }
    HDC get() const { return dc_; }

  private:
    HWND wnd_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDC {
  public:
    explicit PaintDC(HWND wnd) : wnd_(wnd) { dc_ = BeginPaint(wnd, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { EndPaint(wnd_, &ps_); }
    HDC get() const { return dc_; }
    const RECT& PaintRect() const { return ps_.rcPaint; }

  private:
    HWND wnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// A memory DC compatible with another DC; deleted on scope exit.
class MemoryDC : public MemoryDCHandle {
  public:
    explicit MemoryDC(HDC compatibleWith) : MemoryDCHandle(CreateCompatibleDC(compatibleWith)) {}
};

// Off-screen drawing surface: a memory DC with a compatible bitmap of the given size
// selected into it. Present() copies a rectangle of it to the target DC.
class OffscreenBuffer {
  public:
    OffscreenBuffer(HDC target, int width, int height)
        : target_(target), mem_(target),
          bitmap_(CreateCompatibleBitmap(target, width > 0 ? width : 1, height > 0 ? height : 1)),
          select_(mem_.get(), bitmap_.get()) {}
    HDC get() const { return mem_.get(); }
    void Present(const RECT& r) const {
        BitBlt(target_, r.left, r.top, r.right - r.left, r.bottom - r.top, mem_.get(), r.left,
               r.top, SRCCOPY);
    }

  private:
    HDC target_;
    MemoryDC mem_;
    BitmapHandle bitmap_;
    ScopedSelect select_;
};

// A solid brush made and deleted in one scope.
inline BrushHandle MakeSolidBrush(COLORREF rgb) {
    return BrushHandle(CreateSolidBrush(rgb));
}

inline void FillSolidRect(HDC dc, const RECT& r, COLORREF rgb) {
    BrushHandle brush = MakeSolidBrush(rgb);
    FillRect(dc, &r, brush.get());
}
