#include "prefs/pref_window.h"

#include <cstdlib>
#include <vector>

#include "common/nibs.h"
#include "engine/main_window.h"
#include "engine/scl.h"
#include "engine/version_check.h"

namespace tamsel {

PrefWindow::PrefWindow() : WindowController(nib::kPrefWindow) {}

PrefWindow::~PrefWindow() {
    if (updTimer) updTimer->invalidate();
}

void PrefWindow::windowDidLoad() {
    Window* w = window();
    w->setActionHandler([this](std::string_view action, std::string_view sender) {
        if (action == "stpWorkDuration:")
            stpWorkDuration();
        else if (action == "stpBreakDuration:")
            stpBreakDuration();
        else if (action == "radGroupClicked:")
            radGroupClicked(sender);
        else if (action == "btnSaveClicked:")
            btnSaveClicked();
        else if (action == "btnCloseClicked:")
            btnCloseClicked();
        else if (action == "btnHelp:")
            btnHelp();
        else if (action == "copyrightClicked:")
            copyrightClicked();
        else if (action == "btnEmailClicked:")
            btnEmailClicked();
    });

    Control& corners = outlet("dropdownOsdLocation");
    std::vector<std::string> cornerTitles;
    for (const char* corner : kCorners) cornerTitles.push_back(translate("Tamsel", corner));
    corners.setItems(cornerTitles);

    // The lengths in force, as the engine reads them: a stored 0 or text
    // must not show as 1 minute and be saved as such untouched.
    outlet("stpWorkDurationE").setIntegerValue(settings::workMinutes());
    outlet("stpBreakDurationEle").setIntegerValue(settings::breakMinutes());
    outlet("lblWorkDuration").setIntegerValue(outlet("stpWorkDurationE").integerValue());
    outlet("lblBreakDuration").setIntegerValue(outlet("stpBreakDurationEle").integerValue());

    // Boxes show what the break windows will do with a hand-edited value:
    // any snooze value but 0 allows it, only exactly 1 starts see-through.
    outlet("lblSnooze").setState(settings::snoozeAllowed() ? 1 : 0);
    outlet("lblHide").setState(settings::startsSeeThrough() ? 1 : 0);

    outlet("txtNewPwd").setText(settings::password());
    outlet("txtConfirmPwd").setText(settings::password());

    // 0 and 1 as stored; any other value means "when high" to the engine,
    // and exactly one radio button is on.
    const long long whenHigh = settings::onlyWhenNear() ? 1 : 0;
    outlet("radWhenHigh").setState(static_cast<int>(whenHigh));
    outlet("radAlways").setState(static_cast<int>(std::llabs(whenHigh - 1)));

    // The indicator sits bottom right for any index outside the list, so the
    // pop-up says the same.
    corners.selectItem(static_cast<int>(settings::corner()));

    outlet("btnCopyright").setHidden(webSiteAddress().empty());

    outlet("lblHeadsUp").setState(settings::headsUp() ? 1 : 0);
    outlet("lblSound").setState(settings::sound() ? 1 : 0);
    outlet("lblAllScreens").setState(settings::allScreens() ? 1 : 0);
    outlet("lblWaitCall").setState(settings::waitForCall() ? 1 : 0);
    outlet("lblWaitFullScreen").setState(settings::waitForFullScreen() ? 1 : 0);
    outlet("lblWaitDnd").setState(settings::waitForDnd() ? 1 : 0);
    // A platform without such a source (macOS, for now) offers no box for it.
    const Platform& p = SCL::platform();
    outlet("lblWaitCall").setHidden(!p.camera && !p.microphone);
    outlet("lblWaitFullScreen").setHidden(!p.fullScreen);
    outlet("lblWaitDnd").setHidden(!p.doNotDisturb);
    LoginItems* login = SCL::platform().loginItems;
    outlet("lblStartAtLogin").setState(login && login->isEnabled() ? 1 : 0);
    outlet("lblStartAtLogin").setHidden(!login);

    w->setTitle(translate("Tamsel", nib::kPrefWindowTitle.data()) + " " +
                SCL::platform().workspace->shortVersionString());
}

void PrefWindow::stpWorkDuration() {
    outlet("lblWorkDuration").setIntegerValue(outlet("stpWorkDurationE").integerValue());
}

void PrefWindow::stpBreakDuration() {
    outlet("lblBreakDuration").setIntegerValue(outlet("stpBreakDurationEle").integerValue());
}

void PrefWindow::radGroupClicked(std::string_view sender) {
    outlet("radAlways").setState(0);
    outlet("radWhenHigh").setState(0);
    if (sender == "radAlways" || sender == "radWhenHigh") outlet(sender).setState(1);
}

void PrefWindow::btnSaveClicked() {
    if (outlet("txtNewPwd").text() != outlet("txtConfirmPwd").text()) {
        SCL::showAlert(
            translate("Tamsel", "Passwords don't match. Please correct them and try again."));
        return;
    }
    SettingsStore& defaults = SCL::defaults();
    defaults.setInteger(key::stpWorkDuration, outlet("stpWorkDurationE").integerValue());
    defaults.setInteger(key::stpBreakDuration, outlet("stpBreakDurationEle").integerValue());
    defaults.setInteger(key::lblSnooze, outlet("lblSnooze").state());
    defaults.setInteger(key::lblHide, outlet("lblHide").state());
    defaults.setString(key::txtNewPwd, outlet("txtNewPwd").text());
    defaults.setInteger(key::radWhenHigh, outlet("radWhenHigh").state());
    defaults.setInteger(key::dropdownOsdLocation, outlet("dropdownOsdLocation").selectedIndex());
    defaults.setInteger(key::lblHeadsUp, outlet("lblHeadsUp").state());
    defaults.setInteger(key::lblSound, outlet("lblSound").state());
    defaults.setInteger(key::lblAllScreens, outlet("lblAllScreens").state());
    defaults.setInteger(key::lblWaitCall, outlet("lblWaitCall").state());
    defaults.setInteger(key::lblWaitFullScreen, outlet("lblWaitFullScreen").state());
    defaults.setInteger(key::lblWaitDnd, outlet("lblWaitDnd").state());
    applyStartAtLogin(outlet("lblStartAtLogin").state() != 0);

    SCL::progress = 0;
    if (MainWindow* engine = SCL::mainWindow.get()) {
        engine->placeWindow();
        SCL::progress = 0;
        engine->lblProgress().setText("");
        engine->activityTimerEvent();
    }
    if (Window* w = window()) w->close();
}

void PrefWindow::applyStartAtLogin(bool wanted) {
    LoginItems* login = SCL::platform().loginItems;
    // Only a change is written: a start-up entry the user made stays as is.
    if (!login || login->isEnabled() == wanted) return;
    if (!login->setEnabled(wanted))
        SCL::showAlert(
            wanted ? translate("Tamsel", "Tamsel could not set itself to start when you log in.")
                   : translate("Tamsel", "Tamsel could not stop starting when you log in."),
            "Tamsel");
}

void PrefWindow::btnCloseClicked() {
    if (Window* w = window()) w->close();
}

void PrefWindow::btnHelp() {
    SCL::openManual();
}

void PrefWindow::copyrightClicked() {
    const std::string site = webSiteAddress();
    if (!site.empty()) SCL::openWebAddress(site);
}

void PrefWindow::btnEmailClicked() {
    updTimer = SCL::platform().timers->schedule(0.1, false, [] { updEvent(); });
}

}  // namespace tamsel
