#include "soak_options.h"

#include <QCommandLineParser>

#include <array>

namespace zentaro::soak {

namespace {

struct CountOption
{
    const char* name;
    const char* description;
    int SoakOptions::* field;
    int minimum;
};

constexpr std::array kCountOptions{
    CountOption{"cycles", "Open and close every menu window this many times.", &SoakOptions::cycles,
                1},
    CountOption{"toggles", "Toggle clicks in all.", &SoakOptions::toggles, 0},
    CountOption{"drags", "Drags by a bar in all.", &SoakOptions::drags, 0},
    CountOption{"warmup-cycles", "Cycles before the first memory reading.",
                &SoakOptions::warmupCycles, 1},
    CountOption{"real-toggle-every", "Every n-th toggle is a click through the X server.",
                &SoakOptions::realToggleEvery, 1},
};

} // namespace

std::optional<SoakOptions> parseSoakOptions(const QStringList& arguments, std::string& error)
{
    SoakOptions options;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Soak session of the zentaro windows."));
    for (const CountOption& count : kCountOptions) {
        parser.addOption({QString::fromLatin1(count.name), QString::fromLatin1(count.description),
                          QStringLiteral("n"), QString::number(options.*count.field)});
    }
    parser.addOption({QStringLiteral("max-growth-kib"),
                      QStringLiteral("Largest memory growth after the warm-up."),
                      QStringLiteral("KiB"), QString::number(options.maxGrowthKib)});
    if (!parser.parse(arguments)) {
        error = parser.errorText().toStdString();
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = "unexpected argument: " + parser.positionalArguments().first().toStdString();
        return std::nullopt;
    }
    for (const CountOption& count : kCountOptions) {
        bool ok = false;
        const int value = parser.value(QString::fromLatin1(count.name)).toInt(&ok);
        if (!ok || value < count.minimum) {
            error = std::string("--") + count.name + " needs a whole number of at least " +
                    std::to_string(count.minimum);
            return std::nullopt;
        }
        options.*count.field = value;
    }
    bool ok = false;
    options.maxGrowthKib = parser.value(QStringLiteral("max-growth-kib")).toLong(&ok);
    if (!ok || options.maxGrowthKib < 0) {
        error = "--max-growth-kib needs a whole number of at least 0";
        return std::nullopt;
    }
    if (options.warmupCycles >= options.cycles) {
        error = "--warmup-cycles must be fewer than --cycles";
        return std::nullopt;
    }
    return options;
}

} // namespace zentaro::soak
