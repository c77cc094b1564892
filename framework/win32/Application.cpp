// TApplication: message loop, Tab/Enter navigation, message and error boxes.
#include "framework/win32/Application.h"

#include <stdexcept>
#include <vector>

#include "framework/core/Exception.h"
#include "framework/win32/Form.h"
#include "framework/win32/Hints.h"
#include "framework/win32/StartupTrace.h"
#include "framework/win32/WinText.h"

TApplication* Application = nullptr;

TComponent* OwnerForUnowned() {
    if (!Application) throw std::logic_error("A component without an owner needs the application");
    return Application;
}

TApplication::TApplication() : TComponent(nullptr) {
    if (Application) throw std::logic_error("Only one application object may exist");
    Application = this;
}

TApplication::~TApplication() {
    DestroyComponents();
    FHints.reset();
    if (FHandle) DestroyWindow(FHandle);
    Application = nullptr;
}

void TApplication::HintMouseOver(TControl* control) {
    if (!FHints && !control) return;
    if (!FHints) FHints = std::make_unique<THintManager>(nullptr);
    FHints->MouseOver(control);
}

void TApplication::CancelHint() {
    if (FHints) FHints->Cancel();
}

void TApplication::HintWindowLeft(HWND window) {
    if (FHints) FHints->Left(window);
}

void TApplication::ForgetHintControl(TControl* control) {
    if (FHints) FHints->Forget(control);
}

void TApplication::SetTitle(const std::u16string& title) {
    FTitle = title;
    if (FHandle) SetWindowTextW(FHandle, AsWide(FTitle));
}

HWND TApplication::Handle() {
    if (FHandle) return FHandle;
    static const wchar_t* const kClass = L"LvApplication";
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
        wc.lpszClassName = kClass;
        registered = RegisterClassExW(&wc) != 0;
    }
    // A hidden pop-up: never on the taskbar (the main form has its own button), but a
    // top-level window, so that it can own other windows.
    FHandle = CreateWindowExW(WS_EX_TOOLWINDOW, kClass, AsWide(FTitle), WS_POPUP, 0, 0, 0, 0,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    return FHandle;
}

int TApplication::Run() {
    if (FMainForm) FMainForm->Show();
    bool painting = startup_trace::Active();
    while (!FTerminated) {
        MSG msg;
        // The queue runs dry only once every window has painted.
        if (painting && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            startup_trace::FirstPaintDone();
            painting = false;
        }
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
// focused control asks for those keys itself (WM_GETDLGCODE). Like the platform's dialog
// manager, the loop tells the window when the keyboard is in use, so that focus rectangles
// and accelerator underlines show from then on: a key pressed with Alt clears both cues,
// keyboard navigation the focus cue (WM_CHANGEUISTATE, which the form also tracks itself).
bool TApplication::IsDialogKey(const MSG& msg) {
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) CancelHint();
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && FDrag.Source()) {
        FDrag.Cancel();
        return true;
    }
    if (msg.message == WM_SYSCHAR || msg.message == WM_CHAR) return IsDialogChar(msg);
    if (msg.message == WM_SYSKEYDOWN && (HIWORD(msg.lParam) & KF_ALTDOWN)) {
        SendMessageW(GetAncestor(msg.hwnd, GA_ROOT), WM_CHANGEUISTATE,
                     MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL | UISF_HIDEFOCUS), 0);
        return false;
    }
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_TAB && msg.wParam != VK_RETURN))
        return false;
    LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, LPARAM(&msg));
    if (code & DLGC_WANTALLKEYS) return false;
    if (msg.wParam == VK_TAB) {
        if (code & DLGC_WANTTAB) return false;
        if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
        TForm* form = TForm::FormOf(msg.hwnd);
        if (!form) return false;
        SendMessageW(form->Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        form->SelectNext(GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    if (code & (DLGC_BUTTON | DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
        SendMessageW(msg.hwnd, BM_CLICK, 0, 0);
        return true;
    }
    return false;
}

namespace {

// Disables the thread's enabled, visible top-level windows other than `keep` for its
// lifetime, and enables them again afterwards (those that still exist).
class TaskWindowsDisabled {
  public:
    explicit TaskWindowsDisabled(HWND keep) : keep_(keep) {
        EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this));
        for (HWND w : disabled_)
            EnableWindow(w, FALSE);
    }
    ~TaskWindowsDisabled() {
        for (HWND w : disabled_)
            if (IsWindow(w)) EnableWindow(w, TRUE);
    }
    TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
    TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;

  private:
    static BOOL CALLBACK Collect(HWND w, LPARAM self) {
        auto* me = reinterpret_cast<TaskWindowsDisabled*>(self);
        if (w != me->keep_ && IsWindowVisible(w) && IsWindowEnabled(w)) me->disabled_.push_back(w);
        return TRUE;
    }
    HWND keep_;
    std::vector<HWND> disabled_;
};

} // namespace

// Alt+letter, or a letter the focused control does not want, goes to the control whose
// caption marks it as its accelerator, as the platform's dialog manager does.
bool TApplication::IsDialogChar(const MSG& msg) {
    if (msg.message == WM_CHAR) {
        LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, LPARAM(&msg));
        if (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    }
    TForm* form = TForm::FormOf(msg.hwnd);
    return form && form->DialogChar(char16_t(msg.wParam));
}

int TApplication::MessageBox(const std::u16string& text, const std::u16string& caption,
                             UINT flags) {
    HWND active = GetActiveWindow();
    HWND focus = GetFocus();
    HWND owner = active ? active : Handle();
    int result;
    {
        // The owner is disabled by the box itself and enabled again before it closes.
        TaskWindowsDisabled others(owner);
        result = ::MessageBoxW(owner, AsWide(text), AsWide(caption), flags);
    }
    if (active && IsWindow(active)) SetActiveWindow(active);
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

int RunGuarded(const std::function<int()>& body) {
    try {
        return body();
    } catch (const std::exception& e) {
        HandleEscapedException(e);
    } catch (...) {
        HandleEscapedException(std::runtime_error("Unknown error"));
    }
    return kEscapedErrorExitCode;
}
