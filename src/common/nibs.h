#pragma once

// What each window's definition holds: its name, the title people and
// screen readers see, and its outlets. The Qt views build exactly these, the
// simulated windows record them.

#include <span>
#include <string_view>

#include "common/translate.h"
#include "engine/settings.h"

namespace tamsel::nib {

inline constexpr std::string_view kMainWindow = "MainWindow";
inline constexpr std::string_view kLockScreen = "LockScreen";
inline constexpr std::string_view kPrefWindow = "PrefWindow";
inline constexpr std::string_view kAccessWindow = "AccessWindow";
inline constexpr std::string_view kStatsWindow = "StatsWindow";

// Stepper ranges of the preferences window, in minutes: the lengths the
// engine accepts.
inline constexpr int kWorkMinutesMin = static_cast<int>(kWorkMinutes.min);
inline constexpr int kWorkMinutesMax = static_cast<int>(kWorkMinutes.max);
inline constexpr int kBreakMinutesMin = static_cast<int>(kBreakMinutes.min);
inline constexpr int kBreakMinutesMax = static_cast<int>(kBreakMinutes.max);

enum class Kind { Label, Button, CheckBox, Radio, Stepper, PopUp, SecureField, Progress, Chart };

struct Outlet {
    std::string_view name;
    Kind kind;
    int min = 0;  // steppers only
    int max = 0;
};

inline constexpr Outlet kMainWindowOutlets[] = {{"lblProgress", Kind::Label}};

inline constexpr Outlet kLockScreenOutlets[] = {
    {"progressBar", Kind::Progress},
    {"closeBtn", Kind::Button},
    {"lblTSText", Kind::Label},
    {"lockProgress", Kind::Progress},
};

inline constexpr Outlet kPrefWindowOutlets[] = {
    {"lblWorkDuration", Kind::Label},
    {"lblBreakDuration", Kind::Label},
    {"stpWorkDurationE", Kind::Stepper, kWorkMinutesMin, kWorkMinutesMax},
    {"stpBreakDurationEle", Kind::Stepper, kBreakMinutesMin, kBreakMinutesMax},
    {"lblSnooze", Kind::CheckBox},
    {"lblHide", Kind::CheckBox},
    {"txtNewPwd", Kind::SecureField},
    {"txtConfirmPwd", Kind::SecureField},
    {"dropdownOsdLocation", Kind::PopUp},
    {"radAlways", Kind::Radio},
    {"radWhenHigh", Kind::Radio},
    {"btnCopyright", Kind::Button},
    {"lblHeadsUp", Kind::CheckBox},
    {"lblSound", Kind::CheckBox},
    {"lblAllScreens", Kind::CheckBox},
    {"lblStartAtLogin", Kind::CheckBox},
    {"lblWaitCall", Kind::CheckBox},
    {"lblWaitFullScreen", Kind::CheckBox},
    {"lblWaitDnd", Kind::CheckBox},
};

inline constexpr Outlet kAccessWindowOutlets[] = {{"lblStartAtLogin", Kind::CheckBox}};

inline constexpr Outlet kStatsWindowOutlets[] = {
    {"lblActiveToday", Kind::Label},  {"lblTakenToday", Kind::Label},
    {"lblSnoozedToday", Kind::Label}, {"lblSkippedToday", Kind::Label},
    {"lblPausedToday", Kind::Label},  {"lblWeekShare", Kind::Label},
    {"chartDays", Kind::Chart},       {"btnExport", Kind::Button},
};

inline constexpr std::span<const Outlet> outletsOf(std::string_view nibName) {
    if (nibName == kMainWindow) return kMainWindowOutlets;
    if (nibName == kLockScreen) return kLockScreenOutlets;
    if (nibName == kPrefWindow) return kPrefWindowOutlets;
    if (nibName == kAccessWindow) return kAccessWindowOutlets;
    if (nibName == kStatsWindow) return kStatsWindowOutlets;
    return {};
}

// Base titles as the definitions give them, in English (each ends in a NUL,
// for translate()); the preferences window adds its version at load.
inline constexpr std::string_view kMainWindowTitle = "Tamsel";
inline constexpr std::string_view kLockScreenTitle = QT_TRANSLATE_NOOP("Tamsel", "Tamsel break");
inline constexpr std::string_view kAccessWindowTitle =
    QT_TRANSLATE_NOOP("Tamsel", "Welcome to Tamsel");
inline constexpr std::string_view kPrefWindowTitle =
    QT_TRANSLATE_NOOP("Tamsel", "Tamsel Preferences");
inline constexpr std::string_view kStatsWindowTitle =
    QT_TRANSLATE_NOOP("Tamsel", "Tamsel Statistics");

inline constexpr std::string_view titleOf(std::string_view nibName) {
    if (nibName == kMainWindow) return kMainWindowTitle;
    if (nibName == kLockScreen) return kLockScreenTitle;
    if (nibName == kPrefWindow) return kPrefWindowTitle;
    if (nibName == kAccessWindow) return kAccessWindowTitle;
    if (nibName == kStatsWindow) return kStatsWindowTitle;
    return {};
}

// The snooze button's ordinary title.
inline constexpr std::string_view kSnoozeTitle = QT_TRANSLATE_NOOP("Tamsel", "Snooze for a minute");

}  // namespace tamsel::nib
