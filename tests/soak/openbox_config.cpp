#include "openbox_config.h"

#include "window_manager.h"
#include "window_query.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace zentaro::soak {

namespace {

constexpr const char* kSystemConfig = "/etc/xdg/openbox/rc.xml";

} // namespace

bool configureOpenboxForSoak(x11test::XConnection& x, std::string& error)
{
    const QString configHome = qEnvironmentVariable("ZENTARO_TEST_WM_CONFIG_HOME");
    if (configHome.isEmpty() || !x11test::windowManagerRunning(x)) {
        return true;
    }
    QFile system(QString::fromLatin1(kSystemConfig));
    if (!system.open(QIODevice::ReadOnly)) {
        error = std::string("cannot read ") + kSystemConfig;
        return false;
    }
    QString config = QString::fromUtf8(system.readAll());
    // <strength> against other windows and <screen_edge_strength> at the
    // screen's edges, in pixels; <screenEdgeWarpTime> in milliseconds, 0 for
    // never.
    config.replace(QRegularExpression(
                       QStringLiteral("<(strength|screen_edge_strength|screenEdgeWarpTime)>\\d+<")),
                   QStringLiteral("<\\1>0<"));
    const QString dir = configHome + QStringLiteral("/openbox");
    QFile own(dir + QStringLiteral("/rc.xml"));
    if (!QDir().mkpath(dir) || !own.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        own.write(config.toUtf8()) < 0) {
        error = "cannot write " + own.fileName().toStdString();
        return false;
    }
    own.close();
    if (!x11test::restartWindowManager(x)) {
        error = "openbox did not come back with the new configuration";
        return false;
    }
    return true;
}

} // namespace zentaro::soak
