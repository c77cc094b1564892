// Reference for the start-up benchmark: the assistant's window as a Win32 developer would
// build it from the platform's own controls. The same client size, centred, the same texts
// in STATIC controls (markup dropped: a STATIC shows one font), the link as a STATIC in the
// link colour with the hand cursor, the header and note bands as STATICs coloured through
// WM_CTLCOLORSTATIC with the texts inset in them as the assistant insets its own, an EDIT
// with the focus, a push button, a hidden STATIC where the busy panel lies, Verdana fonts
// of the assistant's sizes, the common controls 6 manifest, and the start-up trace's marks
// as in MinimalWindow.cpp.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <string_view>

#include "assistant/core/Language.h"
#include "assistant/core/ProductConfig.h"
#include "assistant/core/Texts.h"
#include "framework/win32/StartupTrace.h"

namespace {

constexpr COLORREF kHeaderBlue = 0x00CE7B00;
constexpr COLORREF kHeaderText = 0x00ADF2FC;
constexpr COLORREF kNoteYellow = 0x00D3F9FE;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr int kClientWidth = 445, kClientHeight = 592;
constexpr DWORD kFrameStyle = WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kFrameExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;

enum ControlId : int {
    kHeaderBand = 100,
    kHeader,
    kStep1,
    kLink,
    kStep2,
    kCustomerLabel,
    kEdit,
    kStep3,
    kButton,
    kNoteBand,
    kNote,
    kBusy,
};

struct Look {
    HFONT text = nullptr;   // the window's font: Verdana, 13-pixel characters
    HFONT link = nullptr;   // 19 pixels, underlined
    HFONT header = nullptr; // 15 pixels
    HBRUSH headerBrush = nullptr;
    HBRUSH noteBrush = nullptr;
};

Look look;

// The markup shown as a STATIC shows text: line breaks kept, every other tag dropped.
std::wstring PlainText(std::u16string_view markup) {
    std::wstring out;
    for (size_t i = 0; i < markup.size(); ++i) {
        if (markup[i] != u'<') {
            out += wchar_t(markup[i]);
            continue;
        }
        const size_t end = markup.find(u'>', i);
        if (end == std::u16string_view::npos) break;
        std::u16string_view tag = markup.substr(i + 1, end - i - 1);
        if (tag == u"br" || tag == u"BR") out += L"\r\n";
        i = end;
    }
    return out;
}

HFONT Verdana(int height, bool underline = false) {
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                       L"Verdana");
}

HWND Child(HWND parent, const wchar_t* cls, const std::wstring& text, DWORD style, int id,
           RECT bounds, HFONT font) {
    HWND wnd = CreateWindowExW(0, cls, text.c_str(), WS_CHILD | style, bounds.left, bounds.top,
                               bounds.right, bounds.bottom, parent,
                               reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleW(nullptr),
                               nullptr);
    if (font) SendMessageW(wnd, WM_SETFONT, WPARAM(font), FALSE);
    return wnd;
}

void CreateControls(HWND wnd, TLanguage language) {
    const TFormTexts& t = FormTexts(language);
    const DWORD text = WS_VISIBLE | SS_LEFT;
    Child(wnd, L"STATIC", L"", WS_VISIBLE, kHeaderBand, {0, 0, 445, 65}, nullptr);
    Child(wnd, L"STATIC", PlainText(HeaderCaption(language, ProductConfig::ProdName)), text,
          kHeader, {16, 12, 411, 44}, look.header);
    Child(wnd, L"STATIC", PlainText(t.Step1), text, kStep1, {16, 82, 411, 70}, look.text);
    Child(wnd, L"STATIC", PlainText(t.SignupLink), WS_VISIBLE | SS_CENTER | SS_NOTIFY, kLink,
          {16, 152, 411, 27}, look.link);
    Child(wnd, L"STATIC", PlainText(t.Step2), text, kStep2, {16, 212, 411, 92}, look.text);
    Child(wnd, L"STATIC", PlainText(t.CustomerLabel), WS_VISIBLE | SS_RIGHT, kCustomerLabel,
          {0, 318, 120, 16}, look.text);
    Child(wnd, L"EDIT", L"", WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                      kEdit, {126, 314, 193, 24}, look.text);
    Child(wnd, L"STATIC", PlainText(t.Step3), text, kStep3, {16, 375, 411, 74}, look.text);
    Child(wnd, L"BUTTON", PlainText(t.DownloadButton), WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
          kButton, {126, 461, 193, 38}, look.text);
    Child(wnd, L"STATIC", L"", WS_VISIBLE, kNoteBand, {0, 527, 445, 65}, nullptr);
    Child(wnd, L"STATIC", PlainText(t.BottomNote), text, kNote, {16, 543, 413, 33}, look.text);
    Child(wnd, L"STATIC", L"", 0, kBusy, {0, 82, 445, 417}, nullptr); // shown while busy
}

LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetBkMode(dc, OPAQUE);
        switch (GetDlgCtrlID(reinterpret_cast<HWND>(lp))) {
        case kHeaderBand:
        case kHeader:
            SetTextColor(dc, kHeaderText);
            SetBkColor(dc, kHeaderBlue);
            return LRESULT(look.headerBrush);
        case kNoteBand:
        case kNote:
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, kNoteYellow);
            return LRESULT(look.noteBrush);
        case kLink:
            SetTextColor(dc, kHeaderBlue);
            break;
        default:
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        }
        SetBkColor(dc, kWhite);
        return LRESULT(GetStockObject(WHITE_BRUSH));
    }
    case WM_SETCURSOR:
        if (GetDlgCtrlID(reinterpret_cast<HWND>(wp)) == kLink) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(wnd, msg, wp, lp);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    startup_trace::Mark("entry");
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    const TLanguage language = LanguageFromLangId(GetSystemDefaultLangID());
    look.text = Verdana(-13);
    look.link = Verdana(-19, true);
    look.header = Verdana(-15);
    look.headerBrush = CreateSolidBrush(kHeaderBlue);
    look.noteBrush = CreateSolidBrush(kNoteYellow);

    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"LvPlatformDialog";
    RegisterClassW(&wc);
    RECT r{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&r, kFrameStyle, FALSE, kFrameExStyle);
    startup_trace::Mark("window frame"); // the first call that needs the display
    const int width = r.right - r.left, height = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    const std::u16string_view caption = FormTexts(language).Caption;
    HWND wnd = CreateWindowExW(kFrameExStyle, wc.lpszClassName,
                               std::wstring(caption.begin(), caption.end()).c_str(), kFrameStyle,
                               x, y, width, height, nullptr, nullptr, instance, nullptr);
    SendMessageW(wnd, WM_SETFONT, WPARAM(look.text), FALSE);
    CreateControls(wnd, language);
    startup_trace::Mark("windows created");
    ShowWindow(wnd, show);
    SetForegroundWindow(wnd);
    SetFocus(GetDlgItem(wnd, kEdit));
    startup_trace::Mark("window shown");
    MSG msg;
    if (startup_trace::Active()) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(wnd, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        startup_trace::FirstPaintDone();
    }
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(wnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return 0;
}
