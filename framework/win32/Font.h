// A font object: a font description plus the HFONT made from it, owned and remade on change.
#pragma once
#include <windows.h>

#include "framework/core/FontDesc.h"
#include "framework/core/Object.h"
#include "framework/win32/Gdi.h"

class TFont : public TObject {
  public:
    TFont() = default;
    explicit TFont(const TFontDesc& desc) : desc_(desc) {}

    const TFontDesc& Desc() const { return desc_; }
    void Assign(const TFontDesc& desc);
    void Assign(const TFont& other) { Assign(other.desc_); }

    const std::u16string& Name() const { return desc_.Name; }
    int Height() const { return desc_.Height; }
    TFontStyles Style() const { return desc_.Style; }
    TColor Color() const { return desc_.Color; }
    void SetName(const std::u16string& v);
    void SetHeight(int v);
    void SetStyle(TFontStyles v);
    void SetColor(TColor v);

    // The GDI font for the description, made on first use and kept until the next change.
    HFONT Handle() const;

    TNotifyEvent OnChange;

  private:
    void Changed();

    TFontDesc desc_;
    mutable FontHandle handle_;
};

// Makes a GDI font for a description (the caller owns it).
FontHandle CreateFontFromDesc(const TFontDesc& desc);
