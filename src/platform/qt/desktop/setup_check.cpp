#include "platform/qt/desktop/setup_check.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QVBoxLayout>

#include "platform/qt/desktop/shell_extension.h"
#include "platform/qt/idle/idle_source.h"
#include "platform/qt/views/accessible.h"
#include "platform/qt/views/artwork.h"
#include "platform/qt/views/message_layout.h"

namespace tamsel::qt {

namespace {

using Session = DesktopFacts::Session;
using Tray = DesktopFacts::Tray;

// Short: the window is opened by a person waiting for it.
constexpr int kBusTimeoutMs = 500;

bool desktopIs(const std::string& desktop, const QString& name) {
    return QString::fromStdString(desktop)
        .split(QLatin1Char(':'), Qt::SkipEmptyParts)
        .contains(name, Qt::CaseInsensitive);
}

// A row's text in the user's language, with its %1 filled in.
std::string text(const char* source, const std::string& arg = {}) {
    QString t = QCoreApplication::translate("Tamsel", source);
    if (!arg.empty()) t = t.arg(QString::fromStdString(arg));
    return t.toStdString();
}

std::string layerShellFix() {
    return text(QT_TRANSLATE_NOOP(
        "Tamsel",
        "Use a compositor with layer-shell (zwlr_layer_shell_v1): KDE Plasma, sway or Hyprland"));
}

// How the overlay route shows its windows, in words.
std::string shownBy(OverlayRoute route, bool wayland) {
    switch (route) {
        case OverlayRoute::QtWindows:
            return wayland ? text(QT_TRANSLATE_NOOP("Tamsel", "X11 windows on XWayland"))
                           : text(QT_TRANSLATE_NOOP("Tamsel", "X11 windows"));
        case OverlayRoute::LayerShell:
            return text(QT_TRANSLATE_NOOP("Tamsel", "layer-shell surfaces"));
        case OverlayRoute::GnomeExtension:
            return text(QT_TRANSLATE_NOOP("Tamsel", "the GNOME Shell extension"));
    }
    return describe(route);
}

}  // namespace

std::vector<CheckRow> setupCheckRows(const DesktopFacts& f) {
    const bool wayland = f.session == Session::Wayland;
    const bool mac = f.session == Session::MacOS;
    const bool gnome = desktopIs(f.desktop, QStringLiteral("GNOME"));
    const bool kde = desktopIs(f.desktop, QStringLiteral("KDE"));
    const bool extension = f.route == OverlayRoute::GnomeExtension;
    const std::string enableExtension =
        text(QT_TRANSLATE_NOOP("Tamsel",
                               "Run: %1 (if Tamsel was installed during this session, log out "
                               "and back in first)"),
             kShellExtensionEnable);
    std::vector<CheckRow> rows;

    if (!f.idleInUse.empty()) {
        // The source's name, as its definition marks it for translation.
        const std::string source = text(f.idleInUse.c_str());
        rows.push_back({true, text(QT_TRANSLATE_NOOP("Tamsel", "Idle time: from %1"), source), ""});
    } else {
        std::string fix;
        if (!wayland)
            fix = text(QT_TRANSLATE_NOOP(
                "Tamsel",
                "Use an X server with the screen saver extension (MIT-SCREEN-SAVER), as Xorg has"));
        else if (gnome)
            fix = text(QT_TRANSLATE_NOOP("Tamsel",
                                         "Log out and back in: GNOME's idle monitor "
                                         "(org.gnome.Mutter.IdleMonitor) did not answer"));
        else
            fix = text(QT_TRANSLATE_NOOP("Tamsel",
                                         "Use a compositor with ext-idle-notify-v1 or "
                                         "org_kde_kwin_idle: KDE Plasma, sway or Hyprland"));
        rows.push_back({false,
                        text(QT_TRANSLATE_NOOP("Tamsel",
                                               "Idle time: no source answers, so a break comes "
                                               "after every work period, even when you were away")),
                        fix});
    }

    if (extension)
        rows.push_back({true,
                        text(QT_TRANSLATE_NOOP(
                            "Tamsel", "Menu: in the top bar, from Tamsel's GNOME Shell extension")),
                        ""});
    else if (mac)
        rows.push_back({true, text(QT_TRANSLATE_NOOP("Tamsel", "Menu: in the menu bar")), ""});
    else if (f.tray == Tray::StatusNotifier)
        rows.push_back(
            {true,
             text(QT_TRANSLATE_NOOP("Tamsel", "Menu: in the tray (a StatusNotifierItem host)")),
             ""});
    else if (f.tray == Tray::XEmbed)
        rows.push_back(
            {true, text(QT_TRANSLATE_NOOP("Tamsel", "Menu: in the tray (an XEmbed system tray)")),
             ""});
    else
        rows.push_back(
            {false,
             text(QT_TRANSLATE_NOOP("Tamsel",
                                    "Menu: no tray found; its commands are only on the no-tray "
                                    "notice")),
             gnome ? enableExtension
             : kde ? text(QT_TRANSLATE_NOOP("Tamsel", "Add the System Tray widget to a panel"))
             : wayland
                 ? text(QT_TRANSLATE_NOOP(
                       "Tamsel", "Add a tray to your bar: swaybar's tray, or waybar's tray module"))
                 : text(QT_TRANSLATE_NOOP("Tamsel",
                                          "Add a notification area (system tray) to your panel, "
                                          "or run trayer or stalonetray"))});

    const std::string how = shownBy(f.route, wayland);
    if (f.route != OverlayRoute::QtWindows || !wayland)
        rows.push_back(
            {true,
             text(QT_TRANSLATE_NOOP("Tamsel",
                                    "Indicator: %1; clicks pass through it, above all windows"),
                  how),
             ""});
    else
        rows.push_back({false,
                        text(QT_TRANSLATE_NOOP("Tamsel",
                                               "Indicator: %1; it catches the clicks meant for "
                                               "the native windows beneath it"),
                             how),
                        gnome ? enableExtension : layerShellFix()});

    // The extension draws the indicator only: the breaks stay Tamsel's windows.
    const OverlayRoute breaks = extension ? OverlayRoute::QtWindows : f.route;
    const std::string breakHow = shownBy(breaks, wayland);
    if (breaks == OverlayRoute::LayerShell || !wayland)
        rows.push_back({true,
                        text(QT_TRANSLATE_NOOP("Tamsel",
                                               "Break windows: %1; they cover every screen, "
                                               "above all windows, and hold the mouse and "
                                               "keyboard"),
                             breakHow),
                        ""});
    else if (gnome)
        rows.push_back({true,
                        text(QT_TRANSLATE_NOOP("Tamsel",
                                               "Break windows: %1; GNOME keeps them above all "
                                               "windows, with the mouse and keyboard"),
                             breakHow),
                        ""});
    else
        rows.push_back({false,
                        text(QT_TRANSLATE_NOOP("Tamsel",
                                               "Break windows: %1; a native window can take the "
                                               "keyboard during a break"),
                             breakHow),
                        layerShellFix()});

    if (!mac) {
        if (f.notifications)
            rows.push_back({true,
                            text(QT_TRANSLATE_NOOP("Tamsel",
                                                   "Desktop notifications: a notification server "
                                                   "answers, for the heads-up a minute before a "
                                                   "break")),
                            ""});
        else
            rows.push_back({false,
                            text(QT_TRANSLATE_NOOP("Tamsel",
                                                   "Desktop notifications: no notification "
                                                   "server, so no heads-up before a break")),
                            text(QT_TRANSLATE_NOOP("Tamsel",
                                                   "Install a notification daemon such as dunst "
                                                   "or mako (GNOME and KDE bring their own)"))});
    }

    if (f.startsAtLogin) {
        if (*f.startsAtLogin)
            rows.push_back(
                {true,
                 text(QT_TRANSLATE_NOOP("Tamsel", "Start at login: Tamsel starts when you log in")),
                 ""});
        else
            rows.push_back(
                {false,
                 text(QT_TRANSLATE_NOOP("Tamsel",
                                        "Start at login: off, so no reminders until you start "
                                        "Tamsel")),
                 text(QT_TRANSLATE_NOOP("Tamsel",
                                        "Tick \"Start Tamsel when I log in\" in Preferences"))});
    }
    return rows;
}

// ---- the desktop's facts ----------------------------------------------------

namespace {

LoginItems* theLoginItems = nullptr;

QDBusMessage askBus(const QDBusConnection& bus, const QString& method,
                    const QVariantList& arguments = {}) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), method);
    call.setArguments(arguments);
    return bus.call(call, QDBus::Block, kBusTimeoutMs);
}

bool hasOwner(const QDBusConnection& bus, const QString& name) {
    const QDBusMessage reply = askBus(bus, QStringLiteral("NameHasOwner"), {name});
    return reply.type() == QDBusMessage::ReplyMessage && reply.signature() == QLatin1String("b") &&
           reply.arguments().constFirst().toBool();
}

bool activatable(const QDBusConnection& bus, const QString& name) {
    const QDBusMessage reply = askBus(bus, QStringLiteral("ListActivatableNames"));
    return reply.type() == QDBusMessage::ReplyMessage &&
           reply.arguments().value(0).toStringList().contains(name);
}

// As Qt asks before it docks an icon there.
bool statusNotifierHost(const QDBusConnection& bus) {
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    if (!hasOwner(bus, watcher)) return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        watcher, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(call, QDBus::Block, kBusTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage &&
           reply.arguments().value(0).value<QDBusVariant>().variant().toBool();
}

}  // namespace

DesktopFacts currentDesktopFacts(LoginItems* loginItems) {
    DesktopFacts f;
    const QString type = qEnvironmentVariable("XDG_SESSION_TYPE");
    if (QGuiApplication::platformName() == QLatin1String("cocoa"))
        f.session = Session::MacOS;
    else if (type.compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0 ||
             (type.isEmpty() && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")))
        f.session = Session::Wayland;
    f.desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP").toStdString();
    f.idleInUse = idleSourceStatus().inUse;
    f.route = overlayRoute();

    const QDBusConnection bus = QDBusConnection::sessionBus();
    const bool onBus = bus.isConnected() && f.session != Session::MacOS;
    if (onBus && statusNotifierHost(bus))
        f.tray = Tray::StatusNotifier;
    else if (QSystemTrayIcon::isSystemTrayAvailable())
        f.tray = f.session == Session::X11 ? Tray::XEmbed : Tray::StatusNotifier;
    const QString notifications = QStringLiteral("org.freedesktop.Notifications");
    f.notifications = onBus && (hasOwner(bus, notifications) || activatable(bus, notifications));
    if (loginItems) f.startsAtLogin = loginItems->isEnabled();
    return f;
}

// ---- the window -------------------------------------------------------------

namespace {

QPointer<QWidget> openWindow;

void fill(QGridLayout* grid, const std::vector<CheckRow>& rows) {
    while (QLayoutItem* old = grid->takeAt(0)) {
        if (QWidget* w = old->widget()) w->deleteLater();
        delete old;
    }
    int line = 0;
    for (const CheckRow& row : rows) {
        auto* mark = new QLabel(row.ok ? QStringLiteral(u"\u2713") : QStringLiteral(u"\u2717"));
        QFont bold = mark->font();
        bold.setBold(true);
        mark->setFont(bold);
        mark->setStyleSheet(row.ok ? QStringLiteral("color: #1b7f3b")
                                   : QStringLiteral("color: #c01c28"));
        mark->setAccessibleName(row.ok ? A11y::tr("works") : A11y::tr("missing"));
        mark->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
        grid->addWidget(mark, line, 0);

        auto* text = new QLabel(QString::fromStdString(row.text));
        text->setObjectName(QStringLiteral("checkRow"));
        text->setTextFormat(Qt::PlainText);
        text->setWordWrap(true);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(text, line++, 1);
        if (row.ok || row.fix.empty()) continue;
        // Selectable: a command can be copied from it.
        auto* fix = new QLabel(QString::fromStdString(row.fix));
        fix->setObjectName(QStringLiteral("checkFix"));
        fix->setTextFormat(Qt::PlainText);
        fix->setWordWrap(true);
        fix->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        // Tab reaches it too, so a command can be copied without a mouse.
        fix->setFocusPolicy(Qt::StrongFocus);
        QFont italic = fix->font();
        italic.setItalic(true);
        fix->setFont(italic);
        fix->setAccessibleDescription(A11y::tr("What to do about it; the text can be copied."));
        grid->addWidget(fix, line++, 1);
    }
}

}  // namespace

QWidget* showSetupCheck(const DesktopFacts* facts) {
    auto rows = [given = facts ? std::optional(*facts) : std::nullopt] {
        return setupCheckRows(given ? *given : currentDesktopFacts(theLoginItems));
    };
    if (openWindow) {
        fill(openWindow->findChild<QGridLayout*>(QStringLiteral("checkRows")), rows());
        openWindow->show();
        openWindow->raise();
        openWindow->activateWindow();
        return openWindow;
    }
    // Not modal: the engine goes on while it is open.
    auto* window = new QWidget(nullptr, Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName(QStringLiteral("setupCheck"));
    window->setWindowTitle(QCoreApplication::translate("Tamsel", kSetupCheckTitle));
    window->setWindowIcon(tamselIcon());

    auto* icon = new QLabel;
    icon->setPixmap(tamselIcon().pixmap(48, 48));
    auto* heading =
        new QLabel(QCoreApplication::translate("Tamsel", "What Tamsel finds on this desktop:"));
    auto* grid = new QGridLayout;
    grid->setObjectName(QStringLiteral("checkRows"));
    grid->setColumnMinimumWidth(1, 460);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    fill(grid, rows());
    auto* column = new QVBoxLayout;
    column->addWidget(heading);
    column->addLayout(grid);

    auto* again = new QPushButton(QCoreApplication::translate("Tamsel", "Check again"));
    // Reached with Tab, Return presses it.
    again->setAutoDefault(true);
    again->setAccessibleDescription(A11y::tr("Looks at the desktop again and updates the list."));
    QObject::connect(again, &QPushButton::clicked, window, [grid, rows] { fill(grid, rows()); });
    auto* close = new QPushButton(QCoreApplication::translate("Tamsel", "Close"));
    close->setDefault(true);
    close->setAccessibleDescription(A11y::tr("Closes this window."));
    QObject::connect(close, &QPushButton::clicked, window, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(again);
    buttons->addStretch(1);
    buttons->addWidget(close);

    layOutMessage(window, icon, column, buttons, 20, 16);
    centreOnPrimaryScreen(window);
    window->show();
    window->raise();
    window->activateWindow();
    close->setFocus();
    openWindow = window;
    return window;
}

QtSetupCheck::QtSetupCheck(LoginItems* loginItems) {
    theLoginItems = loginItems;
}

QtSetupCheck::~QtSetupCheck() {
    theLoginItems = nullptr;
    if (openWindow) openWindow->close();
}

}  // namespace tamsel::qt
