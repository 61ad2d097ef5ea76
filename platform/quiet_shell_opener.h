// Opens files with the desktop's default application without a word.
//
// Qt hands a file URL to xdg-open, whose complaints ("no method available",
// "file does not exist") would reach the user's terminal: a request the
// desktop cannot serve must just do nothing. While an instance exists it
// serves QDesktopServices' "file" URLs itself: xdg-open is started detached
// with its output discarded, and where there is no xdg-open nothing happens.
#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

namespace zentaro::platform {

class QuietShellOpener : public QObject
{
    Q_OBJECT

public:
    QuietShellOpener();
    ~QuietShellOpener() override;
    QuietShellOpener(const QuietShellOpener&) = delete;
    QuietShellOpener& operator=(const QuietShellOpener&) = delete;

public slots:
    /// Starts the desktop's opener for `url`; returns whether it started.
    bool open(const QUrl& url);
};

} // namespace zentaro::platform
