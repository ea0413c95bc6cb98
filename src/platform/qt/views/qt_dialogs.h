#pragma once

#include "common/platform.h"

namespace tamsel::qt {

// Alerts and the masked input box as application-modal dialogs titled
// "Tamsel". Buttons keep the caller's order from the right (the first, the
// default, rightmost); Return always presses the first. Escape and the
// title bar's close answer the "Cancel" button, or the only button of a
// one-button alert; an alert with several buttons and no "Cancel" waits for
// a real choice, so no answer is taken by accident.
class QtDialogs : public Dialogs {
public:
    AlertResponse runAlert(const AlertRequest& request) override;
    // The desktop's save dialog, then the bytes through a file saved whole
    // or not at all; a file that is a link or another user's is refused.
    SaveResult saveFile(const std::string& suggestedName, const std::string& contents) override;
};

}  // namespace tamsel::qt
