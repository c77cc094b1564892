// The worker-thread class: a thread body (Execute) with a stop request, a termination event
// run on the user-interface thread, optional self-deletion, and Synchronize, which runs a
// routine on the user-interface thread and blocks the worker until it has run there.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>

#include "framework/core/Object.h"
#include "framework/win32/UniqueHandle.h"

class TThread : public TObject {
  public:
    // Created suspended: nothing runs before Start. The thread that constructs the first
    // thread object is taken as the user-interface thread; it must dispatch messages
    // (main loop, any nested loop, or WaitFor) for Synchronize and OnTerminate to run.
    TThread();
    // A thread that is still running is asked to stop and waited for (WaitFor).
    ~TThread() override;

    // Starts the thread body. After Start a FreeOnTerminate thread deletes itself once its
    // OnTerminate has run: its owner must not touch it after that point.
    void Start();

    // Sets the stop request; the body checks Terminated() and ends on its own.
    void Terminate() { FTerminated.store(true); }
    bool Terminated() const { return FTerminated.load(); }
    bool Finished() const { return FFinished.load(); }

    // Waits for the thread to end. On the user-interface thread it keeps running the
    // thread's hand-overs meanwhile, so a body blocked in Synchronize cannot deadlock it.
    // Not for FreeOnTerminate threads.
    void WaitFor();

    HANDLE Handle() const { return FHandle.get(); }

    bool FreeOnTerminate = false;
    // Runs on the user-interface thread after Execute has returned, while the worker waits.
    TNotifyEvent OnTerminate;

  protected:
    virtual void Execute() = 0;
    // Runs `method` on the user-interface thread and returns after it has run there. An
    // exception thrown by `method` is rethrown here, in the worker. Called on the
    // user-interface thread itself, it runs `method` directly.
    void Synchronize(const std::function<void()>& method);

  private:
    static unsigned __stdcall ThreadProc(void* param);
    void DoTerminate();

    KernelHandle FHandle;
    KernelHandle FSyncDone; // signalled by the user-interface thread after a hand-over
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
};
