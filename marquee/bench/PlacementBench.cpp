// Google Benchmark of the portable clock and bullet placement in the assistant window's
// configuration (one tick plus the six rectangles of a paint).
#include <benchmark/benchmark.h>

#include "marquee/core/BulletPlacement.h"
#include "marquee/core/MarqueeMotion.h"

static void BM_PlaceWindowRow(benchmark::State& state) {
    const TBulletGeometry bullets{6, 10, 10, 3};
    float position = -261;
    for (auto _ : state) {
        std::optional<float> next = TickPosition(position, 10.0f, 3.0f);
        position = WrapPosition(next.value_or(position), 445, RowWidth(6, 10, 3));
        auto rects = PlaceBullets(bullets, 1.7f, position, 445, 417);
        benchmark::DoNotOptimize(rects.data());
    }
}
BENCHMARK(BM_PlaceWindowRow);

static void BM_PlaceLongRow(benchmark::State& state) {
    const TBulletGeometry bullets{int(state.range(0)), 4, 4, 1};
    for (auto _ : state) {
        auto rects = PlaceBullets(bullets, 1.7f, 37.5f, 4000, 20);
        benchmark::DoNotOptimize(rects.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PlaceLongRow)->Arg(64)->Arg(1024);

BENCHMARK_MAIN();
