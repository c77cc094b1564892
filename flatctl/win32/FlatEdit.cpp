// TCustomFlatEdit: construction, properties, the frame area and its painting, client
// painting through an off-screen bitmap, the caret, height, focus and size.
#include "flatctl/win32/FlatEdit.h"
// after the framework's headers, whose SelectFont its macro would hide
#include <windowsx.h>

#include <algorithm>

#include "flatctl/core/EditCommands.h"
#include "framework/win32/Colors.h"
#include "framework/win32/WinText.h"

namespace {

// GetWindowDC / ReleaseDC: the whole window, frame included.
class WholeWindowDC {
  public:
    explicit WholeWindowDC(HWND wnd) : wnd_(wnd), dc_(GetWindowDC(wnd)) {}
    WholeWindowDC(const WholeWindowDC&) = delete;
    WholeWindowDC& operator=(const WholeWindowDC&) = delete;
    ~WholeWindowDC() {
        if (dc_) ReleaseDC(wnd_, dc_);
    }
    HDC get() const { return dc_; }

  private:
    HWND wnd_;
    HDC dc_;
};

} // namespace

TCustomFlatEdit::TCustomFlatEdit(TComponent* owner) : TThemedControl(owner) {
    FWidth = 200;
    FHeight = 100;
    FColor = clWindow;
    FParentColor = false;
    FCursor = crIBeam;
    SetTabStop(true);
    FControlStyle |= csOpaque;
    SetPainter(CreatePainter());
    Clicks().SetLimits(GetDoubleClickTime(), GetSystemMetrics(SM_CXDOUBLECLK),
                       GetSystemMetrics(SM_CYDOUBLECLK));
    FReadOnlyOptions.OnChange = [this] { InvalidateText(); };
    FToUnicode = reinterpret_cast<TToUnicode>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "ToUnicode")));
    UpdateFontMetrics();
}

TCustomFlatEdit::~TCustomFlatEdit() = default;

std::unique_ptr<TTextPainter> TCustomFlatEdit::CreatePainter() {
    auto painter = std::make_unique<TWinTextPainter>(Font());
    FWinPainter = painter.get();
    return painter;
}

// --- Window creation and the frame area ----------------------------------------------------

bool TCustomFlatEdit::FlatFrameMode() const {
    return FBorderStyle == bsSingle && FFlat && !Themed();
}

void TCustomFlatEdit::CreateParams(TCreateParams& p) {
    TThemedControl::CreateParams(p);
    p.WinClassName = L"LvFlatEdit";
    p.Caption.clear(); // the text lives in the edit's own storage
    p.Style &= ~WS_BORDER;
    p.ExStyle &= ~WS_EX_CLIENTEDGE;
    if (!FlatFrameMode() && FBorderStyle == bsSingle && FCtl3D) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomFlatEdit::CreateHandleDone() {
    UpdateFontMetrics();
    AdjustHeight();
    RECT r;
    GetClientRect(WindowHandle(), &r);
    SetEditRect({r.left, r.top, r.right, r.bottom});
    DrawFrame();
}

void TCustomFlatEdit::NcCalcSize(NCCALCSIZE_PARAMS* params) {
    RECT& r = params->rgrc[0];
    const int cx = GetSystemMetrics(FCtl3D ? SM_CYEDGE : SM_CYBORDER);
    const int cy = GetSystemMetrics(FCtl3D ? SM_CXEDGE : SM_CXBORDER);
    if (FlatFrameMode()) {
        if (FBorderSides & ebsLeft) r.left += cx;
        if (FBorderSides & ebsRight) r.right -= cx;
        if (FBorderSides & ebsTop) r.top += cy;
        if (FBorderSides & ebsBottom) r.bottom -= cy;
    } else if (GetWindowLongPtrW(WindowHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) {
        // The platform's frame: give the edge back on the sides without a frame.
        const int ex = GetSystemMetrics(SM_CXEDGE), ey = GetSystemMetrics(SM_CYEDGE);
        if (!(FBorderSides & ebsLeft)) r.left -= ex;
        if (!(FBorderSides & ebsRight)) r.right += ex;
        if (!(FBorderSides & ebsTop)) r.top -= ey;
        if (!(FBorderSides & ebsBottom)) r.bottom += ey;
    }
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
}

void TCustomFlatEdit::MouseEnter() {
    TThemedControl::MouseEnter();
    if (FFlat && !Focused()) DrawFrame();
}

void TCustomFlatEdit::MouseLeave() {
    if (FFlat && !Focused()) DrawFrame();
    TThemedControl::MouseLeave();
}

void TCustomFlatEdit::DrawFrame() {
    HWND wnd = WindowHandle();
    if (!wnd || Themed() || FBorderStyle != bsSingle) return;
    if (FFlat) {
        // A frame style from outside would fight the flat frame: drop it quietly.
        LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
        LONG_PTR exStyle = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
        if (style & WS_BORDER) SetWindowLongPtrW(wnd, GWL_STYLE, style & ~WS_BORDER);
        if (exStyle & WS_EX_CLIENTEDGE)
            SetWindowLongPtrW(wnd, GWL_EXSTYLE, exStyle & ~WS_EX_CLIENTEDGE);
    }
    RECT wr;
    GetWindowRect(wnd, &wr);
    const RECT r{0, 0, wr.right - wr.left, wr.bottom - wr.top};
    const bool active = Focused() || MouseInside();
    const TFlatBorderType type =
        FFlat ? (active ? FActiveBorderType : FInactiveBorderType) : fbtSunken;
    WholeWindowDC dc(wnd);
    if (!dc.get()) return;
    DrawFlatFrame(dc.get(), r, active ? FLineBorderActiveColor : FLineBorderInactiveColor, FColor,
                  active, Enabled(), FBorderSides, type, FBorderColors);
}

void TCustomFlatEdit::FrameChanged() {
    HWND wnd = WindowHandle();
    if (!wnd) return;
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    DrawFrame();
}

void TCustomFlatEdit::SetFlat(bool v) {
    if (v == FFlat) return;
    FFlat = v;
    RecreateWnd();
}

void TCustomFlatEdit::SetBorderStyle(TBorderStyle v) {
    if (v == FBorderStyle) return;
    FBorderStyle = v;
    RecreateWnd();
}

void TCustomFlatEdit::SetCtl3D(bool v) {
    if (v == FCtl3D) return;
    FCtl3D = v;
    RecreateWnd();
}

void TCustomFlatEdit::SetActiveBorderType(TFlatBorderType v) {
    if (v == FActiveBorderType) return;
    FActiveBorderType = v;
    DrawFrame();
}

void TCustomFlatEdit::SetInactiveBorderType(TFlatBorderType v) {
    if (v == FInactiveBorderType) return;
    FInactiveBorderType = v;
    DrawFrame();
}

void TCustomFlatEdit::SetBorderSides(TBorderSides v) {
    if (v == FBorderSides) return;
    FBorderSides = v;
    FrameChanged();
}

void TCustomFlatEdit::SetFrameColor(TColor& field, TColor v) {
    if (field == v) return;
    field = v;
    DrawFrame();
}

void TCustomFlatEdit::ThemeChanged() {
    TThemedControl::ThemeChanged();
    RecreateWnd();
}

// --- Colours and height ---------------------------------------------------------------------

void TCustomFlatEdit::SetAutoSize(bool v) {
    FAutoSize = v;
    AdjustHeight();
}

void TCustomFlatEdit::AdjustHeight() {
    if (!FAutoSize || Multiline() || !HandleAllocated()) return;
    const int tmHeight = FWinPainter->Metrics().tmHeight;
    const int extra = FCtl3D ? 4 * GetSystemMetrics(SM_CYEDGE) : 6 * GetSystemMetrics(SM_CYBORDER);
    SetHeight(tmHeight + extra);
}

void TCustomFlatEdit::SetUseDisabledColors(bool v) {
    if (v == FUseDisabledColors) return;
    FUseDisabledColors = v;
    InvalidateText();
}

void TCustomFlatEdit::SetDisabledColor(TColor v) {
    FDisabledColor = v;
    InvalidateText();
}

void TCustomFlatEdit::SetDisabledFontColor(TColor v) {
    FDisabledFontColor = v;
    InvalidateText();
}

void TCustomFlatEdit::SetCueBanner(const std::u16string& v) {
    FCueBanner = v;
    InvalidateText();
}

TColor TCustomFlatEdit::BackgroundColor() const {
    if (FUseDisabledColors && !Enabled()) return FDisabledColor;
    if (FReadOnlyOptions.Enabled() && ReadOnly()) return FReadOnlyOptions.BkColor();
    return FColor;
}

TColor TCustomFlatEdit::TextColor() const {
    if (!Enabled()) return FUseDisabledColors ? FDisabledFontColor : TColor(clGrayText);
    if (FReadOnlyOptions.Enabled() && ReadOnly()) return FReadOnlyOptions.TextColor();
    return Font().Color();
}

void TCustomFlatEdit::ColorChanged() {
    InvalidateText();
    DrawFrame();
}

void TCustomFlatEdit::EnabledChanged() {
    if (HWND wnd = WindowHandle()) EnableWindow(wnd, Enabled());
    if (FUseDisabledColors || Themed()) InvalidateText();
}

void TCustomFlatEdit::UpdateFontMetrics() {
    TEXTMETRICW tm = FWinPainter->Metrics();
    FCaretHeight = tm.tmHeight;
    FBoldFont = (Font().Style() & fsBold) != 0;
    SetFontMetrics(Font().Height(), tm.tmAscent, tm.tmDescent);
}

void TCustomFlatEdit::FontChanged() {
    UpdateFontMetrics();
    AdjustHeight();
    if (FHasCaret) {
        DestroyEditCaret();
        CreateEditCaret();
    }
    ScrollCaretIntoView();
    InvalidateText();
    DrawFrame();
}

// --- Caret ------------------------------------------------------------------------------------

void TCustomFlatEdit::CreateEditCaret() {
    HWND wnd = WindowHandle();
    if (!wnd || FHasCaret) return;
    const int width = GetSystemMetrics(SM_CXBORDER) * (FBoldFont ? 2 : 1);
    if (!CreateCaret(wnd, nullptr, width, FCaretHeight)) return;
    FHasCaret = true;
    PlaceCaret();
    ShowCaret(wnd);
}

void TCustomFlatEdit::DestroyEditCaret() {
    if (!FHasCaret) return;
    FHasCaret = false;
    DestroyCaret();
}

void TCustomFlatEdit::PlaceCaret() {
    HWND wnd = WindowHandle();
    if (!wnd || !FHasCaret) return;
    const TPoint p = PosFromCaret(CaretX(), CaretY());
    HideCaret(wnd);
    SetCaretPos(p.X, p.Y);
    ShowCaret(wnd);
}

void TCustomFlatEdit::InvalidateText() {
    HWND wnd = WindowHandle();
    if (!wnd) return;
    const TRect& e = EditRect();
    const RECT r{e.Left, e.Top, e.Right, e.Bottom};
    InvalidateRect(wnd, &r, FALSE);
}

// --- Painting ---------------------------------------------------------------------------------

void TCustomFlatEdit::Paint() {
    HWND wnd = WindowHandle();
    DrawFrame();
    PaintDC pdc(wnd);
    RECT client;
    GetClientRect(wnd, &client);
    RECT area = pdc.PaintRect();
    if (IsRectEmpty(&area)) {
        const TRect& e = EditRect();
        area = {e.Left, e.Top, e.Right, e.Bottom};
    }
    if (FHasCaret) HideCaret(wnd);
    {
        OffscreenBuffer buffer(pdc.get(), client.right, client.bottom);
        FillSolidRect(buffer.get(), client, ColorToRGB(BackgroundColor()));
        ScopedSelect font(buffer.get(), Font().Handle());
        FWinPainter->SetTarget(buffer.get());
        try {
            PaintRows(TextColor(), Focused());
        } catch (...) {
            FWinPainter->SetTarget(nullptr);
            throw;
        }
        FWinPainter->SetTarget(nullptr);
        buffer.Present(area);
    }
    if (!Focused() && TextLength() == 0 && !FCueBanner.empty()) {
        ScopedSelect font(pdc.get(), Font().Handle());
        SetTextColor(pdc.get(), ColorToRGB(FDisabledFontColor));
        SetBkMode(pdc.get(), TRANSPARENT);
        const TRect t = TextRect();
        const RECT clip{t.Left, t.Top, t.Right, t.Bottom};
        ExtTextOutW(pdc.get(), 1, 1, ETO_CLIPPED, &clip, AsWide(FCueBanner),
                    UINT(FCueBanner.size()), nullptr);
    }
    if (FHasCaret) ShowCaret(wnd);
    DrawFrame();
}

// --- Messages: frame, paint, focus, size -------------------------------------------------------

LRESULT TCustomFlatEdit::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    LRESULT result = TextMessage(msg, wParam, lParam, handled);
    if (handled) return result;
    result = KeyMessage(msg, wParam, lParam, handled);
    if (handled) return result;
    switch (msg) {
    case WM_NCCALCSIZE: {
        // Both forms start with the proposed client rectangle.
        LRESULT r = DefaultHandler(msg, wParam, lParam);
        NcCalcSize(reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
        return r;
    }
    case WM_NCPAINT: {
        LRESULT r = DefaultHandler(msg, wParam, lParam);
        DrawFrame();
        return r;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SETFOCUS:
        CreateEditCaret();
        if (AutoSelect()) {
            SelectAll();
            SetLeftChar(0);
        }
        InvalidateText();
        DrawFrame();
        break;
    case WM_KILLFOCUS:
        EndTextDrag();
        DestroyEditCaret();
        InvalidateText();
        DrawFrame();
        break;
    case WM_ENABLE:
        if (wParam && Focused())
            CreateEditCaret();
        else if (!wParam)
            DestroyEditCaret();
        break;
    case WM_SIZE: {
        LRESULT r = TThemedControl::WndProc(msg, wParam, lParam);
        const int oldWidth = EditRect().Width();
        AdjustHeight();
        RECT c;
        GetClientRect(WindowHandle(), &c);
        SetEditRect({c.left, c.top, c.right, c.bottom});
        ScrollCaretIntoView();
        PlaceCaret();
        Reanchor();
        if (c.right > oldWidth || Alignment() != taLeftJustify) InvalidateText();
        DrawFrame();
        return r;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        LRESULT r = TThemedControl::WndProc(msg, wParam, lParam);
        if (Clicks().Press(GetTickCount(), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
            CommandCenter(ecSelectAll, 0, {});
        return r;
    }
    case WM_CAPTURECHANGED:
        if (HWND(lParam) != WindowHandle()) EndTextDrag();
        break;
    case WM_CONTEXTMENU:
        ContextMenu(lParam);
        return 0;
    case WM_COMMAND:
        if (lParam == 0) {
            MenuCommand(LOWORD(wParam));
            return 0;
        }
        break;
    case WM_INPUTLANGCHANGE:
        FInputCharset = UINT(wParam);
        break;
    }
    return TThemedControl::WndProc(msg, wParam, lParam);
}
