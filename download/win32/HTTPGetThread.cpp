// THTTPGetThread: opens the Internet session, sends the request with the connection's
// credentials, follows redirects within the host, judges the announced length and reads the
// body in blocks of at most 1025 bytes into the target file or the result text, failing a body
// that stalls.
#include "download/win32/HTTPGetThread.h"

#include <algorithm>
#include <array>
#include <exception>
#include <optional>
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

// The response's Location header as sent; nothing when it has none.
std::optional<std::string> QueryLocation(HINTERNET request) {
    std::string text(256, '\0');
    for (;;) {
        DWORD size = DWORD(text.size());
        if (HttpQueryInfoA(request, HTTP_QUERY_LOCATION, text.data(), &size, nullptr)) {
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
      FTToFile(aToFile), FTProgress(std::move(aProgress)) {
    FreeOnTerminate = true;
}

void THTTPGetThread::Execute() {
    bool ok = false;
    try {
        ok = Transfer();
    } catch (...) {
        ok = false;
    }
    // Stored before the stop request is looked at: Abort sets the request first and the
    // outcome second, so after a stop request the outcome ends false whatever the order.
    FTResult.store(ok);
    if (Terminated()) FTResult.store(false);
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
    // The credentials belong to the connection; the HTTP layer answers a challenge with them.
    handles.Connection = InternetHandle(
        InternetConnectA(handles.Internet.get(), target.HostName.c_str(), target.Port,
                         FTUserName.c_str(), FTPassword.c_str(), INTERNET_SERVICE_HTTP, 0, 0));

    // Redirects are followed here rather than by the HTTP layer, which follows any number of
    // them to any host and hands the connection's credentials on: only those that stay on the
    // target's scheme, host and port, each as a new request on the same connection, and at
    // most MaxRedirects in a row. One that leaves them, or one more, fails the transfer
    // before anything is sent to its address.
    bool post = !FTPostQuery.empty();
    for (int redirects = 0;; ++redirects) {
        handles.Request.reset();
        handles.Request = SendRequest(handles.Connection.get(), target, post);
        if (Terminated()) return false;
        const unsigned status = QueryStatus(handles.Request.get());
        if (!IsRedirectStatus(status)) break;
        std::optional<std::string> location = QueryLocation(handles.Request.get());
        if (!location) break; // nowhere to go: an answer like any other
        if (redirects == MaxRedirects) return false;
        std::optional<std::string> path = RedirectPath(target, *location);
        if (!path) return false;
        target.ObjectPath = std::move(*path);
        post = post && RedirectKeepsVerb(status);
    }

    TAnnouncedLength length = QueryAnnouncedLength(handles.Request.get());
    if (Terminated()) return false;
    if (length.Kind == TLengthKind::lkInvalid) return false;
    if (length.Kind == TLengthKind::lkAbsent && FTBinaryData) return false;
    if (length.Kind == TLengthKind::lkValid) FTFileSize = length.Value;
    return ReadBody(handles.Request.get(), length);
}

// Opens one request for the target's path on the connection, sends it and answers it (its
// result is not tested: failures show up as a failed length query or a read that fails at
// once).
InternetHandle THTTPGetThread::SendRequest(HINTERNET connection, const TRequestTarget& target,
                                           bool post) {
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

    if (post) {
        HttpSendRequestW(request.get(), kFormHeader, 47, FTPostQuery.data(),
                         DWORD(FTPostQuery.size()));
    } else {
        HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0);
    }
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

bool THTTPGetThread::ReadBody(HINTERNET request, const TAnnouncedLength& length) {
    BytesReaded = 0;
    FileHandle file;
    TContentDigest written;
    if (FTToFile) {
        file = FileHandle(CreateFileW(AsWide(FTTargetPath), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
    } else {
        FTStringResult.clear();
    }

    std::array<char, kBlockSize> buffer;
    TStallWatch stall(GetTickCount(), FStallWindowMs);
    bool endedCleanly = false;
    for (;;) {
        if (Terminated()) return false;
        DWORD got = 0;
        if (!ReadArrived(request, buffer.data(), got)) break;
        if (got == 0) {
            endedCleanly = true;
            break;
        }
        BytesToRead = got;
        if (BytesToRead > MaxTransferSize - BytesReaded) return false; // beyond 32-bit sizes
        if (file) {
            DWORD stored = 0;
            if (!WriteFile(file.get(), buffer.data(), got, &stored, nullptr) || stored != got)
                return false;
            written.Add(buffer.data(), got);
        } else {
            FTStringResult.append(buffer.data(), got);
        }
        BytesReaded += BytesToRead;
        if (FTProgress && FProgressThrottle.Due(GetTickCount()))
            Synchronize([this] { UpdateProgress(); });
        if (!stall.Moving(BytesReaded, GetTickCount())) return false; // a stalled body
    }
    file.reset();
    if (FTProgress && endedCleanly && FProgressThrottle.Owed())
        Synchronize([this] { UpdateProgress(); });

    TTransferEnd end;
    end.ToFile = FTToFile;
    end.Length = length;
    end.Received = BytesReaded;
    end.EndedCleanly = endedCleanly;
    if (!TransferSucceeded(end)) return false;
    if (FTToFile && !SealTarget(written.Finish())) return false;
    // Without an announced length the size reported is the size received.
    if (length.Kind == TLengthKind::lkAbsent) FTFileSize = std::int32_t(BytesReaded);
    return true;
}

// The complete file is held against change from here until the component has reported it;
// a file that another process changed or holds open for writing is a failed transfer.
bool THTTPGetThread::SealTarget(const TDigest& written) {
    FTSealedFile = SealWrittenFile(FTTargetPath, written);
    return bool(FTSealedFile);
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
