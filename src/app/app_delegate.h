#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/platform.h"
#include "engine/status.h"

namespace tamsel {

class PrefWindow;
class StatsWindow;

// The application: its launch sequence, the status menu's commands, and the
// same commands asked for from outside (a second launch, scripts).
class AppDelegate : public EngineObserver {
public:
    AppDelegate();
    ~AppDelegate() override;

    void applicationDidFinishLaunching();

    // Each guarded command answers whether it was carried out.
    bool prefMenuBtn();
    void statsMenuBtn();
    void helpBtn();
    void setupCheckBtn();
    bool skipBtn();
    void quitBtn();
    bool breakNowBtn();
    bool pauseFor(double seconds);
    bool pauseUntilTomorrow();
    void resumeBtn();

    // The status menu as things stand; the tray and the no-tray notice
    // both show it.
    static std::vector<MenuItem> menuItems(const Status& status);
    static std::string toolTip(const Status& status);
    // What scripts read; one line per property.
    static std::vector<RemoteProperty> remoteProperties(const Status& status);

    void statusChanged(const Status& status) override;

    std::unique_ptr<StatusItem> systemMenu;
    std::unique_ptr<PrefWindow> prefWindow;
    // Released once the user has closed it.
    std::unique_ptr<StatsWindow> statsWindow;

private:
    // Whether the command was carried out.
    bool menuChosen(std::string_view action);
    void handleRequest(const RemoteRequest& request, const Remote::Answer& answer);
    bool pause(double seconds);

    bool menuInstalled_ = false;
    std::optional<Status> shownStatus_;
    std::optional<std::pair<bool, bool>> shownMenuShape_;  // in a break, paused
    std::string shownToolTip_;
    TimerRef historyStart_;
};

}  // namespace tamsel
