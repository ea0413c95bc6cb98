#include "platform/qt/desktop/user_notice.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QStringList>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "platform/qt/views/accessible.h"
#include "platform/qt/views/artwork.h"
#include "platform/qt/views/message_layout.h"

namespace tamsel::qt {

namespace {

constexpr int kTrayMessageMs = 30'000;
constexpr int kDockPollMs = 100;
constexpr int kDockPolls = 30;

struct Notices {
    QPointer<QSystemTrayIcon> icon;
    QStringList waiting;  // for an icon that is about to show
    QSet<QString> told;
};

Notices& notices() {
    static Notices n;
    return n;
}

// Not modal: the engine goes on while it is open.
void showWindow(const QString& text) {
    auto* box = new QDialog(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->setObjectName(QStringLiteral("userNotice"));
    box->setWindowTitle(QStringLiteral("Tamsel"));
    box->setWindowIcon(tamselIcon());

    auto* icon = new QLabel;
    icon->setPixmap(tamselIcon().pixmap(48, 48));
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setFixedWidth(360);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* ok = new QPushButton(QCoreApplication::translate("Tamsel", "OK"));
    ok->setDefault(true);
    ok->setAccessibleDescription(A11y::tr("Closes this notice."));
    QObject::connect(ok, &QPushButton::clicked, box, &QDialog::accept);

    auto* column = new QVBoxLayout;
    column->addWidget(label);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    layOutMessage(box, icon, column, row, 20, 16);
    centreOnPrimaryScreen(box);
    box->show();
    ok->setFocus();
}

void say(const QString& text) {
    QSystemTrayIcon* icon = notices().icon;
    if (QSystemTrayIcon::isSystemTrayAvailable() && icon && icon->isVisible())
        icon->showMessage(QStringLiteral("Tamsel"), text, QSystemTrayIcon::Warning, kTrayMessageMs);
    else if (QSystemTrayIcon::isSystemTrayAvailable() && !icon)
        notices().waiting.append(text);
    else
        showWindow(text);
}

// An XEmbed tray docks a new icon a moment after it is shown; a message
// before that points at the screen's corner. (A D-Bus tray never tells
// where its icon is: there the wait runs out.)
void sayWaitingOnceDocked(int triesLeft) {
    QSystemTrayIcon* icon = notices().icon;
    if (!icon) return;
    if (triesLeft > 0 && icon->geometry().topLeft().isNull()) {
        QTimer::singleShot(kDockPollMs, icon, [triesLeft] { sayWaitingOnceDocked(triesLeft - 1); });
        return;
    }
    const QStringList waiting = std::exchange(notices().waiting, {});
    for (const QString& text : waiting) say(text);
}

}  // namespace

void tellUser(const QString& text) {
    // Windows need a widgets application; stderr has said it already.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    if (notices().told.contains(text)) return;
    notices().told.insert(text);
    say(text);
}

void setNoticeIcon(QSystemTrayIcon* icon) {
    notices().icon = icon;
    if (icon && !notices().waiting.isEmpty()) sayWaitingOnceDocked(kDockPolls);
}

}  // namespace tamsel::qt
