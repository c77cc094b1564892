// TFont: keeps the HFONT in step with the description.
#include "framework/win32/Font.h"

#include "framework/win32/WinText.h"

FontHandle CreateFontFromDesc(const TFontDesc& d) {
    LOGFONTW lf{};
    lf.lfHeight = d.Height;
    lf.lfWeight = (d.Style & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (d.Style & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (d.Style & fsUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = (d.Style & fsStrikeOut) ? TRUE : FALSE;
    lf.lfCharSet = d.Charset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynW(lf.lfFaceName, AsWide(d.Name), LF_FACESIZE);
    return FontHandle(CreateFontIndirectW(&lf));
}

void TFont::Assign(const TFontDesc& desc) {
    if (desc == desc_) return;
    desc_ = desc;
    Changed();
}

void TFont::SetName(const std::u16string& v) {
    if (v == desc_.Name) return;
    desc_.Name = v;
    Changed();
}

void TFont::SetHeight(int v) {
    if (v == desc_.Height) return;
    desc_.Height = v;
    Changed();
}

void TFont::SetStyle(TFontStyles v) {
    if (v == desc_.Style) return;
    desc_.Style = v;
    Changed();
}

void TFont::SetColor(TColor v) {
    if (v == desc_.Color) return;
    desc_.Color = v;
    Changed();
}

HFONT TFont::Handle() const {
    if (!handle_) handle_ = CreateFontFromDesc(desc_);
    return handle_.get();
}

void TFont::Changed() {
    handle_.reset();
    if (OnChange) OnChange(this);
}
