// What the Qt tests share: the main loop run for a while or until something
// holds, the small windows the offscreen platform shows in place of a tray,
// and what the code said on stderr.

#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <string>

namespace tamsel::qt::test {

inline void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the main loop until `done` holds, `ms` at most.
inline bool waitFor(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// The top-level window, shown unless hiddenToo, with that object name.
inline QWidget* findWindow(const QString& name, bool hiddenToo = false) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if ((hiddenToo || w->isVisible()) && w->objectName() == name) return w;
    return nullptr;
}

// The texts of the notices on screen, which close; each notice non-modal.
inline QStringList takeNotices() {
    QStringList texts;
    while (QWidget* notice = findWindow(QStringLiteral("userNotice"))) {
        EXPECT_EQ(notice->windowModality(), Qt::NonModal);
        for (QLabel* label : notice->findChildren<QLabel*>())
            if (!label->text().isEmpty()) texts << label->text();
        notice->close();
    }
    return texts;
}

template <class F>
std::string stderrOf(F&& f) {
    ::testing::internal::CaptureStderr();
    f();
    return ::testing::internal::GetCapturedStderr();
}

inline QByteArray contentsOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The permission bits, of a link itself rather than what it points at.
inline int modeOf(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

}  // namespace tamsel::qt::test
