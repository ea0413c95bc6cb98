#include "platform/qt/qt_screens.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/qt/geometry.h"

namespace tamsel::qt {

namespace {

Rect frameOf(const QScreen* screen, double primaryHeight) {
    return fromQt(QRectF(screen->geometry()), primaryHeight);
}

}  // namespace

QtScreens::QtScreens() {
    settle_.setSingleShot(true);
    settle_.setInterval(0);
    QObject::connect(&settle_, &QTimer::timeout, &context_, [this] {
        // A copy: an observer may add another.
        const auto observers = observers_;
        for (const auto& observer : observers) observer();
    });
    auto* app = qGuiApp;
    if (!app) return;
    QObject::connect(app, &QGuiApplication::screenAdded, &context_, [this](QScreen* screen) {
        watch(screen);
        changed();
    });
    QObject::connect(app, &QGuiApplication::screenRemoved, &context_, [this] { changed(); });
    QObject::connect(app, &QGuiApplication::primaryScreenChanged, &context_, [this] { changed(); });
    for (QScreen* screen : QGuiApplication::screens()) watch(screen);
}

void QtScreens::watch(QScreen* screen) {
    QObject::connect(screen, &QScreen::geometryChanged, &context_, [this] { changed(); });
    QObject::connect(screen, &QScreen::availableGeometryChanged, &context_, [this] { changed(); });
}

void QtScreens::changed() {
    if (!observers_.empty() && !settle_.isActive()) settle_.start();
}

std::vector<Rect> QtScreens::screens() {
    std::vector<Rect> list;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) return list;
    const double height = primaryScreenHeight();
    list.push_back(frameOf(primary, height));
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != primary) list.push_back(frameOf(screen, height));
    return list;
}

std::optional<Rect> QtScreens::mainScreen() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) return std::nullopt;
    return frameOf(primary, primaryScreenHeight());
}

Rect QtScreens::workArea(const Rect& screen) {
    const double height = primaryScreenHeight();
    for (const QScreen* s : QGuiApplication::screens()) {
        if (frameOf(s, height) != screen) continue;
        const QRect area = s->availableGeometry();
        // A work area off the screen (a confused window manager) is none.
        return area.isEmpty() ? screen : fromQt(QRectF(area), height);
    }
    return screen;
}

void QtScreens::observeChanges(std::function<void()> changed) {
    if (changed) observers_.push_back(std::move(changed));
}

}  // namespace tamsel::qt
