#include "platform/quiet_shell_opener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace zentaro::platform {

namespace {
const QString kFileScheme = QStringLiteral("file");
const QString kOpener = QStringLiteral("xdg-open");
} // namespace

QuietShellOpener::QuietShellOpener()
{
    QDesktopServices::setUrlHandler(kFileScheme, this, "open");
}

QuietShellOpener::~QuietShellOpener()
{
    QDesktopServices::unsetUrlHandler(kFileScheme);
}

bool QuietShellOpener::open(const QUrl& url)
{
    const QString opener = QStandardPaths::findExecutable(kOpener);
    if (opener.isEmpty()) {
        return false;
    }
    QProcess process;
    process.setProgram(opener);
    process.setArguments({url.toString(QUrl::FullyEncoded)});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}

} // namespace zentaro::platform
