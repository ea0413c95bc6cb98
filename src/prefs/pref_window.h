#pragma once

#include <string_view>

#include "common/translate.h"
#include "common/window_controller.h"

namespace tamsel {

// The preferences window: loads the stored settings into its controls, keeps
// edits there, and writes them all at once on Save.
class PrefWindow : public WindowController {
public:
    PrefWindow();
    ~PrefWindow() override;

    void stpWorkDuration();
    void stpBreakDuration();
    void radGroupClicked(std::string_view sender);
    void btnSaveClicked();
    void btnCloseClicked();
    void btnHelp();
    void copyrightClicked();
    void btnEmailClicked();
    // Writes or removes the desktop's start-up entry when the box differs
    // from it; says so when that fails. The welcome window's Done uses it too.
    static void applyStartAtLogin(bool wanted);
    // The mail timer's target; nothing listens for it.
    static void updEvent() {}

    TimerRef updTimer;

    static constexpr const char* kCorners[] = {
        QT_TRANSLATE_NOOP("Tamsel", "Top Left"),      QT_TRANSLATE_NOOP("Tamsel", "Top Center"),
        QT_TRANSLATE_NOOP("Tamsel", "Top Right"),     QT_TRANSLATE_NOOP("Tamsel", "Bottom Left"),
        QT_TRANSLATE_NOOP("Tamsel", "Bottom Center"), QT_TRANSLATE_NOOP("Tamsel", "Bottom Right")};

protected:
    void windowDidLoad() override;
};

}  // namespace tamsel
