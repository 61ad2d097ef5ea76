// Stands in for the desktop in the reticle test host: every request to open
// a file is printed on stdout as "OPEN <local path>", one line each, so the
// test that drives the host can count them.
#pragma once

#include <QObject>
#include <QUrl>

namespace zentaro::x11test {

class OpenRequestPrinter : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

public slots:
    /// Called by QDesktopServices::openUrl for the registered scheme.
    void open(const QUrl& url);
};

} // namespace zentaro::x11test
