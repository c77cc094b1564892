// Download throughput of THTTPGet beside bare InternetReadFile + WriteFile loops on a plain
// thread, against the loopback test server; and the process's peak memory for one transfer.
//   download_bench throughput <bytes> [rounds]  component and bare loops in rounds (default 7)
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
#include <functional>
#include <utility>
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

// How a bare loop reads the body.
enum class TLoopRead {
    Blocking1025, // a plain read of 1025 bytes, which waits until the block is full
    Arrived1025,  // what has arrived, at most 1025 bytes: the component's way of reading
    Arrived64K,   // what has arrived, at most 64 KiB: the same loop without the block rule
};

// Reads the next part of the body into `buffer` as `how` says; false when the read failed.
bool LoopRead(HINTERNET req, TLoopRead how, std::vector<char>& buffer, DWORD& got) {
    DWORD size = 1025;
    if (how != TLoopRead::Blocking1025) {
        DWORD available = 0;
        if (!InternetQueryDataAvailable(req, &available, 0, 0)) return false;
        if (how == TLoopRead::Arrived64K) size = DWORD(buffer.size());
        if (available != 0) size = std::min(available, size);
    }
    return InternetReadFile(req, buffer.data(), size, &got) != FALSE;
}

// The same transfer as a bare loop of reads and file writes on a plain thread, with nothing
// of the component's (no events, no digest, no hand-over to a window thread).
double BareRun(long long bytes, TLoopRead how) {
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
        std::vector<char> buffer(64 * 1024);
        DWORD got = 0, written = 0;
        long long total = 0;
        while (LoopRead(req, how, buffer, got) && got > 0) {
            WriteFile(out, buffer.data(), got, &written, nullptr);
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

struct TSeries {
    const char* Name;
    std::vector<double> Speeds; // MiB/s of each run
};

void PrintSpeed(const TSeries& series) {
    std::printf("  %-40s median %8.1f MiB/s\n", series.Name, Median(series.Speeds));
}

// Per-pair ratios of `a`'s speed to `b`'s, their median and range.
void PrintRatio(const char* what, const TSeries& a, const TSeries& b, const char* goal) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < a.Speeds.size(); ++i) ratios.push_back(a.Speeds[i] / b.Speeds[i]);
    const auto [low, high] = std::minmax_element(ratios.begin(), ratios.end());
    std::printf("  %-40s median %8.2f   from %.2f to %.2f%s\n", what, Median(ratios), *low, *high,
                goal);
    std::printf("    pairs:");
    for (double r : ratios)
        std::printf(" %.2f", r);
    std::printf("\n");
}

// The component and each bare loop taken in rounds, one right after the other (the order
// turning each round), so that a change of the machine's load between rounds weighs on all
// alike; each figure is the ratio within a round. The goal's reference is the loop that
// reads as the component does (what has arrived, at most 1025 bytes); the blocking loop and
// the loop of 64 KiB reads are printed beside it.
int Throughput(long long bytes, int pairs) {
    TSeries component{"component (GetFile, WaitThread)", {}};
    TSeries fair{"bare loop, arrived bytes, <= 1025 (fair)", {}};
    TSeries blocking{"bare loop, blocking 1025-byte reads", {}};
    TSeries large{"bare loop, arrived bytes, <= 64 KiB", {}};
    ComponentRun(1 << 20, false); // warm-up: WinInet's first use sets itself up
    BareRun(1 << 20, TLoopRead::Arrived1025);
    for (int i = 0; i < pairs; ++i) {
        std::vector<std::pair<TSeries*, std::function<double()>>> round = {
            {&component, [&] { return ComponentRun(bytes, false); }},
            {&fair, [&] { return BareRun(bytes, TLoopRead::Arrived1025); }},
            {&blocking, [&] { return BareRun(bytes, TLoopRead::Blocking1025); }},
            {&large, [&] { return BareRun(bytes, TLoopRead::Arrived64K); }},
        };
        std::rotate(round.begin(), round.begin() + i % round.size(), round.end());
        for (auto& [series, run] : round) {
            const double seconds = run();
            if (seconds < 0) return std::printf("%s: transfer failed\n", series->Name), 1;
            series->Speeds.push_back(MiBps(bytes, seconds));
        }
    }
    std::printf("body %lld bytes, %d rounds (each run of a round right after the other)\n", bytes,
                pairs);
    for (const TSeries* series : {&component, &fair, &blocking, &large}) PrintSpeed(*series);
    PrintRatio("component / fair loop, per round", component, fair, "   (the goal)");
    PrintRatio("component / blocking loop, per round", component, blocking, "");
    PrintRatio("1025-byte / 64 KiB reads (fair loops)", fair, large,
               "   (what the block rule costs)");
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
