#include "app/access_window.h"

#include "common/nibs.h"
#include "engine/scl.h"
#include "prefs/pref_window.h"

namespace tamsel {

AccessWindow::AccessWindow() : WindowController(nib::kAccessWindow) {}

void AccessWindow::windowDidLoad() {
    Window* w = window();
    w->setTitle(translate("Tamsel", nib::kAccessWindowTitle.data()));
    // Twice on purpose, in the order the window definition gives: the last one stays.
    w->setLevel(WindowLevel::Floating);
    w->setLevel(WindowLevel::Maximum);
    w->setActionHandler([this](std::string_view action, std::string_view) {
        if (action == "btnDone:") btnDone();
    });
    // Ticked: most people who install a break reminder want it every day.
    outlet("lblStartAtLogin").setState(1);
    outlet("lblStartAtLogin").setHidden(!SCL::platform().loginItems);
    SCL::platform().workspace->openLoginItemsSettings();
}

void AccessWindow::btnDone() {
    Window* w = window();
    PrefWindow::applyStartAtLogin(outlet("lblStartAtLogin").state() != 0);
    w->setStyleMask(StyleMask::Titled | StyleMask::Closable);
    SCL::platform().app->stopModal();
    w->close();
}

}  // namespace tamsel
