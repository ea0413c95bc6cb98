#include "engine/settings.h"

#include <algorithm>

#include "engine/scl.h"

namespace tamsel::settings {

long long minutesIn(const MinuteRange& range, long long stored) {
    if (stored == 0) return range.firstLaunch;
    return std::clamp(stored, range.min, range.max);
}

long long uid() {
    return SCL::defaults().integerForKey(key::uid);
}

void writeFirstLaunch(SettingsStore& store, long long uid) {
    store.setInteger(key::uid, uid);
    store.setInteger(key::stpWorkDuration, kWorkMinutes.firstLaunch);
    store.setInteger(key::stpBreakDuration, kBreakMinutes.firstLaunch);
    store.setInteger(key::lblSnooze, 1);
    store.setInteger(key::lblHide, 0);
    store.setInteger(key::radWhenHigh, 0);
    store.setString(key::txtNewPwd, "");
    store.setInteger(key::dropdownOsdLocation, static_cast<long long>(Corner::TopCentre));
}

long long workMinutes() {
    return minutesIn(kWorkMinutes, SCL::defaults().integerForKey(key::stpWorkDuration));
}

long long breakMinutes() {
    return minutesIn(kBreakMinutes, SCL::defaults().integerForKey(key::stpBreakDuration));
}

bool snoozeAllowed() {
    return SCL::defaults().integerForKey(key::lblSnooze) != 0;
}

bool startsSeeThrough() {
    return SCL::defaults().integerForKey(key::lblHide) == 1;
}

bool onlyWhenNear() {
    return SCL::defaults().integerForKey(key::radWhenHigh) != 0;
}

Corner corner() {
    const long long stored = SCL::defaults().integerForKey(key::dropdownOsdLocation);
    if (stored < 0 || stored > static_cast<long long>(Corner::BottomRight))
        return Corner::BottomRight;
    return static_cast<Corner>(stored);
}

std::string password() {
    return SCL::defaults().stringForKey(key::txtNewPwd).value_or("");
}

double skipVersion() {
    return SCL::defaults().doubleForKey(key::skipVersion);
}

namespace {
bool onUnlessZero(std::string_view key) {
    SettingsStore& store = SCL::defaults();
    return !store.stringForKey(key) || store.integerForKey(key) != 0;
}
}  // namespace

bool headsUp() {
    return onUnlessZero(key::lblHeadsUp);
}

bool waitForCall() {
    return onUnlessZero(key::lblWaitCall);
}

bool waitForFullScreen() {
    return onUnlessZero(key::lblWaitFullScreen);
}

bool waitForDnd() {
    return SCL::defaults().integerForKey(key::lblWaitDnd) != 0;
}

bool sound() {
    return SCL::defaults().integerForKey(key::lblSound) != 0;
}

bool allScreens() {
    return SCL::defaults().integerForKey(key::lblAllScreens) != 0;
}

double pausedUntil(double now) {
    const double stored = SCL::defaults().doubleForKey(key::pausedUntil);
    if (!(stored > now)) return 0;
    return std::min(stored, now + kLongestPause);
}

}  // namespace tamsel::settings
