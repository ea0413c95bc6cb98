#include "platform/qt/desktop/qt_workspace.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QUrl>

namespace tamsel::qt {

bool QtWorkspace::openFile(const std::string& path) {
    const QString file = QString::fromStdString(path);
    if (file.isEmpty() || !QFileInfo::exists(file)) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
}

bool QtWorkspace::openURL(const std::string& url) {
    const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
    const QString scheme = address.scheme().toLower();
    if (!address.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return false;
    return QDesktopServices::openUrl(address);
}

std::string QtWorkspace::manualPath() {
    const QDir dir(QCoreApplication::applicationDirPath());
    const QString installed =
        dir.absoluteFilePath(QStringLiteral("../share/doc/tamsel/Manual.pdf"));
    const QString candidates[] = {
        dir.absoluteFilePath(QStringLiteral("Manual.pdf")),
        installed,
        // <bundle>/Contents/MacOS/tamsel → <bundle>/Contents/Resources
        dir.absoluteFilePath(QStringLiteral("../Resources/Manual.pdf")),
    };
    for (const QString& path : candidates)
        if (QFileInfo::exists(path)) return QDir::cleanPath(path).toStdString();
    return QDir::cleanPath(installed).toStdString();
}

void QtWorkspace::openLoginItemsSettings() {
    if (QSysInfo::productType() != QLatin1String("macos")) return;
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(QStringLiteral("/System/Library/PreferencePanes/Accounts.prefPane")));
}

std::string QtWorkspace::shortVersionString() {
    return QCoreApplication::applicationVersion().toStdString();
}

}  // namespace tamsel::qt
