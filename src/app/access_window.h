#pragma once

#include "common/window_controller.h"

namespace tamsel {

// The first-launch window: says what Tamsel does and waits for Done.
class AccessWindow : public WindowController {
public:
    AccessWindow();
    void btnDone();

protected:
    void windowDidLoad() override;
};

}  // namespace tamsel
