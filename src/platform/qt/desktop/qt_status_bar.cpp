#include "platform/qt/desktop/qt_status_bar.h"

#include <QApplication>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "platform/qt/desktop/setup_check.h"
#include "platform/qt/desktop/shell_extension.h"
#include "platform/qt/desktop/user_notice.h"
#include "platform/qt/idle/idle_source.h"
#include "platform/qt/views/accessible.h"
#include "platform/qt/views/artwork.h"
#include "platform/qt/views/message_layout.h"
#include "platform/qt/views/overlay_route.h"

namespace tamsel::qt {

namespace {

using Chosen = std::function<void(std::string_view)>;

// Runs the chosen command from the event loop, after the menu or button has
// finished its own handling: the command may open modal dialogs.
void choose(const Chosen& chosen, const std::string& action) {
    if (!chosen) return;
    QTimer::singleShot(0, qApp, [chosen, action] { chosen(action); });
}

QString titleOf(const MenuItem& item) {
    return QString::fromStdString(item.title);
}

void fillMenu(QMenu* menu, const std::vector<MenuItem>& items, const Chosen& chosen) {
    for (const MenuItem& item : items) {
        if (item.isSeparator()) {
            menu->addSeparator();
        } else if (!item.submenu.empty()) {
            QMenu* sub = menu->addMenu(titleOf(item));
            sub->setObjectName(titleOf(item));
            sub->setEnabled(item.enabled);
            fillMenu(sub, item.submenu, chosen);
        } else {
            QAction* action = menu->addAction(titleOf(item));
            action->setObjectName(QString::fromStdString(item.action));
            action->setEnabled(item.enabled);
            QObject::connect(action, &QAction::triggered, menu,
                             [chosen, a = item.action] { choose(chosen, a); });
        }
    }
}

QString noTrayText() {
    const QString how =
        gnomeDesktop()
            ? QCoreApplication::translate("Tamsel",
                                          "On GNOME, turn on Tamsel's own extension, which puts "
                                          "the menu in the top bar: run %1")
                  .arg(QLatin1String(kShellExtensionEnable))
            : QCoreApplication::translate(
                  "Tamsel",
                  "To get them, add a tray to your panel: the Notification Area or System Tray "
                  "applet, or run a tray such as trayer or stalonetray. The icon docks there by "
                  "itself; if it does not, quit Tamsel and start it again.");
    return QCoreApplication::translate(
               "Tamsel",
               "Tamsel is running and will remind you to take breaks as usual.\n\n"
               "This desktop has no system tray (notification area), so Tamsel's icon and menu "
               "cannot be shown. %1\n\n"
               "\"Check my desktop\u2026\" tells what else this desktop lacks and how to add "
               "it. Until then, these buttons do what the menu would:")
        .arg(how);
}

// Where to go when something does not work.
QString withSetupCheck(const QString& problem) {
    return QCoreApplication::translate(
               "Tamsel", "%1 Choose \"Check my desktop\u2026\" in Tamsel's menu for what to do.")
        .arg(problem);
}

// The menu's commands as a row of buttons; a submenu drops down from its
// button, a separator leaves a gap.
void fillButtons(QWidget* row, const std::vector<MenuItem>& items, const Chosen& chosen) {
    auto* layout = static_cast<QHBoxLayout*>(row->layout());
    while (QLayoutItem* old = layout->takeAt(0)) {
        if (QWidget* w = old->widget()) w->deleteLater();
        delete old;
    }
    for (const MenuItem& item : items) {
        if (item.isSeparator()) {
            layout->addSpacing(8);
            continue;
        }
        auto* button = new QPushButton(QString::fromStdString(item.title));
        // Reached with Tab, Return presses it.
        button->setAutoDefault(true);
        button->setAccessibleDescription(
            A11y::tr("Does what %1 does in Tamsel's menu.").arg(button->text()));
        button->setEnabled(item.enabled);
        if (item.submenu.empty()) {
            QObject::connect(button, &QPushButton::clicked, row,
                             [chosen, action = item.action] { choose(chosen, action); });
        } else {
            auto* menu = new QMenu(button);
            fillMenu(menu, item.submenu, chosen);
            button->setMenu(menu);
        }
        layout->addWidget(button);
    }
}

QPointer<QWidget> noticeCommands;
QPointer<QWidget> noticeWindow;

// Not modal: the engine goes on while it is open.
QWidget* showNoTrayNotice(const std::vector<MenuItem>& items, const Chosen& chosen,
                          const QString& more) {
    auto* notice = new QWidget(nullptr, Qt::Window);
    notice->setAttribute(Qt::WA_DeleteOnClose);
    notice->setWindowTitle(QCoreApplication::translate("Tamsel", kNoTrayTitle));
    notice->setWindowIcon(tamselIcon());
    notice->setObjectName(QStringLiteral("noTrayNotice"));

    auto* icon = new QLabel;
    icon->setPixmap(tamselIcon().pixmap(48, 48));
    auto* text =
        new QLabel(more.isEmpty() ? noTrayText() : more + QStringLiteral("\n\n") + noTrayText());
    text->setWordWrap(true);
    text->setTextFormat(Qt::PlainText);
    // At least this wide; as wide as the row of commands beneath it.
    text->setMinimumWidth(420);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* column = new QVBoxLayout;
    column->addWidget(text);

    auto* row = new QHBoxLayout;
    auto* commands = new QWidget;
    auto* commandsLayout = new QHBoxLayout(commands);
    commandsLayout->setContentsMargins(0, 0, 0, 0);
    fillButtons(commands, items, chosen);
    noticeCommands = commands;
    row->addWidget(commands);
    row->addStretch(1);
    auto* ok = new QPushButton(QCoreApplication::translate("Tamsel", "OK"));
    ok->setDefault(true);
    ok->setAccessibleDescription(A11y::tr("Closes this notice; Tamsel goes on running."));
    QObject::connect(ok, &QPushButton::clicked, notice, &QWidget::close);
    row->addWidget(ok);

    layOutMessage(notice, icon, column, row, 20, 18);
    centreOnPrimaryScreen(notice);
    notice->show();
    notice->raise();
    ok->setFocus();
    noticeWindow = notice;
    return notice;
}

// Qt docks the icon by itself in an XEmbed tray that appears later; the
// X11 platform says so with this signal, which other platforms lack. Its
// class header is not installed, hence the plain QObject and the old-style
// connection.
class TrayWatch : public QObject {
    Q_OBJECT
public:
    explicit TrayWatch(std::function<void()> changed) : changed_(std::move(changed)) {
        auto* native = reinterpret_cast<QObject*>(QGuiApplication::platformNativeInterface());
        if (native && native->metaObject()->indexOfSignal("systemTrayWindowChanged(QScreen*)") >= 0)
            // Queued: Qt's own slot docks the icon first.
            connect(native, SIGNAL(systemTrayWindowChanged(QScreen*)), this, SLOT(trayChanged()),
                    Qt::QueuedConnection);
    }

private slots:
    void trayChanged() { changed_(); }

private:
    std::function<void()> changed_;
};

bool noticeShown = false;

class TrayItem : public StatusItem {
public:
    TrayItem() : tray_(std::make_unique<QSystemTrayIcon>()) {
        tray_->setToolTip(QStringLiteral("Tamsel"));
        // The idle warning says where to look next.
        QObject::connect(tray_.get(), &QSystemTrayIcon::messageClicked, tray_.get(),
                         [] { showSetupCheck(); });
        // The extension puts the menu in GNOME's top bar: no notice then.
        static bool watching = false;
        if (!watching) {
            watching = true;
            onOverlayRouteChanged([] {
                if (noticeWindow && overlayRoute() == OverlayRoute::GnomeExtension)
                    noticeWindow->close();
            });
        }
        QObject::connect(tray_.get(), &QSystemTrayIcon::activated, tray_.get(),
                         [this](QSystemTrayIcon::ActivationReason reason) {
                             // A plain click opens the same menu as a right click.
                             // Only an icon Qt embeds itself (it has a place on
                             // screen) needs Qt to show it; a StatusNotifierItem's
                             // host draws its own from ours, and macOS opens it.
                             if (reason == QSystemTrayIcon::Trigger && menu_ &&
                                 !tray_->geometry().isEmpty() &&
                                 QGuiApplication::platformName() != QLatin1String("cocoa"))
                                 menu_->popup(QCursor::pos());
                         });
    }

    ~TrayItem() override {
        tray_->hide();
        tray_->setContextMenu(nullptr);
    }

    bool setImage(std::string_view imageName) override {
        if (imageName != "SysMenuImg") return false;
        tray_->setIcon(tamselIcon());
        // Shown even with no tray yet: Qt docks it when one appears.
        tray_->show();
        setNoticeIcon(tray_.get());
        return true;
    }

    void setMenu(const std::vector<MenuItem>& items, Chosen chosen) override {
        if (menu_) {
            // The same menu, refilled: the tray keeps pointing at it, and a
            // menu the user has open changes in place.
            for (QMenu* sub : menu_->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
                sub->deleteLater();
            menu_->clear();
            fillMenu(menu_.get(), items, chosen);
            if (noticeCommands) fillButtons(noticeCommands, items, chosen);
            return;
        }
        menu_ = std::make_unique<QMenu>();
        menu_->setObjectName(QStringLiteral("statusMenu"));
        fillMenu(menu_.get(), items, chosen);
        tray_->setContextMenu(menu_.get());
        if (!tray_->icon().isNull()) tray_->show();

        // Idle time that cannot be read is said where the user looks: on
        // the tray, or in the notice when there is none.
        const QString idle = QString::fromStdString(idleProblem());
        const bool menuInShell = overlayRoute() == OverlayRoute::GnomeExtension;
        if (!QSystemTrayIcon::isSystemTrayAvailable() && !noticeShown && !menuInShell) {
            noticeShown = true;
            notice_ = showNoTrayNotice(items, chosen, idle);
            // It would go on saying there is no tray once there is one.
            trayWatch_ = std::make_unique<TrayWatch>([this] {
                if (notice_ && QSystemTrayIcon::isSystemTrayAvailable()) notice_->close();
            });
        } else if (!idle.isEmpty() && !noticeShown) {
            noticeShown = true;
            if (menuInShell)
                tellUser(withSetupCheck(idle));
            else
                tray_->showMessage(QStringLiteral("Tamsel"), withSetupCheck(idle),
                                   QSystemTrayIcon::Warning, 20000);
        }
    }

    void setToolTip(const std::string& text) override {
        tray_->setToolTip(QString::fromStdString(text));
    }

private:
    // The menu outlives the icon that points at it.
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    QPointer<QWidget> notice_;
    std::unique_ptr<TrayWatch> trayWatch_;
};

}  // namespace

std::unique_ptr<StatusItem> QtStatusBar::statusItem() {
    return std::make_unique<TrayItem>();
}

}  // namespace tamsel::qt

#include "qt_status_bar.moc"
