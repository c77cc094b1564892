// TButton (system BUTTON class, clicks from BN_CLICKED) and TLabel (DrawTextW).
#include "framework/win32/StdCtrls.h"

#include "framework/core/Accelerator.h"
#include "framework/win32/WinText.h"

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    // The system button reports its own clicks (BN_CLICKED, keyboard included).
    FControlStyle &= ~csClickEvents;
    SetTabStop(true);
    FWidth = 75;
    FHeight = 25;
}

void TButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.SysClassName = L"BUTTON";
    p.Style &= ~WS_CLIPCHILDREN;
    p.Style |= Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CommandNotify(WORD code) {
    if (code == BN_CLICKED) Click();
}

bool TButton::DialogChar(char16_t ch) {
    if (!IsAccel(ch, Caption()) || !CanFocus()) return false;
    SendMessageW(Handle(), BM_CLICK, 0, 0);
    return true;
}

LRESULT TButton::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYDOWN && wParam == VK_ESCAPE && Cancel && CanFocus()) {
        SendMessageW(Handle(), BM_CLICK, 0, 0);
        return 0;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    FWidth = 65;
    FHeight = 17;
}

void TLabel::SetCaption(const std::u16string& caption) {
    if (caption == FCaption) return;
    FCaption = caption;
    AdjustSize();
    Invalidate();
    NotifyAccessible(EVENT_OBJECT_NAMECHANGE);
}

void TLabel::SetAlignment(TAlignment v) {
    if (v == FAlignment) return;
    FAlignment = v;
    Invalidate();
}

void TLabel::SetAutoSize(bool v) {
    FAutoSize = v;
    AdjustSize();
}

void TLabel::SetTransparent(bool v) {
    if (v == FTransparent) return;
    FTransparent = v;
    Invalidate();
}

void TLabel::SetWordWrap(bool v) {
    if (v == FWordWrap) return;
    FWordWrap = v;
    AdjustSize();
    Invalidate();
}

void TLabel::FontChanged() {
    AdjustSize();
    Invalidate();
}

void TLabel::SetShowAccelChar(bool v) {
    if (v == FShowAccelChar) return;
    FShowAccelChar = v;
    AdjustSize();
    Invalidate();
}

bool TLabel::DialogChar(char16_t ch) {
    if (!FShowAccelChar || !FFocusControl || !IsAccel(ch, FCaption) || !FFocusControl->CanFocus())
        return false;
    FFocusControl->SetFocus();
    return true;
}

UINT TLabel::DrawFlags() const {
    UINT flags = DT_EXPANDTABS;
    if (!FShowAccelChar) flags |= DT_NOPREFIX;
    if (FWordWrap) flags |= DT_WORDBREAK;
    if (FAlignment == taRightJustify) flags |= DT_RIGHT;
    if (FAlignment == taCenter) flags |= DT_CENTER;
    return flags;
}

void TLabel::AdjustSize() {
    if (!FAutoSize) return;
    WindowDC screen(nullptr);
    ScopedSelect font(screen.get(), FFont.Handle());
    RECT r{0, 0, FWordWrap ? FWidth : 0, 0};
    DrawTextW(screen.get(), FCaption.empty() ? L" " : AsWide(FCaption), -1, &r,
              DrawFlags() | DT_CALCRECT);
    SetBounds(FLeft, FTop, FWordWrap ? FWidth : r.right, r.bottom);
}

void TLabel::Paint(TCanvas& canvas) {
    HDC dc = canvas.Handle();
    RECT r = ClientRect();
    if (!FTransparent) canvas.FillRect(r, FColor);
    canvas.SelectFont(FFont);
    SetBkMode(dc, TRANSPARENT);
    if (!FEnabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    UINT flags = DrawTextBiDiModeFlags(DrawFlags());
    std::u16string text = FCaption;
    if (FShowAccelChar && AcceleratorsHidden()) {
        // The marks go before drawing (this Wine's DrawTextW ignores DT_HIDEPREFIX).
        text = WithoutAcceleratorMarks(FCaption);
        flags |= DT_NOPREFIX;
    }
    DrawTextW(dc, AsWide(text), int(text.size()), &r, flags);
}
