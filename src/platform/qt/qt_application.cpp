#include "platform/qt/qt_application.h"

#include <QApplication>
#include <QEventLoop>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/modal_gate.h"
#include "platform/qt/views/overlay_presenter.h"
#include "platform/qt/views/qt_window.h"

namespace tamsel::qt {

namespace {

// Windows that never take the focus (the click-through indicator).
bool canBeActivated(const QWidget* w) {
    return w && w->isVisible() && !w->testAttribute(Qt::WA_ShowWithoutActivating) &&
           !w->windowFlags().testFlag(Qt::WindowTransparentForInput);
}

void bringToFront(QWidget* w) {
    w->raise();
    w->activateWindow();
}

}  // namespace

QtApplication::QtApplication() {
    if (auto* app = qGuiApp)
        QObject::connect(
            app, &QGuiApplication::focusWindowChanged, &context_, [this](QWindow* window) {
                if (!window) return;
                std::erase_if(focusHistory_,
                              [window](const QPointer<QWindow>& w) { return !w || w == window; });
                focusHistory_.emplace_back(window);
            });
}

void QtApplication::activateIgnoringOtherApps() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        bringToFront(modal);
        return;
    }
    // Already in front: activating again would only move the focus between
    // our own windows.
    if (QApplication::activeWindow()) return;
    // A break on a layer surface has the keyboard already; a Qt window
    // activated now (the no-tray notice) would take it from the break.
    if (overlayHoldsKeyboard()) return;
    const QWidgetList all = QApplication::topLevelWidgets();
    for (auto it = focusHistory_.crbegin(); it != focusHistory_.crend(); ++it) {
        if (!*it || !(*it)->isVisible()) continue;
        for (QWidget* w : all) {
            if (w->windowHandle() == *it && canBeActivated(w)) {
                bringToFront(w);
                return;
            }
        }
    }
    // Else the newest visible window: Qt lists windows as they were made.
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        if (!(*it)->isVisible()) continue;
        for (QWidget* w : all) {
            if (w->windowHandle() == *it && canBeActivated(w) && w->windowType() != Qt::Popup &&
                w->windowType() != Qt::ToolTip) {
                bringToFront(w);
                return;
            }
        }
    }
}

void QtApplication::runModal(Window& window) {
    QEventLoop loop;
    // A window whose view goes away cannot be stopped by its button.
    if (auto* qtWindow = dynamic_cast<QtWindow*>(&window); qtWindow && qtWindow->view())
        QObject::connect(qtWindow->view(), &QObject::destroyed, &loop, &QEventLoop::quit);
    else if (qtWindow)
        return;
    ModalScope modal;
    window.makeKeyAndOrderFront();
    loops_.push_back(&loop);
    loop.exec(QEventLoop::DialogExec);
    loops_.pop_back();
}

void QtApplication::stopModal() {
    // Outside a modal run it does nothing, as on the original platform.
    if (!loops_.empty()) loops_.back()->quit();
}

void QtApplication::exit(int status) {
    // At once, as the original's exit(): every setting is already on disk.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}

}  // namespace tamsel::qt
