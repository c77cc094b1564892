// THTTPGetThread: opens the Internet session, sends the request with the connection's
// credentials, judges the announced length and reads the body in 1025-byte blocks into the
// target file or the result text.
#include "download/win32/HTTPGetThread.h"

#include <array>
#include <exception>
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
    // The credentials belong to the connection; the HTTP layer answers a challenge with them.
    handles.Connection = InternetHandle(
        InternetConnectA(handles.Internet.get(), url.HostName.c_str(),
                         url.Secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT,
                         FTUserName.c_str(), FTPassword.c_str(), INTERNET_SERVICE_HTTP, 0, 0));

    const bool post = !FTPostQuery.empty();
    DWORD flags = FTUseCache ? 0 : INTERNET_FLAG_RELOAD;
    if (url.Secure) flags |= INTERNET_FLAG_SECURE;
    // One entry and the terminating null: exactly one "Accept:" line.
    const char* acceptList[] = {FTAcceptTypes.c_str(), nullptr};
    handles.Request = InternetHandle(HttpOpenRequestA(
        handles.Connection.get(), post ? "POST" : "GET", url.ObjectPath.c_str(), "HTTP/1.0",
        OrNull(FTReferer), FTAcceptTypes.empty() ? nullptr : acceptList, flags, 0));

    // Time-outs stated explicitly rather than left to the HTTP layer, some of which waits
    // forever for a server that accepts and then says nothing.
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        DWORD ms = kTimeoutMs;
        InternetSetOptionA(handles.Request.get(), option, &ms, sizeof(ms));
    }

    // Failures up to here show up as a failed length query (or a read that fails at once).
    if (post) {
        HttpSendRequestW(handles.Request.get(), kFormHeader, 47, FTPostQuery.data(),
                         DWORD(FTPostQuery.size()));
    } else {
        HttpSendRequestW(handles.Request.get(), nullptr, 0, nullptr, 0);
    }
    if (Terminated()) return false;

    TAnnouncedLength length = QueryAnnouncedLength(handles.Request.get());
    if (Terminated()) return false;
    if (length.Kind == TLengthKind::lkInvalid) return false;
    if (length.Kind == TLengthKind::lkAbsent && FTBinaryData) return false;
    if (length.Kind == TLengthKind::lkValid) FTFileSize = length.Value;
    return ReadBody(handles.Request.get(), length);
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
    bool endedCleanly = false;
    for (;;) {
        if (Terminated()) return false;
        DWORD got = 0;
        if (!InternetReadFile(request, buffer.data(), kBlockSize, &got)) break;
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
        if (FTProgress) Synchronize([this] { UpdateProgress(); });
    }
    file.reset();

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
