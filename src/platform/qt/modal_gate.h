#pragma once

#include <functional>
#include <vector>

namespace tamsel::qt {

// Qt keeps firing timers inside a dialog's nested event loop. Every modal
// run (dialog, modal window, blocking fetch) holds a ModalScope; timers that
// come due meanwhile are held here and fire once after the last run ends.
class ModalGate {
public:
    static ModalGate& instance();
    bool active() const { return depth_ > 0; }
    void enter() { ++depth_; }
    void leave();
    // Runs fire once, from the event loop, when no modal run is open.
    void hold(std::function<void()> fire);

private:
    int depth_ = 0;
    std::vector<std::function<void()>> held_;
};

class ModalScope {
public:
    ModalScope() { ModalGate::instance().enter(); }
    ~ModalScope() { ModalGate::instance().leave(); }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

}  // namespace tamsel::qt
