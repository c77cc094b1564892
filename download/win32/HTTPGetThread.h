// THTTPGetThread: the worker of one transfer. It holds copies of the component's settings,
// does all network and file work, and hands its progress to the user-interface thread.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "download/core/ProgressThrottle.h"
#include "download/core/Redirect.h"
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
    void MarkFailed() { FTResult.store(false); }

    // How long the body may take to gain one read's worth (1025 bytes) before the transfer
    // fails as stalled; 30 s unless set before the thread starts.
    void SetStallWindow(std::uint32_t ms) { FStallWindowMs = ms; }
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
    // The request, connection and Internet handles, closed in that order.
    struct TTransferHandles {
        InternetHandle Internet, Connection, Request;
        void Close() {
            Request.reset();
            Connection.reset();
            Internet.reset();
        }
    };

    bool Transfer();
    InternetHandle SendRequest(HINTERNET connection, const TRequestTarget& target, bool post);
    TAnnouncedLength QueryAnnouncedLength(HINTERNET request) const;
    bool ReadBody(HINTERNET request, const TAnnouncedLength& length);
    bool SealTarget(const TDigest& written);
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
    TProgressThrottle FProgressThrottle{0};
};
