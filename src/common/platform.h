#pragma once

// The platform layer: every service the controllers use, one small interface
// each, in the controllers' own terms. Units, once for all:
//   time      wall-clock seconds (double); intervals in seconds
//   frames    points, origin at the bottom left of the primary screen, y up
//   colours   red, green, blue, alpha from 0 to 1
// Two implementations exist: the Qt one (src/platform/qt) and the simulated
// one the tests drive (tests/sim).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace tamsel {

struct Rect {
    double x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

struct Color {
    double red = 0, green = 0, blue = 0, alpha = 0;
    bool operator==(const Color&) const = default;
};

// ---- clock and timers -------------------------------------------------------

class Clock {
public:
    virtual ~Clock() = default;
    // Wall-clock seconds since 1970: what a person reads (a pause until
    // 15:30, the day of an event). Setting the system clock moves it.
    virtual double now() = 0;
    // Seconds since an arbitrary start on a clock that counts a sleeping
    // machine and a blocked thread but is never set back or forward: every
    // interval the engine measures.
    virtual double uptime() = 0;
};

// A date and time on the user's local clock.
struct LocalDateTime {
    int year = 1970, month = 1, day = 1;  // month 1-12, day 1-31
    int hour = 0, minute = 0, second = 0;
    bool operator==(const LocalDateTime&) const = default;
};

// The user's time zone, daylight-saving time included.
class LocalTime {
public:
    virtual ~LocalTime() = default;
    virtual LocalDateTime toLocal(double wallSeconds) = 0;
    // The wall-clock second of a local date and time; a day past the end of
    // its month rolls over into the next month. For a time that a clock
    // change skips or repeats, a moment next to it.
    virtual double fromLocal(const LocalDateTime& local) = 0;
};

class Timer {
public:
    virtual ~Timer() = default;
    // After this the callback never runs again, not even a held-back firing.
    virtual void invalidate() = 0;
    virtual bool isValid() const = 0;
};
using TimerRef = std::shared_ptr<Timer>;

// Timers fire on the main loop, one callback at a time. A repeating timer
// that comes due late fires once and goes on from then. No timer fires while
// a modal dialog or window runs; one that came due meanwhile fires once right
// after the last modal run ends.
class Timers {
public:
    virtual ~Timers() = default;
    virtual TimerRef schedule(double interval, bool repeats, std::function<void()> fire) = 0;
};

// ---- input idleness ---------------------------------------------------------

// Numbered as the desktop event taps number them.
enum class InputEvent : int {
    KeyUp = 11,
    LeftMouseDown = 1,
    RightMouseUp = 4,
    MouseMoved = 5,
    ScrollWheel = 22,
};

class IdleSource {
public:
    virtual ~IdleSource() = default;
    // Seconds since the last event of this type from any input device.
    virtual double secondsSinceLastEvent(InputEvent type) = 0;
};

// ---- settings ---------------------------------------------------------------

// Per-user, persistent. Absent or unreadable numbers read 0; every write is
// on disk when the call returns.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual long long integerForKey(std::string_view key) = 0;
    virtual void setInteger(std::string_view key, long long value) = 0;
    virtual double doubleForKey(std::string_view key) = 0;
    virtual void setDouble(std::string_view key, double value) = 0;
    // Empty when the key is absent.
    virtual std::optional<std::string> stringForKey(std::string_view key) = 0;
    virtual void setString(std::string_view key, const std::string& value) = 0;
};

// ---- screens ----------------------------------------------------------------

class Screens {
public:
    virtual ~Screens() = default;
    // Every screen's whole frame; the main screen comes first.
    virtual std::vector<Rect> screens() = 0;
    virtual std::optional<Rect> mainScreen() = 0;
    // The part of a screen (one of the frames above) that the desktop's
    // panels and docks leave free; the whole frame where there are none.
    virtual Rect workArea(const Rect& screen) { return screen; }
    // Called on the main loop after every change of the screen configuration
    // or of a work area.
    virtual void observeChanges(std::function<void()> changed) = 0;
};

// ---- windows and controls ---------------------------------------------------

enum class WindowLevel { Normal, Floating, Maximum };

namespace StyleMask {
inline constexpr unsigned Borderless = 0;
inline constexpr unsigned Titled = 1;
inline constexpr unsigned Closable = 2;
inline constexpr unsigned FullScreen = 0x4000;
}  // namespace StyleMask

struct MouseEvent {
    int clickCount = 1;
    int buttonNumber = 0;  // 0 is the primary button
};

// One bar of a bar chart: its height in any unit (the chart scales the
// tallest to its own height), its caption, and two counts marked on it.
struct ChartBar {
    std::string label;
    double value = 0;
    int taken = 0;
    int missed = 0;
    bool operator==(const ChartBar&) const = default;
};

// One outlet of a window: a label, button, check box, radio button, stepper,
// pop-up, secure field, progress indicator or bar chart. Each kind uses the properties
// that make sense for it; the rest are kept but not shown.
class Control {
public:
    virtual ~Control() = default;
    // Label text, button title or field contents.
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
    virtual Color textColor() const = 0;
    virtual void setTextColor(const Color& color) = 0;
    virtual bool isHidden() const = 0;
    virtual void setHidden(bool hidden) = 0;
    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    // Steppers, progress indicators and numeric labels. A stepper keeps its
    // value inside its own range.
    virtual double doubleValue() const = 0;
    virtual void setDoubleValue(double value) = 0;
    long long integerValue() const { return static_cast<long long>(doubleValue()); }
    void setIntegerValue(long long value) { setDoubleValue(static_cast<double>(value)); }
    // Check boxes and radio buttons: 1 on, 0 off.
    virtual int state() const = 0;
    virtual void setState(int state) = 0;
    // Pop-up buttons.
    virtual std::vector<std::string> items() const = 0;
    virtual void setItems(const std::vector<std::string>& titles) = 0;
    virtual int selectedIndex() const = 0;
    virtual void selectItem(int index) = 0;
    // Bar charts, left to right.
    virtual std::vector<ChartBar> bars() const = 0;
    virtual void setBars(const std::vector<ChartBar>& bars) = 0;
};

class Window {
public:
    virtual ~Window() = default;
    // The named outlet; every outlet its window's definition lists exists.
    virtual Control& outlet(std::string_view name) = 0;
    // The user worked a control: the action's name, e.g. "closeButton:", and
    // the outlet name of the control that sent it.
    using ActionHandler = std::function<void(std::string_view action, std::string_view sender)>;
    virtual void setActionHandler(ActionHandler handler) = 0;
    // A mouse button released over the window's background.
    virtual void setMouseUpHandler(std::function<void(const MouseEvent&)> handler) = 0;

    virtual std::string title() const = 0;
    virtual void setTitle(const std::string& title) = 0;
    virtual Rect frame() const = 0;
    virtual void setFrame(const Rect& frame, bool display) = 0;
    virtual void setLevel(WindowLevel level) = 0;
    virtual void setOpaque(bool opaque) = 0;
    virtual Color backgroundColor() const = 0;
    virtual void setBackgroundColor(const Color& color) = 0;
    virtual void setIgnoresMouseEvents(bool ignores) = 0;
    virtual unsigned styleMask() const = 0;
    virtual void setStyleMask(unsigned mask) = 0;
    // Shows the window without taking the keyboard focus.
    virtual void orderFront() = 0;
    virtual void makeKeyAndOrderFront() = 0;
    // Closes the window for good; later calls on a closed window do nothing.
    virtual void close() = 0;
    virtual bool isVisible() const = 0;
};

class WindowFactory {
public:
    virtual ~WindowFactory() = default;
    // Builds the window an interface name stands for ("MainWindow",
    // "LockScreen", "PrefWindow", "AccessWindow"), with all its outlets.
    virtual std::unique_ptr<Window> loadWindow(std::string_view nibName) = 0;
};

// ---- application, status item, dialogs ----------------------------------------

class Application {
public:
    virtual ~Application() = default;
    virtual void activateIgnoringOtherApps() = 0;
    // Runs the window modally; returns once stopModal() has been called.
    virtual void runModal(Window& window) = 0;
    virtual void stopModal() = 0;
    // Ends the process at once with this status; runs no handler.
    [[noreturn]] virtual void exit(int status) = 0;
};

// One entry of the status menu. Both texts empty: a separator; items under
// it: a submenu whose own action is empty.
struct MenuItem {
    MenuItem() = default;  // a separator
    MenuItem(std::string title, std::string action, bool enabled = true)
        : title(std::move(title)), action(std::move(action)), enabled(enabled) {}
    MenuItem(std::string title, std::vector<MenuItem> submenu)
        : title(std::move(title)), submenu(std::move(submenu)) {}

    std::string title;
    std::string action;  // e.g. "prefMenuBtn:"
    bool enabled = true;
    std::vector<MenuItem> submenu;

    bool isSeparator() const { return title.empty() && action.empty(); }
    bool operator==(const MenuItem&) const = default;
};

class StatusItem {
public:
    virtual ~StatusItem() = default;
    // Returns false when no image of that name exists.
    virtual bool setImage(std::string_view imageName) = 0;
    // Replaces the whole menu; where the desktop has no tray the same
    // commands are offered as buttons.
    virtual void setMenu(const std::vector<MenuItem>& items,
                         std::function<void(std::string_view action)> chosen) = 0;
    // The text shown when the pointer rests on the item.
    virtual void setToolTip(const std::string& text) = 0;
};

class StatusBar {
public:
    virtual ~StatusBar() = default;
    virtual std::unique_ptr<StatusItem> statusItem() = 0;
};

inline constexpr int kAlertFirstButtonReturn = 1000;

struct AlertRequest {
    std::string messageText;           // the bold heading
    std::string informativeText;       // the text below it
    std::vector<std::string> buttons;  // none: one "OK" button
    bool secureField = false;          // a masked 200 x 24 field as accessory
};

struct AlertResponse {
    int button = kAlertFirstButtonReturn;  // 1000 for the first button, 1001 the second
    std::string fieldText;
};

struct SaveResult {
    bool saved = false;
    std::string error;  // why not, in plain words; empty when the user cancelled
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Modal: returns when the user has answered.
    virtual AlertResponse runAlert(const AlertRequest& request) = 0;
    // Modal: asks where to save, offering this file name, and writes the
    // bytes there, readable by the owner only and never through a link.
    virtual SaveResult saveFile(const std::string& suggestedName, const std::string& contents) = 0;
};

// ---- workspace, network, random, console ------------------------------------

class Workspace {
public:
    virtual ~Workspace() = default;
    // Hands the file or address to the user's default application. False
    // when there is none for it (or the file is missing): nothing opens then.
    virtual bool openFile(const std::string& path) = 0;
    virtual bool openURL(const std::string& url) = 0;
    // Where the installed manual lives.
    virtual std::string manualPath() = 0;
    // Opens the desktop's settings for starting programs at login, where the
    // platform has such a place.
    virtual void openLoginItemsSettings() = 0;
    virtual std::string shortVersionString() = 0;
};

struct FetchResult {
    bool ok = false;
    std::string body;   // the reply's text when ok
    std::string error;  // a readable description when not
};

class Network {
public:
    virtual ~Network() = default;
    // Blocks the main loop until the text has arrived, failed, or the
    // time-out has passed.
    virtual FetchResult fetchText(const std::string& url, double timeoutSeconds) = 0;
    // Returns at once; done runs later on the main loop.
    virtual void get(const std::string& url, std::function<void(const FetchResult&)> done) = 0;
};

class Random {
public:
    virtual ~Random() = default;
    // Uniform in 0 .. bound - 1.
    virtual std::uint32_t uniform(std::uint32_t bound) = 0;
};

class Console {
public:
    virtual ~Console() = default;
    virtual void printLine(const std::string& line) = 0;
};

// ---- heads-up, sounds, start at login ------------------------------------------

// Desktop notifications. Returns at once; without a notification service
// nothing is shown and nothing fails.
class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void notify(const std::string& summary, const std::string& body) = 0;
};

// The desktop's sound theme, by freedesktop sound name ("bell", "complete").
// Returns at once; without a sound system nothing plays and nothing fails.
class Sounds {
public:
    virtual ~Sounds() = default;
    virtual void play(const std::string& soundName) = 0;
};

// Whether the desktop starts this program when the user logs in.
class LoginItems {
public:
    virtual ~LoginItems() = default;
    virtual bool isEnabled() = 0;
    // False when the desktop's setting could not be changed; it says why.
    virtual bool setEnabled(bool enabled) = 0;
};

// ---- requests from outside: a second launch, scripts on the session bus -------

enum class Request { ShowPreferences, BreakNow, Pause, Resume, Skip, ChooseMenuItem };

struct RemoteRequest {
    Request request = Request::BreakNow;
    std::uint32_t seconds = 0;  // Pause
    std::string action{};       // ChooseMenuItem: the item's action, e.g. "skipBtn:"
};

// A value scripts can read; its type is the value's. A colour goes out as
// four doubles, a menu as its items with their submenus.
struct RemoteProperty {
    std::string name;
    std::variant<std::string, std::int32_t, std::int64_t, Color, std::vector<MenuItem>,
                 std::uint32_t>
        value;
    bool operator==(const RemoteProperty&) const = default;
};

class Remote {
public:
    virtual ~Remote() = default;
    // Called with an empty text when the request was carried out, else with
    // the reason it was refused; may be called after the handler returned.
    using Answer = std::function<void(const std::string& refusal)>;
    // Requests reach the handler on the main loop and never while a modal
    // run is open: they wait for it to end.
    using Handler = std::function<void(const RemoteRequest& request, Answer answer)>;
    virtual void serve(Handler handler) = 0;
    // The readable values as they stand now; watchers hear of the ones
    // that changed since the last call.
    virtual void publish(const std::vector<RemoteProperty>& properties) = 0;
};

// ---- the setup check ------------------------------------------------------------

// A window that tells what of this desktop works for Tamsel and what to
// install or enable where something does not.
class SetupCheck {
public:
    virtual ~SetupCheck() = default;
    virtual void show() = 0;
};

// ---- the user's language ----------------------------------------------------

// The controllers' English texts in the user's language (common/translate.h).
class Translator {
public:
    virtual ~Translator() = default;
    // The source text itself where there is no translation.
    virtual std::string translate(const char* context, const char* source) = 0;
};

// ---- what a due break waits for ------------------------------------------------

enum class Busy { No, Yes, Unknown };

// One sign from the desktop that now is a bad moment for a break: the camera
// in use, the microphone in use, a full-screen program, do-not-disturb. Each
// is its own source; Unknown (it cannot tell here, or it is not watching)
// holds nothing back.
class BusySource {
public:
    virtual ~BusySource() = default;
    // Starts or stops watching. A source that is not watching holds nothing
    // open, says nothing and answers Unknown.
    virtual void watch(bool on) = 0;
    // As things stand; never waits. Asked on every activity tick.
    virtual Busy busy() = 0;
    // Called on the main loop, never during a modal run, when the answer may
    // have changed; replaces the previous observer.
    virtual void observe(std::function<void()> changed) = 0;
};

// ---- the history ----------------------------------------------------------------

// Days are local calendar dates ("2026-03-10"), times local clock times
// ("09:22:30"), as the user's clock read them then.
struct HistoryDay {
    std::string day;
    std::int64_t activeSeconds = 0;
    bool operator==(const HistoryDay&) const = default;
};

struct HistoryEvent {
    double at = 0;  // wall-clock second
    std::string day;
    std::string time;
    std::string kind;          // e.g. "break_completed"
    std::int64_t seconds = 0;  // a pause's length; 0 for the rest
    bool operator==(const HistoryEvent&) const = default;
};

// What Tamsel keeps of past days, on this computer only. Ranges hold both
// ends; days come back in date order, events in the order they were kept.
// A store that cannot write says so itself, once, and never holds anything
// up or stops the reminders.
class History {
public:
    virtual ~History() = default;
    virtual void addActiveSeconds(const std::string& day, std::int64_t seconds) = 0;
    virtual void append(const HistoryEvent& event) = 0;
    virtual std::vector<HistoryDay> days(const std::string& from, const std::string& to) = 0;
    virtual std::vector<HistoryEvent> events(const std::string& from, const std::string& to) = 0;
    // Drops the days and events before this day.
    virtual void forgetBefore(const std::string& day) = 0;
};

// ---- the aggregate ----------------------------------------------------------

struct Platform {
    Clock* clock = nullptr;
    Timers* timers = nullptr;
    IdleSource* idle = nullptr;
    SettingsStore* settings = nullptr;
    Screens* screens = nullptr;
    WindowFactory* windows = nullptr;
    Application* app = nullptr;
    StatusBar* statusBar = nullptr;
    Dialogs* dialogs = nullptr;
    Workspace* workspace = nullptr;
    Network* network = nullptr;
    Random* random = nullptr;
    Console* console = nullptr;
    LocalTime* localTime = nullptr;
    Notifier* notifier = nullptr;
    Sounds* sounds = nullptr;
    LoginItems* loginItems = nullptr;
    Remote* remote = nullptr;
    SetupCheck* setupCheck = nullptr;
    // Null where the platform has no such source.
    BusySource* camera = nullptr;
    BusySource* microphone = nullptr;
    BusySource* fullScreen = nullptr;
    BusySource* doNotDisturb = nullptr;
    History* history = nullptr;
    Translator* translator = nullptr;  // none: the English texts
};

}  // namespace tamsel
