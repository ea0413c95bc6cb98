// The settings file: what a later process reads back, owner-only modes,
// hand-edited and damaged files, writes that fail.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <limits>

#include "platform/qt/qt_settings.h"

namespace tamsel::qt {
namespace {

int modeOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return -1;
    return static_cast<int>(st.st_mode & 07777);
}

QByteArray contentsOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class SettingsFile : public ::testing::Test {
protected:
    QString folder() const { return dir_.path() + QStringLiteral("/tamsel"); }
    QString file() const { return folder() + QStringLiteral("/tamsel.conf"); }
    QString damagedCopy() const { return file() + QStringLiteral(".damaged"); }

    void writeFile(const QByteArray& bytes) {
        QDir().mkpath(folder());
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    // What another process would read: the same bytes, parsed afresh
    // (QSettings shares what it parsed between objects on one path).
    std::unique_ptr<QtSettings> readInFreshProcess() {
        const QString copy = dir_.path() + QStringLiteral("/fresh%1.conf").arg(++fresh_);
        QFile::copy(file(), copy);
        return std::make_unique<QtSettings>(copy);
    }

    QTemporaryDir dir_;
    int fresh_ = 0;
};

TEST_F(SettingsFile, EveryTypeReadsBackInALaterProcess) {
    {
        QtSettings settings(file());
        settings.setInteger("uid", 123456789);
        settings.setInteger("negative", -5);
        settings.setInteger("largest", std::numeric_limits<long long>::max());
        settings.setDouble("skipVersion", 2.7);
        settings.setDouble("sum", 0.1 + 0.2);
        settings.setString("txtNewPwd", "secret");
        settings.setString("empty", "");
    }
    auto later = readInFreshProcess();
    EXPECT_EQ(later->integerForKey("uid"), 123456789);
    EXPECT_EQ(later->integerForKey("negative"), -5);
    EXPECT_EQ(later->integerForKey("largest"), std::numeric_limits<long long>::max());
    EXPECT_EQ(later->doubleForKey("skipVersion"), 2.7);
    EXPECT_EQ(later->doubleForKey("sum"), 0.1 + 0.2);
    EXPECT_EQ(later->stringForKey("txtNewPwd"), "secret");
    // An empty text is there, and differs from an absent one.
    EXPECT_EQ(later->stringForKey("empty"), "");
    // Numbers read as text, and integers as doubles.
    EXPECT_EQ(later->stringForKey("uid"), "123456789");
    EXPECT_EQ(later->doubleForKey("uid"), 123456789.0);
}

TEST_F(SettingsFile, AbsentKeysReadZeroAndNoText) {
    QtSettings settings(file());
    EXPECT_EQ(settings.integerForKey("uid"), 0);
    EXPECT_EQ(settings.doubleForKey("skipVersion"), 0.0);
    EXPECT_EQ(settings.stringForKey("txtNewPwd"), std::nullopt);
    EXPECT_FALSE(QFile::exists(file())) << "reading alone writes nothing";
}

TEST_F(SettingsFile, PasswordsRoundTripExactly) {
    const std::vector<std::string> passwords = {
        R"(a"b;c=d#e@f\g)",
        "  blanks before and after  ",
        "\ttab",
        "@Variant(not a variant)",
        "@",
        "a,b, c",
        "[General]",
        "x=y",
        "\u00fc\u00df\u20ac \xF0\x9F\x98\x80",
        "line\nbreak",
        "\"quoted\"",
        "0",
        "-1e5",
    };
    {
        QtSettings settings(file());
        for (std::size_t i = 0; i < passwords.size(); ++i) {
            settings.setString("txtNewPwd" + std::to_string(i), passwords[i]);
            EXPECT_EQ(settings.stringForKey("txtNewPwd" + std::to_string(i)), passwords[i]);
        }
    }
    auto later = readInFreshProcess();
    for (std::size_t i = 0; i < passwords.size(); ++i)
        EXPECT_EQ(later->stringForKey("txtNewPwd" + std::to_string(i)), passwords[i])
            << "password " << i;
}

TEST_F(SettingsFile, OnlyTheOwnerMayReadItAfterEveryWrite) {
    QtSettings settings(file());
    settings.setString("txtNewPwd", "secret");
    EXPECT_EQ(modeOf(file()), 0600);
    EXPECT_EQ(modeOf(folder()), 0700);

    // Someone widened them meanwhile: the next write narrows them again.
    ::chmod(QFile::encodeName(file()).constData(), 0644);
    ::chmod(QFile::encodeName(folder()).constData(), 0755);
    settings.setInteger("uid", 7);
    EXPECT_EQ(modeOf(file()), 0600);
    EXPECT_EQ(modeOf(folder()), 0700);
}

TEST_F(SettingsFile, AFileLeftReadableIsNarrowedAtStart) {
    writeFile("[General]\nuid=5\ntxtNewPwd=secret\n");
    ::chmod(QFile::encodeName(file()).constData(), 0644);
    ::chmod(QFile::encodeName(folder()).constData(), 0755);
    QtSettings settings(file());
    EXPECT_EQ(modeOf(file()), 0600);
    EXPECT_EQ(modeOf(folder()), 0700);
    EXPECT_EQ(settings.integerForKey("uid"), 5);
}

TEST_F(SettingsFile, TextWhereANumberBelongsReadsZeroAndHugeNumbersSaturate) {
    writeFile(
        "[General]\n"
        "word=abc\n"
        "trailing=30abc\n"
        "padded=\" 45 \"\n"
        "fraction=2.9\n"
        "negativeFraction=-2.9\n"
        "hex=0x10\n"
        "empty=\n"
        "list=3,4\n"
        "huge=99999999999999999999\n"
        "hugeNegative=-99999999999999999999\n"
        "overflow=1e400\n"
        "notANumber=nan\n"
        "infinite=inf\n"
        "version=2.7\n");
    QtSettings s(file());
    EXPECT_EQ(s.integerForKey("word"), 0);
    EXPECT_EQ(s.integerForKey("trailing"), 0);
    EXPECT_EQ(s.integerForKey("padded"), 45);
    EXPECT_EQ(s.integerForKey("fraction"), 2);
    EXPECT_EQ(s.integerForKey("negativeFraction"), -2);
    EXPECT_EQ(s.integerForKey("hex"), 0);
    EXPECT_EQ(s.integerForKey("empty"), 0);
    EXPECT_EQ(s.integerForKey("list"), 0);
    EXPECT_EQ(s.integerForKey("huge"), std::numeric_limits<long long>::max());
    EXPECT_EQ(s.integerForKey("hugeNegative"), std::numeric_limits<long long>::min());
    EXPECT_EQ(s.integerForKey("overflow"), 0);
    EXPECT_EQ(s.integerForKey("notANumber"), 0);
    EXPECT_EQ(s.integerForKey("infinite"), 0);

    EXPECT_EQ(s.doubleForKey("version"), 2.7);
    EXPECT_EQ(s.doubleForKey("word"), 0.0);
    EXPECT_EQ(s.doubleForKey("huge"), 1e20);
    EXPECT_EQ(s.doubleForKey("overflow"), 0.0);
    EXPECT_EQ(s.doubleForKey("notANumber"), 0.0);
    EXPECT_EQ(s.doubleForKey("infinite"), 0.0);
    // A hand-written list is still the text that was typed.
    EXPECT_EQ(s.stringForKey("list"), "3,4");
    EXPECT_FALSE(QFile::exists(damagedCopy())) << "odd values are no damage";
}

TEST_F(SettingsFile, RandomBytesAreSetAsideAndTheStoreStartsAfresh) {
    QByteArray noise(4096, '\0');
    QRandomGenerator generator(20240607);
    for (char& c : noise) c = static_cast<char>(generator.bounded(256));
    writeFile(noise);

    ::testing::internal::CaptureStderr();
    QtSettings settings(file());
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("damaged"), std::string::npos) << said;
    EXPECT_EQ(contentsOf(damagedCopy()), noise) << "the unreadable content is kept";
    EXPECT_EQ(modeOf(damagedCopy()), 0600);

    EXPECT_EQ(settings.integerForKey("uid"), 0);
    settings.setInteger("uid", 42);
    EXPECT_EQ(readInFreshProcess()->integerForKey("uid"), 42);
    EXPECT_EQ(contentsOf(damagedCopy()), noise) << "the copy survives the first write";
}

TEST_F(SettingsFile, ADamagedFileKeepsTheSettingsThatStillRead) {
    // Bytes that are no text amid good lines, and a section cut short.
    static const char damaged[] =
        "[General]\nuid=42\n\x01\x02\0\0garbage\nstpWorkDuration=45\ntxtNewPwd=secret\n[Gen";
    writeFile(QByteArray(damaged, sizeof damaged - 1));
    ::testing::internal::CaptureStderr();
    QtSettings settings(file());
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("kept"), std::string::npos) << said;
    EXPECT_TRUE(QFile::exists(damagedCopy()));
    EXPECT_EQ(settings.integerForKey("uid"), 42);
    EXPECT_EQ(settings.integerForKey("stpWorkDuration"), 45);
    EXPECT_EQ(settings.stringForKey("txtNewPwd"), "secret");
    // Written back at once into a clean file.
    auto later = readInFreshProcess();
    EXPECT_EQ(later->integerForKey("uid"), 42);
    EXPECT_EQ(later->stringForKey("txtNewPwd"), "secret");
    EXPECT_FALSE(contentsOf(file()).contains("garbage"));
}

TEST_F(SettingsFile, AFileCutShortMidLineKeepsWhatItHas) {
    writeFile("[General]\nuid=42\nstpWorkDuration=4");
    QtSettings settings(file());
    EXPECT_EQ(settings.integerForKey("uid"), 42);
    EXPECT_EQ(settings.integerForKey("stpWorkDuration"), 4);
    EXPECT_FALSE(QFile::exists(damagedCopy()));
}

TEST_F(SettingsFile, AHugeFileIsSetAsideUnread) {
    QByteArray big(QtSettings::kMaxFileSize + 1, 'x');
    big.prepend("[General]\nuid=42\nfiller=");
    writeFile(big);
    ::testing::internal::CaptureStderr();
    QtSettings settings(file());
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("too large"), std::string::npos) << said;
    EXPECT_EQ(QFileInfo(damagedCopy()).size(), big.size());
    EXPECT_EQ(settings.integerForKey("uid"), 0);
    settings.setInteger("uid", 9);
    EXPECT_LT(QFileInfo(file()).size(), 100);
}

TEST_F(SettingsFile, AWriteThatFailsIsReportedOnceAndKeptForThisRun) {
    // A plain file where the folder should be: no write can succeed, not
    // even as root.
    QFile blocker(folder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    QtSettings settings(file());
    ::testing::internal::CaptureStderr();
    settings.setInteger("uid", 42);
    settings.setString("txtNewPwd", "secret");
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("could not save"), std::string::npos) << said;
    EXPECT_EQ(said.find("could not save"), said.rfind("could not save")) << "said once: " << said;
    EXPECT_EQ(settings.integerForKey("uid"), 42);
    EXPECT_EQ(settings.stringForKey("txtNewPwd"), "secret");
}

TEST(SettingsLocation, TheUsersStoreLivesInTheConfigFolder) {
    QtSettings settings;
    EXPECT_EQ(settings.fileName(),
              qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/tamsel/tamsel.conf"));
}

}  // namespace
}  // namespace tamsel::qt
