// The busy indicator's off-screen surfaces, kept from one paint to the next: the background
// (the indicator's erase, its parents' painting beneath it and its fill), painted again only
// when something it shows may have changed, and the frame, where each paint lays the bullets
// over a copy of the background in the area to repaint before that area goes to the window.
#pragma once
#include <windows.h>

#include <vector>

#include "framework/win32/Gdi.h"
#include "framework/win32/WinControl.h"

// A memory DC holding a bitmap of the screen's kind, made again only for a new size.
class TKeptSurface {
  public:
    // Gives the surface w x h pixels (at least 1 x 1); true when the bitmap was made anew.
    bool Fit(int w, int h);
    HDC DC() const { return FDC.get(); }

  private:
    BitmapHandle FBitmap; // declared first: deleted after the DC it is selected into
    MemoryDCHandle FDC;
    int FWidth = 0;
    int FHeight = 0;
};

// What the background's pixels depend on. A key that is not settled (a parent waits to
// paint, so its look is about to change) matches no other. A change of a system colour
// repaints every window, the parents included.
struct TMarqueeBackgroundKey {
    struct Ancestor {
        HWND Window;
        unsigned PaintCount;
        SIZE Client;
        bool operator==(const Ancestor& o) const {
            return Window == o.Window && PaintCount == o.PaintCount && Client.cx == o.Client.cx &&
                   Client.cy == o.Client.cy;
        }
    };
    HWND Window = nullptr;
    SIZE Client{};
    POINT OriginInTopWindow{}; // where the parents' painting lines up with the indicator's
    std::vector<Ancestor> Ancestors;
    bool Settled = true;
    COLORREF EraseColor = 0;
    bool Transparent = false;
    unsigned FillVersion = 0;

    bool operator==(const TMarqueeBackgroundKey& o) const;
};

// What the background of this control shows now, as far as it can be told without painting.
TMarqueeBackgroundKey BackgroundKeyOf(const TWinControl& control, bool transparent,
                                      unsigned fillVersion);

class TMarqueeFrameBuffers {
  public:
    // Gives both surfaces the client size (a new size forgets the background) and answers
    // whether the background already holds what the key describes.
    bool Fit(int w, int h, const TMarqueeBackgroundKey& key);
    bool HoldsBackground(const TMarqueeBackgroundKey& key) const {
        return FHasBackground && FKey == key;
    }
    HDC Background() const { return FBackground.DC(); }
    // Records that the background now holds what the key describes.
    void BackgroundPainted(TMarqueeBackgroundKey key);
    // Copies the area of the background into the frame and answers the frame's DC. Outside
    // the area the frame may hold anything: only the area goes to the window.
    HDC StartFrame(const RECT& area) const;
    void Present(HDC target, const RECT& area) const;

  private:
    TKeptSurface FBackground;
    TKeptSurface FFrame;
    bool FHasBackground = false;
    TMarqueeBackgroundKey FKey;
};
