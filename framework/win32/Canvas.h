// A drawing surface over a borrowed DC: font selection and the few helpers the controls use.
// The DC's original font is selected back when the canvas goes away.
#pragma once
#include <windows.h>

#include <string>

#include "framework/win32/Colors.h"
#include "framework/win32/Font.h"

class TCanvas {
  public:
    explicit TCanvas(HDC dc) : dc_(dc) {}
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    ~TCanvas() {
        if (oldFont_) SelectObject(dc_, oldFont_);
    }

    HDC Handle() const { return dc_; }

    // Selects the font and sets the text colour from it.
    void SelectFont(const TFont& font) {
        HGDIOBJ prev = SelectObject(dc_, font.Handle());
        if (!oldFont_) oldFont_ = prev;
        SetTextColor(dc_, ColorToRGB(font.Color()));
    }

    void FillRect(const RECT& r, TColor color) { FillSolidRect(dc_, r, ColorToRGB(color)); }

    void TextOut(int x, int y, const std::u16string& s) {
        ::TextOutW(dc_, x, y, reinterpret_cast<const wchar_t*>(s.c_str()), int(s.size()));
    }

    SIZE TextExtent(const std::u16string& s) const {
        SIZE size{};
        GetTextExtentPoint32W(dc_, reinterpret_cast<const wchar_t*>(s.c_str()), int(s.size()),
                              &size);
        return size;
    }

  private:
    HDC dc_;
    HGDIOBJ oldFont_ = nullptr;
};
