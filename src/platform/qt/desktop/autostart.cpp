#include "platform/qt/desktop/autostart.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tamsel::qt {

namespace {

// Far more than any start-up entry: a bigger file is not read.
constexpr qint64 kMaxEntrySize = 64 * 1024;

bool fail(const QString& what, int error) {
    std::fprintf(stderr, "tamsel: cannot change whether Tamsel starts at login: %s (%s).\n",
                 qPrintable(what), std::strerror(error));
    std::fflush(stderr);
    return false;
}

// Makes a missing folder (and its missing parents) owner-only. An existing
// one is taken only as a real folder, and the last one only if it is the
// user's own.
bool preparedFolder(const QByteArray& folder, bool mustBeOwn) {
    struct stat st {};
    if (::lstat(folder.constData(), &st) == 0) {
        if (!S_ISDIR(st.st_mode) || (mustBeOwn && st.st_uid != ::getuid()))
            return fail(QFile::decodeName(folder) + " is not a folder of yours", EPERM);
        return true;
    }
    if (errno != ENOENT) return fail(QFile::decodeName(folder), errno);
    const QByteArray parent = QFile::encodeName(QFileInfo(QFile::decodeName(folder)).path());
    if (parent != folder && !preparedFolder(parent, false)) return false;
    if (::mkdir(folder.constData(), 0700) != 0) return fail(QFile::decodeName(folder), errno);
    return true;
}

QString entryText() {
    QString program = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    if (program.isEmpty()) program = QCoreApplication::applicationFilePath();
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Tamsel\n"
               "Comment=Reminds you to take short breaks from the computer\n"
               "Exec=%1\n"
               "Icon=tamsel\n"
               "Terminal=false\n"
               "X-GNOME-Autostart-enabled=true\n")
        .arg(XdgAutostart::execValue(program));
}

}  // namespace

XdgAutostart::XdgAutostart()
    : XdgAutostart(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                   QStringLiteral("/autostart/tamsel.desktop")) {}

XdgAutostart::XdgAutostart(QString path) : path_(std::move(path)) {}

QString XdgAutostart::execValue(const QString& program) {
    QString onPath = QStandardPaths::findExecutable(QStringLiteral("tamsel"));
    if (!onPath.isEmpty() && QFileInfo(onPath).canonicalFilePath() == program)
        return QStringLiteral("tamsel");
    QString arg = program;
    arg.replace(u'%', QStringLiteral("%%"));
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (std::any_of(arg.cbegin(), arg.cend(), [](QChar c) { return reserved.contains(c); })) {
        QString quoted = QStringLiteral("\"");
        for (QChar c : arg) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
            quoted += c;
        }
        arg = quoted + u'"';
    }
    // The file's own escapes come on top of the quoting.
    arg.replace(u'\\', QStringLiteral("\\\\"));
    arg.replace(u'\n', QStringLiteral("\\n"));
    arg.replace(u'\t', QStringLiteral("\\t"));
    return arg;
}

bool XdgAutostart::isEnabled() {
    QFile file(path_);
    if (!file.exists() || file.size() > kMaxEntrySize || !file.open(QIODevice::ReadOnly))
        return false;
    bool inEntry = false;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) inEntry = line == "[Desktop Entry]";
        if (!inEntry) continue;
        const int eq = line.indexOf('=');
        if (eq < 0) continue;
        const QByteArray key = line.left(eq).trimmed(), value = line.mid(eq + 1).trimmed();
        if ((key == "Hidden" && value == "true") ||
            (key == "X-GNOME-Autostart-enabled" && value == "false"))
            return false;
    }
    return true;
}

bool XdgAutostart::setEnabled(bool enabled) {
    const QByteArray file = QFile::encodeName(path_);
    if (!enabled) {
        // unlink() takes a symlink away, not what it points at.
        if (::unlink(file.constData()) != 0 && errno != ENOENT) return fail(path_, errno);
        return true;
    }
    const QByteArray folder = QFile::encodeName(QFileInfo(path_).path());
    if (!preparedFolder(folder, true)) return false;
    QByteArray temporary = file + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());  // 0600, O_EXCL
    if (fd < 0) return fail(path_, errno);
    const QByteArray text = entryText().toUtf8();
    const bool written = ::write(fd, text.constData(), text.size()) == text.size();
    const int writeError = errno;
    ::close(fd);
    // rename() replaces a symlink at the name itself, never its target.
    if (!written || ::rename(temporary.constData(), file.constData()) != 0) {
        const int error = written ? errno : writeError;
        ::unlink(temporary.constData());
        return fail(path_, error);
    }
    return true;
}

}  // namespace tamsel::qt
