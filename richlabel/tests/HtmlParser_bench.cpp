// Benchmark: parse + wrap + layout of long captions (10 KB, 100 KB, 1 MB of paragraphs with
// some tags) at width 411; prints the time per KB and the 1 MB / 10 KB ratio beside its
// target of at most 1.3 (linear growth).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "richlabel/core/HtmlRender.h"
#include "richlabel/tests/FakeMeasurer.h"

namespace {

std::u16string MakeCaption(std::size_t bytes) {
    static const char16_t* words[] = {u"Klicken", u"Sie",          u"den",  u"folgenden", u"Link",
                                      u"und",     u"registrieren", u"sich", u"kostenlos", u"für",
                                      u"die",     u"Vollversion",  u"von",  u"Lumvora"};
    std::u16string s;
    unsigned n = 0;
    while (s.size() * 2 < bytes) {
        ++n;
        if (n % 97 == 0) s += u"<p>";
        if (n % 31 == 0) s += u"<b>";
        if (n % 43 == 0) s += u"<font size=22 color=#336699>";
        if (n % 53 == 0) s += u"<a href=\"https://example.example/x\">";
        s += words[n % 14];
        if (n % 31 == 3) s += u"</b>";
        if (n % 43 == 5) s += u"</font>";
        if (n % 53 == 2) s += u"</a>";
        if (n % 61 == 0) s += u"<br>";
        s += n % 17 == 0 ? u"&nbsp;" : u" ";
    }
    return s;
}

void ParseWrapLayout(benchmark::State& state) {
    const std::size_t bytes = std::size_t(state.range(0)) * 1024;
    const std::u16string caption = MakeCaption(bytes);
    FakeMeasurer measurer;
    THTMLRender render(&measurer);
    for (auto _ : state) {
        render.PrepareText(caption, 411, true);
        benchmark::DoNotOptimize(render.Data()->FTextSize);
    }
    state.counters["us_per_KB"] = benchmark::Counter(double(bytes) / 1024 / 1e6,
                                                     benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

BENCHMARK(ParseWrapLayout)->Arg(10)->Arg(100)->Arg(1024)->Unit(benchmark::kMillisecond);

// Collects the per-KB time of each size for the closing comparison.
class PerKbReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> perKb;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            perKb[r.benchmark_name()] = r.counters.at("us_per_KB");
    }
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    PerKbReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double small = reporter.perKb["ParseWrapLayout/10"];
    const double large = reporter.perKb["ParseWrapLayout/1024"];
    if (small > 0)
        std::printf("per-KB time 1 MB vs 10 KB: %.2fx (target: at most 1.3x)\n", large / small);
    return 0;
}
