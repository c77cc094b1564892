// The rich-text label: property changes and rebuilds, bounds adjustment, painting in markup
// and plain mode, cursor over links, clicks and link clicks.
#include "richlabel/win32/RichLabel.h"

#include <algorithm>

#include "framework/win32/Canvas.h"
#include "framework/win32/Themes.h"
#include "framework/win32/WinControl.h"
#include "framework/win32/WinText.h"

// ---- TCustomRichLabel -----------------------------------------------------------------------

TCustomRichLabel::TCustomRichLabel(TComponent* owner) : TGraphicControl(owner) {}

void TCustomRichLabel::SetCaption(const std::u16string& v) {
    if (v == FCaption) return;
    FCaption = v;
    CaptionChanged();
    NotifyAccessible(EVENT_OBJECT_NAMECHANGE);
}

void TCustomRichLabel::SetAlignment(TAlignment v) {
    if (v == FAlignment) return;
    FAlignment = v;
    Invalidate();
}

void TCustomRichLabel::SetLayout(TTextLayout v) {
    if (v == FLayout) return;
    FLayout = v;
    Invalidate();
}

void TCustomRichLabel::SetAutoSize(bool v) {
    if (v == FAutoSize) return;
    FAutoSize = v;
    AdjustBounds();
}

void TCustomRichLabel::SetTransparent(bool v) {
    if (v == FTransparent) return;
    FTransparent = v;
    Invalidate();
}

void TCustomRichLabel::SetWordWrap(bool v) {
    if (v == FWordWrap) return;
    FWordWrap = v;
    CaptionChanged();
}

void TCustomRichLabel::SetShowAccelChar(bool v) {
    if (v == FShowAccelChar) return;
    FShowAccelChar = v;
    AdjustBounds();
    Invalidate();
}

void TCustomRichLabel::SetEndEllipsis(bool v) {
    if (v == FEndEllipsis) return;
    FEndEllipsis = v;
    Invalidate();
}

void TCustomRichLabel::SetBorderWidth(int v) {
    v = std::max(0, v);
    if (v == FBorderWidth) return;
    FBorderWidth = v;
    AdjustBounds();
}

void TCustomRichLabel::SetThemeMode(TThemeMode v) {
    if (v == FThemeMode) return;
    FThemeMode = v;
    ThemeChanged();
}

void TCustomRichLabel::SetThemeGlobalMode(bool v) {
    if (v == FThemeGlobalMode) return;
    FThemeGlobalMode = v;
    ThemeChanged();
}

void TCustomRichLabel::Loaded() {
    FLoading = false;
    if (ParentColor()) ParentColorChanged();
}

bool TCustomRichLabel::Themed() const {
    TThemeSettings settings;
    settings.ThemeMode = FThemeMode;
    settings.ThemeGlobalMode = FThemeGlobalMode;
    return IsThemed(settings);
}

bool TCustomRichLabel::DialogChar(char16_t ch) {
    if (!FShowAccelChar || !FFocusControl || !IsAccel(ch, LabelText()) || !FFocusControl->CanFocus())
        return false;
    FFocusControl->SetFocus();
    return true;
}

void TCustomRichLabel::DoDrawText(HDC dc, RECT& r, UINT flags) const {
    if (!Visible()) return;
    std::u16string text = LabelText();
    if ((flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == u"&"))) text += u" ";
    if (!FShowAccelChar) flags |= DT_NOPREFIX;
    flags = DrawTextBiDiModeFlags(flags);
    if (FEndEllipsis) flags |= DT_END_ELLIPSIS;
    ScopedSelect font(dc, Font().Handle());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = GetTextColor(dc);
    if (Enabled() || (flags & DT_CALCRECT)) {
        SetTextColor(dc, ColorToRGB(Font().Color()));
        ::DrawTextW(dc, AsWide(text), int(text.size()), &r, flags);
    } else {
        OffsetRect(&r, 1, 1);
        SetTextColor(dc, ColorToRGB(clBtnHighlight));
        ::DrawTextW(dc, AsWide(text), int(text.size()), &r, flags);
        OffsetRect(&r, -1, -1);
        SetTextColor(dc, ColorToRGB(clBtnShadow));
        ::DrawTextW(dc, AsWide(text), int(text.size()), &r, flags);
    }
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}

void TCustomRichLabel::AdjustBounds() {
    if (!FAutoSize || FLoading) return;
    WindowDC screen(nullptr);
    RECT r = ClientRect();
    UINT flags = DT_CALCRECT | DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0);
    DoDrawText(screen.get(), r, flags);
    const int w = (r.right - r.left) + 2 * FBorderWidth;
    const int h = (r.bottom - r.top) + 2 * FBorderWidth;
    int left = Left();
    if (FAlignment == taRightJustify) left += Width() - w;
    SetBounds(left, Top(), w, h);
}

// ---- TRichLabel -----------------------------------------------------------------------------

TRichLabel::TRichLabel(TComponent* owner)
    : TCustomRichLabel(owner), FRender(std::make_unique<THTMLGdiRender>()) {
    FRender->OnImageNeeded = [this](TObject*, const std::u16string& src,
                                    std::unique_ptr<THTMLPicture>& image) {
        if (OnImageNeeded) OnImageNeeded(this, src, image);
    };
    FRender->OnImageNeededEx = [this](TObject*, const std::u16string& src,
                                      std::unique_ptr<THTMLPicture>& image) {
        if (OnImageNeededEx) OnImageNeededEx(this, src, image);
    };
    FRender->OnVariableNeeded = [this](TObject*, const std::u16string& name,
                                       std::u16string& value) {
        if (OnVariableNeeded) OnVariableNeeded(this, name, value);
    };
    FRender->OnChange = [this](TObject*) { Invalidate(); };
    FRender->SetControl(this);
    FChangeLink.OnChange = [this] { Rebuild(); };
    FChangeLink.OnFree = [this] {
        FContainer = nullptr;
        Rebuild();
    };
}

TRichLabel::~TRichLabel() = default;

void TRichLabel::PopupLinkMenu(POINT screen) {
    if (!FLinkPopupMenu->AutoPopup) return;
    if (GetCapture()) ReleaseCapture();
    FLinkPopupMenu->PopupComponent = this;
    FLinkPopupMenu->Popup(screen.x, screen.y, WindowHandle());
}

void TRichLabel::SetIsHTML(bool v) {
    if (v == FIsHTML) return;
    FIsHTML = v;
    Rebuild();
}

void TRichLabel::SetLinkColor(TColor v) {
    if (v == FLinkColor) return;
    FLinkColor = v;
    if (FIsHTML) Rebuild();
}

void TRichLabel::SetLinkStyle(TFontStyles v) {
    if (v == FLinkStyle) return;
    FLinkStyle = v;
    if (FIsHTML) Rebuild();
}

void TRichLabel::SetContainer(THTMLContainer* v) {
    if (v == FContainer) return;
    FContainer = v;
    FChangeLink.Attach(v);
    Rebuild();
}

void TRichLabel::SetContainerIndex(int v) {
    if (v == FIndex) return;
    FIndex = v;
    if (FContainer) Rebuild();
}

std::u16string TRichLabel::LabelText() const {
    if (FContainer && FIndex >= 0 && FIndex < FContainer->Count())
        return FContainer->Item(FIndex).Caption;
    return FCaption;
}

std::u16string TRichLabel::PlainText() const {
    if (!FIsHTML) return FCaption;
    std::u16string text;
    FRender->AsText(text);
    return text;
}

RECT TRichLabel::TextRect() const {
    if (FIsHTML) {
        const TTextSize& size = FRender->Data()->FTextSize;
        return {0, 0, size.cx, size.cy};
    }
    RECT r{0, 0, 0, 0};
    WindowDC screen(nullptr);
    ScopedSelect font(screen.get(), Font().Handle());
    ::DrawTextW(screen.get(), AsWide(FCaption), int(FCaption.size()), &r,
                FWordWrap ? 0x450 : 0x440);
    return r;
}

void TRichLabel::Rebuild() {
    if (FLoading) return;
    if (FIsHTML) {
        THTMLData& data = *FRender->Data();
        data.FDefaultStyle = Font().Style();
        data.FDefaultFont = Font().Name();
        data.FCharset = Font().Desc().Charset;
        data.FDefaultColor = Font().Color();
        data.FDefaultHeight = Font().Height();
        data.FLinkColor = FLinkColor;
        data.FLinkStyle = FLinkStyle;
        FRender->PrepareText(LabelText(), Width() - 2 * FBorderWidth, FWordWrap);
        const bool guard = FAlreadyInSetBounds;
        FAlreadyInSetBounds = true;
        if (FWordWrap || FAutoSize) AdjustBounds();
        FAlreadyInSetBounds = guard;
    } else if (FAutoSize) {
        AdjustBounds();
    }
    Invalidate();
}

void TRichLabel::AdjustBounds() {
    if (!FAutoSize || FLoading) return;
    if (!FIsHTML) return TCustomRichLabel::AdjustBounds();
    if (FRender->Data()->FTextSize.cx == 0 && !FAlreadyInSetBounds) Rebuild();
    const TTextSize size = FRender->Data()->FTextSize;
    const bool guard = FAlreadyInSetBounds;
    FAlreadyInSetBounds = true;
    SetBounds(Left(), Top(), size.cx + 2 * FBorderWidth, size.cy + 2 * FBorderWidth);
    FAlreadyInSetBounds = guard;
}

void TRichLabel::Loaded() {
    TCustomRichLabel::Loaded();
    Rebuild();
}

void TRichLabel::SetAutoSize(bool v) {
    if (v == FAutoSize) return;
    FAutoSize = v;
    Rebuild();
    if (v && FIsHTML) AdjustBounds();
}

void TRichLabel::SetBorderWidth(int v) {
    TCustomRichLabel::SetBorderWidth(v);
}

void TRichLabel::CaptionChanged() {
    if (FIsHTML)
        Rebuild();
    else
        TCustomRichLabel::CaptionChanged();
}

void TRichLabel::FontChanged() {
    Rebuild();
}

void TRichLabel::EnabledChanged() {
    Rebuild();
}

void TRichLabel::BoundsChanged() {
    if (FIsHTML && FWordWrap && !FAlreadyInSetBounds) Rebuild();
}

RECT TRichLabel::HTMLTextRect() const {
    const RECT client = ClientRect();
    const int cw = client.right - client.left, ch = client.bottom - client.top;
    const int bw = FBorderWidth;
    const TTextSize& size = FRender->Data()->FTextSize;
    const int w = size.cx, h = size.cy;
    const int W = cw - 2 * bw, H = ch - 2 * bw;
    RECT t{bw, bw, cw - bw, ch - bw};
    if (FLayout == tlCenter) {
        t.right = bw + W;
        t.top = bw + std::max(0, H / 2 - h / 2);
        t.bottom = t.top + std::min(h, H);
    } else if (FLayout == tlBottom) {
        t.top = t.bottom - h - 1;
    }
    if (FAlignment == taRightJustify) {
        t.right = cw - bw;
        t.left = t.right - w;
    } else if (FAlignment == taCenter) {
        t.left = (cw - w) / 2;
        t.right = t.left + w;
    }
    return t;
}

void TRichLabel::Paint(TCanvas& canvas) {
    if (FIsHTML)
        PaintHTML(canvas);
    else
        PaintPlain(canvas);
}

void TRichLabel::PaintHTML(TCanvas& canvas) {
    HDC dc = canvas.Handle();
    canvas.SelectFont(Font());
    const RECT client = ClientRect();
    if (Themed() && Parent() && Parent()->HandleAllocated()) {
        // The parent paints its own background into the label's area.
        POINT org{};
        GetViewportOrgEx(dc, &org);
        SetMapMode(dc, MM_ANISOTROPIC);
        SetViewportOrgEx(dc, org.x - Left(), org.y - Top(), nullptr);
        SendMessageW(Parent()->Handle(), WM_ERASEBKGND, WPARAM(dc), 0);
        SetViewportOrgEx(dc, org.x, org.y, nullptr);
        SetMapMode(dc, MM_TEXT);
    } else if (!FTransparent) {
        canvas.FillRect(client, Color());
    }
    SetBkMode(dc, TRANSPARENT);

    const RECT t = HTMLTextRect();
    const int tw = t.right - t.left, th = t.bottom - t.top;
    if (tw <= 0 || th <= 0) return;
    MemoryDC mem(dc);
    BitmapHandle bitmap(CreateCompatibleBitmap(dc, tw, th));
    ScopedSelect select(mem.get(), bitmap.get());
    BitBlt(mem.get(), 0, 0, tw, th, dc, t.left, t.top, SRCCOPY);
    const TRect r{0, 0, tw, th};
    if (Enabled())
        FRender->DrawText(mem.get(), {0, 0}, r, clNone);
    else
        FRender->DrawTextEx(mem.get(), {0, 0}, r, true, clGrayText, clNone, clNone, clNone,
                            clBlack);
    BitBlt(dc, t.left, t.top, tw, th, mem.get(), 0, 0, SRCCOPY);
}

void TRichLabel::PaintPlain(TCanvas& canvas) {
    HDC dc = canvas.Handle();
    const RECT client = ClientRect();
    if (!FTransparent) canvas.FillRect(client, Color());
    SetBkMode(dc, TRANSPARENT);
    RECT r{client.left + FBorderWidth, client.top + FBorderWidth, client.right - FBorderWidth,
           client.bottom - FBorderWidth};
    UINT flags = (FWordWrap ? DT_WORDBREAK : 0) | DT_EXPANDTABS;
    flags |= FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT;
    if (!FShowAccelChar) flags |= DT_NOPREFIX;
    flags = DrawTextBiDiModeFlags(flags);
    if (FLayout != tlTop) {
        RECT m = client;
        DoDrawText(dc, m, flags | DT_CALCRECT);
        const int mh = m.bottom - m.top;
        if (FLayout == tlBottom) {
            r.top = r.bottom - mh;
        } else {
            r.top += (r.bottom - r.top - mh) / 2;
            r.bottom = r.top + mh;
        }
    }
    canvas.SelectFont(Font());
    ::DrawTextW(dc, AsWide(FCaption), int(FCaption.size()), &r, flags);
}

bool TRichLabel::TextPoint(POINT client, TPoint& p, TRect& r) const {
    const RECT t = HTMLTextRect();
    p = {client.x - t.left, client.y - t.top};
    r = {0, 0, t.right - t.left, t.bottom - t.top};
    return PtInRect(&t, client) != FALSE;
}

std::vector<THTMLLink> TRichLabel::Links() {
    if (!FIsHTML) return {};
    const RECT t = HTMLTextRect();
    return HTMLLinks(*FRender, *FRender->Data(), {t.left, t.top, t.right, t.bottom}, {0, 0});
}

bool TRichLabel::LinkAt(POINT client, std::u16string& href) {
    TPoint p;
    TRect r;
    if (TextPoint(client, p, r)) return FRender->IsCursorOverLink(p, {0, 0}, r, href);
    href.clear();
    return false;
}

void TRichLabel::ShowCursor(TCursor c) {
    if (TControl::Cursor() == c) return;
    TControl::SetCursor(c);
    if (HWND wnd = WindowHandle(); wnd && GetCapture() == nullptr) {
        POINT p;
        GetCursorPos(&p);
        if (WindowFromPoint(p) == wnd)
            if (HCURSOR h = CursorHandle(c)) ::SetCursor(h);
    }
}

POINT TRichLabel::ScreenToLabel(POINT screen) const {
    if (HWND wnd = WindowHandle()) ScreenToClient(wnd, &screen);
    const POINT o = OriginInWindow();
    return {screen.x - o.x, screen.y - o.y};
}

void TRichLabel::SetCursor(TCursor v) {
    FCursor = v;
    if (!FIsHTML || !WindowHandle()) return ShowCursor(v);
    POINT p{};
    GetCursorPos(&p);
    std::u16string href;
    ShowCursor(LinkAt(ScreenToLabel(p), href) ? crHandPoint : v);
}

void TRichLabel::MouseMove(TShiftState shift, int x, int y) {
    if (FIsHTML) {
        std::u16string href;
        ShowCursor(LinkAt({x, y}, href) ? crHandPoint : FCursor);
        // Inputs under the mouse light up.
        TPoint p;
        TRect r;
        TextPoint({x, y}, p, r);
        FRender->MouseMoveTransfer(shift, p.X, p.Y, r);
    }
    TGraphicControl::MouseMove(shift, x, y);
}

void TRichLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    FLastMouse = {x, y};
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TRichLabel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    // The release point is the click's position (the click runs inside this call).
    FLastMouse = {x, y};
    TGraphicControl::MouseUp(button, shift, x, y);
}

bool TRichLabel::ContextPopup(POINT screen) {
    // A right-click reaches here too: the platform follows its release with this request.
    const bool keyboard = screen.x == -1 && screen.y == -1;
    std::u16string href;
    if (!FIsHTML || !FLinkPopupMenu || keyboard || !LinkAt(ScreenToLabel(screen), href))
        return TGraphicControl::ContextPopup(screen);
    bool handled = false;
    if (OnContextPopup) OnContextPopup(this, screen, handled);
    if (!handled) PopupLinkMenu(screen);
    return true;
}

void TRichLabel::MouseLeave() {
    ShowCursor(FCursor);
    TGraphicControl::MouseLeave();
}

void TRichLabel::Click() {
    if (!FIsHTML) return TGraphicControl::Click();
    TPoint p;
    TRect r;
    std::u16string href;
    if (TextPoint(FLastMouse, p, r) && FRender->IsCursorOverLink(p, {0, 0}, r, href))
        LinkClick(href);
    else
        FRender->ClickTransfer(p.X, p.Y, r);
}

bool TRichLabel::DialogChar(char16_t ch) {
    return !FIsHTML && TCustomRichLabel::DialogChar(ch);
}

void TRichLabel::LinkClick(const std::u16string& href) {
    if (FCheck && FContainer && FIndex < FContainer->Count()) {
        const int index = FContainer->IndexOf(href);
        if (index >= 0) {
            SetContainerIndex(index);
            return;
        }
    }
    if (OnLinkClick) OnLinkClick(this, href);
}
