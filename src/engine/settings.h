#pragma once

// Every stored setting in one place: its key, its first-launch value, its
// range, and what an absent, zero, negative or unreadable stored value
// means. Controllers ask here what a stored value means; they write with the
// store's own setters and these keys.

#include <string>
#include <string_view>

namespace tamsel {

class SettingsStore;

// Settings keys, named after the controls that edit them.
namespace key {
inline constexpr std::string_view uid = "uid";
inline constexpr std::string_view stpWorkDuration = "stpWorkDuration";
inline constexpr std::string_view stpBreakDuration = "stpBreakDuration";
inline constexpr std::string_view lblSnooze = "lblSnooze";
inline constexpr std::string_view lblHide = "lblHide";
inline constexpr std::string_view radWhenHigh = "radWhenHigh";
inline constexpr std::string_view dropdownOsdLocation = "dropdownOsdLocation";
inline constexpr std::string_view txtNewPwd = "txtNewPwd";
inline constexpr std::string_view skipVersion = "skipVersion";
inline constexpr std::string_view lblHeadsUp = "lblHeadsUp";
inline constexpr std::string_view lblSound = "lblSound";
inline constexpr std::string_view lblAllScreens = "lblAllScreens";
inline constexpr std::string_view pausedUntil = "pausedUntil";
inline constexpr std::string_view lblWaitCall = "lblWaitCall";
inline constexpr std::string_view lblWaitFullScreen = "lblWaitFullScreen";
inline constexpr std::string_view lblWaitDnd = "lblWaitDnd";
}  // namespace key

// The longest pause that holds: a stored end further ahead (a hand-edited
// file, a system clock set back) is cut to this from now. "Until tomorrow"
// on the day a clock goes back lasts up to 25 hours.
inline constexpr double kLongestPause = 25 * 3600.0;

// A length in whole minutes as the preferences offer it.
struct MinuteRange {
    long long min;
    long long max;
    long long firstLaunch;
};
inline constexpr MinuteRange kWorkMinutes{1, 240, 30};
inline constexpr MinuteRange kBreakMinutes{1, 60, 2};

// The indicator's corner, as the pop-up lists it and the store keeps it.
enum class Corner { TopLeft, TopCentre, TopRight, BottomLeft, BottomCentre, BottomRight };

namespace settings {

// What a stored length means: 0 (also what an absent or unreadable value
// reads as) is the first-launch length; anything else outside the range is
// its nearest end.
long long minutesIn(const MinuteRange& range, long long stored);

// uid 0 or absent marks a first launch.
long long uid();
// The first-launch values, written in this order as stored values.
void writeFirstLaunch(SettingsStore& store, long long uid);

long long workMinutes();
long long breakMinutes();
// Any value but 0 lets a break window offer its snooze button.
bool snoozeAllowed();
// Exactly 1 starts every break window see-through.
bool startsSeeThrough();
// Any value but 0 shows the indicator only when the break is near.
bool onlyWhenNear();
// Any index outside the list sits bottom right.
Corner corner();
// Empty: no child lock.
std::string password();
// The version the user chose to skip; 0 when none.
double skipVersion();
// The heads-up a minute before a break: absent means on, 0 off, any other
// value on.
bool headsUp();
// Sounds at the start and end of a break: any value but 0; off when absent.
bool sound();
// Break windows on every screen instead of the first two: any value but 0.
bool allScreens();
// The wall-clock second a pause ends, as the engine takes it at `now`: 0
// (not paused) for 0, absent, unreadable, negative or past values; at most
// kLongestPause ahead.
double pausedUntil(double now);
// A due break waits while the camera or the microphone is in use, and while
// a program is full screen: each absent means on, 0 off, any other value on.
bool waitForCall();
bool waitForFullScreen();
// ... and while do-not-disturb is on: any value but 0; off when absent.
bool waitForDnd();

}  // namespace settings

}  // namespace tamsel
