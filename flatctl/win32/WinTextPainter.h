// TWinTextPainter: the edit's text painter over GDI: runs drawn with ExtTextOutW, fit counts
// and extents from GetTextExtentExPointW, sizes from GetTextExtentPoint32W.
#pragma once
#include <windows.h>

#include "flatctl/core/TextPainter.h"
#include "framework/win32/Font.h"
#include "framework/win32/Gdi.h"

class TWinTextPainter : public TTextPainter {
  public:
    // Measures and draws in `font` (the edit's font object, which outlives the painter).
    explicit TWinTextPainter(const TFont& font);

    // While a paint runs, runs go to `dc` (its font already selected); nullptr ends it.
    void SetTarget(HDC dc) { FTarget = dc; }

    void DrawRun(int x, int y, const std::u16string& text, const TRect& clip) override;
    int FitText(const std::u16string& text, int maxWidth, std::vector<int>* extents) override;
    TTextExtent TextSize(const std::u16string& text) override;
    // The font's metrics (tmHeight, ascent, descent, weight).
    TEXTMETRICW Metrics();

  private:
    // Runs `f(dc)` on the paint target, or on the measuring DC with the font selected.
    template <class F> auto Measure(F f) {
        if (FTarget) return f(FTarget);
        ScopedSelect font(FMeasureDC.get(), FFont.Handle());
        return f(FMeasureDC.get());
    }

    const TFont& FFont;
    MemoryDC FMeasureDC{nullptr};
    HDC FTarget = nullptr;
};
