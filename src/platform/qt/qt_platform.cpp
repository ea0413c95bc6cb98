#include "platform/qt/qt_platform.h"

#include "platform/qt/busy/busy_sources.h"
#include "platform/qt/desktop/os_services.h"
#include "platform/qt/desktop/qt_local_time.h"
#include "platform/qt/desktop/qt_status_bar.h"
#include "platform/qt/desktop/qt_workspace.h"
#include "platform/qt/desktop/remote.h"
#include "platform/qt/desktop/setup_check.h"
#include "platform/qt/desktop/shell_extension.h"
#include "platform/qt/desktop/single_instance.h"
#include "platform/qt/idle/idle_source.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_console.h"
#include "platform/qt/qt_history.h"
#include "platform/qt/qt_network.h"
#include "platform/qt/qt_random.h"
#include "platform/qt/qt_screens.h"
#include "platform/qt/qt_settings.h"
#include "platform/qt/qt_timers.h"
#include "platform/qt/time_lapse.h"
#include "platform/qt/translations.h"
#include "platform/qt/views/qt_dialogs.h"
#include "platform/qt/views/views.h"

namespace tamsel::qt {

QtPlatform::QtPlatform(double timeScale)
    : clock_(std::make_unique<QtClock>()),
      timers_(std::make_unique<QtTimers>()),
      idle_(makeIdleSource(*clock_)),
      settings_(std::make_unique<QtSettings>()),
      screens_(std::make_unique<QtScreens>()),
      windows_(std::make_unique<QtWindowFactory>()),
      app_(std::make_unique<QtApplication>()),
      statusBar_(std::make_unique<QtStatusBar>()),
      dialogs_(std::make_unique<QtDialogs>()),
      workspace_(std::make_unique<QtWorkspace>()),
      network_(std::make_unique<QtNetwork>()),
      random_(std::make_unique<QtRandom>()),
      console_(std::make_unique<QtConsole>()),
      localTime_(std::make_unique<QtLocalTime>()),
      notifier_(makeNotifier()),
      sounds_(makeSounds()),
      loginItems_(makeLoginItems()),
      remote_(std::make_unique<QtRemote>()),
      shellExtension_(makeShellExtensionWatch()),
      setupCheck_(std::make_unique<QtSetupCheck>(loginItems_.get())),
      overlaySurfaces_(startOverlaySurfaces()),
      history_(std::make_unique<QtHistory>()),
      translator_(std::make_unique<QtTranslator>()) {
    // Known before the first window shows: the extension may draw the
    // indicator and the menu instead.
    if (shellExtension_) shellExtension_->settle(1000);
    if (timeScale != 1) {
        clock_ = timeLapsed(std::move(clock_), timeScale);
        timers_ = timeLapsed(std::move(timers_), timeScale);
        idle_ = timeLapsed(std::move(idle_), timeScale);
    }
    QtBusySource::deferStarts(250);
    camera_ = makeCameraSource();
    microphone_ = makeMicrophoneSource(*clock_);
    fullScreen_ = makeFullScreenSource();
    doNotDisturb_ = makeDoNotDisturbSource();
}

QtPlatform::~QtPlatform() = default;

Platform QtPlatform::platform() const {
    Platform p;
    p.clock = clock_.get();
    p.timers = timers_.get();
    p.idle = idle_.get();
    p.settings = settings_.get();
    p.screens = screens_.get();
    p.windows = windows_.get();
    p.app = app_.get();
    p.statusBar = statusBar_.get();
    p.dialogs = dialogs_.get();
    p.workspace = workspace_.get();
    p.network = network_.get();
    p.random = random_.get();
    p.console = console_.get();
    p.localTime = localTime_.get();
    p.notifier = notifier_.get();
    p.sounds = sounds_.get();
    p.loginItems = loginItems_.get();
    p.remote = remote_.get();
    p.setupCheck = setupCheck_.get();
    p.camera = camera_.get();
    p.microphone = microphone_.get();
    p.fullScreen = fullScreen_.get();
    p.doNotDisturb = doNotDisturb_.get();
    p.history = history_.get();
    p.translator = translator_.get();
    return p;
}

void QtPlatform::hearSecondLaunches(SingleInstance& instance) {
    QtRemote* remote = remote_.get();
    instance.onShowPreferences(
        [remote] { remote->request({Request::ShowPreferences}, [](const std::string&) {}); });
}

}  // namespace tamsel::qt
