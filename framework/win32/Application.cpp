// TApplication: message loop, Tab/Enter navigation, message and error boxes.
#include "framework/win32/Application.h"

#include <stdexcept>

#include "framework/core/Exception.h"
#include "framework/win32/Form.h"
#include "framework/win32/WinText.h"

TApplication* Application = nullptr;

TApplication::TApplication() : TComponent(nullptr) {
    if (Application) throw std::logic_error("Only one application object may exist");
    Application = this;
}

TApplication::~TApplication() {
    DestroyComponents();
    Application = nullptr;
}

int TApplication::Run() {
    if (FMainForm) FMainForm->Show();
    while (!FTerminated) {
        MSG msg;
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            FTerminated = true;
            if (got == 0) FExitCode = int(msg.wParam);
            break;
        }
        if (!IsDialogKey(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return FExitCode;
}

bool TApplication::ProcessMessage() {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        FTerminated = true;
        FExitCode = int(msg.wParam);
        return true;
    }
    if (!IsDialogKey(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

void TApplication::ProcessMessages() {
    while (ProcessMessage()) {
    }
}

void TApplication::Terminate(int exitCode) {
    PostQuitMessage(exitCode);
}

// Tab / Shift+Tab move between tab stops, Enter presses a focused push button, unless the
// focused control asks for those keys itself (WM_GETDLGCODE).
bool TApplication::IsDialogKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_TAB && msg.wParam != VK_RETURN))
        return false;
    LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, LPARAM(&msg));
    if (code & DLGC_WANTALLKEYS) return false;
    if (msg.wParam == VK_TAB) {
        if (code & DLGC_WANTTAB) return false;
        if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
        TForm* form = TForm::FormOf(msg.hwnd);
        if (!form) return false;
        form->SelectNext(GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    if (code & (DLGC_BUTTON | DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
        SendMessageW(msg.hwnd, BM_CLICK, 0, 0);
        return true;
    }
    return false;
}

int TApplication::MessageBox(const std::u16string& text, const std::u16string& caption,
                             UINT flags) {
    HWND owner = GetActiveWindow();
    HWND focus = GetFocus();
    int result = ::MessageBoxW(owner, AsWide(text), AsWide(caption), flags);
    if (focus && IsWindow(focus)) SetFocus(focus);
    return result;
}

namespace {

std::u16string ExceptionText(const std::exception& e) {
    if (auto* own = dynamic_cast<const TException*>(&e)) return own->Message();
    return AnsiToWide(e.what());
}

} // namespace

void TApplication::ShowException(const std::exception& e) {
    MessageBox(ExceptionText(e), FTitle, MB_OK | MB_ICONERROR);
}

void HandleEscapedException(const std::exception& e) {
    if (Application) {
        Application->ShowException(e);
        return;
    }
    ::MessageBoxW(GetActiveWindow(), AsWide(ExceptionText(e)), L"Error", MB_OK | MB_ICONERROR);
}
