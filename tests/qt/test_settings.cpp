// The settings file: what a later process reads back, owner-only modes,
// damaged files, writes that fail, folders and files that others control.

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QRandomGenerator>
#include <clocale>
#include <limits>

#include "engine/version_check.h"
#include "platform/qt/qt_settings.h"
#include "qt_test.h"

namespace tamsel::qt {
namespace {

using namespace test;

class SettingsFile : public ::testing::Test {
protected:
    ~SettingsFile() override { test::takeNotices(); }
    // A config folder that does not exist yet.
    QString folder() const { return dir_.path() + QStringLiteral("/config/tamsel"); }
    QString file() const { return folder() + QStringLiteral("/tamsel.conf"); }
    // What another process reads: the same bytes, parsed afresh (QSettings
    // shares what it parsed between objects on one path).
    std::unique_ptr<QtSettings> later() {
        const QString copy = dir_.path() + QStringLiteral("/fresh%1.conf").arg(++fresh_);
        QFile::copy(file(), copy);
        return std::make_unique<QtSettings>(copy);
    }
    QTemporaryDir dir_;
    int fresh_ = 0;
};

// Qt gives C the desktop's language: a German one must not write 2,7. The
// file the checks guard must be the one QSettings reads; the stories would go
// on working were it another.
TEST_F(SettingsFile, EveryValueReadsBackInALaterProcessFromAnOwnerOnlyFileInTheConfigFolder) {
    EXPECT_EQ(QtSettings().fileName(),
              qEnvironmentVariable("XDG_CONFIG_HOME") + "/tamsel/tamsel.conf");
    const QStringList texts =
        QString::fromUtf8(
            "|a\"b;c=d#e@f\\g|  blanks  |\ttab|@Variant(x)|a,b, c|[General]|x=y|"
            "line\nbreak|-1e5|\u00fc\u00df\u20ac \xF0\x9F\x98\x80")
            .split('|');
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "make deps generates it";
    const mode_t umaskBefore = ::umask(022);
    {
        QtSettings settings(file());
        EXPECT_FALSE(QFile::exists(file())) << "reading alone writes nothing";
        settings.setInteger("largest", std::numeric_limits<long long>::max());
        settings.setDouble("sum", 0.1 + 0.2);
        settings.setDouble("skipVersion", 2.7);
        for (int i = 0; i < texts.size(); ++i)
            settings.setString("t" + std::to_string(i), texts[i].toStdString());
        EXPECT_EQ(modeOf(file()), 0600);
        EXPECT_EQ(modeOf(folder()), 0700);
        EXPECT_EQ(modeOf(dir_.path() + QStringLiteral("/config")), 0700);
        EXPECT_EQ(::umask(umaskBefore), 022u) << "the process keeps its umask";
    }
    std::setlocale(LC_ALL, "C");
    EXPECT_TRUE(contentsOf(file()).contains("skipVersion=2.7\n"));
    auto next = later();
    EXPECT_EQ(next->integerForKey("largest"), std::numeric_limits<long long>::max());
    EXPECT_EQ(next->doubleForKey("sum"), 0.1 + 0.2);
    EXPECT_EQ(renderVersion(next->doubleForKey("skipVersion")), "2.7");
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_EQ(next->stringForKey("t" + std::to_string(i)), texts[i].toStdString()) << i;
}

TEST_F(SettingsFile, DamagedFilesAreSetAsideAndWhatStillReadsIsKept) {
    QByteArray noise(4096, '\0');
    QRandomGenerator generator(20240607);
    for (char& c : noise) c = static_cast<char>(generator.bounded(256));
    write(file(), noise);
    EXPECT_NE(stderrOf([&] { QtSettings(file()).setInteger("uid", 42); }).find("damaged"),
              std::string::npos);
    EXPECT_EQ(contentsOf(file() + ".damaged"), noise);
    EXPECT_EQ(modeOf(file() + ".damaged"), 0600);
    EXPECT_EQ(later()->integerForKey("uid"), 42);

    static const char text[] = "[General]\nuid=42\n\x01\x02\0\0garbage\ntxtNewPwd=secret\n[Gen";
    write(file(), QByteArray(text, sizeof text - 1));
    EXPECT_NE(stderrOf([&] { QtSettings s(file()); }).find("kept"), std::string::npos);
    EXPECT_EQ(later()->stringForKey("txtNewPwd"), "secret");
    EXPECT_FALSE(contentsOf(file()).contains("garbage"));
}

// Told on stderr and on screen, once, without blocking: the offscreen
// platform has no tray, so the notice is a window of its own.
TEST_F(SettingsFile, AWriteThatFailsIsToldOnceAndKeptForThisRun) {
    write(dir_.path() + QStringLiteral("/config"), "a file where a folder should be");
    const std::string err = stderrOf([&] {
        QtSettings settings(file());
        settings.setInteger("uid", 42);
        settings.setString("txtNewPwd", "secret");
        EXPECT_EQ(settings.integerForKey("uid"), 42);
    });
    EXPECT_EQ(QString::fromStdString(err).count("could not save"), 1) << err;
    stderrOf([&] { QtSettings(file()).setInteger("uid", 43); });  // no second notice
    QApplication::processEvents();
    const QStringList notices = test::takeNotices();
    ASSERT_EQ(notices.size(), 1) << notices.join(u'|').toStdString();
    EXPECT_TRUE(notices[0].contains(file())) << "the path is said";
    EXPECT_FALSE(notices[0].contains("secret")) << "no value is shown";
}

// A settings folder or file that someone else controls: nothing is read or
// written there, nothing through a link, and the user is told once.
TEST_F(SettingsFile, AFolderOrFileOthersControlIsNeitherReadNorWrittenAndSaidOnce) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a folder to another user needs root";
    uid_t stranger = 54321;  // another user, without touching the user database
    while (::getpwuid(stranger)) ++stranger;
    const QString victim = dir_.path() + QStringLiteral("/victim");
    QDir().mkpath(dir_.path() + QStringLiteral("/config"));
    for (int shape = 0; shape < 3; ++shape) {  // another user's folder, a link to one, to a file
        SCOPED_TRACE(shape);
        QDir(folder()).removeRecursively();
        QFile::remove(folder());
        write(victim, "[General]\nuid=77\n");
        ::chmod(QFile::encodeName(victim).constData(), 0644);
        if (shape == 0) {
            QDir().mkdir(folder());
            QFile::copy(victim, file());
            ASSERT_EQ(::chown(QFile::encodeName(folder()).constData(), stranger, 0), 0);
        } else if (shape == 1) {
            QFile::link(dir_.path(), folder());
        } else {
            QDir().mkdir(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QFile::link(victim, file());
        }
        const int mode = modeOf(folder());
        const std::string said = stderrOf([&] {
            QtSettings settings(file());
            EXPECT_EQ(settings.integerForKey("uid"), 0) << "nothing read from there";
            settings.setInteger("uid", 42);
            EXPECT_EQ(settings.integerForKey("uid"), 42) << "kept for this run";
        });
        EXPECT_EQ(QString::fromStdString(said).count("could not save"), 1) << said;
        EXPECT_EQ(contentsOf(victim), "[General]\nuid=77\n");
        EXPECT_EQ(modeOf(victim), 0644);
        EXPECT_EQ(modeOf(folder()), mode);
        EXPECT_EQ(QFileInfo(folder()).ownerId(), shape == 0 ? stranger : 0);
    }
}

}  // namespace
}  // namespace tamsel::qt
