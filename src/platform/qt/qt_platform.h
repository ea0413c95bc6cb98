#pragma once

#include <QObject>
#include <memory>

#include "common/platform.h"

namespace tamsel::qt {

class QtSettings;
class QtRemote;
class SingleInstance;
class ShellExtensionWatch;

// Every Qt service of the platform layer, built once the QApplication
// exists and owned here for the life of the process. A time scale above 1
// runs clock, timers and idle time that much faster (the benchmark's
// time lapse); the program runs at 1.
class QtPlatform {
public:
    explicit QtPlatform(double timeScale = 1);
    ~QtPlatform();
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    Platform platform() const;
    // A second launch's request reaches the controllers as a script's does.
    void hearSecondLaunches(SingleInstance& instance);

private:
    std::unique_ptr<Clock> clock_;
    std::unique_ptr<Timers> timers_;
    std::unique_ptr<IdleSource> idle_;
    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<Screens> screens_;
    std::unique_ptr<WindowFactory> windows_;
    std::unique_ptr<Application> app_;
    std::unique_ptr<StatusBar> statusBar_;
    std::unique_ptr<Dialogs> dialogs_;
    std::unique_ptr<Workspace> workspace_;
    std::unique_ptr<Network> network_;
    std::unique_ptr<Random> random_;
    std::unique_ptr<Console> console_;
    std::unique_ptr<LocalTime> localTime_;
    std::unique_ptr<Notifier> notifier_;
    std::unique_ptr<Sounds> sounds_;
    std::unique_ptr<LoginItems> loginItems_;
    std::unique_ptr<QtRemote> remote_;
    std::unique_ptr<ShellExtensionWatch> shellExtension_;
    std::unique_ptr<SetupCheck> setupCheck_;
    std::unique_ptr<QObject> overlaySurfaces_;
    std::unique_ptr<BusySource> camera_;
    std::unique_ptr<BusySource> microphone_;
    std::unique_ptr<BusySource> fullScreen_;
    std::unique_ptr<BusySource> doNotDisturb_;
    std::unique_ptr<History> history_;
    std::unique_ptr<Translator> translator_;
};

}  // namespace tamsel::qt
