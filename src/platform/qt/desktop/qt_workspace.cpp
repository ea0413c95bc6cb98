#include "platform/qt/desktop/qt_workspace.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTextStream>
#include <QUrl>

namespace tamsel::qt {

namespace {

bool listsApplication(const QString& file, const QString& mimeType) {
    QFile list(file);
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    QTextStream in(&list);
    bool counts = false;
    const QString key = mimeType + QLatin1Char('=');
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('[')))
            counts = line != QLatin1String("[Removed Associations]");
        else if (counts && line.startsWith(key) && line.size() > key.size())
            return true;
    }
    return false;
}

// xdg-open hands a file or address to what these lists name and fails
// quietly (a line on stderr) where they name nothing. Elsewhere (macOS, a
// desktop without xdg-open) Qt's own answer is all there is.
bool noApplicationFor(const QString& mimeType) {
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) return false;
    return !desktopListsApplicationFor(mimeType);
}

}  // namespace

bool desktopListsApplicationFor(const QString& mimeType) {
    QStringList files;
    for (const QString& dir :
         QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        files << dir + QStringLiteral("/mimeapps.list");
    for (const QString& dir :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        files << dir + QStringLiteral("/applications/mimeapps.list")
              << dir + QStringLiteral("/applications/mimeinfo.cache");
    for (const QString& file : files)
        if (listsApplication(file, mimeType)) return true;
    return false;
}

bool QtWorkspace::openFile(const std::string& path) {
    const QString file = QString::fromStdString(path);
    if (file.isEmpty() || !QFileInfo::exists(file)) return false;
    if (noApplicationFor(QMimeDatabase().mimeTypeForFile(file).name())) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
}

bool QtWorkspace::openURL(const std::string& url) {
    const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
    const QString scheme = address.scheme().toLower();
    if (!address.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return false;
    // xdg-open also tries $BROWSER and Debian's x-www-browser.
    const bool fallback =
        qEnvironmentVariableIsSet("BROWSER") ||
        !QStandardPaths::findExecutable(QStringLiteral("x-www-browser")).isEmpty();
    if (!fallback && noApplicationFor(QStringLiteral("x-scheme-handler/") + scheme)) return false;
    return QDesktopServices::openUrl(address);
}

std::string QtWorkspace::manualPath() {
    const QDir dir(QCoreApplication::applicationDirPath());
    const QString installed =
        dir.absoluteFilePath(QStringLiteral("../share/tamsel/Manual.pdf"));
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
