// TThread: a Win32 thread whose hand-overs are posted to a hidden message-only window of the
// user-interface thread, which runs them whenever it dispatches messages.
#include "framework/win32/Thread.h"

#include <process.h>

#include <exception>
#include <stdexcept>

#include "framework/win32/Application.h"

namespace {

constexpr UINT WM_SYNCHRONIZE = WM_APP + 1;
constexpr wchar_t kSyncClass[] = L"LvThreadSyncWindow";

// One hand-over: the routine, the exception it threw, and the event the worker waits on.
struct SyncCall {
    const std::function<void()>* Method;
    std::exception_ptr Error;
    HANDLE Done;
};

LRESULT CALLBACK SyncWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_SYNCHRONIZE) return DefWindowProcW(wnd, msg, wParam, lParam);
    auto* call = reinterpret_cast<SyncCall*>(lParam);
    try {
        (*call->Method)();
    } catch (...) {
        call->Error = std::current_exception();
    }
    SetEvent(call->Done);
    return 0;
}

// The hidden window of the user-interface thread that receives the hand-overs. It lives as
// long as the process, like a registered window class.
struct SyncWindow {
    HWND Wnd = nullptr;
    DWORD ThreadID = 0;
};

SyncWindow& TheSyncWindow() {
    static SyncWindow sync = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = SyncWndProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kSyncClass;
        RegisterClassExW(&wc);
        SyncWindow s;
        s.Wnd = CreateWindowExW(0, kSyncClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);
        if (!s.Wnd) throw std::runtime_error("Cannot create the thread hand-over window");
        s.ThreadID = GetCurrentThreadId();
        return s;
    }();
    return sync;
}

} // namespace

TThread::TThread() {
    TheSyncWindow();
    FSyncDone.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!FSyncDone) throw std::runtime_error("Cannot create a thread event");
}

TThread::~TThread() {
    if (FHandle) {
        if (GetCurrentThreadId() != GetThreadId(FHandle.get())) {
            Terminate();
            WaitFor();
        }
    }
}

void TThread::Start() {
    if (FHandle) return;
    // Suspended until FHandle is stored: a body that ends at once may delete its object.
    auto handle = _beginthreadex(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, nullptr);
    if (!handle) throw std::runtime_error("Cannot start a thread");
    FHandle.reset(reinterpret_cast<HANDLE>(handle));
    ResumeThread(FHandle.get());
}

void TThread::WaitFor() {
    if (!FHandle) return;
    const SyncWindow& sync = TheSyncWindow();
    if (GetCurrentThreadId() != sync.ThreadID) {
        WaitForSingleObject(FHandle.get(), INFINITE);
        return;
    }
    // On the user-interface thread: run the hand-overs that the body waits for. Only those
    // messages are taken; the short time-out covers a hand-over posted between the look
    // and the wait.
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, sync.Wnd, WM_SYNCHRONIZE, WM_SYNCHRONIZE, PM_REMOVE))
            DispatchMessageW(&msg);
        HANDLE thread = FHandle.get();
        DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, 50, QS_POSTMESSAGE);
        if (r == WAIT_OBJECT_0 || r == WAIT_FAILED) return;
    }
}

void TThread::Synchronize(const std::function<void()>& method) {
    const SyncWindow& sync = TheSyncWindow();
    if (GetCurrentThreadId() == sync.ThreadID) {
        method();
        return;
    }
    SyncCall call{&method, nullptr, FSyncDone.get()};
    if (!PostMessageW(sync.Wnd, WM_SYNCHRONIZE, 0, reinterpret_cast<LPARAM>(&call)))
        throw std::runtime_error("Cannot hand over to the user-interface thread");
    WaitForSingleObject(FSyncDone.get(), INFINITE);
    if (call.Error) std::rethrow_exception(call.Error);
}

void TThread::DoTerminate() {
    // A copy: the handler may clear or replace OnTerminate while it runs.
    TNotifyEvent handler = OnTerminate;
    if (!handler) return;
    try {
        handler(this);
    } catch (const std::exception& e) {
        HandleEscapedException(e);
    }
}

unsigned __stdcall TThread::ThreadProc(void* param) {
    auto* thread = static_cast<TThread*>(param);
    try {
        thread->Execute();
    } catch (...) {
        // Nothing escapes a thread body; a body reports its own outcome.
    }
    thread->FFinished.store(true);
    try {
        thread->Synchronize([thread] { thread->DoTerminate(); });
    } catch (...) {
    }
    if (thread->FreeOnTerminate) delete thread;
    return 0;
}
