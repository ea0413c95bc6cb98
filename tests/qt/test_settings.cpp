// The settings file: what a later process reads back, owner-only modes,
// hand-edited and damaged files, writes that fail.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <limits>

#include "platform/qt/desktop/user_notice.h"
#include "platform/qt/qt_settings.h"

namespace tamsel::qt {
namespace {

int modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

QByteArray contentsOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class SettingsFile : public ::testing::Test {
protected:
    QString folder() const { return dir_.path() + QStringLiteral("/tamsel"); }
    QString file() const { return folder() + QStringLiteral("/tamsel.conf"); }
    QString damaged() const { return file() + QStringLiteral(".damaged"); }

    void writeFile(const QByteArray& bytes) {
        QDir().mkpath(folder());
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    // What another process reads: the same bytes, parsed afresh (QSettings
    // shares what it parsed between objects on one path).
    std::unique_ptr<QtSettings> later() {
        const QString copy = dir_.path() + QStringLiteral("/fresh%1.conf").arg(++fresh_);
        QFile::copy(file(), copy);
        return std::make_unique<QtSettings>(copy);
    }
    // What the store said on stderr while it opened or wrote.
    template <class F>
    static std::string said(F&& f) {
        ::testing::internal::CaptureStderr();
        f();
        return ::testing::internal::GetCapturedStderr();
    }

    QTemporaryDir dir_;
    int fresh_ = 0;
};

TEST_F(SettingsFile, EveryValueReadsBackInALaterProcessFromAnOwnerOnlyFile) {
    const std::vector<std::string> texts = {"",
                                            R"(a"b;c=d#e@f\g)",
                                            "  blanks  ",
                                            "\ttab",
                                            "@Variant(x)",
                                            "a,b, c",
                                            "[General]",
                                            "x=y",
                                            "\u00fc\u00df\u20ac \xF0\x9F\x98\x80",
                                            "line\nbreak",
                                            "0",
                                            "-1e5"};
    {
        QtSettings settings(file());
        EXPECT_EQ(settings.integerForKey("uid"), 0);
        EXPECT_EQ(settings.stringForKey("txtNewPwd"), std::nullopt);
        EXPECT_FALSE(QFile::exists(file())) << "reading alone writes nothing";
        settings.setInteger("largest", std::numeric_limits<long long>::max());
        settings.setDouble("sum", 0.1 + 0.2);
        for (std::size_t i = 0; i < texts.size(); ++i)
            settings.setString("t" + std::to_string(i), texts[i]);
        EXPECT_EQ(modeOf(file()), 0600);
        EXPECT_EQ(modeOf(folder()), 0700);
        // Widened meanwhile: the next write narrows them again.
        ::chmod(QFile::encodeName(file()).constData(), 0644);
        ::chmod(QFile::encodeName(folder()).constData(), 0755);
        settings.setInteger("uid", 7);
        EXPECT_EQ(modeOf(file()), 0600);
        EXPECT_EQ(modeOf(folder()), 0700);
    }
    auto next = later();
    EXPECT_EQ(next->integerForKey("largest"), std::numeric_limits<long long>::max());
    EXPECT_EQ(next->doubleForKey("sum"), 0.1 + 0.2);
    EXPECT_EQ(next->stringForKey("uid"), "7");
    for (std::size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(next->stringForKey("t" + std::to_string(i)), texts[i]) << i;
}

TEST_F(SettingsFile, HandEditedValuesReadAsNumbersWhereTheyAreNumbers) {
    writeFile(
        "[General]\nword=abc\ntrailing=30abc\npadded=\" 45 \"\nfraction=-2.9\nhex=0x10\nempty=\n"
        "list=3,4\nhuge=99999999999999999999\nhugeNegative=-99999999999999999999\n"
        "overflow=1e400\nnotANumber=nan\ninfinite=inf\nversion=2.7\n");
    ::chmod(QFile::encodeName(file()).constData(), 0644);
    QtSettings s(file());
    EXPECT_EQ(modeOf(file()), 0600) << "narrowed at start, not only at the next write";
    const std::pair<const char*, long long> integers[] = {
        {"word", 0},
        {"trailing", 0},
        {"padded", 45},
        {"fraction", -2},
        {"hex", 0},
        {"empty", 0},
        {"list", 0},
        {"overflow", 0},
        {"notANumber", 0},
        {"infinite", 0},
        {"huge", std::numeric_limits<long long>::max()},
        {"hugeNegative", std::numeric_limits<long long>::min()}};
    for (auto [key, value] : integers) EXPECT_EQ(s.integerForKey(key), value) << key;
    EXPECT_EQ(s.doubleForKey("version"), 2.7);
    EXPECT_EQ(s.doubleForKey("huge"), 1e20);
    EXPECT_EQ(s.doubleForKey("overflow"), 0.0);
    EXPECT_EQ(s.stringForKey("list"), "3,4");
    EXPECT_FALSE(QFile::exists(damaged())) << "odd values are no damage";
}

TEST_F(SettingsFile, DamagedFilesAreSetAsideAndWhatStillReadsIsKept) {
    QByteArray noise(4096, '\0');
    QRandomGenerator generator(20240607);
    for (char& c : noise) c = static_cast<char>(generator.bounded(256));
    writeFile(noise);
    EXPECT_NE(said([&] { QtSettings(file()).setInteger("uid", 42); }).find("damaged"),
              std::string::npos);
    EXPECT_EQ(contentsOf(damaged()), noise);
    EXPECT_EQ(modeOf(damaged()), 0600);
    EXPECT_EQ(later()->integerForKey("uid"), 42);

    static const char text[] = "[General]\nuid=42\n\x01\x02\0\0garbage\ntxtNewPwd=secret\n[Gen";
    writeFile(QByteArray(text, sizeof text - 1));
    EXPECT_NE(said([&] { QtSettings s(file()); }).find("kept"), std::string::npos);
    EXPECT_EQ(later()->stringForKey("txtNewPwd"), "secret");
    EXPECT_FALSE(contentsOf(file()).contains("garbage"));

    QByteArray big(QtSettings::kMaxFileSize + 1, 'x');
    writeFile("[General]\nuid=42\nfiller=" + big);
    EXPECT_NE(
        said([&] { EXPECT_EQ(QtSettings(file()).integerForKey("uid"), 0); }).find("too large"),
        std::string::npos);

    writeFile("[General]\nuid=42\nstpWorkDuration=4");  // cut short mid-line: no damage
    QFile::remove(damaged());
    EXPECT_EQ(QtSettings(file()).integerForKey("stpWorkDuration"), 4);
    EXPECT_FALSE(QFile::exists(damaged()));
}

// Told on stderr and on screen, once, without blocking: the offscreen
// platform has no tray, so the notice is a window of its own.
TEST_F(SettingsFile, AWriteThatFailsIsToldOnceAndKeptForThisRun) {
    QFile blocker(folder());  // a plain file where the folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const std::string err = said([&] {
        QtSettings settings(file());
        settings.setInteger("uid", 42);
        settings.setString("txtNewPwd", "secret");
        EXPECT_EQ(settings.integerForKey("uid"), 42);
    });
    EXPECT_EQ(err.find("could not save"), err.rfind("could not save")) << err;
    said([&] { QtSettings(file()).setInteger("uid", 43); });  // no second notice
    tellUser(QStringLiteral("another"));
    tellUser(QStringLiteral("another"));
    QApplication::processEvents();
    QStringList notices;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->objectName() != QLatin1String("userNotice")) continue;
        EXPECT_EQ(w->windowModality(), Qt::NonModal);
        for (QLabel* label : w->findChildren<QLabel*>()) notices << label->text();
        w->close();
    }
    notices.removeAll(QString());
    ASSERT_EQ(notices.size(), 2) << notices.join(u'|').toStdString();
    EXPECT_TRUE(notices.filter(file()).size() == 1) << "the path is said";
    EXPECT_TRUE(notices.filter(QStringLiteral("secret")).isEmpty()) << "no value is shown";
}

TEST(SettingsLocation, TheUsersStoreLivesInTheConfigFolder) {
    EXPECT_EQ(QtSettings().fileName(),
              qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/tamsel/tamsel.conf"));
}

}  // namespace
}  // namespace tamsel::qt
