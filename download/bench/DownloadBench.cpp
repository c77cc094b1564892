// Download throughput of THTTPGet beside a bare InternetReadFile + WriteFile loop on a plain
// thread, against the loopback test server; and the process's peak memory for one transfer.
//   download_bench throughput <bytes> [pairs]   component and bare loop in pairs (default 7)
//   download_bench peak <bytes>         one component transfer, then the peak working set
//   download_bench progress <bytes> [pairs]   the component with the assistant's progress
//                                       interval and a handler beside it without a handler
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

#include "assistant/core/DownloadProgress.h"
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

// One component transfer into a file; seconds, or -1 on failure. With a progress handler
// the component hands progress over at most once per `intervalMs` (0: after every block).
double ComponentRun(long long bytes, bool withProgress, std::uint32_t intervalMs = 0) {
    THTTPGet get(nullptr);
    get.SetURL(Url(bytes));
    get.SetFileName(TempFile("lv-bench-component.bin"));
    get.SetBinaryData(true);
    get.SetWaitThread(true);
    get.SetProgressInterval(intervalMs);
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
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double MiBps(long long bytes, double seconds) {
    return seconds > 0 ? bytes / 1048576.0 / seconds : 0;
}

// Component and bare loop in pairs, one right after the other (the first of a pair taking
// turns), so that a change of the machine's load between pairs weighs on both alike; the
// figure is the ratio within each pair.
int Throughput(long long bytes, int pairs) {
    std::vector<double> component, bare, ratios;
    ComponentRun(1 << 20, false); // warm-up: WinInet's first use sets itself up
    BareRun(1 << 20);
    for (int i = 0; i < pairs; ++i) {
        double c, b;
        if (i % 2 == 0) {
            c = ComponentRun(bytes, false);
            b = BareRun(bytes);
        } else {
            b = BareRun(bytes);
            c = ComponentRun(bytes, false);
        }
        if (c < 0) return std::puts("component transfer failed"), 1;
        if (b < 0) return std::puts("bare loop transfer failed"), 1;
        component.push_back(MiBps(bytes, c));
        bare.push_back(MiBps(bytes, b));
        ratios.push_back(b / c); // throughput of the component / that of the bare loop
    }
    const auto [low, high] = std::minmax_element(ratios.begin(), ratios.end());
    std::printf("body %lld bytes, %d pairs (component and bare loop one after the other)\n",
                bytes, pairs);
    std::printf("  component (GetFile, WaitThread)   median %8.1f MiB/s\n", Median(component));
    std::printf("  bare InternetReadFile loop        median %8.1f MiB/s\n", Median(bare));
    std::printf("  component / bare loop, per pair   median %8.2f   from %.2f to %.2f\n",
                Median(ratios), *low, *high);
    std::printf("    pairs:");
    for (double r : ratios)
        std::printf(" %.2f", r);
    std::printf("\n");
    // One transfer with a progress handler, to show what a handler at each block costs.
    const double p = ComponentRun(bytes, true);
    std::printf("  component with OnProgress, one run  %8.1f MiB/s\n", MiBps(bytes, p));
    return 0;
}

// The component with a progress handler at the assistant's interval beside the component
// without one, in pairs as Throughput does.
int ProgressPairs(long long bytes, int pairs) {
    std::vector<double> ratios;
    ComponentRun(1 << 20, false);
    for (int i = 0; i < pairs; ++i) {
        double with, without;
        if (i % 2 == 0) {
            with = ComponentRun(bytes, true, kProgressIntervalMs);
            without = ComponentRun(bytes, false);
        } else {
            without = ComponentRun(bytes, false);
            with = ComponentRun(bytes, true, kProgressIntervalMs);
        }
        if (with < 0 || without < 0) return std::puts("component transfer failed"), 1;
        ratios.push_back(without / with); // throughput with the handler / without
    }
    const auto [low, high] = std::minmax_element(ratios.begin(), ratios.end());
    std::printf("  with OnProgress every %u ms / without OnProgress, per pair   median %.2f   "
                "from %.2f to %.2f (%d pairs)\n",
                unsigned(kProgressIntervalMs), Median(ratios), *low, *high, pairs);
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
    if (argc < 3) {
        std::puts("usage: download_bench throughput <bytes> [pairs] | peak <bytes> | "
                  "progress <bytes> [pairs]");
        return 2;
    }
    long long bytes = std::atoll(argv[2]);
    std::string mode = argv[1];
    if (mode == "throughput") return Throughput(bytes, argc > 3 ? std::max(1, std::atoi(argv[3])) : 7);
    if (mode == "peak") return Peak(bytes);
    if (mode == "progress")
        return ProgressPairs(bytes, argc > 3 ? std::max(1, std::atoi(argv[3])) : 7);
    return 2;
}
