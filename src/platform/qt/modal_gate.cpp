#include "platform/qt/modal_gate.h"

#include <QTimer>

namespace tamsel::qt {

ModalGate& ModalGate::instance() {
    static ModalGate gate;
    return gate;
}

void ModalGate::leave() {
    if (depth_ > 0) --depth_;
    if (depth_ > 0 || held_.empty()) return;
    // Posted, so the nested loop of the dialog has unwound before they run.
    // A dialog opened meanwhile (an alert right after a slow fetch) runs
    // them inside its own loop: there they wait for its end once more.
    for (auto& fire : std::exchange(held_, {}))
        QTimer::singleShot(0, [fire] {
            if (instance().active())
                instance().hold(fire);
            else
                fire();
        });
}

void ModalGate::hold(std::function<void()> fire) {
    held_.push_back(std::move(fire));
}

}  // namespace tamsel::qt
