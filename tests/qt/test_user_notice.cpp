// Settings that cannot be saved are told to the user on screen, not only on
// stderr: once, without blocking. The offscreen platform has no tray, so
// the notice is a small window of its own.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <vector>

#include "platform/qt/qt_settings.h"
#include "platform/qt/desktop/user_notice.h"

namespace tamsel::qt {
namespace {

std::vector<QWidget*> shownNotices() {
    QApplication::processEvents();
    std::vector<QWidget*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() == QLatin1String("userNotice")) found.push_back(w);
    return found;
}

QString textOf(QWidget* notice) {
    QString all;
    for (QLabel* label : notice->findChildren<QLabel*>()) all += label->text();
    return all;
}

// CTest runs each test in a process of its own; by hand they share one.
class UserNotice : public ::testing::Test {
protected:
    void SetUp() override { closeAll(); }
    void TearDown() override { closeAll(); }
    static void closeAll() {
        for (QWidget* w : shownNotices()) w->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(UserNotice, SettingsThatCannotBeSavedAreToldOnceInAWindowThatDoesNotBlock) {
    QTemporaryDir dir;
    // A plain file where the folder should be: no write succeeds, even as root.
    QFile blocker(dir.path() + QStringLiteral("/tamsel"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString file = dir.path() + QStringLiteral("/tamsel/tamsel.conf");

    {
        QtSettings settings(file);
        EXPECT_TRUE(shownNotices().empty()) << "opening alone writes nothing";
        ::testing::internal::CaptureStderr();
        settings.setInteger("uid", 42);
        settings.setString("txtNewPwd", "secret");
        settings.setInteger("stpWorkDuration", 25);
        ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(settings.integerForKey("uid"), 42) << "kept for this run";
    }
    auto notices = shownNotices();
    ASSERT_EQ(notices.size(), 1u);
    QWidget* notice = notices[0];
    EXPECT_EQ(notice->windowTitle(), QStringLiteral("Tamsel"));
    EXPECT_EQ(notice->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(textOf(notice).contains(file)) << textOf(notice).toStdString();
    EXPECT_TRUE(textOf(notice).contains(QStringLiteral("lost"))) << textOf(notice).toStdString();
    EXPECT_FALSE(textOf(notice).contains(QStringLiteral("secret"))) << "no value is shown";

    // A second store on the same file in this launch says nothing new.
    {
        QtSettings again(file);
        ::testing::internal::CaptureStderr();
        again.setInteger("uid", 43);
        ::testing::internal::GetCapturedStderr();
    }
    EXPECT_EQ(shownNotices().size(), 1u);

    // OK closes it for good.
    QPushButton* ok = nullptr;
    for (QPushButton* b : notice->findChildren<QPushButton*>())
        if (b->text() == QLatin1String("OK")) ok = b;
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault()) << "Return presses OK";
    ok->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(shownNotices().empty());
}

TEST_F(UserNotice, SettingsThatSaveTellNothing) {
    QTemporaryDir dir;
    QtSettings settings(dir.path() + QStringLiteral("/tamsel/tamsel.conf"));
    settings.setInteger("uid", 42);
    settings.setString("txtNewPwd", "");
    EXPECT_TRUE(shownNotices().empty());
}

TEST_F(UserNotice, EachTextOncePerLaunch) {
    tellUser(QStringLiteral("first"));
    tellUser(QStringLiteral("first"));
    tellUser(QStringLiteral("second"));
    auto notices = shownNotices();
    ASSERT_EQ(notices.size(), 2u);
    QStringList texts;
    for (QWidget* w : notices) texts << textOf(w);
    texts.sort();
    EXPECT_EQ(texts, (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
}

}  // namespace
}  // namespace tamsel::qt
