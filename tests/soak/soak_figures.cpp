#include "soak_figures.h"

#include <iomanip>
#include <ostream>

namespace zentaro::soak {

namespace {

constexpr double kKibPerMib = 1024.0;

double seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

std::ostream& mib(std::ostream& out, std::optional<long> kib)
{
    if (!kib) {
        return out << "unknown";
    }
    return out << std::fixed << std::setprecision(2) << static_cast<double>(*kib) / kKibPerMib
               << " MiB";
}

std::optional<long> rss(const std::optional<MemoryReading>& reading)
{
    return reading ? std::optional<long>(reading->rssKib) : std::nullopt;
}

std::optional<long> heap(const std::optional<MemoryReading>& reading)
{
    return reading ? reading->heapKib : std::nullopt;
}

std::optional<long> difference(std::optional<long> from, std::optional<long> to)
{
    return from && to ? std::optional<long>(*to - *from) : std::nullopt;
}

} // namespace

std::optional<long> SoakFigures::rssGrowthKib() const
{
    return difference(rss(warmup), rss(end));
}

std::optional<long> SoakFigures::heapGrowthKib() const
{
    return difference(heap(warmup), heap(end));
}

std::optional<long> SoakFigures::judgedGrowthKib() const
{
    return heap(warmup) ? heapGrowthKib() : rssGrowthKib();
}

bool SoakFigures::memorySteady() const
{
    const auto growth = judgedGrowthKib();
    return growth && *growth <= maxGrowthKib;
}

void print(std::ostream& out, const SoakFigures& figures)
{
    out << "soak: actions " << figures.actions() << ": " << figures.opens << " opens, "
        << figures.closes << " closes, " << figures.toggles << " toggles (" << figures.realToggles
        << " real clicks), " << figures.drags << " drags (" << figures.dragNudges
        << " followed only after a further motion)\n";
    out << "soak: region checks " << figures.regionChecks << ", steps " << figures.steps << '\n';
    const bool heapKnown = heap(figures.warmup).has_value();
#if defined(__SANITIZE_ADDRESS__)
    const char* residentNote = " (sanitizer's memory included)";
#else
    const char* residentNote = "";
#endif
    out << "soak: resident size after warm-up ";
    mib(out, rss(figures.warmup)) << ", at end ";
    mib(out, rss(figures.end)) << ", growth ";
    mib(out, figures.rssGrowthKib()) << residentNote << '\n';
    if (heapKnown) {
        out << "soak: heap in use after warm-up ";
        mib(out, heap(figures.warmup)) << ", at end ";
        mib(out, heap(figures.end)) << ", growth ";
        mib(out, figures.heapGrowthKib()) << '\n';
    }
    out << "soak: " << (heapKnown ? "heap" : "resident size") << " growth ";
    mib(out, figures.judgedGrowthKib()) << ", limit ";
    mib(out, figures.maxGrowthKib) << '\n';
    const auto end = figures.ended.value_or(std::chrono::steady_clock::now());
    out << "soak: time " << std::fixed << std::setprecision(1) << seconds(end - figures.started)
        << " s";
    if (figures.warmedUp) {
        out << " (warm-up " << seconds(*figures.warmedUp - figures.started) << " s)";
    }
    out << '\n';
}

} // namespace zentaro::soak
