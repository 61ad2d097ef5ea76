// Painting every design at 96 dpi: into a fresh image (renderDesign), and
// into one image reused from paint to paint, as a window's backing store is
// (paintDesign).
//
// Target: under 1 ms for the centring scale, the design with the most
// elements and labels.
//
// Rerun: build-release/bench/bench_paint [--benchmark_filter=Centratore]
#include "designs/designs.h"
#include "reticle/reticle_painter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using zentaro::ReticleDesign;

void renderFresh(benchmark::State& state, const ReticleDesign* design)
{
    const zentaro::PaintOptions options;
    for (auto _ : state) {
        QImage image = zentaro::renderDesign(*design, options);
        benchmark::DoNotOptimize(image);
    }
}

void paintReused(benchmark::State& state, const ReticleDesign* design)
{
    const zentaro::PaintOptions options;
    QImage image = zentaro::renderDesign(*design, options); // size and format as a window's
    for (auto _ : state) {
        QPainter painter(&image);
        zentaro::paintDesign(painter, *design, options);
        painter.end();
        benchmark::DoNotOptimize(image);
    }
}

void registerAll()
{
    for (const ReticleDesign* design : zentaro::designs::all()) {
        const std::string name(design->designName);
        benchmark::RegisterBenchmark(("Render/" + name).c_str(), renderFresh, design)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("PaintReused/" + name).c_str(), paintReused, design)
            ->Unit(benchmark::kMicrosecond);
    }
}

/// Text needs a QGuiApplication; painting into an image needs no display, so
/// the offscreen platform is used unless the caller chose one.
std::vector<char*> guiArguments(char* program)
{
    static char platformOption[] = "-platform";
    static char offscreen[] = "offscreen";
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        return {program};
    }
    return {program, platformOption, offscreen};
}

} // namespace

int main(int argc, char** argv)
{
    std::printf("rerun: %s [--benchmark_filter=NAME]  (target: Centratore under 1000 us)\n",
                argv[0]);
    std::vector<char*> guiArgv = guiArguments(argv[0]);
    int guiArgc = static_cast<int>(guiArgv.size());
    QGuiApplication app(guiArgc, guiArgv.data());

    registerAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
