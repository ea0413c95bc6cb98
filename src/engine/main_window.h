#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "common/window_controller.h"

namespace tamsel {

class LockScreen;

// The progress indicator window, and the engine it carries: the five-second
// activity monitor, the one-second break countdown and the indicator's place.
class MainWindow : public WindowController {
public:
    MainWindow();
    ~MainWindow() override;

    void placeWindow();
    void activityTimerEvent();
    void lockTimerEvent();

    Control& lblProgress() { return outlet("lblProgress"); }

    bool didProgressIncreaseLast = false;
    // U+25FC with the text-presentation selector: one square per segment.
    const std::string charBlock = "\u25FC\uFE0E";
    std::unique_ptr<LockScreen> lockScreen;
    std::unique_ptr<LockScreen> lockScreen1;
    std::int64_t workDur = 0;
    std::int64_t showOnHigh = 1;

    // Runs on the rare draw of a tick; the version check by default.
    std::function<void()> versionCheck;

protected:
    void windowDidLoad() override;

private:
    void startBreak();
    std::string barText() const;
};

}  // namespace tamsel
