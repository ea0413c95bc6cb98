#pragma once

#include <string>

#include "common/window_controller.h"
#include "engine/status.h"

namespace tamsel {

// The statistics window: today's activity and breaks, the last 14 days as
// bars, the share of breaks taken in full this week, and the export of the
// whole history. It follows the engine's moments while it is open.
class StatsWindow : public WindowController, public EngineObserver {
public:
    StatsWindow();
    ~StatsWindow() override;

    // Fills the window from the history as it stands now.
    void refresh();
    void exportBtn();
    // Closed by the user; its owner lets it go.
    bool closed() const { return closed_; }

    void happened(const EngineEvent&) override { refresh(); }

    static constexpr int kDays = 14;
    static constexpr int kWeek = 7;

protected:
    void windowDidLoad() override;

private:
    bool closed_ = false;
};

// "0 min", "45 min", "2 h 05 min"
std::string durationText(long long seconds);

}  // namespace tamsel
