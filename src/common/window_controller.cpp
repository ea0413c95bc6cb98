#include "common/window_controller.h"

#include "engine/scl.h"

namespace tamsel {

WindowController::WindowController(std::string_view nibName) : nibName_(nibName) {}

WindowController::~WindowController() = default;

Window* WindowController::window() {
    if (!window_) {
        window_ = SCL::platform().windows->loadWindow(nibName_);
        if (window_) windowDidLoad();
    }
    return window_.get();
}

void WindowController::showWindow() {
    if (Window* w = window()) w->orderFront();
}

}  // namespace tamsel
