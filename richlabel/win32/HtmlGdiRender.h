// The markup renderer on GDI: measuring on its own memory DC, painting the laid-out lines
// onto a DC (double buffered), bitmap pictures, check box painting and embedded controls.
#pragma once
#include <windows.h>

#include "framework/win32/Gdi.h"
#include "richlabel/core/HtmlPlacement.h"
#include "richlabel/core/HtmlRender.h"
#include "richlabel/win32/GdiFontCache.h"

class TControl;

// A bitmap handed in by the image callbacks; the picture owns it.
class THTMLBitmapPicture : public THTMLPicture {
  public:
    explicit THTMLBitmapPicture(HBITMAP bitmap);
    HBITMAP Handle() const { return FBitmap.get(); }
    int Width() const override { return FSize.cx; }
    int Height() const override { return FSize.cy; }

  private:
    BitmapHandle FBitmap;
    SIZE FSize{};
};

// The look of check boxes and radio buttons in markup.
class THTMLCheckBoxPainter {
  public:
    void Paint(HDC dc, const RECT& box, const THTMLInputItem& item, bool hot) const;
};

class THTMLGdiRender : public THTMLRender, private THTMLMeasurer {
  public:
    THTMLGdiRender();
    ~THTMLGdiRender() override;
    THTMLGdiRender(const THTMLGdiRender&) = delete;
    THTMLGdiRender& operator=(const THTMLGdiRender&) = delete;

    // Measures from now on on a memory DC compatible with `dc` (a null DC is ignored).
    void SetDC(HDC dc);
    HDC MeasureDC() const { return FCanvas.get(); }

    // Draws the current data's lines into R of `dc`, scrolled by SrcPoint.
    void DrawText(HDC dc, TPoint SrcPoint, TRect R, TColor AdjustFromColor);
    void DrawTextEx(HDC dc, TPoint SrcPoint, TRect R, bool UseOverColors, TColor AColor,
                    TColor ABkColor, TColor ASelColor, TColor ASelBkColor, TColor AAdjustFromColor);

    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool v) { FDoubleBuffered = v; }
    // The control whose messages reach the renderer and on whose window embedded controls
    // are shown.
    TControl* Control() const { return FControl; }
    void SetControl(TControl* c) { FControl = c; }

  private:
    int TextWidth(const THTMLFont& font, const std::u16string& text) override;
    THTMLFontMetrics Metrics(const THTMLFont& font) override;
    int PixelsPerInchY() override;
    void SelectMeasureFont(const THTMLFont& font);
    void ReleaseMeasureFont();
    TTextSize CreateEmbeddedControl(THTMLControlItem& item);

    struct PaintState;
    void PaintItems(PaintState& ps);
    void PaintRun(PaintState& ps, const THTMLPlacement& walk, THTMLItem& item);
    void PaintMarker(PaintState& ps, const THTMLPlacement& walk, THTMLBreakItem& item);
    void PaintImage(PaintState& ps, const THTMLPlacement& walk, THTMLItem& item);
    void PaintRule(PaintState& ps, const THTMLPlacement& walk, THTMLItem& item);
    void PaintControl(PaintState& ps, const THTMLPlacement& walk, THTMLItem& item);

    MemoryDCHandle FCanvas;          // measuring memory DC
    BitmapHandle FBitmap;            // its 1 x 1 bitmap
    HGDIOBJ FSaveObj = nullptr;      // what the DC held before the bitmap
    HGDIOBJ FSaveFont = nullptr;     // the DC's font before a measuring font was selected
    HFONT FMeasureFont = nullptr;    // the cached font now selected into the DC, if any
    TGdiFontCache FMeasureFonts{32}; // released from the DC before it may be trimmed
    bool FDoubleBuffered = true;
    TControl* FControl = nullptr;
    THTMLCheckBoxPainter FCheckBoxPainter;
};
