// THTMLGdiRender: the measuring DC, pictures and embedded controls.
#include "richlabel/win32/HtmlGdiRender.h"

#include "framework/win32/Control.h"
#include "framework/win32/WinText.h"

THTMLBitmapPicture::THTMLBitmapPicture(HBITMAP bitmap) : FBitmap(bitmap) {
    BITMAP info{};
    if (bitmap && GetObjectW(bitmap, sizeof(info), &info)) FSize = {info.bmWidth, info.bmHeight};
}

THTMLGdiRender::THTMLGdiRender() {
    SetMeasurer(this);
    WindowDC screen(nullptr);
    FCanvas.reset(CreateCompatibleDC(screen.get()));
    FBitmap.reset(CreateCompatibleBitmap(screen.get(), 1, 1));
    FSaveObj = SelectObject(FCanvas.get(), FBitmap.get());
    FControlHook = [this](THTMLControlItem& item) { return CreateEmbeddedControl(item); };
}

THTMLGdiRender::~THTMLGdiRender() {
    // Items (and the controls they made) go before the DC they were measured on.
    if (Data()) Data()->ClearArray();
    ReleaseMeasureFont();
    if (FCanvas) SelectObject(FCanvas.get(), FSaveObj);
}

void THTMLGdiRender::SetDC(HDC dc) {
    if (!dc) return;
    ReleaseMeasureFont();
    SelectObject(FCanvas.get(), FSaveObj);
    FCanvas.reset();
    FBitmap.reset();
    FCanvas.reset(CreateCompatibleDC(dc));
    FBitmap.reset(CreateCompatibleBitmap(dc, 1, 1));
    FSaveObj = SelectObject(FCanvas.get(), FBitmap.get());
}

// Selects the measuring font and leaves it selected: under the platform, selecting a font
// costs some thirty times as much as measuring a word with it, and a layout measures run
// after run in the same font.
void THTMLGdiRender::SelectMeasureFont(const THTMLFont& font) {
    HFONT handle = FMeasureFonts.Find(font);
    if (!handle) {
        ReleaseMeasureFont(); // making a font may trim the cache: no cached font stays selected
        handle = FMeasureFonts.Get(font);
    }
    if (handle == FMeasureFont) return;
    if (!handle) return ReleaseMeasureFont(); // no font could be made: the DC's own font
    HGDIOBJ previous = SelectObject(FCanvas.get(), handle);
    if (!FMeasureFont) FSaveFont = previous;
    FMeasureFont = handle;
}

void THTMLGdiRender::ReleaseMeasureFont() {
    if (!FMeasureFont) return;
    SelectObject(FCanvas.get(), FSaveFont);
    FMeasureFont = nullptr;
}

int THTMLGdiRender::TextWidth(const THTMLFont& font, const std::u16string& text) {
    SelectMeasureFont(font);
    RECT r{0, 0, 0, 0};
    // DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE | DT_BOTTOM
    ::DrawTextW(FCanvas.get(), AsWide(text), int(text.size()), &r, 0x0C28);
    return r.right - r.left;
}

THTMLFontMetrics THTMLGdiRender::Metrics(const THTMLFont& font) {
    SelectMeasureFont(font);
    TEXTMETRICW tm{};
    GetTextMetricsW(FCanvas.get(), &tm);
    return {int(tm.tmHeight), int(tm.tmDescent), int(tm.tmAveCharWidth), int(tm.tmMaxCharWidth)};
}

int THTMLGdiRender::PixelsPerInchY() {
    WindowDC screen(nullptr);
    return screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
}

TTextSize THTMLGdiRender::CreateEmbeddedControl(THTMLControlItem& item) {
    HWND parent = FControl ? FControl->WindowHandle() : nullptr;
    if (!parent) return {};
    const wchar_t* cls = L"BUTTON";
    DWORD style = WS_CHILD | WS_TABSTOP;
    int width = 75, height = 21;
    if (item.FControlClass == u"TEdit") {
        cls = L"EDIT";
        style |= WS_BORDER | ES_AUTOHSCROLL;
        width = 121;
    } else if (item.FControlClass == u"TCheckBox") {
        style |= BS_AUTOCHECKBOX;
        width = 97;
        height = 17;
    } else if (item.FControlClass == u"TRadioButton") {
        style |= BS_AUTORADIOBUTTON;
        width = 113;
        height = 17;
    }
    std::u16string caption;
    for (const auto& [name, value] : item.FControlPropList) {
        if (name == u"caption" || name == u"text") caption = value;
        if (name == u"width")
            if (int v = _wtoi(AsWide(value)); v > 0) width = v;
        if (name == u"height")
            if (int v = _wtoi(AsWide(value)); v > 0) height = v;
    }
    HWND wnd = CreateWindowExW(0, cls, AsWide(caption), style, 0, 0, width, height, parent, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!wnd) return {};
    SendMessageW(wnd, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    item.FControl = std::shared_ptr<void>(wnd, [](void* h) { DestroyWindow(HWND(h)); });
    return {width, height};
}

void THTMLCheckBoxPainter::Paint(HDC dc, const RECT& box, const THTMLInputItem& item,
                                 bool hot) const {
    const COLORREF frame = hot ? RGB(0, 84, 153) : RGB(112, 112, 112);
    const COLORREF mark = RGB(32, 32, 32);
    BrushHandle face = MakeSolidBrush(RGB(255, 255, 255));
    PenHandle pen(CreatePen(PS_SOLID, 1, frame));
    ScopedSelect selBrush(dc, face.get());
    ScopedSelect selPen(dc, pen.get());
    const int w = box.right - box.left, h = box.bottom - box.top;
    if (item.FInputType == itRadioButton) {
        Ellipse(dc, box.left, box.top, box.right, box.bottom);
        if (item.FChecked) {
            BrushHandle dot = MakeSolidBrush(mark);
            PenHandle dotPen(CreatePen(PS_SOLID, 1, mark));
            ScopedSelect b(dc, dot.get());
            ScopedSelect p(dc, dotPen.get());
            Ellipse(dc, box.left + w / 4 + 1, box.top + h / 4 + 1, box.right - w / 4 - 1,
                    box.bottom - h / 4 - 1);
        }
        return;
    }
    Rectangle(dc, box.left, box.top, box.right, box.bottom);
    if (item.FChecked) {
        PenHandle tick(CreatePen(PS_SOLID, 2, mark));
        ScopedSelect p(dc, tick.get());
        MoveToEx(dc, box.left + w / 5, box.top + h / 2, nullptr);
        LineTo(dc, box.left + w * 2 / 5, box.bottom - h / 4);
        LineTo(dc, box.right - w / 5, box.top + h / 4);
    }
}
