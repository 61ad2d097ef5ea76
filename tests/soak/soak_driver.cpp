// The soak driver: runs the program's shell in this process on the X server
// of a scripted session (scripts/x11-session.sh, Xvfb with openbox) and
// works it hard: every menu window opened and closed many times, the reticle
// windows toggled and dragged, the main window closed with the reticles left
// running, and finally their "X". Checks every step as it goes, measures the
// memory after a warm-up and at the end, and prints its figures.
//
//   soak_driver [--cycles N] [--toggles N] [--drags N] [--warmup-cycles N]
//               [--real-toggle-every N] [--max-growth-kib KiB]
//
// Every drag is a real one: xdotool presses a bar, the window manager takes
// the move and gives the pointer back at the release, as for a user.
//
// Exit status 0 when every check held, the program ended through "X" with
// status 0 and the memory grew no more than allowed; 1 otherwise; 2 for bad
// arguments.
#include "openbox_config.h"
#include "soak_figures.h"
#include "soak_options.h"
#include "soak_session.h"
#include "step_runner.h"

#include "x_connection.h"

#include "shell/application.h"

#include <QApplication>

#include <iostream>
#include <stdexcept>

namespace {

/// The event loop's status when the plan stopped without "X" ending it.
constexpr int kPlanStoppedStatus = 1;

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    std::string error;
    const auto options = zentaro::soak::parseSoakOptions(QApplication::arguments(), error);
    if (!options) {
        std::cerr << "soak_driver: " << error << '\n';
        return 2;
    }

    zentaro::soak::SoakFigures figures;
    figures.maxGrowthKib = options->maxGrowthKib;
    int status = 0;
    std::string failure;
    try {
        {
            zentaro::x11test::XConnection x;
            if (!zentaro::soak::configureOpenboxForSoak(x, error)) {
                std::cerr << "soak_driver: " << error << '\n';
                return 1;
            }
        }
        zentaro::shell::Application shell;
        shell.start();
        zentaro::soak::StepRunner runner;
        zentaro::soak::SoakSession session(shell, runner, *options, figures);
        session.plan();
        QObject::connect(&runner, &zentaro::soak::StepRunner::finished,
                         [] { QCoreApplication::exit(kPlanStoppedStatus); });
        runner.start();
        status = QApplication::exec();
        figures.steps = runner.stepsDone();
        failure = runner.failure();
    } catch (const std::exception& e) {
        failure = e.what();
        status = kPlanStoppedStatus;
    }

    zentaro::soak::print(std::cout, figures);
    std::cout << "soak: the program's exit status " << status << '\n';
    if (!failure.empty()) {
        std::cout << "soak: FAILED: " << failure << '\n';
        return 1;
    }
    if (status != 0) {
        std::cout << "soak: FAILED: the program did not end with status 0\n";
        return 1;
    }
    if (!figures.memorySteady()) {
        std::cout << "soak: FAILED: the memory grew more than allowed after the warm-up\n";
        return 1;
    }
    std::cout << "soak: passed\n";
    return 0;
}
