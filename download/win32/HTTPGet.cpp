// THTTPGet: starting, waiting for, stopping and reporting transfers.
#include "download/win32/HTTPGet.h"

#include <windows.h>

#include "framework/win32/WinText.h"

THTTPGet::THTTPGet(TComponent* aOwner)
    : TComponent(aOwner), FAcceptTypes("*/*"), FAgent("Optavo HTTPGet") {}

THTTPGet::~THTTPGet() {
    Abort();
    *FAlive = false;
    if (FThread) {
        // The worker ends on its own and deletes itself; its end is not reported.
        FThread->OnTerminate = nullptr;
        FThread = nullptr;
    }
}

void THTTPGet::SetFileName(const std::string& v) {
    FFileName = v;
    FTargetPath = AnsiToWide(v);
}

void THTTPGet::SetTargetPath(const std::u16string& v) {
    FTargetPath = v;
    FFileName = WideToAnsi(v);
}

void THTTPGet::GetFile() {
    if (FThread) return;
    StartTransfer(true);
    if (!FWaitThread) return;
    std::shared_ptr<bool> alive = FAlive;
    // Takes and dispatches every message of this thread until the completion has run; the
    // worker's hand-overs arrive as messages too. When the queue is empty, the rest of the
    // time slice goes to a thread that is ready to run (the worker, on a busy machine)
    // instead of to asking again at once: under Wine every look at the queue is a request
    // to the Wine server, which the worker's reads need too.
    while (*alive && FThread) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        } else {
            SwitchToThread();
        }
    }
}

void THTTPGet::GetString() {
    if (FThread) return;
    StartTransfer(false);
    if (FWaitThread) DispatchWaitingMessages();
}

void THTTPGet::Abort() {
    if (!FThread) return;
    FThread->RequestStop();
}

void THTTPGet::DispatchWaitingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void THTTPGet::StartTransfer(bool toFile) {
    auto worker = std::make_unique<THTTPGetThread>(FAcceptTypes, FAgent, FURL, FFileName, FTargetPath,
                                                   FUserName,
                                                   FPassword, FPostQuery, FReferer, FBinaryData,
                                                   FUseCache, OnProgress, toFile);
    worker->SetStallWindow(FStallWindowMs);
    worker->SetReconnectDelay(FReconnectDelayMs);
    worker->SetProgressInterval(FProgressIntervalMs);
    worker->OnTerminate = [this](TObject* Sender) { ThreadDone(Sender); };
    FThread = worker.get();
    try {
        worker->Start();
    } catch (...) {
        FThread = nullptr;
        throw;
    }
    worker.release(); // from here on the worker deletes itself after ThreadDone
}

// On the user-interface thread, after the worker body has ended; the worker waits.
void THTTPGet::ThreadDone(TObject* Sender) {
    THTTPGetThread* worker = FThread;
    std::shared_ptr<bool> alive = FAlive;
    // FThread is cleared and the held file let go after the event, even when the handler
    // throws, so that a waiting GetFile returns.
    struct ClearThread {
        THTTPGet* Self;
        const std::shared_ptr<bool>& Alive;
        ~ClearThread() {
            if (!*Alive) return;
            Self->FThread = nullptr;
            Self->FHeldFile.reset();
        }
    } clear{this, alive};

    FResult = worker->Result();
    FStatus = worker->Status();
    FFailureReason = FResult ? TFailureReason::frNone : worker->FailureReason();
    // A stop request that came after the body had ended still makes the transfer a failure.
    if (!FResult && FFailureReason == TFailureReason::frNone)
        FFailureReason = TFailureReason::frAborted;
    FFailureCode = FResult ? 0 : worker->FailureCode();
    if (FResult) {
        if (worker->ToFile()) {
            FHeldFile = worker->TakeSealedFile();
            TOnDoneFileEvent handler = OnDoneFile;
            if (handler) handler(this, worker->FileName(), worker->FileSize());
        } else {
            TOnDoneStringEvent handler = OnDoneString;
            if (handler) handler(this, worker->StringResult());
        }
    } else {
        TNotifyEvent handler = OnError;
        if (handler) handler(this);
    }
}
