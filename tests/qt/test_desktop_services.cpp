// Start at login: the XDG autostart file.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/qt/desktop/autostart.h"

namespace tamsel::qt {
namespace {

TEST(Autostart, QuotesTheProgramAsTheDesktopEntryFormatWants) {
    const std::pair<const char*, const char*> cases[] = {
        {"/opt/tamsel/bin/tamsel", "/opt/tamsel/bin/tamsel"},
        {"/home/ann/my apps/tamsel", R"("/home/ann/my apps/tamsel")"},
        {"/home/ann/100%/tamsel", "/home/ann/100%%/tamsel"},
        {"/home/ann/$HOME/tamsel", R"("/home/ann/\\$HOME/tamsel")"},
        {R"(/home/ann/a"b\c/tamsel)", R"("/home/ann/a\\"b\\\\c/tamsel")"},
    };
    for (const auto& [program, exec] : cases)
        EXPECT_EQ(XdgAutostart::execValue(QString::fromUtf8(program)).toStdString(), exec);
}

TEST(Autostart, WritesAndRemovesTheEntryAndHonoursOneThatHidesItself) {
    QTemporaryDir home;
    XdgAutostart autostart(home.filePath(QStringLiteral("config/autostart/tamsel.desktop")));
    EXPECT_FALSE(autostart.isEnabled());
    ASSERT_TRUE(autostart.setEnabled(true));
    EXPECT_TRUE(autostart.isEnabled());
    QFile file(autostart.path());
    EXPECT_EQ(file.permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("Hidden=true\n");
    file.close();
    EXPECT_FALSE(autostart.isEnabled());
    ASSERT_TRUE(autostart.setEnabled(false));
    EXPECT_FALSE(file.exists());

    // Never into a folder that is a symlink: it may lead anywhere.
    ASSERT_TRUE(QFile::link(home.path(), home.filePath(QStringLiteral("elsewhere"))));
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(
        XdgAutostart(home.filePath(QStringLiteral("elsewhere/tamsel.desktop"))).setEnabled(true));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("not a folder of yours"),
              std::string::npos);
}

}  // namespace
}  // namespace tamsel::qt
