// The installer the demo site delivers: one window that says it is the demo of the
// full-version setup, in the system's language. It installs nothing and ends with exit
// code 0 when its window is closed (Close button, Enter, Escape or the title bar).
#include <windows.h>

#include "assistant/core/Language.h"
#include "assistant/core/ProductConfig.h"
#include "framework/win32/Gdi.h"

#include <string>

namespace {

struct TSetupTexts {
    const wchar_t* Caption;
    const wchar_t* Heading;
    const wchar_t* Body;
    const wchar_t* Close;
};

constexpr TSetupTexts kGerman{
    L" Vollversion Setup (Demo)", L"Demo des Vollversion-Setups",
    L"Dies ist die Demo des Setups der Vollversion. Der Assistent hat sie heruntergeladen "
    L"und gestartet wie das echte Setup.\r\n\r\nEs wird nichts installiert. Schlie\u00dfen "
    L"Sie dieses Fenster, um die Demo zu beenden.",
    L"Schlie\u00dfen"};

constexpr TSetupTexts kEnglish{
    L" full version setup (demo)", L"Demo of the full-version setup",
    L"This is the demo of the full-version setup. The assistant downloaded and started it "
    L"as it would the real setup.\r\n\r\nNothing is installed. Close this window to end "
    L"the demo.",
    L"Close"};

constexpr int kClientWidth = 420;
constexpr int kClientHeight = 210;
constexpr int kMargin = 16;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 28;

const TSetupTexts& Texts() {
    return LanguageFromLangId(GetSystemDefaultLangID()) == TLanguage::German ? kGerman : kEnglish;
}

std::wstring Caption() {
    std::u16string_view name = ProductConfig::ProdName;
    return std::wstring(name.begin(), name.end()) + Texts().Caption;
}

// The fonts of the window: the system's message font, and a larger bold one for the heading.
struct TFonts {
    FontHandle Text;
    FontHandle Heading;
};

TFonts MakeFonts() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTW heading = metrics.lfMessageFont;
    heading.lfWeight = FW_BOLD;
    heading.lfHeight = heading.lfHeight * 4 / 3;
    return {FontHandle(CreateFontIndirectW(&metrics.lfMessageFont)),
            FontHandle(CreateFontIndirectW(&heading))};
}

HWND AddChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, RECT r, int id,
              HFONT font) {
    HWND child = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

void AddControls(HWND window, const TFonts& fonts) {
    const TSetupTexts& texts = Texts();
    const int width = kClientWidth - 2 * kMargin;
    AddChild(window, L"STATIC", texts.Heading, SS_LEFT, {kMargin, kMargin, kMargin + width, 44}, -1,
             fonts.Heading.get());
    AddChild(window, L"STATIC", texts.Body, SS_LEFT,
             {kMargin, 52, kMargin + width, kClientHeight - kButtonHeight - 2 * kMargin}, -1,
             fonts.Text.get());
    const RECT button{kClientWidth - kMargin - kButtonWidth,
                      kClientHeight - kMargin - kButtonHeight, kClientWidth - kMargin,
                      kClientHeight - kMargin};
    HWND close = AddChild(window, L"BUTTON", texts.Close, BS_DEFPUSHBUTTON | WS_TABSTOP, button,
                          IDOK, fonts.Text.get());
    SetFocus(close);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) DestroyWindow(window);
        return 0;
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateMainWindow() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = WindowProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    cls.lpszClassName = L"DemoSetupWindow";
    if (!RegisterClassW(&cls)) return nullptr;

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    return CreateWindowExW(WS_EX_CONTROLPARENT, cls.lpszClassName, Caption().c_str(), style,
                           (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                           (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr,
                           nullptr, cls.hInstance, nullptr);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    TFonts fonts = MakeFonts();
    HWND window = CreateMainWindow();
    if (!window) return 1;
    AddControls(window, fonts);
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Dialog keys: Enter presses the Close button, Escape closes, Tab moves the focus.
        if (IsDialogMessageW(window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
