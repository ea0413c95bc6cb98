#include "app/app_delegate.h"

#include "app/access_window.h"
#include "engine/main_window.h"
#include "engine/scl.h"
#include "prefs/pref_window.h"

namespace tamsel {

namespace {
constexpr std::uint32_t kUidBound = 1000000000;
constexpr double kSkipInterval = 3000.0;
}  // namespace

AppDelegate::AppDelegate() : systemMenu(SCL::platform().statusBar->statusItem()) {}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching() {
    const Platform& p = SCL::platform();

    const bool firstLaunch = settings::uid() == 0;
    if (firstLaunch) {
        std::uint32_t uid = 0;
        while (uid == 0) uid = p.random->uniform(kUidBound);
        settings::writeFirstLaunch(SCL::defaults(), uid);

        SCL::accessWindow = std::make_unique<AccessWindow>();
        SCL::accessWindow->showWindow();
        if (Window* w = SCL::accessWindow->window()) p.app->runModal(*w);
    }

    SCL::uid = settings::uid();

    if (systemMenu) {
        systemMenu->setImage("SysMenuImg");
        systemMenu->setMenu({{"Preferences\u2026", "prefMenuBtn:"},
                             {"Help", "helpBtn:"},
                             {"Skip", "skipBtn:"},
                             {"Quit", "quitBtn:"}},
                            [this](std::string_view action) { menuChosen(action); });
    }

    if (!SCL::isPwdOk()) p.app->exit(0);

    SCL::mainWindow = std::make_unique<MainWindow>();
    SCL::mainWindow->showWindow();

    if (firstLaunch) {
        prefMenuBtn();
        SCL::logFunc("macapp", "firstlaunch", "app-false");
    }
}

void AppDelegate::menuChosen(std::string_view action) {
    if (action == "prefMenuBtn:")
        prefMenuBtn();
    else if (action == "helpBtn:")
        helpBtn();
    else if (action == "skipBtn:")
        skipBtn();
    else if (action == "quitBtn:")
        quitBtn();
}

void AppDelegate::prefMenuBtn() {
    if (!SCL::isPwdOk()) return;
    prefWindow = std::make_unique<PrefWindow>();
    prefWindow->showWindow();
    SCL::platform().app->activateIgnoringOtherApps();
    if (Window* w = prefWindow->window()) w->makeKeyAndOrderFront();
}

void AppDelegate::helpBtn() {
    SCL::openManual();
}

void AppDelegate::skipBtn() {
    if (SCL::timeIntervalSinceNow(SCL::lastSkipDate()) > -kSkipInterval) {
        SCL::showAlert("Cannot let you skip this break since you skipped the last one, sorry!",
                       "Tamsel");
        return;
    }
    if (!SCL::isPwdOk()) return;
    SCL::progress = 0;
    SCL::lastSkipDate() = SCL::now();
    if (SCL::mainWindow) SCL::mainWindow->activityTimerEvent();
}

void AppDelegate::quitBtn() {
    if (SCL::isPwdOk()) SCL::platform().app->exit(0);
}

}  // namespace tamsel
