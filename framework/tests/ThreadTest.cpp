// TThread: hand-overs and the termination event run on the user-interface thread while the
// worker waits, in any loop that dispatches messages; self-deletion; WaitFor without deadlock.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <stdexcept>

#include "framework/win32/Thread.h"
#include "tests/support/WinTestSupport.h"

namespace {

using namespace std::chrono_literals;

// A thread whose body is a function; it records its own destruction.
class TestThread : public TThread {
  public:
    explicit TestThread(std::function<void(TestThread&)> body, bool* destroyed = nullptr)
        : FBody(std::move(body)), FDestroyed(destroyed) {}
    ~TestThread() override {
        if (FDestroyed) *FDestroyed = true;
    }
    using TThread::Synchronize;

  protected:
    void Execute() override { FBody(*this); }

  private:
    std::function<void(TestThread&)> FBody;
    bool* FDestroyed;
};

} // namespace

TEST(Thread, SynchronizeRunsOnTheUiThreadAndBlocksTheWorker) {
    const DWORD ui = GetCurrentThreadId();
    std::atomic<int> step{0};
    DWORD ranOn = 0;
    bool workerSawRoutineDone = false;
    TestThread thread([&](TestThread& self) {
        step = 1;
        self.Synchronize([&] {
            ranOn = GetCurrentThreadId();
            Sleep(50); // the worker must still be waiting after this
            step = 2;
        });
        workerSawRoutineDone = step == 2;
    });
    thread.Start();
    ASSERT_TRUE(PumpUntil([&] { return step == 2; }, 5s));
    thread.WaitFor();
    EXPECT_EQ(ranOn, ui);
    EXPECT_TRUE(workerSawRoutineDone);
    EXPECT_TRUE(thread.Finished());
}

// The hand-over runs in any loop that dispatches the thread's messages, here a plain
// nested GetMessage loop.
TEST(Thread, HandOverRunsInANestedLoop) {
    int handOvers = 0;
    TestThread thread([&](TestThread& self) {
        for (int i = 0; i < 3; ++i)
            self.Synchronize([&] { ++handOvers; });
        self.Synchronize([] { PostQuitMessage(0); });
    });
    thread.Start();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    EXPECT_EQ(handOvers, 3);
    thread.WaitFor();
}

TEST(Thread, OnTerminateRunsOnTheUiThreadAfterExecute) {
    const DWORD ui = GetCurrentThreadId();
    std::atomic<bool> executed{false};
    DWORD ranOn = 0;
    bool executedBefore = false;
    TestThread thread([&](TestThread&) { executed = true; });
    thread.OnTerminate = [&](TObject* sender) {
        ranOn = GetCurrentThreadId();
        executedBefore = executed;
        EXPECT_EQ(sender, &thread);
    };
    thread.Start();
    ASSERT_TRUE(PumpUntil([&] { return ranOn != 0; }, 5s));
    EXPECT_EQ(ranOn, ui);
    EXPECT_TRUE(executedBefore);
    thread.WaitFor();
}

// A free-on-terminate thread deletes itself after its termination event; its thread handle
// and event go with it.
TEST(Thread, FreeOnTerminateDeletesTheObjectAndItsHandles) {
    auto spawn = [] {
        bool destroyed = false;
        bool terminated = false;
        auto* thread = new TestThread([](TestThread&) {}, &destroyed);
        thread->FreeOnTerminate = true;
        thread->OnTerminate = [&](TObject*) { terminated = true; };
        thread->Start();
        EXPECT_TRUE(PumpUntil([&] { return destroyed; }, 5s));
        EXPECT_TRUE(terminated);
    };
    spawn(); // the first thread object sets up the hand-over window
    PumpFor(50);
    const int handles = CountKernelHandles();
    ASSERT_GT(handles, 0);
    for (int i = 0; i < 5; ++i)
        spawn();
    EXPECT_TRUE(PumpUntil([&] { return CountKernelHandles() <= handles; }, 5s))
        << CountKernelHandles() << " handles, " << handles << " before";
}

// WaitFor on the user-interface thread keeps running hand-overs: no deadlock with a body
// that is waiting in Synchronize.
TEST(Thread, WaitForOnTheUiThreadRunsPendingHandOvers) {
    int handOvers = 0;
    TestThread thread([&](TestThread& self) {
        for (int i = 0; i < 5; ++i)
            self.Synchronize([&] { ++handOvers; });
    });
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(handOvers, 5);
}

// Terminate only sets the request; the body decides when to stop. An exception in the body
// does not escape the thread, and the termination event still runs.
TEST(Thread, StopRequestAndFailingBody) {
    TestThread looping([](TestThread& self) {
        while (!self.Terminated())
            Sleep(1);
    });
    looping.Start();
    Sleep(20);
    EXPECT_FALSE(looping.Finished());
    looping.Terminate();
    looping.WaitFor();
    EXPECT_TRUE(looping.Finished());

    bool terminated = false;
    TestThread failing([](TestThread&) { throw std::runtime_error("body failed"); });
    failing.OnTerminate = [&](TObject*) { terminated = true; };
    failing.Start();
    failing.WaitFor();
    EXPECT_TRUE(terminated);
}

// An exception in a hand-over reaches the worker that asked for it.
TEST(Thread, ExceptionInAHandOverIsRethrownInTheWorker) {
    bool caught = false;
    TestThread thread([&](TestThread& self) {
        try {
            self.Synchronize([] { throw std::runtime_error("in the hand-over"); });
        } catch (const std::runtime_error&) {
            caught = true;
        }
    });
    thread.Start();
    thread.WaitFor();
    EXPECT_TRUE(caught);
}
