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
#include <functional>

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

// A user id nobody has: "another user" without touching the user database.
uid_t strangerId() {
    uid_t id = 54321;
    while (::getpwuid(id)) ++id;
    return id;
}

TEST(PrivateSettings, AFolderOrFileOthersControlIsNeitherReadNorWrittenAndSaidOnce) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a folder to another user needs root";
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/tamsel");
    const QString file = folder + QStringLiteral("/tamsel.conf");
    const QString victim = dir.path() + QStringLiteral("/victim");
    const QByteArray victimText = "[General]\nuid=77\n";
    struct Case {
        const char* name;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        {"a folder of another user",
         [&] {
             QDir().mkpath(folder);
             QFile::copy(victim, file);
             ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), strangerId(), 0), 0);
         }},
        {"a folder that is a link",
         [&] { QFile::link(dir.path() + QStringLiteral("/elsewhere"), folder); }},
        {"a file that is a link", [&] {
             QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
             QFile::link(victim, file);
         }}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(folder).removeRecursively();
        QFile::remove(folder);
        QDir().mkpath(dir.path() + QStringLiteral("/elsewhere"));
        QFile v(victim);
        ASSERT_TRUE(v.open(QIODevice::WriteOnly | QIODevice::Truncate));
        v.write(victimText);
        v.close();
        ::chmod(QFile::encodeName(victim).constData(), 0644);
        c.arrange();
        const struct stat folderBefore = lstatOf(folder);

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
        EXPECT_EQ(contentsOf(victim), victimText);
        EXPECT_EQ(lstatOf(victim).st_mode & 07777, 0644u);
        EXPECT_EQ(lstatOf(folder).st_mode, folderBefore.st_mode);
        EXPECT_EQ(lstatOf(folder).st_uid, folderBefore.st_uid);
        EXPECT_TRUE(QDir(dir.path() + QStringLiteral("/elsewhere")).isEmpty());
    }
}

TEST(PrivateSettings, NewFoldersAreOwnerOnlyFromTheStartAndTheUmaskComesBack) {
    QTemporaryDir dir;
    const mode_t before = ::umask(022);
    QtSettings settings(dir.path() + QStringLiteral("/new/tamsel/tamsel.conf"));
    settings.setInteger("uid", 1);
    EXPECT_EQ(lstatOf(dir.path() + QStringLiteral("/new")).st_mode & 0777, 0700u);
    EXPECT_EQ(::umask(before), 022u);
}

TEST(PrivateSettings, StoredTextsMatchTypedOnesAndBytesThatAreNoTextAreSaid) {
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/tamsel.conf");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    // Typed by hand: "é" as e + combining accent; Latin-1 "ä" (no UTF-8).
    f.write("[General]\nwritten=caf\x65\xcc\x81\nlatin=p\xe4ss\n");
    f.close();
    ::testing::internal::CaptureStderr();
    QtSettings settings(file);
    EXPECT_EQ(settings.stringForKey("written"), "caf\xc3\xa9") << "the composed form, as typed";
    settings.stringForKey("latin");
    settings.stringForKey("latin");
    const std::string said = ::testing::internal::GetCapturedStderr();
    const auto at = said.find("latin in");
    EXPECT_NE(at, std::string::npos) << said;
    EXPECT_EQ(at, said.rfind("latin in")) << "said once: " << said;
}

TEST(PrivateSettings, AGermanDesktopKeepsARefusedVersionAsWritten) {
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "make deps generates it";
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/tamsel.conf");
    QtSettings(file).setDouble("skipVersion", 2.7);
    EXPECT_TRUE(contentsOf(file).contains("skipVersion=2.7\n")) << contentsOf(file).constData();
    EXPECT_EQ(renderVersion(QtSettings(file).doubleForKey("skipVersion")), "2.7");
    EXPECT_EQ(renderVersion(2.5), "2.5");
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace tamsel::qt
