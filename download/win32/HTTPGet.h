// THTTPGet: a non-visual component that fetches one address into a file (GetFile) or a
// text (GetString) on a worker thread and reports the outcome as one event on the
// user-interface thread.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <string>

#include "download/win32/HTTPGetThread.h"
#include "framework/win32/Component.h"
#include "framework/win32/UniqueHandle.h"

using TOnDoneFileEvent =
    std::function<void(TObject* Sender, const std::string& FileName, std::int32_t FileSize)>;
using TOnDoneStringEvent = std::function<void(TObject* Sender, const std::string& Result)>;

class THTTPGet : public TComponent {
  public:
    explicit THTTPGet(TComponent* aOwner);
    // Stops a running transfer; no event of it reaches the destroyed component.
    ~THTTPGet() override;

    // Settings, all 8-bit text in the ANSI code page. The worker takes copies when a
    // transfer starts.
    const std::string& AcceptTypes() const { return FAcceptTypes; }
    void SetAcceptTypes(const std::string& v) { FAcceptTypes = v; }
    const std::string& Agent() const { return FAgent; }
    void SetAgent(const std::string& v) { FAgent = v; }
    bool BinaryData() const { return FBinaryData; }
    void SetBinaryData(bool v) { FBinaryData = v; }
    const std::string& URL() const { return FURL; }
    void SetURL(const std::string& v) { FURL = v; }
    bool UseCache() const { return FUseCache; }
    void SetUseCache(bool v) { FUseCache = v; }
    // The target file of GetFile in 8-bit text; setting it sets TargetPath from it.
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& v);
    // The target file as UTF-16, the name the file is written and reported under: a folder
    // whose name the ANSI code page cannot spell keeps its name. Setting it sets FileName
    // to its 8-bit form.
    const std::u16string& TargetPath() const { return FTargetPath; }
    void SetTargetPath(const std::u16string& v);
    const std::string& UserName() const { return FUserName; }
    void SetUserName(const std::string& v) { FUserName = v; }
    const std::string& Password() const { return FPassword; }
    void SetPassword(const std::string& v) { FPassword = v; }
    const std::string& PostQuery() const { return FPostQuery; }
    void SetPostQuery(const std::string& v) { FPostQuery = v; }
    const std::string& Referer() const { return FReferer; }
    void SetReferer(const std::string& v) { FReferer = v; }
    bool WaitThread() const { return FWaitThread; }
    void SetWaitThread(bool v) { FWaitThread = v; }
    // How long a body may take to gain one read's worth (1025 bytes) before the transfer fails
    // as stalled: 30 s. Not one of the published settings; tests shorten it.
    std::uint32_t StallWindow() const { return FStallWindowMs; }
    void SetStallWindow(std::uint32_t ms) { FStallWindowMs = ms; }
    // The wait before the first request for the rest of a lost body, 1 s (then 2 and 4 s).
    // Not one of the published settings; tests shorten it.
    std::uint32_t ReconnectDelay() const { return FReconnectDelayMs; }
    void SetReconnectDelay(std::uint32_t ms) { FReconnectDelayMs = ms; }
    // At most one OnProgress per this many milliseconds, plus the last one when the body
    // has ended; 0 (the default): after every block.
    std::uint32_t ProgressInterval() const { return FProgressIntervalMs; }
    void SetProgressInterval(std::uint32_t ms) { FProgressIntervalMs = ms; }

    // After each block (or as ProgressInterval allows); Sender is the worker.
    TOnProgressEvent OnProgress;
    // The file stays open, shared for reading only, while this event runs: no other
    // process can write, rename or delete it until the handler has returned.
    TOnDoneFileEvent OnDoneFile;
    TOnDoneStringEvent OnDoneString;
    TNotifyEvent OnError;

    // Starts a transfer into FileName; nothing when one is running. With WaitThread it
    // returns after the outcome event has run, dispatching every message of the calling
    // thread meanwhile (a quit request taken there is consumed).
    void GetFile();
    // Starts a transfer into a text, reported by OnDoneString; nothing when one is running.
    // With WaitThread it dispatches the messages already waiting, then returns.
    void GetString();
    // Asks a running transfer to stop, also while it waits to ask for the rest of a lost
    // body; it ends with OnError and the reason frAborted.
    void Abort();

    // The outcome of the last finished transfer.
    bool Result() const { return FResult; }
    // Of the last finished transfer, set before its event: the HTTP status of its last
    // response (0 when none arrived; 206 after a resumed body), why it failed (frNone after a
    // success, including an error page delivered whole) and the platform's error code of that
    // cause (a WinInet or system error; 0 when the cause has none).
    unsigned Status() const { return FStatus; }
    TFailureReason FailureReason() const { return FFailureReason; }
    std::uint32_t FailureCode() const { return FFailureCode; }
    // True while the running transfer waits to ask for the rest of a lost body; OnProgress
    // runs as the wait starts and as it ends.
    bool Reconnecting() const { return FThread && FThread->Reconnecting(); }

    // While OnDoneFile runs: hands the handler the handle that holds the finished file (read
    // access, shared for reading only), for checking the file through it and holding it for as
    // long as the handler needs; the component then lets go of nothing when the event returns.
    FileHandle TakeHeldFile() { return std::move(FHeldFile); }

  private:
    void StartTransfer(bool toFile);
    void ThreadDone(TObject* Sender);
    void DispatchWaitingMessages();

    std::string FAcceptTypes;
    std::string FAgent;
    bool FBinaryData = false;
    std::string FURL;
    bool FUseCache = false;
    std::string FFileName;
    std::u16string FTargetPath;
    std::string FUserName;
    std::string FPassword;
    std::string FPostQuery;
    std::string FReferer;
    bool FWaitThread = false;
    std::uint32_t FStallWindowMs = TStallWatch::DefaultWindowMs;
    std::uint32_t FReconnectDelayMs = TReconnectPlan::DefaultFirstDelayMs;
    std::uint32_t FProgressIntervalMs = 0;
    THTTPGetThread* FThread = nullptr; // the running worker; it deletes itself
    bool FResult = false;
    unsigned FStatus = 0;
    TFailureReason FFailureReason = TFailureReason::frNone;
    std::uint32_t FFailureCode = 0;
    FileHandle FHeldFile; // the finished file while OnDoneFile runs
    // False once the component is destroyed: a wait loop or a completion that is still on
    // the stack when an event handler destroys the component looks here before going on.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
