#include "open_request_printer.h"

#include <cstdio>

namespace zentaro::x11test {

void OpenRequestPrinter::open(const QUrl& url)
{
    std::printf("OPEN %s\n", url.toLocalFile().toLocal8Bit().constData());
    std::fflush(stdout);
}

} // namespace zentaro::x11test
