// Starts a program whose windows of one class cannot be created, and reports what the user
// sees: `refuse_window <hook library> <window class> <program>` starts the program suspended,
// hooks the creation of its windows (RefuseWindowHook.cpp, which refuses the class), lets it
// run, and prints one line per fact, UTF-8, tab-separated:
//
//   box <caption> <text> <icon 0|1>   (a message box of the program, then closed with OK)
//   exit <code>                       (the program's exit code)
//
// The program's standard handles are this probe's. Exit code 1 when the program could not be
// started or did not end within a minute (it is then ended).
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/probe/ProbeSupport.h"

namespace {

// The program's visible dialog-class window (a message box), or nullptr.
HWND MessageBoxOf(DWORD processId) {
    struct Search {
        DWORD processId;
        HWND found;
    } search{processId, nullptr};
    EnumWindows(
        [](HWND wnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(wnd, &pid);
            if (pid == s->processId && IsWindowVisible(wnd) && ClassOf(wnd) == L"#32770") {
                s->found = wnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void ReportAndClose(HWND box) {
    bool icon = false;
    std::wstring text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != L"Static") continue;
        if (GetWindowLongPtrW(child, GWL_STYLE) & SS_ICON)
            icon = true;
        else if (text.empty())
            text = TextOf(child);
    }
    Print("box\t" + Utf8(TextOf(box)) + "\t" + Utf8(text) + "\t" + (icon ? "1" : "0"));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        Print("usage: refuse_window <hook library> <window class> <program>");
        return 1;
    }
    HMODULE hook = LoadLibraryW(argv[1]);
    auto* proc = hook ? reinterpret_cast<HOOKPROC>(
                            reinterpret_cast<void*>(GetProcAddress(hook, "RefuseWindowHook")))
                      : nullptr;
    if (!proc) {
        Print("no hook in the library");
        return 1;
    }
    SetEnvironmentVariableW(L"LV_REFUSE_WINDOW_CLASS", argv[2]);

    STARTUPINFOW si{sizeof(si)};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + std::wstring(argv[3]) + L"\"";
    if (!CreateProcessW(argv[3], command.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                        nullptr, &si, &pi)) {
        Print("cannot start the program");
        return 1;
    }
    HHOOK hooked = SetWindowsHookExW(WH_CBT, proc, hook, pi.dwThreadId);
    ResumeThread(pi.hThread);
    if (!hooked) Print("hook\tnot set");

    const DWORD end = GetTickCount() + 60000;
    bool reported = false;
    while (WaitForSingleObject(pi.hProcess, 100) == WAIT_TIMEOUT) {
        if (GetTickCount() > end) {
            TerminateProcess(pi.hProcess, 1);
            Print("timeout");
            return 1;
        }
        if (HWND box = reported ? nullptr : MessageBoxOf(pi.dwProcessId)) {
            ReportAndClose(box);
            reported = true;
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    Print("exit\t" + std::to_string(code));
    if (hooked) UnhookWindowsHookEx(hooked);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 0;
}
