// Download throughput of THTTPGet beside a bare InternetReadFile + WriteFile loop on a plain
// thread, against the loopback test server; and the process's peak memory for one transfer.
//   download_bench throughput <bytes>   component (with and without OnProgress) and bare loop
//   download_bench peak <bytes>         one component transfer, then the peak working set
#include <windows.h>

#include <psapi.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "download/win32/HTTPGet.h"

namespace {

using Clock = std::chrono::steady_clock;

// The host the loopback server plays (its run wrapper says which).
std::string BenchHost() {
    const char* host = std::getenv("LV_TEST_HTTP_HOST");
    return host ? host : "";
}

std::string Url(long long bytes) {
    return "http://" + BenchHost() + "/t/ok-" + std::to_string(bytes);
}

std::string TempFile(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + name;
}

// One component transfer into a file; seconds, or -1 on failure.
double ComponentRun(long long bytes, bool withProgress) {
    THTTPGet get(nullptr);
    get.SetURL(Url(bytes));
    get.SetFileName(TempFile("lv-bench-component.bin"));
    get.SetBinaryData(true);
    get.SetWaitThread(true);
    bool ok = false;
    get.OnDoneFile = [&](TObject*, const std::string&, std::int32_t size) { ok = size == bytes; };
    long long progress = 0;
    if (withProgress) get.OnProgress = [&](TObject*, std::int32_t, std::int32_t) { ++progress; };
    auto start = Clock::now();
    get.GetFile();
    double s = std::chrono::duration<double>(Clock::now() - start).count();
    DeleteFileA(get.FileName().c_str());
    return ok ? s : -1;
}

// The same transfer as a bare loop of 1025-byte reads and file writes on a plain thread.
double BareRun(long long bytes) {
    double seconds = -1;
    std::thread worker([&] {
        auto start = Clock::now();
        HINTERNET net = InternetOpenA("bench", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
        HINTERNET conn = InternetConnectA(net, BenchHost().c_str(), 80,
                                          "", "", INTERNET_SERVICE_HTTP, 0, 0);
        std::string path = "/t/ok-" + std::to_string(bytes);
        const char* accept[] = {"*/*", nullptr};
        HINTERNET req = HttpOpenRequestA(conn, "GET", path.c_str(), "HTTP/1.0", nullptr, accept,
                                         INTERNET_FLAG_RELOAD, 0);
        HttpSendRequestW(req, nullptr, 0, nullptr, 0);
        std::string file = TempFile("lv-bench-bare.bin");
        HANDLE out = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        char buffer[1025];
        DWORD got = 0, written = 0;
        long long total = 0;
        while (InternetReadFile(req, buffer, sizeof(buffer), &got) && got > 0) {
            WriteFile(out, buffer, got, &written, nullptr);
            total += got;
        }
        CloseHandle(out);
        InternetCloseHandle(req);
        InternetCloseHandle(conn);
        InternetCloseHandle(net);
        DeleteFileA(file.c_str());
        if (total == bytes) seconds = std::chrono::duration<double>(Clock::now() - start).count();
    });
    worker.join();
    return seconds;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double MiBps(long long bytes, double seconds) {
    return seconds > 0 ? bytes / 1048576.0 / seconds : 0;
}

int Throughput(long long bytes) {
    const int runs = 3;
    std::vector<double> component, withProgress, bare;
    ComponentRun(1 << 20, false); // warm-up: WinInet's first use sets itself up
    for (int i = 0; i < runs; ++i) {
        bare.push_back(BareRun(bytes));
        component.push_back(ComponentRun(bytes, false));
        withProgress.push_back(ComponentRun(bytes, true));
    }
    for (double s : component)
        if (s < 0) return std::puts("component transfer failed"), 1;
    for (double s : bare)
        if (s < 0) return std::puts("bare loop transfer failed"), 1;
    double c = MiBps(bytes, Median(component)), b = MiBps(bytes, Median(bare));
    std::printf("body %lld bytes, median of %d runs\n", bytes, runs);
    std::printf("  component (GetFile, WaitThread)   %8.1f MiB/s\n", c);
    std::printf("  component with OnProgress         %8.1f MiB/s\n",
                MiBps(bytes, Median(withProgress)));
    std::printf("  bare InternetReadFile loop        %8.1f MiB/s\n", b);
    std::printf("  component / bare loop             %8.2f\n", c / b);
    return 0;
}

int Peak(long long bytes) {
    double s = ComponentRun(bytes, false);
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof(pmc);
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
    std::printf("  body %10lld bytes: %s, peak working set %7.1f MiB, peak private %7.1f MiB\n",
                bytes, s < 0 ? "FAILED" : "ok", pmc.PeakWorkingSetSize / 1048576.0,
                pmc.PeakPagefileUsage / 1048576.0);
    return s < 0 ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::puts("usage: download_bench throughput|peak <bytes>");
        return 2;
    }
    long long bytes = std::atoll(argv[2]);
    std::string mode = argv[1];
    if (mode == "throughput") return Throughput(bytes);
    if (mode == "peak") return Peak(bytes);
    return 2;
}
