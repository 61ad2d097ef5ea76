// Region building for every design, as a reticle window does it when it
// turns transparent: the elements' pixel boxes at 96 dpi, the rectangles of
// the region builder, their union in banded form (one sweep) and the QRegion
// made from it.
//
// Target: under 20 microseconds per design (the centring scale has the most
// elements, 230).
//
// Rerun: build-release/bench/bench_region [--benchmark_filter=Centratore]
#include "designs/designs.h"
#include "platform/platform.h"
#include "reticle/region_builder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using zentaro::PixelBox;
using zentaro::ReticleDesign;

constexpr double kDpi = zentaro::kReferenceDpi;

/// A frameless window of the design's client size: the metrics a reticle
/// window hands the builder once its frame is gone.
zentaro::region::WindowMetrics framelessMetrics(const ReticleDesign& design)
{
    const int width = zentaro::roundToInt(design.clientWidthPixels(kDpi));
    const int height = zentaro::roundToInt(design.clientHeightPixels(kDpi));
    return {width, height, static_cast<double>(width), static_cast<double>(height)};
}

QRegion buildRegion(const ReticleDesign& design, const zentaro::region::WindowMetrics& metrics)
{
    std::vector<PixelBox> boxes;
    boxes.reserve(design.elements.size());
    for (const zentaro::DesignElement& element : design.elements) {
        boxes.push_back(element.pixelBox(kDpi));
    }
    const std::vector<zentaro::IntRect> rects = zentaro::region::transparentRects(metrics, boxes);
    return zentaro::platform::regionFromBandedRects(zentaro::region::bandedUnion(rects));
}

void regionOfDesign(benchmark::State& state, const ReticleDesign* design)
{
    const auto metrics = framelessMetrics(*design);
    int rectCount = 0;
    for (auto _ : state) {
        QRegion region = buildRegion(*design, metrics);
        rectCount = region.rectCount();
        benchmark::DoNotOptimize(region);
    }
    state.counters["elements"] = static_cast<double>(design->elements.size());
    state.counters["region_rects"] = rectCount;
}

void registerAll()
{
    for (const ReticleDesign* design : zentaro::designs::all()) {
        const std::string name = "Region/" + std::string(design->designName);
        benchmark::RegisterBenchmark(name.c_str(), regionOfDesign, design)
            ->Unit(benchmark::kMicrosecond);
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::printf("rerun: %s [--benchmark_filter=NAME]  (target: under 20 us per design)\n", argv[0]);
    registerAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
