// THTTPGetThread: opens the Internet session, sends the request with the connection's
// credentials, follows redirects within the host, judges the announced length and reads the
// body in blocks of at most 1025 bytes into the target file or the result text, failing a body
// that stalls, asks for the rest of a body whose connection was lost, and records why a
// transfer failed.
#include "download/win32/HTTPGetThread.h"

#include <algorithm>
#include <array>
#include <exception>
#include <optional>
#include <string>
#include <utility>

#include "download/core/ParseURL.h"
#include "download/win32/SealedFile.h"
#include "framework/win32/Application.h"
#include "framework/win32/WinText.h"

namespace {

constexpr DWORD kBlockSize = 1025;
// Connect, send and receive time-out: a silent server ends the transfer after this long.
constexpr DWORD kTimeoutMs = 30000;
constexpr wchar_t kFormHeader[] = L"Content-Type: application/x-www-form-urlencoded";
static_assert(sizeof(kFormHeader) / sizeof(wchar_t) - 1 == 47);

const char* OrNull(const std::string& s) {
    return s.empty() ? nullptr : s.c_str();
}

// The response's status code; 0 when there is no response.
unsigned QueryStatus(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!request || !HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER,
                                    &status, &size, nullptr))
        return 0;
    return status;
}

// A header of the response as sent (HTTP_QUERY_LOCATION, HTTP_QUERY_ETAG ...); nothing when
// it has none.
std::optional<std::string> QueryHeader(HINTERNET request, DWORD info) {
    std::string text(256, '\0');
    for (;;) {
        DWORD size = DWORD(text.size());
        if (HttpQueryInfoA(request, info, text.data(), &size, nullptr)) {
            text.resize(size);
            return text;
        }
        // The size asked for then includes the terminating zero.
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= text.size()) return std::nullopt;
        text.resize(size);
    }
}

// Waits for the next bytes of the body (at most the receive time-out) and reads at most one
// block of what has arrived. A read of a whole block would wait until the block is full,
// however slowly it fills; this returns between the bytes of a body that trickles, so the
// caller can judge its progress. At the end of the body the read delivers 0 bytes.
bool ReadArrived(HINTERNET request, char* buffer, DWORD& got) {
    DWORD available = 0;
    if (!InternetQueryDataAvailable(request, &available, 0, 0)) return false;
    DWORD size = available == 0 ? kBlockSize : std::min(available, kBlockSize);
    return InternetReadFile(request, buffer, size, &got) != FALSE;
}

} // namespace

THTTPGetThread::THTTPGetThread(std::string aAcceptTypes, std::string aAgent, std::string aURL,
                               std::string aFileName, std::u16string aTargetPath,
                               std::string aUserName, std::string aPassword,
                               std::string aPostQuery, std::string aReferer, bool aBinaryData,
                               bool aUseCache, TOnProgressEvent aProgress, bool aToFile)
    : FTAcceptTypes(std::move(aAcceptTypes)), FTAgent(std::move(aAgent)), FTURL(std::move(aURL)),
      FTFileName(std::move(aFileName)), FTTargetPath(std::move(aTargetPath)), FTUserName(std::move(aUserName)),
      FTPassword(std::move(aPassword)), FTPostQuery(std::move(aPostQuery)),
      FTReferer(std::move(aReferer)), FTBinaryData(aBinaryData), FTUseCache(aUseCache),
      FTToFile(aToFile), FTProgress(std::move(aProgress)),
      FStopEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    FreeOnTerminate = true;
}

void THTTPGetThread::RequestStop() {
    Terminate();
    if (FStopEvent) SetEvent(FStopEvent.get());
    FTResult.store(false);
}

void THTTPGetThread::Execute() {
    bool ok = false;
    try {
        ok = Transfer();
    } catch (...) {
        ok = Fail(TFailureReason::frConnectionLost, ERROR_NOT_ENOUGH_MEMORY);
    }
    FTFile.reset();
    // Stored before the stop request is looked at: RequestStop sets the request first and the
    // outcome second, so after a stop request the outcome ends false whatever the order.
    FTResult.store(ok);
    if (Terminated()) {
        FTResult.store(false);
        FReason = TFailureReason::frAborted;
        FReasonCode = 0;
    } else if (ok) {
        FReason = TFailureReason::frNone;
        FReasonCode = 0;
    }
}

bool THTTPGetThread::Fail(TFailureReason reason, std::uint32_t code) {
    if (FReason == TFailureReason::frNone) {
        FReason = reason;
        FReasonCode = code;
    }
    return false;
}

bool THTTPGetThread::Transfer() {
    TParsedURL url = ParseURL(FTURL);
    if (Terminated()) return false;

    TTransferHandles handles;
    handles.Internet = InternetHandle(
        InternetOpenA(OrNull(FTAgent), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    TRequestTarget target{
        url.Secure, url.HostName,
        INTERNET_PORT(url.Secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT),
        url.ObjectPath};
    // The credentials belong to the connection; the HTTP layer answers a challenge with them,
    // the first request's and every request that asks for the rest of a lost body alike.
    handles.Connection = InternetHandle(
        InternetConnectA(handles.Internet.get(), target.HostName.c_str(), target.Port,
                         FTUserName.c_str(), FTPassword.c_str(), INTERNET_SERVICE_HTTP, 0, 0));

    bool post = !FTPostQuery.empty();
    if (!SendFollowingRedirects(handles, target, post, {})) return false;
    // A request that got no answer is the cause of whatever fails next (see SendRequest).
    if (FSendError != 0)
        Fail(ReasonForInternetError(TTransferPhase::tpRequest, FSendError), FSendError);

    HINTERNET request = handles.Request.get();
    TAnnouncedLength length = QueryAnnouncedLength(request);
    if (Terminated()) return false;
    if (length.Kind == TLengthKind::lkInvalid) return Fail(ReasonForStatus(FStatus));
    if (length.Kind == TLengthKind::lkAbsent && FTBinaryData) return Fail(ReasonForStatus(FStatus));
    if (length.Kind == TLengthKind::lkValid) FTFileSize = length.Value;
    if (!OpenTarget()) return false;

    // What ties the rest of a lost body to the part held: the first answer's validator.
    // Only a GET with an announced length is picked up again: the length says where the body
    // ends, and a POST is not repeated to fetch a part.
    const bool resumable = length.Kind == TLengthKind::lkValid && !post;
    const std::string etag = QueryHeader(request, HTTP_QUERY_ETAG).value_or("");
    const std::string validator =
        ResumeValidator(etag, QueryHeader(request, HTTP_QUERY_LAST_MODIFIED).value_or(""));
    TResumePoint point{0, std::uint32_t(length.Value), etag};
    TReconnectPlan plan(FReconnectDelayMs);
    bool askAgain = false;
    for (;;) {
        if (askAgain) {
            if (!WaitBeforeAskingAgain(plan.DelayMs())) return false;
            FReason = TFailureReason::frNone; // the cause of this request's end is recorded afresh
            FReasonCode = 0;
            TAskAgain asked = AskAgain(handles, target, point, validator);
            if (asked == TAskAgain::aaFailed) return false;
            if (asked == TAskAgain::aaLost) {
                if (plan.Lost(BytesReaded)) continue;
                return false;
            }
            askAgain = false;
        }
        std::uint32_t readError = 0;
        TBodyEnd how = ReadBody(handles.Request.get(), readError);
        if (how == TBodyEnd::beFailed) return false;
        // A stalled body is not asked for again: the stall rule ends the transfer.
        if (how == TBodyEnd::beStalled) return Fail(TFailureReason::frConnectionLost);

        TTransferEnd end;
        end.ToFile = FTToFile;
        end.Length = length;
        end.Received = BytesReaded;
        end.EndedCleanly = how == TBodyEnd::beEnded;
        if (TransferSucceeded(end)) break;
        const bool lost = how == TBodyEnd::beReadFailed ||
                          (length.Kind == TLengthKind::lkValid &&
                           BytesReaded < std::uint32_t(length.Value));
        // An answer complete as sent that is still no outcome (an empty body in string mode):
        // the server's.
        if (!lost) return Fail(ReasonForStatus(FStatus));
        Fail(TFailureReason::frConnectionLost, readError);
        if (!resumable || !plan.Lost(BytesReaded)) return false;
        askAgain = true;
    }

    FTFile.reset();
    if (FTToFile && !SealTarget()) return false;
    // Without an announced length the size reported is the size received.
    if (length.Kind == TLengthKind::lkAbsent) FTFileSize = std::int32_t(BytesReaded);
    return true;
}

// Redirects are followed here rather than by the HTTP layer, which follows any number of them
// to any host and hands the connection's credentials on: only those that stay on the target's
// scheme, host and port, each as a new request on the same connection, and at most
// MaxRedirects in a row. One that leaves them, or one more, fails the transfer before anything
// is sent to its address. Leaves the last answer in handles.Request and its status in FStatus.
bool THTTPGetThread::SendFollowingRedirects(TTransferHandles& handles, TRequestTarget& target,
                                            bool& post, const std::string& extraHeaders) {
    for (int redirects = 0;; ++redirects) {
        handles.Request.reset();
        handles.Request = SendRequest(handles.Connection.get(), target, post, extraHeaders);
        if (Terminated()) return false;
        FStatus = QueryStatus(handles.Request.get());
        if (!IsRedirectStatus(FStatus)) return true;
        std::optional<std::string> location = QueryHeader(handles.Request.get(), HTTP_QUERY_LOCATION);
        if (!location) return true; // nowhere to go: an answer like any other
        if (redirects == MaxRedirects) return Fail(TFailureReason::frServerError);
        std::optional<std::string> path = RedirectPath(target, *location);
        if (!path) return Fail(TFailureReason::frServerError);
        target.ObjectPath = std::move(*path);
        post = post && RedirectKeepsVerb(FStatus);
    }
}

// Opens one request for the target's path on the connection, with the extra header lines
// (each ended by CR LF) if any, sends it and answers it. A send that fails leaves its error in
// FSendError; the transfer goes on as before (a failed length query, or a read that fails at
// once), and the error is the cause recorded for its failure.
InternetHandle THTTPGetThread::SendRequest(HINTERNET connection, const TRequestTarget& target,
                                           bool post, const std::string& extraHeaders) {
    DWORD flags = FTUseCache ? 0 : INTERNET_FLAG_RELOAD;
    if (target.Secure) flags |= INTERNET_FLAG_SECURE;
    // The HTTP layer hands a redirect answer back instead of following it (see Transfer);
    // nothing in the request changes by it.
    flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    // One entry and the terminating null: exactly one "Accept:" line.
    const char* acceptList[] = {FTAcceptTypes.c_str(), nullptr};
    InternetHandle request(HttpOpenRequestA(
        connection, post ? "POST" : "GET", target.ObjectPath.c_str(), "HTTP/1.0", OrNull(FTReferer),
        FTAcceptTypes.empty() ? nullptr : acceptList, flags, 0));

    // Time-outs stated explicitly rather than left to the HTTP layer, some of which waits
    // forever for a server that accepts and then says nothing.
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        DWORD ms = kTimeoutMs;
        InternetSetOptionA(request.get(), option, &ms, sizeof(ms));
    }

    if (!extraHeaders.empty())
        HttpAddRequestHeadersA(request.get(), extraHeaders.c_str(), DWORD(extraHeaders.size()),
                               HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE);
    BOOL sent;
    if (post) {
        sent = HttpSendRequestW(request.get(), kFormHeader, 47, FTPostQuery.data(),
                                DWORD(FTPostQuery.size()));
    } else {
        sent = HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0);
    }
    FSendError = sent ? 0 : GetLastError();
    return request;
}

// Every Content-Length line of the response as text: a numeric query would silently turn a
// negative, oversized or doubled length into some number.
TAnnouncedLength THTTPGetThread::QueryAnnouncedLength(HINTERNET request) const {
    std::vector<std::string> values;
    if (!request) return ParseContentLength(values);
    for (DWORD index = 0; values.size() < 16;) {
        std::array<wchar_t, 64> text{};
        DWORD bytes = sizeof(text) - sizeof(wchar_t);
        DWORD current = index;
        if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text.data(), &bytes, &index)) {
            // A value too long for the buffer is no length this component can take.
            if (GetLastError() == ERROR_INSUFFICIENT_BUFFER) values.push_back("x");
            break;
        }
        values.push_back(WideToAnsi(FromWide(text.data(), bytes / sizeof(wchar_t))));
        if (index == current) break; // the HTTP layer did not move on to a next copy
    }
    return ParseContentLength(values);
}

// Creates the target file (or clears the result text) for the body.
bool THTTPGetThread::OpenTarget() {
    BytesReaded = 0;
    if (!FTToFile) {
        FTStringResult.clear();
        return true;
    }
    FTFile = FileHandle(CreateFileW(AsWide(FTTargetPath), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!FTFile) return Fail(TFailureReason::frTargetFile, GetLastError());
    FWritten.emplace();
    return true;
}

// Drops the part of the body held, for an answer that sends it again from its start. The file
// stays open (and held) throughout.
bool THTTPGetThread::StartOver() {
    BytesReaded = 0;
    if (!FTToFile) {
        FTStringResult.clear();
        return true;
    }
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(FTFile.get(), zero, nullptr, FILE_BEGIN) || !SetEndOfFile(FTFile.get()))
        return Fail(TFailureReason::frTargetFile, GetLastError());
    FWritten.emplace();
    return true;
}

// Reads the body of `request` after the part already held, in blocks of at most 1025 bytes,
// into the target file or the result text, until it ends, a read fails (its error in
// readError) or it stalls.
THTTPGetThread::TBodyEnd THTTPGetThread::ReadBody(HINTERNET request, std::uint32_t& readError) {
    std::array<char, kBlockSize> buffer;
    TStallWatch stall(GetTickCount(), FStallWindowMs);
    const std::uint32_t start = BytesReaded;
    for (;;) {
        if (Terminated()) return TBodyEnd::beFailed;
        DWORD got = 0;
        if (!ReadArrived(request, buffer.data(), got)) {
            readError = GetLastError();
            return TBodyEnd::beReadFailed;
        }
        if (got == 0) {
            // The last state, when the interval held it back, reaches the handler too.
            if (FTProgress && FProgressThrottle.Owed()) Synchronize([this] { UpdateProgress(); });
            return TBodyEnd::beEnded;
        }
        BytesToRead = got;
        if (BytesToRead > MaxTransferSize - BytesReaded) { // beyond 32-bit sizes
            Fail(ReasonForStatus(FStatus));
            return TBodyEnd::beFailed;
        }
        if (FTFile) {
            DWORD stored = 0;
            if (!WriteFile(FTFile.get(), buffer.data(), got, &stored, nullptr) || stored != got) {
                // A write that stored less without an error: the disk is full.
                DWORD error = GetLastError();
                Fail(TFailureReason::frTargetFile, error ? error : ERROR_DISK_FULL);
                return TBodyEnd::beFailed;
            }
            FWritten->Add(buffer.data(), got);
        } else {
            FTStringResult.append(buffer.data(), got);
        }
        BytesReaded += BytesToRead;
        if (FTProgress && FProgressThrottle.Due(GetTickCount()))
            Synchronize([this] { UpdateProgress(); });
        if (!stall.Moving(BytesReaded - start, GetTickCount())) return TBodyEnd::beStalled;
    }
}

// Waits `ms` before asking for the rest of a lost body; a stop request ends the wait at once
// (false). The progress handler hears of the wait as it starts and as it ends, and
// Reconnecting() tells it apart meanwhile.
bool THTTPGetThread::WaitBeforeAskingAgain(std::uint32_t ms) {
    FReconnecting.store(true);
    if (FTProgress) Synchronize([this] { UpdateProgress(); });
    if (!Terminated()) WaitForSingleObject(FStopEvent.get(), ms);
    FReconnecting.store(false);
    if (FTProgress) Synchronize([this] { UpdateProgress(); });
    return !Terminated();
}

// Asks for the rest of a lost body on the same connection (the same host and credentials,
// redirects under the same rules): from the bytes held with a validator, from the start
// without one. Judges the answer's head; the body is read by the caller.
THTTPGetThread::TAskAgain THTTPGetThread::AskAgain(TTransferHandles& handles,
                                                   TRequestTarget& target, TResumePoint& point,
                                                   const std::string& validator) {
    handles.Request.reset();
    std::string headers;
    if (validator.empty()) {
        if (!StartOver()) return TAskAgain::aaFailed;
    } else {
        headers = "Range: bytes=" + std::to_string(BytesReaded) + "-\r\nIf-Range: " + validator +
                  "\r\n";
    }
    point.From = BytesReaded;
    bool post = false;
    if (!SendFollowingRedirects(handles, target, post, headers)) return TAskAgain::aaFailed;
    if (FSendError != 0) {
        Fail(ReasonForInternetError(TTransferPhase::tpRequest, FSendError), FSendError);
        return TAskAgain::aaLost;
    }
    HINTERNET request = handles.Request.get();
    TResumeAnswerHead head;
    head.Status = FStatus;
    head.Length = QueryAnnouncedLength(request);
    head.ContentRange = QueryHeader(request, HTTP_QUERY_CONTENT_RANGE);
    head.ETag = QueryHeader(request, HTTP_QUERY_ETAG).value_or("");
    if (Terminated()) return TAskAgain::aaFailed;
    switch (JudgeResumeAnswer(point, head)) {
    case TResumeAnswer::raAppend:
        return TAskAgain::aaRead;
    case TResumeAnswer::raStartOver:
        return StartOver() ? TAskAgain::aaRead : TAskAgain::aaFailed;
    case TResumeAnswer::raRefuse:
        break;
    }
    Fail(ReasonForStatus(FStatus));
    return TAskAgain::aaFailed;
}

// The complete file is held against change from here until the component has reported it;
// a file that another process changed or holds open for writing is a failed transfer.
bool THTTPGetThread::SealTarget() {
    FTSealedFile = SealWrittenFile(FTTargetPath, FWritten->Finish());
    if (!FTSealedFile) return Fail(TFailureReason::frTargetFile, GetLastError());
    return true;
}

// On the user-interface thread. After a stop request (Abort or the component's destruction)
// no progress reaches the handler: its owner may already be gone.
void THTTPGetThread::UpdateProgress() {
    if (Terminated() || !FTProgress) return;
    try {
        FTProgress(this, FTFileSize, std::int32_t(BytesReaded));
    } catch (const std::exception& e) {
        HandleEscapedException(e);
    }
}
