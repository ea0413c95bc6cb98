#pragma once

#include <memory>

#include <QtGlobal>

#include "common/platform.h"

namespace tamsel::qt {

// The status item as a system-tray icon. Where the desktop has no tray the
// user is told once per launch, in a window that does not block, and the
// icon is kept ready: Qt docks it as soon as a tray appears.
class QtStatusBar : public StatusBar {
public:
    std::unique_ptr<StatusItem> statusItem() override;
};

// Title of the notice shown when no tray is found.
inline constexpr const char* kNoTrayTitle = QT_TRANSLATE_NOOP("Tamsel", "Tamsel: no tray found");

}  // namespace tamsel::qt
