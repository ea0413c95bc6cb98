#include "platform/qt/private_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace tamsel::qt {

namespace {

int lstatOf(const QString& path, struct stat& st) {
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? 0 : errno;
}

// Why a path that exists is not this user's own plain `kind` of thing. The
// reasons end a sentence a person reads ("its folder … is a symbolic link").
QString whyNotOwn(const struct stat& st, mode_t type, const char* isNotThat) {
    if (S_ISLNK(st.st_mode)) return QCoreApplication::translate("Tamsel", "is a symbolic link");
    if ((st.st_mode & S_IFMT) != type) return QCoreApplication::translate("Tamsel", isNotThat);
    if (st.st_uid != ::geteuid())
        return QCoreApplication::translate("Tamsel", "belongs to another user");
    return {};
}

}  // namespace

QString whyNotPrivateFolder(const QString& folder, Create create) {
    struct stat st {};
    int error = lstatOf(folder, st);
    if (error == ENOENT) {
        if (create == Create::No) return {};
        const OwnerOnlyFiles ownerOnly;
        QDir().mkpath(QFileInfo(folder).absolutePath());
        ::mkdir(QFile::encodeName(folder).constData(), 0700);
        error = lstatOf(folder, st);
    }
    if (error != 0) return QCoreApplication::translate("Tamsel", "cannot be made or read");
    QString why = whyNotOwn(st, S_IFDIR, QT_TRANSLATE_NOOP("Tamsel", "is not a folder"));
    if (why.isEmpty() && (st.st_mode & 077) != 0 &&
        ::chmod(QFile::encodeName(folder).constData(), st.st_mode & 0700) != 0)
        why = QCoreApplication::translate("Tamsel", "cannot be made owner-only");
    return why;
}

QString whyNotWritable(const QString& file) {
    struct stat st {};
    const int error = lstatOf(file, st);
    if (error == ENOENT) return {};
    if (error != 0) return QCoreApplication::translate("Tamsel", "cannot be read");
    return whyNotOwn(st, S_IFREG, QT_TRANSLATE_NOOP("Tamsel", "is not a plain file"));
}

void makeOwnerOnly(const QString& file) {
    struct stat st {};
    if (lstatOf(file, st) != 0 || !S_ISREG(st.st_mode) || (st.st_mode & 077) == 0) return;
    ::chmod(QFile::encodeName(file).constData(), st.st_mode & 0700);
}

OwnerOnlyFiles::OwnerOnlyFiles() : saved_(::umask(077)) {}

OwnerOnlyFiles::~OwnerOnlyFiles() {
    ::umask(saved_);
}

}  // namespace tamsel::qt
