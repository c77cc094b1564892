// THTTPGetThread: the worker of one transfer. It holds copies of the component's settings,
// does all network and file work, hands its progress to the user-interface thread, picks a
// lost body up where it stopped, and says why a transfer failed.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "download/core/FailureReason.h"
#include "download/core/ProgressThrottle.h"
#include "download/core/Redirect.h"
#include "download/core/Resume.h"
#include "download/core/StallWatch.h"
#include "download/core/TransferOutcome.h"
#include "download/win32/ContentDigest.h"
#include "download/win32/InternetHandles.h"
#include "framework/win32/Thread.h"

// OnProgress(Sender, TotalSize, Readed): Sender is the worker, TotalSize 0 without a length.
using TOnProgressEvent =
    std::function<void(TObject* Sender, std::int32_t TotalSize, std::int32_t Readed)>;

class THTTPGetThread : public TThread {
  public:
    // Copies every setting and sets FreeOnTerminate; the thread is not started yet.
    // aFileName is the 8-bit form of aTargetPath, the file that is written.
    THTTPGetThread(std::string aAcceptTypes, std::string aAgent, std::string aURL,
                   std::string aFileName, std::u16string aTargetPath, std::string aUserName,
                   std::string aPassword,
                   std::string aPostQuery, std::string aReferer, bool aBinaryData, bool aUseCache,
                   TOnProgressEvent aProgress, bool aToFile);

    // The outcome; set false by the user-interface thread on a stop request (Abort).
    bool Result() const { return FTResult.load(); }
    // The stop request of Abort, from the user-interface thread: the worker stops at its next
    // check, and a wait before asking again ends at once; the outcome stays a failure.
    void RequestStop();

    // How long the body may take to gain one read's worth (1025 bytes) before the transfer
    // fails as stalled; 30 s unless set before the thread starts.
    void SetStallWindow(std::uint32_t ms) { FStallWindowMs = ms; }
    // The wait before the first request that picks a lost body up (then twice and four times
    // it); 1 s unless set before the thread starts.
    void SetReconnectDelay(std::uint32_t ms) { FReconnectDelayMs = ms; }

    // Read on the user-interface thread after the body has ended: the status of the last
    // response (0 when none arrived), why the transfer failed and the platform's error code
    // of that cause (0 when it has none).
    unsigned Status() const { return FStatus; }
    TFailureReason FailureReason() const { return FReason; }
    std::uint32_t FailureCode() const { return FReasonCode; }
    // True while the worker waits before asking for the rest of a lost body.
    bool Reconnecting() const { return FReconnecting.load(); }
    // At most one progress hand-over per this many milliseconds, plus the last one; 0: after
    // every block. Set before the thread starts.
    void SetProgressInterval(std::uint32_t ms) { FProgressThrottle = TProgressThrottle(ms); }

    const std::string& FileName() const { return FTFileName; }
    // After a successful transfer into a file: the file, held against change (SealedFile.h).
    FileHandle TakeSealedFile() { return std::move(FTSealedFile); }
    const std::string& StringResult() const { return FTStringResult; }
    std::int32_t FileSize() const { return FTFileSize; }
    bool ToFile() const { return FTToFile; }

  protected:
    void Execute() override;

  private:
    // The Internet, connection and request handles; members go in reverse order, so the
    // request is closed first and the Internet handle last.
    struct TTransferHandles {
        InternetHandle Internet, Connection, Request;
    };

    // How a read of the body ended: the HTTP layer reported its end, a read failed, the body
    // stalled, or the transfer failed otherwise (its cause already set).
    enum class TBodyEnd { beEnded, beReadFailed, beStalled, beFailed };
    // How a request for the rest of a lost body went: its answer carries the body on (or
    // starts it over), the connection was lost again, or the transfer failed.
    enum class TAskAgain { aaRead, aaLost, aaFailed };

    bool Transfer();
    bool SendFollowingRedirects(TTransferHandles& handles, TRequestTarget& target, bool& post,
                                const std::string& extraHeaders);
    InternetHandle SendRequest(HINTERNET connection, const TRequestTarget& target, bool post,
                               const std::string& extraHeaders);
    TAnnouncedLength QueryAnnouncedLength(HINTERNET request) const;
    bool OpenTarget();
    bool StartOver();
    TBodyEnd ReadBody(HINTERNET request, std::uint32_t& readError);
    bool WaitBeforeAskingAgain(std::uint32_t ms);
    TAskAgain AskAgain(TTransferHandles& handles, TRequestTarget& target, TResumePoint& point,
                       const std::string& validator);
    bool SealTarget();
    // Records why the transfer fails, unless a cause was recorded first; answers false.
    bool Fail(TFailureReason reason, std::uint32_t code = 0);
    void UpdateProgress();

    std::string FTAcceptTypes;
    std::string FTAgent;
    std::string FTURL;
    std::string FTFileName;
    std::u16string FTTargetPath;
    FileHandle FTSealedFile;
    std::string FTStringResult;
    std::string FTUserName;
    std::string FTPassword;
    std::string FTPostQuery;
    std::string FTReferer;
    bool FTBinaryData;
    bool FTUseCache;
    std::atomic<bool> FTResult{false};
    std::int32_t FTFileSize = 0;
    bool FTToFile;
    std::uint32_t BytesToRead = 0;
    std::uint32_t BytesReaded = 0;
    TOnProgressEvent FTProgress;
    std::uint32_t FStallWindowMs = TStallWatch::DefaultWindowMs;
    std::uint32_t FReconnectDelayMs = TReconnectPlan::DefaultFirstDelayMs;

    // The target file while the body is written, and the digest of what was written to it.
    FileHandle FTFile;
    std::optional<TContentDigest> FWritten;
    // The error of the last send, 0 when it went out and was answered.
    DWORD FSendError = 0;
    unsigned FStatus = 0;
    TFailureReason FReason = TFailureReason::frNone;
    std::uint32_t FReasonCode = 0;
    std::atomic<bool> FReconnecting{false};
    KernelHandle FStopEvent; // set by RequestStop: ends a wait before asking again
    TProgressThrottle FProgressThrottle{0};
};
