#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

#include "common/platform.h"

class QEventLoop;
class QWindow;

namespace tamsel::qt {

class QtApplication : public Application {
public:
    QtApplication();
    // Brings the app's modal window, else the window the user last worked
    // in, else its most recent visible window to the front.
    void activateIgnoringOtherApps() override;
    // A nested event loop, with every timer of the system held back, until
    // stopModal(). The view sets its own modality.
    void runModal(Window& window) override;
    void stopModal() override;
    [[noreturn]] void exit(int status) override;

private:
    QObject context_;
    // Our windows in the order the user last worked in them, newest last.
    std::vector<QPointer<QWindow>> focusHistory_;
    std::vector<QEventLoop*> loops_;
};

}  // namespace tamsel::qt
