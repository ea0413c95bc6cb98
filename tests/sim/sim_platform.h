#pragma once

// The simulated platform: virtual time, scripted input, screens, dialogs and
// network, recorded windows and settings, each with a control side for tests.

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/platform.h"
#include "common/version.h"
#include "engine/local_clock.h"

namespace tamsel::sim {

class SimPlatform;

// Thrown by Application::exit so a test sees where the process would end.
struct ExitCalled {
    int status;
};

// The uptime clock runs with the timers; the wall clock with it unless a
// test sets it (jumpWall).
class SimClock : public Clock {
public:
    double now() override { return uptime_ + wallOffset_; }
    double uptime() override { return uptime_; }
    void jumpWall(double seconds) { wallOffset_ += seconds; }
    double uptime_ = 1'800'000'000.0;
    double wallOffset_ = 0;
};

// A time zone as UTC offsets, each in force from a wall-clock second on:
// {{-1e18, 3600}, {t, 7200}} is UTC+1 until t, then UTC+2.
class SimLocalTime : public LocalTime {
public:
    LocalDateTime toLocal(double wall) override { return utcFromSeconds(wall + offsetAt(wall)); }
    double fromLocal(const LocalDateTime& local) override;
    double offsetAt(double wallSeconds) const;
    std::vector<std::pair<double, double>> offsets{{-1e18, 0}};
};

class SimTimers : public Timers {
public:
    explicit SimTimers(SimPlatform& sim) : sim_(sim) {}
    TimerRef schedule(double interval, bool repeats, std::function<void()> fire) override;
    // Runs every timer that comes due up to now + seconds, in time order.
    void advance(double seconds);
    // Moves the clock with no timer running (a blocked main loop, a sleep);
    // what came due fires late at the next advance.
    void block(double seconds);
    int validCount() const {
        return static_cast<int>(std::ranges::count(entries_, true, &Entry::valid));
    }
    double blockedSeconds = 0;
    std::function<void()> afterFire;  // after every callback: invariants

private:
    struct Entry : Timer {
        void invalidate() override { valid = false, fire = nullptr; }
        bool isValid() const override { return valid; }
        double due = 0, interval = 0;
        bool repeats = false, valid = true;
        std::uint64_t sequence = 0;
        std::function<void()> fire;
    };
    SimPlatform& sim_;
    std::vector<std::shared_ptr<Entry>> entries_;
    std::uint64_t sequence_ = 0;
};

class SimIdle : public IdleSource {
public:
    explicit SimIdle(SimClock& clock) : clock_(clock) {}
    double secondsSinceLastEvent(InputEvent type) override;
    void event(InputEvent type, double at) { activeBetween(at, at, type); }
    // Unbroken input (mouse moves by default) from one moment to another;
    // given in the order it begins.
    void activeBetween(double from, double to, InputEvent type = InputEvent::MouseMoved);
    void activeFor(double seconds, InputEvent type = InputEvent::MouseMoved) {
        activeBetween(clock_.uptime(), clock_.uptime() + seconds, type);
    }
    void forgetBefore(double moment);  // long runs

private:
    SimClock& clock_;
    // Each span's start and the latest end up to it: a query is a binary
    // search however long the run.
    std::map<InputEvent, std::vector<std::pair<double, double>>> spans_;
};

// Every value kept as text, as a settings file keeps it.
class SimSettings : public SettingsStore {
public:
    long long integerForKey(std::string_view key) override;
    void setInteger(std::string_view key, long long value) override {
        setString(key, std::to_string(value));
    }
    double doubleForKey(std::string_view key) override;
    void setDouble(std::string_view key, double value) override;
    std::optional<std::string> stringForKey(std::string_view key) override;
    void setString(std::string_view key, const std::string& value) override {
        values.insert_or_assign(std::string(key), value);
        writes.push_back(std::string(key) + "=" + value);
    }
    std::vector<std::string> writes;  // "key=value", in order
    std::map<std::string, std::string, std::less<>> values;
};

class SimScreens : public Screens {
public:
    std::vector<Rect> screens() override { return list; }
    std::optional<Rect> mainScreen() override {
        return list.empty() ? std::nullopt : std::optional(list.front());
    }
    void observeChanges(std::function<void()> changed) override {
        observers_.push_back(std::move(changed));
    }
    // Replaces the screens and tells every observer, as the desktop would.
    void set(std::vector<Rect> screens) {
        list = std::move(screens);
        for (auto& observer : observers_) observer();
    }
    std::vector<Rect> list{{0, 0, 1440, 900}};

private:
    std::vector<std::function<void()>> observers_;
};

class SimControl : public Control {
public:
    std::string text() const override { return text_; }
    void setText(const std::string& text) override { text_ = text; }
    Color textColor() const override { return color_; }
    void setTextColor(const Color& color) override { color_ = color; }
    bool isHidden() const override { return hidden_; }
    void setHidden(bool hidden) override { hidden_ = hidden; }
    bool isEnabled() const override { return enabled_; }
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    double doubleValue() const override { return value_; }
    void setDoubleValue(double value) override {
        value_ = value;
        text_ = std::to_string(static_cast<long long>(value));
    }
    int state() const override { return state_; }
    void setState(int state) override { state_ = state; }
    std::vector<std::string> items() const override { return items_; }
    void setItems(const std::vector<std::string>& titles) override {
        items_ = titles;
        selected_ = titles.empty() ? -1 : 0;
    }
    int selectedIndex() const override { return selected_; }
    void selectItem(int index) override { selected_ = index; }
    std::vector<ChartBar> bars() const override { return {}; }
    void setBars(const std::vector<ChartBar>&) override {}

private:
    std::string text_;
    Color color_{0, 0, 0, 1};
    bool hidden_ = false, enabled_ = true;
    double value_ = 0;
    int state_ = 0, selected_ = -1;
    std::vector<std::string> items_;
};

// What a simulated window did; it outlives the window so a test can look
// at one its controller has already dropped.
struct SimWindowState {
    std::string nibName, title;
    Rect frame;
    Color background{1, 1, 1, 1};
    unsigned styleMask = StyleMask::Titled | StyleMask::Closable;
    bool closed = false, destroyed = false;
    int keyAndFrontCount = 0;
    std::map<std::string, std::unique_ptr<SimControl>, std::less<>> outlets;
    Window::ActionHandler onAction;
    std::function<void(const MouseEvent&)> onMouseUp;

    SimControl& outlet(std::string_view name) { return *outlets.at(std::string(name)); }
    // The user works a control or clicks the background; a hidden or
    // disabled control cannot be worked: trying fails the test.
    void perform(std::string_view action, std::string_view sender = "");
    void mouseUp(int clickCount, int button = 0) {
        if (!closed && onMouseUp) onMouseUp(MouseEvent{clickCount, button});
    }
};

class SimWindows : public WindowFactory {
public:
    std::unique_ptr<Window> loadWindow(std::string_view nibName) override;
    std::vector<std::shared_ptr<SimWindowState>> all;  // every window loaded, oldest first
    // Every window of one kind; with openOnly, those not closed nor dropped.
    std::vector<std::shared_ptr<SimWindowState>> named(std::string_view nibName,
                                                       bool openOnly = false) const {
        std::vector<std::shared_ptr<SimWindowState>> found;
        for (const auto& w : all)
            if (w->nibName == nibName && !(openOnly && (w->closed || w->destroyed)))
                found.push_back(w);
        return found;
    }
    std::vector<std::shared_ptr<SimWindowState>> open(std::string_view nibName) const {
        return named(nibName, true);
    }
    std::shared_ptr<SimWindowState> last(std::string_view nibName) const {
        return named(nibName).back();
    }
    void forgetClosed() {  // long runs
        std::erase_if(all, [](const auto& w) { return w->closed || w->destroyed; });
    }
};

class SimApplication : public Application {
public:
    explicit SimApplication(SimPlatform& sim) : sim_(sim) {}
    void activateIgnoringOtherApps() override {}
    void runModal(Window& window) override;
    void stopModal() override { stopRequested_ = true; }
    [[noreturn]] void exit(int status) override { throw ExitCalled{status}; }
    // What the user does in a modal window, by its title.
    std::map<std::string, std::function<void(Window&)>, std::less<>> modalScript;
    int modalDepth = 0;

private:
    SimPlatform& sim_;
    bool stopRequested_ = false;
};

class SimStatusItem : public StatusItem {
public:
    bool setImage(std::string_view) override { return true; }
    void setMenu(const std::vector<MenuItem>& items,
                 std::function<void(std::string_view action)> handler) override {
        menu = items;
        chosen = std::move(handler);
    }
    void setToolTip(const std::string& text) override { toolTip = text; }
    std::string toolTip;
    std::vector<MenuItem> menu;
    std::function<void(std::string_view)> chosen;
};

class SimStatusBar : public StatusBar {
public:
    std::unique_ptr<StatusItem> statusItem() override {
        auto created = std::make_unique<SimStatusItem>();
        item = created.get();
        return created;
    }
    // The user picks an enabled menu item, in a submenu too, by its action.
    void choose(std::string_view action);
    SimStatusItem* item = nullptr;
};

class SimDialogs : public Dialogs {
public:
    explicit SimDialogs(SimPlatform& sim) : sim_(sim) {}
    AlertResponse runAlert(const AlertRequest& request) override;
    SaveResult saveFile(const std::string&, const std::string&) override { return {}; }

    using Answer = std::function<AlertResponse(const AlertRequest&)>;
    void answer(Answer next) { script.push_back(std::move(next)); }
    void pressButton(int button) {
        answer([button](const AlertRequest&) { return AlertResponse{button, ""}; });
    }
    void typeAndConfirm(const std::string& text) {
        answer([text](const AlertRequest&) {
            return AlertResponse{kAlertFirstButtonReturn, text};
        });
    }
    void cancel() { pressButton(kAlertFirstButtonReturn + 1); }
    Answer responder;  // answers what the script does not (long runs)
    std::vector<AlertRequest> shown;
    std::deque<Answer> script;

private:
    SimPlatform& sim_;
};

class SimWorkspace : public Workspace {
public:
    bool openFile(const std::string&) override { return opens; }
    bool openURL(const std::string&) override { return opens; }
    std::string manualPath() override { return "/opt/tamsel/share/tamsel/Manual.pdf"; }
    void openLoginItemsSettings() override {}
    std::string shortVersionString() override { return std::string(kVersion); }
    bool opens = true;  // false: the desktop has no application for it
};

class SimNetwork : public Network {
public:
    explicit SimNetwork(SimPlatform& sim) : sim_(sim) {}
    FetchResult fetchText(const std::string& url, double timeoutSeconds) override;
    void get(const std::string& url, std::function<void(const FetchResult&)>) override {
        requested.push_back(url);
    }
    // The server's answer to a blocking fetch and how long it takes; one
    // slower than the time-out fails with "timed out".
    struct Reply {
        FetchResult result;
        double seconds = 0.1;
    };
    std::function<Reply(const std::string& url)> server;
    void serve(const std::string& body, double seconds = 0.1) {
        server = [=](const std::string&) { return Reply{{true, body, ""}, seconds}; };
    }
    std::vector<std::string> requested;  // asynchronous GETs

private:
    SimPlatform& sim_;
};

// Hands out the script first; then, seeded, a real generator, unseeded
// bound / 2 + 1, which never hits the version check's draw.
class SimRandom : public Random {
public:
    std::uint32_t uniform(std::uint32_t bound) override;
    void seed(std::uint32_t value) { engine_.emplace(value); }
    std::deque<std::uint32_t> script;

private:
    std::optional<std::mt19937> engine_;
};

class SimConsole : public Console {
public:
    void printLine(const std::string&) override {}
};

class SimNotifier : public Notifier {
public:
    void notify(const std::string& summary, const std::string& body) override {
        sent.push_back(summary + ": " + body);
    }
    std::vector<std::string> sent;
};

class SimSounds : public Sounds {
public:
    void play(const std::string&) override {}
};

class SimLoginItems : public LoginItems {
public:
    bool isEnabled() override { return false; }
    bool setEnabled(bool) override { return true; }
};

class SimRemote : public Remote {
public:
    void serve(Handler h) override { handler = std::move(h); }
    void publish(const std::vector<RemoteProperty>&) override {}
    // A script's call; the refusal it got, empty when carried out.
    std::string call(Request request, std::uint32_t seconds = 0, std::string action = {});
    Handler handler;
};

class SimSetupCheck : public SetupCheck {
public:
    void show() override {}
};

// A sign of "not now" (camera, microphone, full screen, do-not-disturb).
class SimBusy : public BusySource {
public:
    void watch(bool on) override { watching_ = on; }
    Busy busy() override { return watching_ ? answer : Busy::Unknown; }
    void observe(std::function<void()> changed) override { observer_ = std::move(changed); }
    // The desktop's answer changes; a watching source tells its observer.
    void set(Busy now) {
        answer = now;
        if (watching_ && observer_) observer_();
    }
    Busy answer = Busy::No;

private:
    bool watching_ = false;
    std::function<void()> observer_;
};

class SimHistory : public History {
public:
    void addActiveSeconds(const std::string& day, std::int64_t seconds) override {
        active[day] += seconds;
    }
    void append(const HistoryEvent& event) override { kept.push_back(event); }
    std::vector<HistoryDay> days(const std::string& from, const std::string& to) override;
    std::vector<HistoryEvent> events(const std::string& from, const std::string& to) override;
    void forgetBefore(const std::string& day) override;
    std::map<std::string, std::int64_t, std::less<>> active;
    std::vector<HistoryEvent> kept;
};

class SimPlatform {
public:
    SimPlatform() = default;
    SimPlatform(const SimPlatform&) = delete;
    SimPlatform& operator=(const SimPlatform&) = delete;

    Platform platform() {
        return {&clock,      &timers,    &idle,       &settings,   &screens,      &windows,
                &app,        &statusBar, &dialogs,    &workspace,  &network,      &random,
                &console,    &localTime, &notifier,   &sounds,     &loginItems,   &remote,
                &setupCheck, &camera,    &microphone, &fullScreen, &doNotDisturb, &history};
    }
    double now() { return clock.uptime(); }  // the engine's instants
    void advance(double seconds) { timers.advance(seconds); }
    void block(double seconds) { timers.block(seconds); }

    SimClock clock;
    SimTimers timers{*this};
    SimIdle idle{clock};
    SimSettings settings;
    SimScreens screens;
    SimWindows windows;
    SimApplication app{*this};
    SimStatusBar statusBar;
    SimDialogs dialogs{*this};
    SimWorkspace workspace;
    SimNetwork network{*this};
    SimRandom random;
    SimConsole console;
    SimLocalTime localTime;
    SimNotifier notifier;
    SimSounds sounds;
    SimLoginItems loginItems;
    SimRemote remote;
    SimSetupCheck setupCheck;
    SimBusy camera, microphone, fullScreen, doNotDisturb;
    SimHistory history;
};

}  // namespace tamsel::sim
