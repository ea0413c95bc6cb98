#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "common/platform.h"

namespace tamsel {

// A controller of one window built from its definition, loaded on first use.
class WindowController {
public:
    explicit WindowController(std::string_view nibName);
    virtual ~WindowController();
    WindowController(const WindowController&) = delete;
    WindowController& operator=(const WindowController&) = delete;

    // Loads the window (running windowDidLoad once) and puts it on screen.
    void showWindow();
    // The window, loaded if it was not; null when it cannot be built.
    Window* window();
    bool isWindowLoaded() const { return window_ != nullptr; }

protected:
    virtual void windowDidLoad() {}
    Control& outlet(std::string_view name) { return window()->outlet(name); }

private:
    std::string nibName_;
    std::unique_ptr<Window> window_;
};

}  // namespace tamsel
