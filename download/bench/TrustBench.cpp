// The cost of the check before the installer's start (assistant/win32/InstallerTrust.cpp),
// through a held handle as the assistant checks it:
//   trust_bench <small signed file> <large signed file> [runs]   (default 5)
// prints the first check in the process (which loads and sets up the platform's trust
// providers), then the median of `runs` more on each file, with the large one's rate.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "assistant/core/ProductConfig.h"
#include "assistant/win32/InstallerTrust.h"
#include "framework/win32/UniqueHandle.h"
#include "framework/win32/WinText.h"

namespace {

using Clock = std::chrono::steady_clock;

// One check of `path`; milliseconds, or -1 when the file is not signed by the publisher.
double CheckOnce(const std::u16string& path) {
    FileHandle file(CreateFileW(AsWide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr));
    auto start = Clock::now();
    TInstallerTrust trust =
        CheckInstallerTrust(file.get(), path, ProductConfig::InstallerPublisher);
    double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return trust.Verdict == TInstallerVerdict::ivStart ? ms : -1;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

long long FileBytes(const std::u16string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(AsWide(path), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const std::u16string small = FromWide(argv[1]), large = FromWide(argv[2]);
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 5;
    double first = CheckOnce(small);
    if (first < 0) {
        std::printf("the small file is not signed by the publisher\n");
        return 1;
    }
    std::vector<double> smallRuns, largeRuns;
    for (int i = 0; i < runs; ++i) {
        smallRuns.push_back(CheckOnce(small));
        largeRuns.push_back(CheckOnce(large));
    }
    if (*std::min_element(largeRuns.begin(), largeRuns.end()) < 0) {
        std::printf("the large file is not signed by the publisher\n");
        return 1;
    }
    double mib = FileBytes(large) / 1048576.0;
    char label[96];
    std::snprintf(label, sizeof label, "first check in the process (%lld bytes)", FileBytes(small));
    std::printf("  %-46s %8.1f ms\n", label, first);
    std::snprintf(label, sizeof label, "the same file again, median of %d", runs);
    std::printf("  %-46s %8.1f ms\n", label, Median(smallRuns));
    std::snprintf(label, sizeof label, "%.0f MiB signed file, median of %d", mib, runs);
    std::printf("  %-46s %8.1f ms (%.2f ms per MiB)\n", label, Median(largeRuns),
                Median(largeRuns) / mib);
    return 0;
}
