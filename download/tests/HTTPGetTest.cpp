// THTTPGet against the loopback test server: what reaches the server, the outcome of every
// reply the server can play, and the component's behaviour during a running transfer.
#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <sstream>

#include "download/tests/TestServer.h"
#include "download/win32/HTTPGet.h"
#include "tests/support/WinTestSupport.h"

namespace {

using namespace std::chrono_literals;

// "user:password" from a "Basic <base64>" Authorization value.
std::string BasicCredentials(const std::string& header) {
    const std::string prefix = "Basic ";
    if (header.rfind(prefix, 0) != 0) return {};
    std::string encoded = header.substr(prefix.size());
    DWORD size = 0;
    if (!CryptStringToBinaryA(encoded.c_str(), DWORD(encoded.size()), CRYPT_STRING_BASE64, nullptr,
                              &size, nullptr, nullptr))
        return {};
    std::string decoded(size, '\0');
    CryptStringToBinaryA(encoded.c_str(), DWORD(encoded.size()), CRYPT_STRING_BASE64,
                         reinterpret_cast<BYTE*>(decoded.data()), &size, nullptr, nullptr);
    decoded.resize(size);
    return decoded;
}

// Everything the component reported.
struct Outcome {
    int DoneFile = 0, DoneString = 0, Errors = 0;
    TObject* Sender = nullptr;
    std::string FileName;
    std::int32_t FileSize = -1;
    std::string Text;
    struct Progress {
        TObject* Sender;
        bool FromWorker; // the sender is a THTTPGetThread
        std::int32_t Total, Readed;
    };
    std::vector<Progress> Progresses;
    int Events() const { return DoneFile + DoneString + Errors; }
};

void Wire(THTTPGet& get, Outcome& out) {
    get.OnDoneFile = [&out](TObject* s, const std::string& name, std::int32_t size) {
        ++out.DoneFile;
        out.Sender = s;
        out.FileName = name;
        out.FileSize = size;
    };
    get.OnDoneString = [&out](TObject* s, const std::string& text) {
        ++out.DoneString;
        out.Sender = s;
        out.Text = text;
    };
    get.OnError = [&out](TObject* s) {
        ++out.Errors;
        out.Sender = s;
    };
    get.OnProgress = [&out](TObject* s, std::int32_t total, std::int32_t readed) {
        out.Progresses.push_back({s, dynamic_cast<THTTPGetThread*>(s) != nullptr, total, readed});
    };
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Threads of this process, from a snapshot.
int CountThreads() {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 e{};
    e.dwSize = sizeof(e);
    int n = 0;
    for (BOOL ok = Thread32First(snap, &e); ok; ok = Thread32Next(snap, &e))
        if (e.th32OwnerProcessID == GetCurrentProcessId()) ++n;
    CloseHandle(snap);
    return n;
}

// Starts a transfer without waiting in GetFile (which would wait for ever on a transfer that
// never ends) and pumps until its outcome has come, or `limit` has passed: then it stops the
// transfer and answers false.
bool FinishesWithin(THTTPGet& get, const Outcome& out, std::chrono::milliseconds limit) {
    get.SetWaitThread(false);
    get.GetFile();
    if (PumpUntil([&] { return out.Events() > 0; }, limit)) return true;
    get.Abort();
    return false;
}

// One event, of the kind expected, and what the component tells of the end after it.
void ExpectEnd(const THTTPGet& get, const Outcome& out, bool done, unsigned status,
               TFailureReason reason) {
    EXPECT_EQ(out.Events(), 1);
    EXPECT_EQ(out.DoneFile, done ? 1 : 0);
    EXPECT_EQ(get.Result(), done);
    EXPECT_EQ(get.Status(), status);
    EXPECT_EQ(get.FailureReason(), reason);
}

class Download : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!TestServer::Available()) GTEST_SKIP() << "needs the test server wrapper";
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        Dir = std::string(temp) + "lv-download-test\\";
        CreateDirectoryA(Dir.c_str(), nullptr);
        Target = Dir + "target.bin";
        DeleteFileA(Target.c_str());
        WarmUp();
        Mark = TestServer::Mark();
    }

    // One transfer before the first test, so that the threads and handles WinInet sets up
    // on first use are in place before any test counts them.
    static void WarmUp() {
        static bool done = false;
        if (done) return;
        done = true;
        THTTPGet get(nullptr);
        get.SetURL(TestServer::Url("/t/ok-10"));
        bool ended = false;
        get.OnDoneString = [&](TObject*, const std::string&) { ended = true; };
        get.OnError = [&](TObject*) { ended = true; };
        get.GetString();
        PumpUntil([&] { return ended; }, 10s);
        PumpFor(200);
    }
    void TearDown() override { DeleteFileA(Target.c_str()); }

    // A component set up as the assistant sets it up, aimed at `path` on the test server.
    std::unique_ptr<THTTPGet> Make(const std::string& path) {
        auto get = std::make_unique<THTTPGet>(nullptr);
        get->SetURL(TestServer::Url(path));
        get->SetFileName(Target);
        get->SetBinaryData(true);
        get->SetReferer("Kestrune - Optavo");
        get->SetWaitThread(true);
        get->SetReconnectDelay(20); // the 1, 2 and 4 s are tried end to end
        Wire(*get, Out);
        return get;
    }

    std::string Dir, Target;
    std::size_t Mark = 0;
    Outcome Out;
};

TEST_F(Download, DefaultsOfANewComponent) {
    THTTPGet get(nullptr);
    EXPECT_EQ(get.AcceptTypes(), "*/*");
    EXPECT_EQ(get.Agent(), "Optavo HTTPGet");
    EXPECT_FALSE(get.BinaryData());
    EXPECT_FALSE(get.UseCache());
    EXPECT_FALSE(get.WaitThread());
    EXPECT_EQ(get.URL(), "");
    EXPECT_EQ(get.PostQuery(), "");
}

// The installer request: HTTP/1.0 with one Accept line, referrer and agent; no credentials
// until the server asks, then Basic with customer number and download password.
TEST_F(Download, InstallerRequestCarriesHeadersAndCredentialsAfterTheChallenge) {
    auto get = Make(TestServer::InstallerPath());
    get->SetUserName("1234567890");
    get->SetPassword(TestServer::Password());
    get->GetFile();

    std::string installer = ReadFile("Z:" + std::string(std::getenv("LV_TEST_INSTALLER")));
    ASSERT_GT(installer.size(), 2200u);
    ASSERT_EQ(Out.DoneFile, 1);
    EXPECT_EQ(Out.Events(), 1);
    EXPECT_EQ(Out.Sender, get.get());
    EXPECT_EQ(Out.FileName, Target);
    EXPECT_EQ(Out.FileSize, std::int32_t(installer.size()));
    EXPECT_EQ(ReadFile(Target), installer);

    auto conns = TestServer::SinceAllClosed(Mark);
    ASSERT_EQ(conns.size(), 2u);
    const std::string expectedLine = "GET http://" + TestServer::Host() +
                                     ":80" + TestServer::InstallerPath() +
                                     " HTTP/1.0";
    std::string credentials = "1234567890:" + TestServer::Password();
    for (const auto& c : conns) {
        SCOPED_TRACE(c.Id);
        EXPECT_EQ(c.RequestLine, expectedLine);
        EXPECT_EQ(c.HeaderValues("Accept"), std::vector<std::string>{"*/*"});
        EXPECT_EQ(c.HeaderValues("Referer"), std::vector<std::string>{"Kestrune - Optavo"});
        EXPECT_EQ(c.HeaderValues("User-Agent"), std::vector<std::string>{"Optavo HTTPGet"});
        EXPECT_EQ(c.Closed, "client");
    }
    EXPECT_TRUE(conns[0].HeaderValues("Authorization").empty());
    ASSERT_EQ(conns[1].HeaderValues("Authorization").size(), 1u);
    EXPECT_EQ(BasicCredentials(conns[1].HeaderValues("Authorization")[0]), credentials);
}

// The stand-in installer as delivered: started, it leaves its marker beside itself.
TEST_F(Download, DownloadedInstallerRunsAndLeavesItsMarker) {
    const std::string exe = Dir + "setup.exe";
    const std::string marker = exe + ".started";
    DeleteFileA(exe.c_str());
    DeleteFileA(marker.c_str());
    auto get = Make(TestServer::InstallerPath());
    get->SetFileName(exe);
    get->SetUserName("1234567890");
    get->SetPassword(TestServer::Password());
    get->GetFile();
    ASSERT_EQ(Out.DoneFile, 1);

    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::string commandLine = "\"" + exe + "\"";
    ASSERT_TRUE(CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &si, &pi));
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(FileExists(marker));
    DeleteFileA(marker.c_str());
    DeleteFileA(exe.c_str());
}

// Refused credentials: the server's error page has a length, so it is stored and reported
// with that length; the caller judges it by its size.
TEST_F(Download, RefusedCredentialsDeliverTheErrorPageWithItsLength) {
    auto get = Make(TestServer::InstallerPath());
    get->SetUserName("1234567890");
    get->SetPassword("wrong");
    get->GetFile();
    ASSERT_EQ(Out.DoneFile, 1);
    EXPECT_EQ(Out.Events(), 1);
    std::string page = ReadFile(Target);
    EXPECT_EQ(Out.FileSize, std::int32_t(page.size()));
    EXPECT_NE(page.find("401"), std::string::npos);
    EXPECT_LT(page.size(), 2200u);
}

// Every reply the server can play, in file mode, ends in exactly one event; OnDoneFile only
// for a complete body of the announced length (or, without a length and with BinaryData
// false, a non-empty body that ended cleanly).
TEST_F(Download, FileModeOutcomeOfEveryReply) {
    struct Row {
        const char* path;
        bool binary;
        bool done;     // OnDoneFile, else OnError
        int size;      // FileSize of OnDoneFile; -1: the page's length
        bool fileMade; // target file exists afterwards
        bool pattern;  // the file holds the generated body
    };
    const Row rows[] = {
        {"/t/ok-2200", true, true, 2200, true, true},
        {"/t/ok-2201", true, true, 2201, true, true},
        {"/t/ok-1025", true, true, 1025, true, true},
        {"/t/ok-0", true, true, 0, true, true},
        {"/t/ok-6291456", true, true, 6291456, true, true},
        {"/t/404", true, true, -1, true, false},
        {"/t/401", true, true, -1, true, false},
        {"/t/redirect-3000", true, true, 3000, true, true},
        {"/t/nolength-3000", true, false, 0, false, false},
        {"/t/nolength-3000", false, true, 3000, true, true},
        {"/t/nolength-0", false, false, 0, true, false},
        {"/t/short-5000", true, false, 0, true, false},
        {"/t/short-5000", false, false, 0, true, false},
        {"/t/reset-100000", true, false, 0, true, false},
        {"/t/nolength-reset-3000", false, false, 0, true, false},
        {"/t/cl-negative-10", false, false, 0, false, false},
        {"/t/cl-nan-10", false, false, 0, false, false},
        {"/t/cl-twice-100", false, false, 0, false, false},
        {"/t/cl-huge-2200", false, false, 0, false, false},
        {"/t/close-before-reply", true, false, 0, false, false},
        // Without BinaryData the body is read all the same, so the target is created.
        {"/t/close-before-reply", false, false, 0, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.path) + (row.binary ? " binary" : " not binary"));
        DeleteFileA(Target.c_str());
        Out = Outcome();
        auto get = Make(row.path);
        get->SetBinaryData(row.binary);
        get->GetFile();
        EXPECT_EQ(Out.Events(), 1);
        EXPECT_EQ(Out.DoneFile, row.done ? 1 : 0);
        EXPECT_EQ(Out.Errors, row.done ? 0 : 1);
        EXPECT_EQ(FileExists(Target), row.fileMade);
        if (!row.done) continue;
        std::string data = ReadFile(Target);
        EXPECT_EQ(Out.FileSize, std::int32_t(data.size()));
        if (row.size >= 0) {
            EXPECT_EQ(Out.FileSize, row.size);
        }
        if (row.pattern) {
            EXPECT_TRUE(TestServer::IsPattern(data));
        }
    }
}

// Addresses that reach no server: an empty host name (no "/" after the host), a port kept in
// the host name, a host the proxy cannot reach.
TEST_F(Download, AddressesThatReachNoServerEndInOnError) {
    const std::string urls[] = {
        "http://" + TestServer::Host(),
        "http://" + TestServer::Host() + ":8080/t/ok-10",
        "http://unknown.example/t/ok-10",
    };
    for (const std::string& url : urls) {
        SCOPED_TRACE(url);
        DeleteFileA(Target.c_str());
        Out = Outcome();
        auto get = Make("/");
        get->SetURL(url);
        get->GetFile();
        EXPECT_EQ(Out.Events(), 1);
        EXPECT_EQ(Out.Errors, 1);
        EXPECT_FALSE(FileExists(Target));
    }
}

TEST_F(Download, UnwritableTargetEndsInOnError) {
    const std::string folder = Dir + "a-folder-where-the-file-goes";
    CreateDirectoryA(folder.c_str(), nullptr);
    struct Row {
        std::string target;
        std::uint32_t code;
    };
    for (const Row& row : {Row{Dir + "no-such-folder\\target.bin", ERROR_PATH_NOT_FOUND},
                           Row{folder, ERROR_ACCESS_DENIED}}) {
        SCOPED_TRACE(row.target);
        Out = Outcome();
        auto get = Make("/t/ok-3000");
        get->SetFileName(row.target);
        get->GetFile();
        EXPECT_EQ(Out.Errors, 1);
        EXPECT_EQ(Out.Events(), 1);
        EXPECT_EQ(get->FailureReason(), TFailureReason::frTargetFile);
        EXPECT_EQ(get->FailureCode(), row.code);
        EXPECT_EQ(get->Status(), 200u);
    }
    RemoveDirectoryA(folder.c_str());
}

// Why a transfer ended, as the component tells it after the event: the last response's
// status and the reason. A complete error page is still a delivered file; its status says
// what it is.
TEST_F(Download, StatusAndFailureReasonOfEachWayOut) {
    using R = TFailureReason;
    struct Row {
        std::string url;
        bool done;
        unsigned status;
        R reason;
    };
    const std::string host = "http://" + TestServer::Host();
    const Row rows[] = {
        {"/t/ok-100", true, 200, R::frNone},
        {"/t/status-404", true, 404, R::frNone},
        {"/t/status-500", true, 500, R::frNone},
        {"/t/401", true, 401, R::frNone},
        {"/t/bare-status-401", false, 401, R::frCredentialsRefused},
        {"/t/bare-status-403", false, 403, R::frCredentialsRefused},
        {"/t/bare-status-407", false, 407, R::frCredentialsRefused},
        {"/t/bare-status-500", false, 500, R::frServerError},
        {"/t/nolength-300", false, 200, R::frServerError},
        {"/t/cl-nan-10", false, 200, R::frServerError},
        {"/t/loop", false, 302, R::frServerError},
        {"/t/to-host", false, 302, R::frServerError},
        {"/t/close-before-reply", false, 0, R::frConnectionLost},
        {"/t/short-5000", false, 200, R::frConnectionLost},
        {"/t/reset-100000", false, 200, R::frConnectionLost},
        // The proxy cannot reach the host and closes the connection without an answer.
        {"http://unknown.example/t/ok-10", false, 0, R::frConnectionLost},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.url);
        Out = Outcome();
        auto get = Make(row.url.rfind("/", 0) == 0 ? row.url : "/");
        if (row.url.rfind("/", 0) != 0) get->SetURL(row.url);
        ASSERT_TRUE(FinishesWithin(*get, Out, 30s));
        PumpFor(20);
        ExpectEnd(*get, Out, row.done, row.status, row.reason);
        if (row.reason == R::frServerError || row.reason == R::frCredentialsRefused ||
            row.done) {
            EXPECT_EQ(get->FailureCode(), 0u);
        }
    }
}

TEST_F(Download, StringModeOutcomes) {
    struct Row {
        const char* path;
        bool binary;
        bool done;
        std::size_t size;
    };
    const Row rows[] = {
        {"/t/ok-3", true, true, 3},        {"/t/ok-2201", true, true, 2201},
        {"/t/ok-0", true, false, 0},       {"/t/nolength-5", false, true, 5},
        {"/t/nolength-5", true, false, 0}, {"/t/short-5000", true, false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        Out = Outcome();
        auto get = Make(row.path);
        get->SetBinaryData(row.binary);
        get->GetString();
        ASSERT_TRUE(PumpUntil([&] { return Out.Events() > 0; }, 20s));
        PumpFor(50);
        EXPECT_EQ(Out.Events(), 1);
        EXPECT_EQ(Out.DoneString, row.done ? 1 : 0);
        EXPECT_EQ(Out.Sender, get.get());
        if (row.done) {
            EXPECT_EQ(Out.Text.size(), row.size);
            EXPECT_TRUE(TestServer::IsPattern(Out.Text));
        }
        EXPECT_FALSE(FileExists(Target));
    }
}

// A POST carries the form content type and the body's bytes; the server echoes the body.
TEST_F(Download, PostSendsFormBody) {
    const std::string body = "customer=1234567890&note=a%20b&x=\xE4\xF6";
    auto get = Make("/t/echo");
    get->SetPostQuery(body);
    get->GetString();
    ASSERT_TRUE(PumpUntil([&] { return Out.Events() > 0; }, 20s));
    ASSERT_EQ(Out.DoneString, 1);
    EXPECT_EQ(Out.Text, body);
    auto conns = TestServer::SinceAllClosed(Mark);
    ASSERT_EQ(conns.size(), 1u);
    EXPECT_EQ(conns[0].RequestLine.rfind("POST http://", 0), 0u) << conns[0].RequestLine;
    EXPECT_EQ(conns[0].HeaderValues("Content-Type"),
              std::vector<std::string>{"application/x-www-form-urlencoded"});
    EXPECT_EQ(conns[0].HeaderValues("Accept"), std::vector<std::string>{"*/*"});
    EXPECT_EQ(conns[0].Body, body);
}

// OnProgress after every block, with the worker as sender; TotalSize is the announced
// length, or 0 without one.
TEST_F(Download, ProgressAfterEveryBlock) {
    for (bool withLength : {true, false}) {
        SCOPED_TRACE(withLength ? "with length" : "without length");
        Out = Outcome();
        auto get = Make(withLength ? "/t/ok-10000" : "/t/nolength-10000");
        get->SetBinaryData(withLength);
        get->GetFile();
        ASSERT_EQ(Out.DoneFile, 1);
        ASSERT_GE(Out.Progresses.size(), 10u); // 10000 bytes in blocks of at most 1025
        std::int32_t last = 0;
        for (const auto& p : Out.Progresses) {
            EXPECT_NE(p.Sender, get.get());
            EXPECT_TRUE(p.FromWorker);
            EXPECT_EQ(p.Total, withLength ? 10000 : 0);
            EXPECT_GT(p.Readed, last);
            EXPECT_LE(p.Readed - last, 1025);
            last = p.Readed;
        }
        EXPECT_EQ(last, 10000);
    }
}

// With ProgressInterval: the first hand-over at once, then none sooner than the interval
// after the one before, and the last state (the whole body) handed over at the end.
TEST_F(Download, ProgressIntervalHandsOverAtMostOnePerIntervalAndTheLast) {
    constexpr DWORD kInterval = 300;
    auto get = Make("/t/slow-20"); // 20 blocks, one every 50 ms
    get->SetProgressInterval(kInterval);
    std::vector<DWORD> at;
    get->OnProgress = [&](TObject*, std::int32_t total, std::int32_t readed) {
        at.push_back(GetTickCount());
        Out.Progresses.push_back({nullptr, true, total, readed});
    };
    const DWORD start = GetTickCount();
    get->GetFile();
    const DWORD elapsed = GetTickCount() - start;
    ASSERT_EQ(Out.DoneFile, 1);
    ASSERT_GE(Out.Progresses.size(), 2u);
    EXPECT_LE(Out.Progresses.size(), elapsed / kInterval + 2);
    for (std::size_t i = 1; i + 1 < at.size(); ++i)
        EXPECT_GE(at[i] - at[i - 1], kInterval - 20) << "hand-over " << i; // tick granularity
    EXPECT_EQ(Out.Progresses.back().Readed, 20 * 1025);
    EXPECT_EQ(Out.Progresses.back().Total, 20 * 1025);
}

// While a transfer runs, GetFile and GetString start nothing.
TEST_F(Download, SecondStartDuringATransferStartsNothing) {
    auto get = Make("/t/slow-6");
    get->SetWaitThread(false);
    get->GetFile();
    get->GetFile();
    get->GetString();
    get->SetWaitThread(true);
    get->GetFile(); // does nothing: in particular it does not wait
    EXPECT_EQ(Out.Events(), 0);
    ASSERT_TRUE(PumpUntil([&] { return Out.Events() > 0; }, 20s));
    PumpFor(100);
    EXPECT_EQ(Out.DoneFile, 1);
    EXPECT_EQ(Out.Events(), 1);
    EXPECT_EQ(TestServer::SinceAllClosed(Mark).size(), 1u);
}

// A quit request posted while GetFile waits is taken by its loop and has no effect.
TEST_F(Download, QuitRequestDuringGetFileIsConsumed) {
    auto get = Make("/t/slow-4");
    bool posted = false;
    get->OnProgress = [&](TObject*, std::int32_t, std::int32_t) {
        if (!posted) PostQuitMessage(7);
        posted = true;
    };
    get->GetFile();
    EXPECT_TRUE(posted);
    EXPECT_EQ(Out.DoneFile, 1);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// Abort during the body: OnError, no progress after the stop request, the connection is let
// go, and the worker is gone afterwards.
TEST_F(Download, AbortEndsInOnError) {
    const int threads = CountThreads();
    auto get = Make("/t/slow-40");
    get->SetWaitThread(false);
    int progressAfterAbort = 0;
    bool aborted = false;
    get->OnProgress = [&](TObject*, std::int32_t, std::int32_t readed) {
        if (aborted) ++progressAfterAbort;
        if (readed >= 2050 && !aborted) {
            aborted = true;
            get->Abort();
        }
    };
    get->GetFile();
    ASSERT_TRUE(PumpUntil([&] { return Out.Events() > 0; }, 20s));
    PumpFor(100);
    EXPECT_EQ(Out.Errors, 1);
    EXPECT_EQ(Out.Events(), 1);
    EXPECT_EQ(progressAfterAbort, 0);
    EXPECT_FALSE(get->Result());
    EXPECT_EQ(get->FailureReason(), TFailureReason::frAborted);
    auto conns = TestServer::SinceAllClosed(Mark);
    ASSERT_EQ(conns.size(), 1u);
    EXPECT_EQ(conns[0].Closed, "client");
    EXPECT_TRUE(PumpUntil([&] { return CountThreads() <= threads; }, 10s));
}

// Destroying the component mid-transfer reports nothing and leaves no thread behind.
TEST_F(Download, DestructionDuringATransferFiresNothing) {
    const int threads = CountThreads();
    auto get = Make("/t/slow-40");
    get->SetWaitThread(false);
    get->GetFile();
    ASSERT_TRUE(PumpUntil([&] { return Out.Progresses.size() >= 2; }, 20s));
    const std::size_t progressBefore = Out.Progresses.size();
    get.reset();
    EXPECT_TRUE(PumpUntil([&] { return CountThreads() <= threads; }, 10s));
    PumpFor(200);
    EXPECT_EQ(Out.Events(), 0);
    EXPECT_EQ(Out.Progresses.size(), progressBefore);
    auto conns = TestServer::SinceAllClosed(Mark);
    ASSERT_EQ(conns.size(), 1u);
    EXPECT_EQ(conns[0].Closed, "client");
}

// A component destroyed by a message that its own GetFile dispatches while waiting: the
// wait ends, nothing is reported, the worker goes.
TEST_F(Download, DestructionWhileGetFileWaits) {
    const int threads = CountThreads();
    auto get = Make("/t/slow-40");
    get->OnProgress = [&](TObject*, std::int32_t, std::int32_t) { get.reset(); };
    get->GetFile();
    EXPECT_EQ(get, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return CountThreads() <= threads; }, 10s));
    EXPECT_EQ(Out.Events(), 0);
}

// A component destroyed by its own outcome handler is not touched afterwards.
TEST_F(Download, DestructionInsideTheOutcomeEvent) {
    auto get = Make("/t/ok-100");
    get->OnDoneFile = [&](TObject*, const std::string&, std::int32_t) {
        ++Out.DoneFile;
        get.reset();
    };
    get->GetFile();
    EXPECT_EQ(Out.DoneFile, 1);
    EXPECT_EQ(get, nullptr);
}

// Seeded random starts, stops and destructions at random moments: every started transfer
// ends in exactly one event unless its component was destroyed first, in which case nothing
// arrives after the destruction; no worker is left behind.
TEST_F(Download, RandomStartsStopsAndDestructions) {
    std::mt19937 rng(20261210);
    const char* paths[] = {"/t/slow-4", "/t/ok-20000", "/t/reset-30000", "/t/nolength-3000",
                           "/t/short-4000"};
    const int threads = CountThreads();
    for (int round = 0; round < 24; ++round) {
        const char* path = paths[rng() % std::size(paths)];
        const int action = int(rng() % 3); // 0 abort, 1 destroy, 2 let it finish
        const int delay = int(rng() % 250);
        const bool toFile = rng() % 2 == 0;
        SCOPED_TRACE(std::string(path) + " action " + std::to_string(action) + " after " +
                     std::to_string(delay) + " ms" + (toFile ? " file" : " string"));
        Out = Outcome();
        auto get = Make(path);
        get->SetWaitThread(false);
        get->SetBinaryData(rng() % 2 == 0);
        toFile ? get->GetFile() : get->GetString();
        PumpFor(delay);
        if (action == 1) {
            const int before = Out.Events();
            get.reset();
            PumpFor(100);
            EXPECT_EQ(Out.Events(), before);
            continue;
        }
        if (action == 0) get->Abort();
        ASSERT_TRUE(PumpUntil([&] { return Out.Events() > 0; }, 20s));
        PumpFor(20);
        EXPECT_EQ(Out.Events(), 1);
    }
    EXPECT_TRUE(PumpUntil([&] { return CountThreads() <= threads; }, 20s))
        << CountThreads() << " threads, " << threads << " before";
}

// Kernel handles (threads, files, events, sockets) and threads come back to where they
// were after transfers along the success, failure and stop paths.
TEST_F(Download, NoHandleOrThreadLeftBehind) {
    const char* paths[] = {"/t/ok-5000", "/t/short-5000",         "/t/reset-100000",
                           "/t/404",     "/t/close-before-reply", "/t/nolength-10"};
    const int handles = CountKernelHandles();
    const int threads = CountThreads();
    ASSERT_GT(handles, 0);
    ASSERT_GT(threads, 0);
    for (int round = 0; round < 3; ++round) {
        for (const char* path : paths) {
            auto get = Make(path);
            get->GetFile();
        }
        auto get = Make("/t/slow-40");
        get->SetWaitThread(false);
        get->GetFile();
        PumpUntil([&] { return !Out.Progresses.empty(); }, 10s);
        get->Abort();
        PumpUntil([&] { return Out.Errors > 0; }, 10s);
    }
    EXPECT_TRUE(PumpUntil([&] { return CountThreads() <= threads; }, 10s));
    EXPECT_TRUE(PumpUntil([&] { return CountKernelHandles() <= handles; }, 10s))
        << CountKernelHandles() << " handles, " << handles << " before";
    for (const auto& c : TestServer::SinceAllClosed(Mark))
        EXPECT_FALSE(c.Closed.empty());
}

// Each request that reached the server names the download host on port 80 and carries the
// request's headers; answers the paths.
std::vector<std::string> RequestPaths(const std::vector<TestServer::Connection>& conns) {
    const std::string prefix = "GET http://" + TestServer::Host() + ":80";
    std::vector<std::string> paths;
    for (const auto& c : conns) {
        SCOPED_TRACE(c.RequestLine);
        const std::string& line = c.RequestLine;
        bool onHost = line.rfind(prefix, 0) == 0 && line.size() > prefix.size() + 9 &&
                      line[prefix.size()] == '/' && line.substr(line.size() - 9) == " HTTP/1.0";
        EXPECT_TRUE(onHost);
        if (!onHost) continue;
        paths.push_back(line.substr(prefix.size(), line.size() - prefix.size() - 9));
        EXPECT_EQ(c.HeaderValues("Accept"), std::vector<std::string>{"*/*"});
        EXPECT_EQ(c.HeaderValues("Referer"), std::vector<std::string>{"Kestrune - Optavo"});
        EXPECT_EQ(c.HeaderValues("User-Agent"), std::vector<std::string>{"Optavo HTTPGet"});
    }
    return paths;
}

// Redirects within the host are followed as new requests of the same kind, up to ten in a
// row (absolute addresses with the port written out, absolute and relative paths; 301, 302,
// 303, 307 and 308); the eleventh redirect answer, or a loop, fails without another request.
TEST_F(Download, RedirectsWithinTheHostAreFollowedUpToTenInARow) {
    struct Row {
        const char* path;
        bool done;
        int requests;
    };
    const Row rows[] = {
        {"/t/hops-3", true, 4},
        {"/t/hops-10", true, 11},
        {"/t/hops-11", false, 11},
        {"/t/loop", false, 11},
    };
    const std::string installer = ReadFile("Z:" + std::string(std::getenv("LV_TEST_INSTALLER")));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        DeleteFileA(Target.c_str());
        Out = Outcome();
        Mark = TestServer::Mark();
        auto get = Make(row.path);
        ASSERT_TRUE(FinishesWithin(*get, Out, 30s)) << "no outcome: the redirects went on";
        PumpFor(50);
        EXPECT_EQ(Out.Events(), 1);
        EXPECT_EQ(Out.DoneFile, row.done ? 1 : 0);
        if (row.done) {
            EXPECT_EQ(ReadFile(Target), installer);
        } else {
            EXPECT_FALSE(FileExists(Target));
        }
        std::vector<std::string> paths = RequestPaths(TestServer::SinceAllClosed(Mark));
        ASSERT_EQ(int(paths.size()), row.requests);
        EXPECT_EQ(paths.front(), row.path);
        for (std::size_t i = 1; i < paths.size(); ++i) {
            const std::string hop =
                std::string(row.path).rfind("/t/hops-", 0) == 0
                    ? "/t/hops-" + std::to_string(std::stoi(row.path + 8) - int(i))
                    : row.path;
            EXPECT_EQ(paths[i], hop);
        }
    }
}

// A redirect to another host, another port or another scheme fails the transfer: nothing is
// sent to its address (the customer's credentials stay with the host they are for), and no
// file is made.
TEST_F(Download, RedirectsThatLeaveTheHostFailWithoutARequestToThem) {
    for (const char* path : {"/t/to-host", "/t/to-port", "/t/to-https"}) {
        SCOPED_TRACE(path);
        DeleteFileA(Target.c_str());
        Out = Outcome();
        Mark = TestServer::Mark();
        auto get = Make(path);
        get->SetUserName("1234567890");
        get->SetPassword(TestServer::Password());
        ASSERT_TRUE(FinishesWithin(*get, Out, 30s));
        PumpFor(50);
        EXPECT_EQ(Out.Events(), 1);
        EXPECT_EQ(Out.Errors, 1);
        EXPECT_FALSE(FileExists(Target));
        EXPECT_EQ(RequestPaths(TestServer::SinceAllClosed(Mark)), std::vector<std::string>{path});
    }
}

// After a 307 or 308 a POST is repeated with its body; after 301, 302 and 303 the redirect is
// followed with a GET without a body.
TEST_F(Download, PostAcrossARedirect) {
    const std::string body = "customer=1234567890";
    for (int status : {301, 302, 303, 307, 308}) {
        SCOPED_TRACE(status);
        Out = Outcome();
        Mark = TestServer::Mark();
        auto get = Make("/t/to-echo-" + std::to_string(status));
        get->SetPostQuery(body);
        get->GetString();
        ASSERT_TRUE(PumpUntil([&] { return Out.Events() > 0; }, 20s));
        const bool keeps = status == 307 || status == 308;
        EXPECT_EQ(Out.DoneString, keeps ? 1 : 0); // the echo of an empty body is empty
        if (keeps) {
            EXPECT_EQ(Out.Text, body);
        }
        auto conns = TestServer::SinceAllClosed(Mark);
        ASSERT_EQ(conns.size(), 2u);
        EXPECT_EQ(conns[1].RequestLine.substr(0, 5), keeps ? "POST " : "GET h");
        EXPECT_EQ(conns[1].Body, keeps ? body : "");
    }
}

// A body that trickles (a byte every 5 s) fails once a window passes without one read's worth
// of it, and the connection is let go; a slow body that keeps moving (2 KB/s) completes however
// long it takes. The window is shortened here; the program's own 30 s are tried end to end.
TEST_F(Download, StalledBodyFailsAndMovingBodyCompletes) {
    struct Row {
        const char* path;
        bool done;
    };
    for (const Row& row : {Row{"/t/trickle-3000", false}, Row{"/t/paced-16000", true}}) {
        SCOPED_TRACE(row.path);
        DeleteFileA(Target.c_str());
        Out = Outcome();
        Mark = TestServer::Mark();
        auto get = Make(row.path);
        get->SetStallWindow(3000);
        DWORD start = GetTickCount();
        ASSERT_TRUE(FinishesWithin(*get, Out, 60s)) << "no outcome: the body holds the transfer";
        std::printf("%s: ended after %lu ms\n", row.path, GetTickCount() - start);
        PumpFor(50);
        EXPECT_EQ(Out.Events(), 1);
        EXPECT_EQ(Out.DoneFile, row.done ? 1 : 0);
        EXPECT_EQ(get->FailureReason(),
                  row.done ? TFailureReason::frNone : TFailureReason::frConnectionLost);
        if (row.done) {
            EXPECT_EQ(Out.FileSize, 16000);
            EXPECT_TRUE(TestServer::IsPattern(ReadFile(Target)));
        }
        auto conns = TestServer::SinceAllClosed(Mark, 15000);
        ASSERT_EQ(conns.size(), 1u);
        EXPECT_EQ(conns[0].Closed, "client");
    }
}

// A server that accepts and stays silent: the HTTP layer's own time-out ends the transfer
// while the waiting thread keeps dispatching (a timer keeps ticking).
TEST_F(Download, SilentServerEndsByTimeoutWhileMessagesFlow) {
    static int ticks = 0;
    ticks = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
    auto get = Make("/t/silent");
    DWORD start = GetTickCount();
    get->GetFile();
    DWORD elapsed = GetTickCount() - start;
    KillTimer(nullptr, timer);
    EXPECT_EQ(Out.Errors, 1);
    EXPECT_EQ(Out.Events(), 1);
    // The time-out as the HTTP layer reports it: Windows says it timed out, this Wine that the
    // connection was aborted.
    EXPECT_TRUE(get->FailureReason() == TFailureReason::frCannotConnect ||
                get->FailureReason() == TFailureReason::frConnectionLost);
    EXPECT_NE(get->FailureCode(), 0u);
    EXPECT_EQ(get->Status(), 0u);
    EXPECT_GT(ticks, int(elapsed / 50 / 4)) << elapsed << " ms";
    std::printf("silent server: ended after %lu ms\n", elapsed);
}

// A body whose connection breaks off half-way is asked for again on the same connection:
// the rest ("Range: bytes=N-" tied to the first answer by If-Range: its entity tag, else its
// date) is appended; a whole body sent again starts the file over; an answer that cannot
// continue the body, or a fourth loss in a row, ends the transfer. The file delivered is
// always the whole body of the first announced length.
TEST_F(Download, LostBodyIsPickedUpWhereItStopped) {
    using R = TFailureReason;
    struct Row {
        const char* path;
        bool done;
        unsigned status;
        R reason;
        int requests;
        const char* validator; // If-Range of the second request; nullptr: no Range asked
    };
    const Row rows[] = {
        {"/t/drop-ranges-6000", true, 206, R::frNone, 2, "\"lv-1\""},
        {"/t/drop-lastmod-6000", true, 206, R::frNone, 2, "Fri, 11 Dec 2026 08:00:00 GMT"},
        {"/t/drop-ignore-6000", true, 200, R::frNone, 2, "\"lv-1\""},
        {"/t/drop-changed-6000", true, 200, R::frNone, 2, "\"lv-1\""},
        {"/t/drop-always-6000", false, 206, R::frConnectionLost, 4, "\"lv-1\""},
        {"/t/drop-badrange-6000", false, 206, R::frServerError, 2, "\"lv-1\""},
        // No validator: the body is asked for again from its start, three times.
        {"/t/short-6000", false, 200, R::frConnectionLost, 4, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        DeleteFileA(Target.c_str());
        Out = Outcome();
        Mark = TestServer::Mark();
        auto get = Make(row.path);
        int reconnectingProgress = 0;
        get->OnProgress = [&](TObject* s, std::int32_t total, std::int32_t readed) {
            if (get->Reconnecting()) ++reconnectingProgress;
            Out.Progresses.push_back({s, true, total, readed});
        };
        ASSERT_TRUE(FinishesWithin(*get, Out, 30s));
        PumpFor(20);
        ExpectEnd(*get, Out, row.done, row.status, row.reason);
        // One progress call as each wait starts (and one as it ends, no longer reconnecting).
        EXPECT_EQ(reconnectingProgress, row.requests - 1);
        for (const auto& p : Out.Progresses) EXPECT_EQ(p.Total, 6000);
        if (row.done) {
            EXPECT_EQ(Out.FileSize, 6000);
            std::string data = ReadFile(Target);
            EXPECT_EQ(data.size(), 6000u);
            EXPECT_TRUE(TestServer::IsPattern(data));
            EXPECT_EQ(Out.Progresses.back().Readed, 6000);
        }
        auto conns = TestServer::SinceAllClosed(Mark);
        ASSERT_EQ(int(conns.size()), row.requests);
        EXPECT_TRUE(conns[0].HeaderValues("Range").empty());
        for (std::size_t i = 1; i < conns.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(conns[i].RequestLine, conns[0].RequestLine);
            EXPECT_EQ(conns[i].HeaderValues("Referer"), std::vector<std::string>{"Kestrune - Optavo"});
            if (row.validator) {
                EXPECT_EQ(conns[i].HeaderValues("Range"), std::vector<std::string>{"bytes=3000-"});
                EXPECT_EQ(conns[i].HeaderValues("If-Range"), std::vector<std::string>{row.validator});
            } else {
                EXPECT_TRUE(conns[i].HeaderValues("Range").empty());
            }
        }
    }
}

// Abort while the worker waits to ask again ends the transfer at once, as aborted.
TEST_F(Download, AbortStopsTheWaitBeforeAskingAgain) {
    auto get = Make("/t/drop-always-6000");
    get->SetReconnectDelay(20000);
    DWORD abortedAt = 0;
    get->OnProgress = [&](TObject*, std::int32_t, std::int32_t) {
        if (get->Reconnecting() && !abortedAt) {
            abortedAt = GetTickCount();
            get->Abort();
        }
    };
    ASSERT_TRUE(FinishesWithin(*get, Out, 15s));
    const DWORD took = GetTickCount() - abortedAt;
    EXPECT_NE(abortedAt, 0u);
    EXPECT_LT(took, 2000u);
    EXPECT_EQ(Out.Errors, 1);
    EXPECT_EQ(get->FailureReason(), TFailureReason::frAborted);
    EXPECT_FALSE(get->Reconnecting());
    EXPECT_EQ(TestServer::SinceAllClosed(Mark).size(), 1u);
}

} // namespace
