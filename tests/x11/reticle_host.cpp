// Test host: shows the reticle windows whose window names are given as
// arguments ("Form3 Form10 ...") and runs the event loop, so that the X11
// tests can drive real windows from outside.
//
// stdout, one line each, flushed at once:
//   WINDOW <window name> <dpi>   once per window, after it was shown
//   OPEN <path>                  per request to open a file, when the
//                                environment sets ZENTARO_TEST_REPORT_OPEN=1
//                                (the desktop is then not asked at all)
// Exit status: the application's, or 2 for an unknown window name.
#include "designs/designs.h"
#include "open_request_printer.h"
#include "platform/platform.h"
#include "reticle/reticle_window.h"

#include <QApplication>
#include <QDesktopServices>
#include <QPointer>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kUsageError = 2;

bool reportOpenRequests()
{
    return qEnvironmentVariable("ZENTARO_TEST_REPORT_OPEN") == QLatin1String("1");
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    zentaro::x11test::OpenRequestPrinter printer;
    if (reportOpenRequests()) {
        QDesktopServices::setUrlHandler("file", &printer, "open");
    }
    const QStringList names = app.arguments().mid(1);
    if (names.isEmpty()) {
        std::fprintf(stderr, "usage: reticle_host FormN...\n");
        return kUsageError;
    }
    // Windows delete themselves when the user closes them; the rest are
    // deleted here, after the event loop.
    std::vector<QPointer<zentaro::ReticleWindow>> windows;
    for (const QString& name : names) {
        const std::string windowName = name.toStdString();
        const zentaro::ReticleDesign* design = zentaro::designs::findByWindowName(windowName);
        if (design == nullptr) {
            std::fprintf(stderr, "reticle_host: no design has the window name %s\n",
                         windowName.c_str());
            return kUsageError;
        }
        auto* window = new zentaro::ReticleWindow(*design);
        windows.emplace_back(window);
        zentaro::platform::showAndActivate(*window);
        std::printf("WINDOW %s %g\n", windowName.c_str(), window->dpi());
        std::fflush(stdout);
    }
    const int status = QApplication::exec();
    for (const auto& window : windows) {
        delete window.data();
    }
    if (reportOpenRequests()) {
        QDesktopServices::unsetUrlHandler("file");
    }
    return status;
}
