#include "app/app_delegate.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/access_window.h"
#include "app/stats_window.h"
#include "common/translate.h"
#include "engine/history.h"
#include "engine/local_clock.h"
#include "engine/main_window.h"
#include "engine/scl.h"
#include "prefs/pref_window.h"

namespace tamsel {

namespace {
// Seconds after the launch before the history's file is opened.
constexpr double kStartUpGrace = 0.25;
constexpr std::uint32_t kUidBound = 1000000000;
constexpr double kSkipInterval = 3000.0;
// "Until tomorrow" ends at this hour of the local clock.
constexpr int kTomorrowHour = 6;
// The longest pause a script may ask for.
constexpr std::uint32_t kLongestScriptedPause = 24 * 3600;

constexpr const char* kNotPassed = "The child lock's password box was cancelled";

struct PauseChoice {
    const char* title;
    const char* action;
    double seconds;  // 0: until tomorrow
};
constexpr PauseChoice kPauseChoices[] = {
    {QT_TRANSLATE_NOOP("Tamsel", "For 30 minutes"), "pause30Btn:", 30 * 60.0},
    {QT_TRANSLATE_NOOP("Tamsel", "For an hour"), "pause60Btn:", 60 * 60.0},
    {QT_TRANSLATE_NOOP("Tamsel", "For two hours"), "pause120Btn:", 120 * 60.0},
    {QT_TRANSLATE_NOOP("Tamsel", "Until tomorrow"), "pauseTomorrowBtn:", 0},
};

std::string stateName(State state) {
    switch (state) {
        case State::Break: return "break";
        case State::Paused: return "paused";
        case State::Waiting: return "waiting";
        case State::Working: break;
    }
    return "working";
}

}  // namespace

AppDelegate::AppDelegate() : systemMenu(SCL::platform().statusBar->statusItem()) {
    SCL::observe(this);
}

AppDelegate::~AppDelegate() {
    SCL::forget(this);
}

void AppDelegate::applicationDidFinishLaunching() {
    const Platform& p = SCL::platform();

    const bool firstLaunch = settings::uid() == 0;
    if (firstLaunch) {
        std::uint32_t uid = 0;
        while (uid == 0) uid = p.random->uniform(kUidBound);
        settings::writeFirstLaunch(SCL::defaults(), uid);

        SCL::accessWindow = std::make_unique<AccessWindow>();
        SCL::accessWindow->showWindow();
        if (Window* w = SCL::accessWindow->window()) p.app->runModal(*w);
    }

    SCL::uid = settings::uid();

    if (systemMenu) {
        systemMenu->setImage("SysMenuImg");
        menuInstalled_ = true;
        shownStatus_.reset();
        statusChanged(SCL::status());
    }

    if (!SCL::isPwdOk()) p.app->exit(0);

    // The history's file is opened once the first windows are out.
    if (p.history)
        historyStart_ = p.timers->schedule(kStartUpGrace, false, [&store = *p.history] {
            if (!SCL::history) SCL::history = std::make_unique<HistoryRecorder>(store);
        });
    SCL::mainWindow = std::make_unique<MainWindow>();
    SCL::mainWindow->showWindow();
    if (p.remote)
        p.remote->serve([this](const RemoteRequest& request, Remote::Answer answer) {
            handleRequest(request, answer);
        });

    if (firstLaunch) {
        prefMenuBtn();
        SCL::logFunc("macapp", "firstlaunch", "app-false");
    }
}

std::vector<MenuItem> AppDelegate::menuItems(const Status& status) {
    std::vector<MenuItem> items = {
        {translate("Tamsel", "Preferences\u2026"), "prefMenuBtn:"},
        {translate("Tamsel", "Statistics\u2026"), "statsMenuBtn:"},
        {translate("Tamsel", "Help"), "helpBtn:"},
        {translate("Tamsel", "Check my desktop\u2026"), "setupCheckBtn:"},
        {},
        {translate("Tamsel", "Take a break now"), "breakNowBtn:", status.state != State::Break},
    };
    if (status.pausedUntil > 0) {
        items.push_back({translate("Tamsel", "Resume"), "resumeBtn:"});
    } else {
        std::vector<MenuItem> choices;
        for (const PauseChoice& choice : kPauseChoices)
            choices.emplace_back(translate("Tamsel", choice.title), choice.action);
        items.emplace_back(translate("Tamsel", "Pause"), std::move(choices));
    }
    items.push_back({translate("Tamsel", "Skip"), "skipBtn:"});
    items.push_back({});
    items.push_back({translate("Tamsel", "Quit"), "quitBtn:"});
    return items;
}

std::string AppDelegate::toolTip(const Status& status) {
    switch (status.state) {
        case State::Break: {
            const std::int64_t left = status.breakSecondsLeft;
            // Every second of a break: no printf machinery for it.
            const std::int64_t seconds = left % 60;
            return fill(translate("Tamsel", "On a break, %1 left"),
                        {std::to_string(left / 60) + (seconds < 10 ? ":0" : ":") +
                         std::to_string(seconds)});
        }
        case State::Paused:
            return fill(translate("Tamsel", "Paused until %1"),
                        {localClockText(status.pausedUntil, SCL::wallClock())});
        case State::Waiting:
            switch (status.waitingFor) {
                case WaitReason::FullScreen:
                    return translate("Tamsel", "Break waiting for full screen to end");
                case WaitReason::DoNotDisturb:
                    return translate("Tamsel", "Break waiting for do-not-disturb to end");
                case WaitReason::Call:
                case WaitReason::None: break;
            }
            return translate("Tamsel", "Break waiting for your call to end");
        case State::Working: break;
    }
    const long long minutes = std::llround(static_cast<double>(status.secondsToBreak) / 60.0);
    if (minutes <= 1) return translate("Tamsel", "Next break in about a minute");
    return fill(translate("Tamsel", "Next break in about %1 minutes"), {std::to_string(minutes)});
}

std::vector<RemoteProperty> AppDelegate::remoteProperties(const Status& status) {
    auto u32 = [](std::int64_t n) {
        return static_cast<std::uint32_t>(
            std::clamp<std::int64_t>(n, 0, std::numeric_limits<std::uint32_t>::max()));
    };
    return {
        {"State", stateName(status.state)},
        {"SecondsToBreak",
         static_cast<std::int32_t>(std::clamp<std::int64_t>(
             status.secondsToBreak, 0, std::numeric_limits<std::int32_t>::max()))},
        {"PausedUntil", static_cast<std::int64_t>(status.pausedUntil)},
        // What a desktop shell needs to draw the indicator and the menu itself.
        {"IndicatorText", status.indicatorText},
        {"IndicatorColor", status.indicatorColor},
        {"IndicatorCorner", static_cast<std::int32_t>(settings::corner())},
        {"Menu", menuItems(status)},
        {"WaitingFor", std::string(waitReasonName(status.waitingFor))},
        {"TodayActiveSeconds", u32(status.todayActiveSeconds)},
        {"TodayBreaksTaken", u32(status.todayBreaksTaken)},
    };
}

void AppDelegate::statusChanged(const Status& status) {
    // Called every tick: only what a change shows is worked out again. A
    // pause still reads the clock: "tomorrow 06:00" becomes "06:00".
    const Status before = shownStatus_.value_or(Status{
        .state = State::Working, .secondsToBreak = -1, .breakSecondsLeft = -1, .pausedUntil = -1});
    shownStatus_ = status;
    if (statsWindow && statsWindow->closed()) statsWindow.reset();
    if (systemMenu && menuInstalled_) {
        // The menu changes only between a break, a pause and neither.
        const auto shape = std::make_pair(status.state == State::Break, status.pausedUntil > 0);
        if (shape != shownMenuShape_) {
            systemMenu->setMenu(menuItems(status),
                                [this](std::string_view action) { menuChosen(action); });
            shownMenuShape_ = shape;
        }
        const bool tipMayDiffer = status.state != before.state || status.state == State::Paused ||
                                  status.waitingFor != before.waitingFor ||
                                  (status.state == State::Break
                                       ? status.breakSecondsLeft != before.breakSecondsLeft
                                       : status.secondsToBreak / 30 != before.secondsToBreak / 30);
        if (std::string tip; tipMayDiffer && (tip = toolTip(status)) != shownToolTip_) {
            systemMenu->setToolTip(tip);
            shownToolTip_ = std::move(tip);
        }
    }
    // The corner may have moved with the preferences: published every time,
    // the remote tells only what changed.
    if (Remote* remote = SCL::platform().remote) remote->publish(remoteProperties(status));
}

bool AppDelegate::menuChosen(std::string_view action) {
    if (action == "prefMenuBtn:") return prefMenuBtn();
    if (action == "skipBtn:") return skipBtn();
    if (action == "breakNowBtn:") return breakNowBtn();
    if (action == "pauseTomorrowBtn:") return pauseUntilTomorrow();
    for (const PauseChoice& choice : kPauseChoices)
        if (choice.seconds > 0 && action == choice.action) return pauseFor(choice.seconds);
    if (action == "statsMenuBtn:")
        statsMenuBtn();
    else if (action == "helpBtn:")
        helpBtn();
    else if (action == "setupCheckBtn:")
        setupCheckBtn();
    else if (action == "quitBtn:")
        quitBtn();  // returns only when the password box was cancelled
    else if (action == "resumeBtn:")
        resumeBtn();
    else
        return false;
    return action != "quitBtn:";
}

namespace {
// The item of this action, searched through the submenus too.
const MenuItem* findAction(const std::vector<MenuItem>& items, std::string_view action) {
    for (const MenuItem& item : items) {
        if (!item.action.empty() && item.action == action) return &item;
        if (const MenuItem* inner = findAction(item.submenu, action)) return inner;
    }
    return nullptr;
}
}  // namespace

void AppDelegate::handleRequest(const RemoteRequest& call, const Remote::Answer& answer) {
    const Request request = call.request;
    const std::uint32_t seconds = call.seconds;
    std::string refusal;
    switch (request) {
        case Request::ShowPreferences:
            if (!prefMenuBtn()) refusal = kNotPassed;
            break;
        case Request::BreakNow:
            if (!breakNowBtn()) refusal = "A break is running already";
            break;
        case Request::Pause:
            if (!pauseFor(std::clamp<std::uint32_t>(seconds, 1, kLongestScriptedPause)))
                refusal = kNotPassed;
            break;
        case Request::Resume: resumeBtn(); break;
        case Request::ChooseMenuItem: {
            // Only what the menu offers now, as a click on it would.
            const std::vector<MenuItem> menu = menuItems(SCL::status());
            const MenuItem* item = findAction(menu, call.action);
            if (!item)
                refusal = "The menu has no item \"" + call.action + "\" now";
            else if (!item->enabled)
                refusal = "\"" + item->title + "\" is not available now";
            else if (!menuChosen(call.action))
                refusal = "\"" + item->title + "\" was not carried out";
            break;
        }
        case Request::Skip: {
            // Refused as the menu's Skip is, with its alert.
            const bool tooSoon = SCL::timeIntervalSinceNow(SCL::lastSkipDate()) > -kSkipInterval;
            if (!skipBtn())
                refusal = tooSoon ? "Skipped less than 50 minutes ago, and no break has ended since"
                                  : kNotPassed;
            break;
        }
    }
    answer(refusal);
}

bool AppDelegate::prefMenuBtn() {
    if (!SCL::isPwdOk()) return false;
    prefWindow = std::make_unique<PrefWindow>();
    prefWindow->showWindow();
    SCL::platform().app->activateIgnoringOtherApps();
    if (Window* w = prefWindow->window()) w->makeKeyAndOrderFront();
    return true;
}

void AppDelegate::statsMenuBtn() {
    // Not guarded: looking at the numbers changes nothing.
    if (!statsWindow || statsWindow->closed()) {
        statsWindow = std::make_unique<StatsWindow>();
        statsWindow->showWindow();
    } else {
        statsWindow->refresh();
    }
    SCL::platform().app->activateIgnoringOtherApps();
    if (Window* w = statsWindow->window()) w->makeKeyAndOrderFront();
}

void AppDelegate::helpBtn() {
    SCL::openManual();
}

void AppDelegate::setupCheckBtn() {
    if (SetupCheck* check = SCL::platform().setupCheck) check->show();
}

bool AppDelegate::skipBtn() {
    if (SCL::timeIntervalSinceNow(SCL::lastSkipDate()) > -kSkipInterval) {
        SCL::showAlert(translate("Tamsel",
                                 "Cannot let you skip this break since you skipped the last one, "
                                 "sorry!"),
                       "Tamsel");
        return false;
    }
    if (!SCL::isPwdOk()) return false;
    SCL::progress = 0;
    SCL::lastSkipDate() = SCL::now();
    SCL::announce({EngineEvent::Kind::Skipped});
    if (SCL::mainWindow) SCL::mainWindow->activityTimerEvent();
    return true;
}

void AppDelegate::quitBtn() {
    if (!SCL::isPwdOk()) return;
    // The process ends at once: the last minute's activity is written first.
    if (SCL::history) SCL::history->flush();
    SCL::platform().app->exit(0);
}

bool AppDelegate::breakNowBtn() {
    // Not guarded: taking a break is never what a child lock is for.
    return SCL::mainWindow && SCL::mainWindow->breakNow();
}

bool AppDelegate::pause(double seconds) {
    if (!SCL::mainWindow) return false;
    SCL::mainWindow->pauseUntil(SCL::wallClock() + seconds);
    return true;
}

bool AppDelegate::pauseFor(double seconds) {
    if (!SCL::isPwdOk()) return false;
    return pause(seconds);
}

bool AppDelegate::pauseUntilTomorrow() {
    if (!SCL::isPwdOk()) return false;
    // Asked after the password box: it may have stood open past midnight.
    const double now = SCL::wallClock();
    return pause(nextLocalTime(now, kTomorrowHour, 0) - now);
}

void AppDelegate::resumeBtn() {
    if (SCL::mainWindow) SCL::mainWindow->resume();
}

}  // namespace tamsel
