// The preferences and welcome views: outlets that keep what the controllers
// put in them, user edits the controllers can read, actions with their
// senders; and the preferences controller working the real view.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QWheelEvent>
#include <limits>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/scl.h"
#include "platform/qt/views/qt_dialogs.h"
#include "platform/qt/qt_timers.h"
#include "platform/qt/views/stepper.h"
#include "platform/qt/views/views.h"
#include "prefs/pref_window.h"

namespace tamsel::qt {
namespace {

using Actions = std::vector<std::pair<std::string, std::string>>;

struct RecordedView {
    std::unique_ptr<QtWindow> window = makePreferencesView();
    Actions actions;
    RecordedView() {
        window->setActionHandler([this](std::string_view action, std::string_view sender) {
            actions.emplace_back(action, sender);
        });
    }
    template <class W>
    W* widget(const char* name) {
        return window->view()->findChild<W*>(QString::fromLatin1(name));
    }
};

void press(QWidget* target, int key, const QString& text = {}) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &down);
    QApplication::sendEvent(target, &up);
}

TEST(PreferencesView, HasEveryOutletOfItsDefinitionAndTheBaseTitle) {
    RecordedView v;
    EXPECT_EQ(v.window->title(), "Tamsel Preferences");
    for (const nib::Outlet& o : nib::kPrefWindowOutlets) {
        QWidget* w = v.widget<QWidget>(std::string(o.name).c_str());
        ASSERT_NE(w, nullptr) << o.name;
        switch (o.kind) {
            case nib::Kind::Stepper: EXPECT_NE(qobject_cast<Stepper*>(w), nullptr) << o.name; break;
            case nib::Kind::CheckBox:
                EXPECT_NE(qobject_cast<QCheckBox*>(w), nullptr) << o.name;
                break;
            case nib::Kind::Radio:
                ASSERT_NE(qobject_cast<QRadioButton*>(w), nullptr) << o.name;
                // The controller keeps one of the pair on, not Qt.
                EXPECT_FALSE(qobject_cast<QRadioButton*>(w)->autoExclusive()) << o.name;
                break;
            case nib::Kind::PopUp: EXPECT_NE(qobject_cast<QComboBox*>(w), nullptr) << o.name; break;
            case nib::Kind::SecureField:
                ASSERT_NE(qobject_cast<QLineEdit*>(w), nullptr) << o.name;
                EXPECT_EQ(qobject_cast<QLineEdit*>(w)->echoMode(), QLineEdit::Password) << o.name;
                break;
            default: break;
        }
    }
}

TEST(PreferencesView, ControlsKeepWhatTheControllerSets) {
    RecordedView v;
    Window& w = *v.window;

    // Steppers hold whole minutes inside their ranges.
    const std::vector<std::tuple<const char*, long long, long long>> steps = {
        {"stpWorkDurationE", 45, 45},
        {"stpWorkDurationE", 0, nib::kWorkMinutesMin},
        {"stpWorkDurationE", 999, nib::kWorkMinutesMax},
        {"stpBreakDurationEle", 5, 5},
        {"stpBreakDurationEle", 61, nib::kBreakMinutesMax},
        {"stpBreakDurationEle", -3, nib::kBreakMinutesMin},
        // Beyond int: the nearest end, not a wrapped value.
        {"stpBreakDurationEle", std::numeric_limits<long long>::max(), nib::kBreakMinutesMax},
        {"stpWorkDurationE", 4'294'967'297LL, nib::kWorkMinutesMax},
        {"stpWorkDurationE", std::numeric_limits<long long>::min(), nib::kWorkMinutesMin},
    };
    for (auto [name, set, expected] : steps) {
        w.outlet(name).setIntegerValue(set);
        EXPECT_EQ(w.outlet(name).integerValue(), expected) << name << " set to " << set;
    }
    // The labels show the bare number.
    w.outlet("lblWorkDuration").setIntegerValue(240);
    EXPECT_EQ(w.outlet("lblWorkDuration").integerValue(), 240);
    EXPECT_EQ(v.widget<QWidget>("lblWorkDuration")->property("text").toString(), "240");

    // Check boxes, and radios that do not switch each other off.
    for (const char* name : {"lblSnooze", "lblHide", "radAlways", "radWhenHigh"}) {
        w.outlet(name).setState(1);
        EXPECT_EQ(w.outlet(name).state(), 1) << name;
    }
    EXPECT_EQ(w.outlet("radAlways").state(), 1);
    w.outlet("radWhenHigh").setState(0);
    EXPECT_EQ(w.outlet("radWhenHigh").state(), 0);
    EXPECT_EQ(w.outlet("radAlways").state(), 1);

    // Passwords exactly as given, blanks and signs included.
    const std::string password = " Pä ss;=#@\\ ";
    w.outlet("txtNewPwd").setText(password);
    w.outlet("txtConfirmPwd").setText("");
    EXPECT_EQ(w.outlet("txtNewPwd").text(), password);
    EXPECT_EQ(w.outlet("txtConfirmPwd").text(), "");

    Control& corners = w.outlet("dropdownOsdLocation");
    const std::vector<std::string> titles = {"Top Left",    "Top Center",    "Top Right",
                                             "Bottom Left", "Bottom Center", "Bottom Right"};
    corners.setItems(titles);
    corners.selectItem(1);
    EXPECT_EQ(corners.items(), titles);
    EXPECT_EQ(corners.selectedIndex(), 1);
    EXPECT_EQ(v.widget<QComboBox>("dropdownOsdLocation")->currentText(), "Top Center");

    w.outlet("btnCopyright").setHidden(true);
    EXPECT_TRUE(v.widget<QWidget>("btnCopyright")->isHidden());
    EXPECT_TRUE(v.actions.empty()) << "setting controls from code reports no action";
}

TEST(PreferencesView, UserEditsReachTheControlsAndSteppersReportThemselves) {
    RecordedView v;
    Window& w = *v.window;
    w.outlet("stpWorkDurationE").setIntegerValue(30);
    w.outlet("stpBreakDurationEle").setIntegerValue(nib::kBreakMinutesMin);

    auto* work = v.widget<Stepper>("stpWorkDurationE");
    work->upButton()->click();
    EXPECT_EQ(w.outlet("stpWorkDurationE").integerValue(), 31);
    press(work, Qt::Key_Down);
    press(work, Qt::Key_Down);
    EXPECT_EQ(w.outlet("stpWorkDurationE").integerValue(), 29);
    press(work, Qt::Key_PageUp);
    EXPECT_EQ(w.outlet("stpWorkDurationE").integerValue(), 39);
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), {}, QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(work, &wheel);
    EXPECT_EQ(w.outlet("stpWorkDurationE").integerValue(), 40);

    // At its minimum the break stepper cannot go lower and says nothing.
    auto* brk = v.widget<Stepper>("stpBreakDurationEle");
    EXPECT_FALSE(brk->downButton()->isEnabled());
    press(brk, Qt::Key_Down);
    brk->upButton()->click();
    EXPECT_EQ(w.outlet("stpBreakDurationEle").integerValue(), nib::kBreakMinutesMin + 1);

    const Actions expected = {
        {"stpWorkDuration:", "stpWorkDurationE"}, {"stpWorkDuration:", "stpWorkDurationE"},
        {"stpWorkDuration:", "stpWorkDurationE"}, {"stpWorkDuration:", "stpWorkDurationE"},
        {"stpWorkDuration:", "stpWorkDurationE"}, {"stpBreakDuration:", "stpBreakDurationEle"},
    };
    EXPECT_EQ(v.actions, expected);

    v.widget<QCheckBox>("lblHide")->click();
    EXPECT_EQ(w.outlet("lblHide").state(), 1);
    v.widget<QComboBox>("dropdownOsdLocation")->addItems({"a", "b", "c"});
    v.widget<QComboBox>("dropdownOsdLocation")->setCurrentIndex(2);
    EXPECT_EQ(w.outlet("dropdownOsdLocation").selectedIndex(), 2);
    auto* pwd = v.widget<QLineEdit>("txtConfirmPwd");
    for (QChar c : QString("ab C")) press(pwd, 0, QString(c));
    EXPECT_EQ(w.outlet("txtConfirmPwd").text(), "ab C");
}

TEST(PreferencesView, ButtonsAndKeysReportTheirActionsWithTheirSenders) {
    RecordedView v;
    v.widget<QRadioButton>("radAlways")->click();
    v.widget<QRadioButton>("radWhenHigh")->click();
    v.widget<QPushButton>("btnCopyright")->click();
    for (QPushButton* b : v.window->view()->findChildren<QPushButton*>()) {
        const QString t = b->text();
        if (t == "&Help" || t == "Close" || t == "&Save") b->click();
    }
    // Return saves and Escape closes, from wherever the focus is.
    press(v.widget<QLineEdit>("txtNewPwd"), Qt::Key_Return);
    press(v.widget<QCheckBox>("lblSnooze"), Qt::Key_Escape);

    const Actions expected = {
        {"radGroupClicked:", "radAlways"},     {"radGroupClicked:", "radWhenHigh"},
        {"copyrightClicked:", "btnCopyright"}, {"btnHelp:", "btnHelp"},
        {"btnCloseClicked:", "btnClose"},      {"btnSaveClicked:", "btnSave"},
        {"btnSaveClicked:", "btnSave"},        {"btnCloseClicked:", "btnClose"},
    };
    EXPECT_EQ(v.actions, expected);
    EXPECT_TRUE(v.widget<QPushButton>("btnCopyright") != nullptr);
}

// ---- the controller over the real view ------------------------------------------

class MemorySettings : public SettingsStore {
public:
    std::map<std::string, std::string, std::less<>> values;
    std::vector<std::string> writes;
    long long integerForKey(std::string_view key) override {
        auto it = values.find(key);
        return it == values.end() ? 0 : std::stoll(it->second);
    }
    void setInteger(std::string_view key, long long value) override {
        set(key, std::to_string(value));
    }
    double doubleForKey(std::string_view key) override {
        return static_cast<double>(integerForKey(key));
    }
    void setDouble(std::string_view key, double value) override { set(key, std::to_string(value)); }
    std::optional<std::string> stringForKey(std::string_view key) override {
        auto it = values.find(key);
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    void setString(std::string_view key, const std::string& value) override { set(key, value); }

private:
    void set(std::string_view key, std::string value) {
        values[std::string(key)] = std::move(value);
        writes.emplace_back(key);
    }
};

class QuietWorkspace : public Workspace {
public:
    bool openFile(const std::string&) override { return true; }
    bool openURL(const std::string&) override { return true; }
    std::string manualPath() override { return "/nonexistent/Manual.pdf"; }
    void openLoginItemsSettings() override {}
    std::string shortVersionString() override { return "2.6"; }
};

class PreferencesOverQt : public ::testing::Test {
protected:
    PreferencesOverQt() {
        store.values = {{"stpWorkDuration", "30"},   {"stpBreakDuration", "2"},
                        {"lblSnooze", "1"},          {"lblHide", "0"},
                        {"radWhenHigh", "0"},        {"txtNewPwd", "lock"},
                        {"dropdownOsdLocation", "1"}};
        platform.clock = &clock;
        platform.timers = &timers;
        platform.settings = &store;
        platform.windows = &windows;
        platform.dialogs = &dialogs;
        platform.workspace = &workspace;
        SCL::reset(platform);
    }
    ~PreferencesOverQt() override { SCL::reset(platform); }

    QtWindow& window() { return static_cast<QtWindow&>(*prefs.window()); }
    template <class W>
    W* widget(const char* name) {
        return window().view()->findChild<W*>(QString::fromLatin1(name));
    }

    QtClock clock;
    QtTimers timers;
    MemorySettings store;
    QtWindowFactory windows;
    QtDialogs dialogs;
    QuietWorkspace workspace;
    Platform platform;
    PrefWindow prefs;
};

TEST_F(PreferencesOverQt, ShowsTheStoredValuesFollowsTheUserAndSavesWhatTheWidgetsShow) {
    prefs.showWindow();
    EXPECT_EQ(window().view()->windowTitle(), "Tamsel Preferences 2.6");
    EXPECT_EQ(widget<QWidget>("lblWorkDuration")->property("text").toString(), "30");
    EXPECT_EQ(widget<QComboBox>("dropdownOsdLocation")->currentText(), "Top Center");
    EXPECT_TRUE(widget<QRadioButton>("radAlways")->isChecked());
    EXPECT_FALSE(widget<QRadioButton>("radWhenHigh")->isChecked());
    EXPECT_EQ(widget<QLineEdit>("txtConfirmPwd")->text(), "lock");

    // The label follows the stepper at once; nothing is stored yet.
    widget<Stepper>("stpWorkDurationE")->upButton()->click();
    EXPECT_EQ(widget<QWidget>("lblWorkDuration")->property("text").toString(), "31");
    widget<Stepper>("stpBreakDurationEle")->downButton()->click();
    EXPECT_EQ(widget<QWidget>("lblBreakDuration")->property("text").toString(), "1");

    // Clicking the radio that is on leaves it on; the other switches over.
    widget<QRadioButton>("radAlways")->click();
    EXPECT_TRUE(widget<QRadioButton>("radAlways")->isChecked());
    widget<QRadioButton>("radWhenHigh")->click();
    EXPECT_TRUE(widget<QRadioButton>("radWhenHigh")->isChecked());
    EXPECT_FALSE(widget<QRadioButton>("radAlways")->isChecked());
    EXPECT_TRUE(store.writes.empty());

    widget<QComboBox>("dropdownOsdLocation")->setCurrentIndex(4);
    widget<QCheckBox>("lblWaitDnd")->click();
    widget<QLineEdit>("txtNewPwd")->clear();
    widget<QLineEdit>("txtConfirmPwd")->clear();
    press(widget<QLineEdit>("txtConfirmPwd"), Qt::Key_Return);

    EXPECT_EQ(store.values["stpWorkDuration"], "31");
    EXPECT_EQ(store.values["stpBreakDuration"], "1");
    EXPECT_EQ(store.values["radWhenHigh"], "1");
    EXPECT_EQ(store.values["dropdownOsdLocation"], "4");
    EXPECT_EQ(store.values["txtNewPwd"], "");
    EXPECT_EQ(store.values["lblWaitDnd"], "1");
    EXPECT_EQ(store.writes.size(), 13u);
    EXPECT_FALSE(prefs.window()->isVisible());
}

TEST_F(PreferencesOverQt, ClosingByTheTitleBarWritesNothing) {
    prefs.showWindow();
    widget<Stepper>("stpWorkDurationE")->upButton()->click();
    window().view()->close();
    EXPECT_TRUE(store.writes.empty());
}

// ---- the welcome window -------------------------------------------------------------

TEST(WelcomeView, StaysUntilDoneAndOnlyDoneEndsIt) {
    std::unique_ptr<QtWindow> window = makeWelcomeView();
    QWidget* view = window->view();
    int done = 0;
    window->setActionHandler([&](std::string_view action, std::string_view) {
        if (action == "btnDone:") ++done;
    });
    EXPECT_EQ(window->title(), "Welcome to Tamsel");
    EXPECT_EQ(view->windowModality(), Qt::ApplicationModal);
    EXPECT_TRUE(view->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(view->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    window->orderFront();

    // Neither the window manager's close nor Escape ends it.
    EXPECT_FALSE(view->close());
    press(view, Qt::Key_Escape);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(done, 0);

    auto buttons = view->findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), "Done");
    press(view, Qt::Key_Return);
    EXPECT_EQ(done, 1);
    // After Done the window may close.
    EXPECT_TRUE(view->close());
}

}  // namespace
}  // namespace tamsel::qt
