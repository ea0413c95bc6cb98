// The Qt tests' entry: a QApplication on the offscreen platform, with a
// settings folder of its own, so no test touches the user's files.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "common/version.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Also when started by hand from a desktop session.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(config.path() + QStringLiteral("/data")));

    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setOrganizationName(QStringLiteral("tamsel"));
    QApplication::setApplicationName(QStringLiteral("tamsel"));
    QApplication::setApplicationVersion(
        QString::fromUtf8(tamsel::kVersion.data(), tamsel::kVersion.size()));
    return RUN_ALL_TESTS();
}
