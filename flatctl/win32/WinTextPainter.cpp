// TWinTextPainter: GDI measuring and clipped run output for the flat edit.
#include "flatctl/win32/WinTextPainter.h"

#include "framework/win32/Colors.h"

TWinTextPainter::TWinTextPainter(const TFont& font) : FFont(font) {}

void TWinTextPainter::DrawRun(int x, int y, const std::u16string& text, const TRect& clip) {
    if (!FTarget || text.empty()) return;
    HDC dc = FTarget;
    const RECT r{clip.Left, clip.Top, clip.Right, clip.Bottom};
    UINT oldAlign = SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    COLORREF oldColor = SetTextColor(dc, ColorToRGB(Color()));
    bool opaque = BkColor() != clNone;
    int oldMode = SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
    COLORREF oldBk = ::SetBkColor(dc, opaque ? ColorToRGB(BkColor()) : GetBkColor(dc));
    ExtTextOutW(dc, x, y, ETO_CLIPPED, &r, reinterpret_cast<const wchar_t*>(text.data()),
                UINT(text.size()), nullptr);
    ::SetBkColor(dc, oldBk);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
    SetTextAlign(dc, oldAlign);
}

int TWinTextPainter::FitText(const std::u16string& text, int maxWidth, std::vector<int>* extents) {
    if (text.empty() || maxWidth <= 0) return 0;
    return Measure([&](HDC dc) {
        int fit = 0;
        SIZE size{};
        std::vector<int> dx(text.size());
        if (!GetTextExtentExPointW(dc, reinterpret_cast<const wchar_t*>(text.data()),
                                   int(text.size()), maxWidth, &fit, dx.data(), &size))
            return 0;
        if (extents) extents->assign(dx.begin(), dx.begin() + fit);
        return fit;
    });
}

TTextExtent TWinTextPainter::TextSize(const std::u16string& text) {
    return Measure([&](HDC dc) {
        SIZE size{};
        GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()), int(text.size()),
                              &size);
        return TTextExtent{int(size.cx), int(size.cy)};
    });
}

TEXTMETRICW TWinTextPainter::Metrics() {
    return Measure([&](HDC dc) {
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        return tm;
    });
}
