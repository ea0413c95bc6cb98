// A settings folder or file that someone else controls: nothing is read or
// written there, nothing through a link, and the user is told once.

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <clocale>

#include "engine/version_check.h"
#include "platform/qt/qt_settings.h"

namespace tamsel::qt {
namespace {

struct stat lstatOf(const QString& path) {
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

QByteArray contentsOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

TEST(PrivateSettings, AFolderOrFileOthersControlIsNeitherReadNorWrittenAndSaidOnce) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a folder to another user needs root";
    uid_t stranger = 54321;  // another user, without touching the user database
    while (::getpwuid(stranger)) ++stranger;
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/tamsel");
    const QString file = folder + QStringLiteral("/tamsel.conf");
    const QString victim = dir.path() + QStringLiteral("/victim");
    enum Shape { FolderOfAnotherUser, FolderIsALink, FileIsALink };
    for (Shape shape : {FolderOfAnotherUser, FolderIsALink, FileIsALink}) {
        SCOPED_TRACE(shape);
        QDir(folder).removeRecursively();
        QFile::remove(folder);
        write(victim, "[General]\nuid=77\n");
        ::chmod(QFile::encodeName(victim).constData(), 0644);
        if (shape == FolderOfAnotherUser) {
            QDir().mkdir(folder);
            QFile::copy(victim, file);
            ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), stranger, 0), 0);
        } else if (shape == FolderIsALink) {
            QFile::link(dir.path(), folder);
        } else {
            QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QFile::link(victim, file);
        }
        const struct stat before = lstatOf(folder);
        ::testing::internal::CaptureStderr();
        {
            QtSettings settings(file);
            EXPECT_EQ(settings.integerForKey("uid"), 0) << "nothing read from there";
            settings.setInteger("uid", 42);
            settings.setString("txtNewPwd", "secret");
            EXPECT_EQ(settings.integerForKey("uid"), 42) << "kept for this run";
        }
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("could not save"), std::string::npos) << said;
        EXPECT_EQ(said.find("could not save"), said.rfind("could not save")) << said;
        EXPECT_EQ(contentsOf(victim), "[General]\nuid=77\n");
        EXPECT_EQ(lstatOf(victim).st_mode & 07777, 0644u);
        EXPECT_EQ(lstatOf(folder).st_mode, before.st_mode);
        EXPECT_EQ(lstatOf(folder).st_uid, before.st_uid);
    }
}

TEST(PrivateSettings, TextsAndNumbersReadAsWrittenAndUndecodableBytesAreSaid) {
    QTemporaryDir dir;
    const mode_t umaskBefore = ::umask(022);
    const QString file = dir.path() + QStringLiteral("/new/tamsel/tamsel.conf");
    QtSettings(file).setInteger("uid", 1);
    EXPECT_EQ(lstatOf(dir.path() + QStringLiteral("/new")).st_mode & 0777, 0700u);
    EXPECT_EQ(::umask(umaskBefore), 022u) << "the process keeps its umask";

    // By hand: "é" as e + combining accent, a Latin-1 "ä" (no UTF-8).
    write(file, "[General]\nwritten=caf\x65\xcc\x81\nlatin=p\xe4ss\n");
    ::testing::internal::CaptureStderr();
    QtSettings settings(file);
    EXPECT_EQ(settings.stringForKey("written"), "caf\xc3\xa9") << "composed, as typed ones";
    settings.stringForKey("latin");
    settings.stringForKey("latin");
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("latin in"), std::string::npos) << said;
    EXPECT_EQ(said.find("latin in"), said.rfind("latin in")) << said;

    // Qt gives C the desktop's language: a German one must not write 2,7.
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "make deps generates it";
    settings.setDouble("skipVersion", 2.7);
    EXPECT_TRUE(contentsOf(file).contains("skipVersion=2.7\n"));
    EXPECT_EQ(renderVersion(QtSettings(file).doubleForKey("skipVersion")), "2.7");
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace tamsel::qt
