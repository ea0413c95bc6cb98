// The preferences and welcome views: outlets that keep what the controllers
// put in them, and a welcome window only Done ends.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <limits>
#include <string>
#include <vector>

#include "platform/qt/views/stepper.h"
#include "platform/qt/views/views.h"

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

TEST(PreferencesView, HasEveryOutletOfItsDefinitionAndItsSteppersKeepTheirRanges) {
    RecordedView v;
    EXPECT_EQ(v.window->title(), "Tamsel Preferences");
    for (const nib::Outlet& o : nib::kPrefWindowOutlets)
        EXPECT_NE(v.widget<QWidget>(std::string(o.name).c_str()), nullptr) << o.name;
    EXPECT_FALSE(v.widget<QRadioButton>("radAlways")->autoExclusive()) << "the controller's job";
    EXPECT_EQ(v.widget<QLineEdit>("txtNewPwd")->echoMode(), QLineEdit::Password);
    Window& w = *v.window;
    const std::tuple<const char*, long long, long long> steps[] = {
        {"stpWorkDurationE", 45, 45},
        {"stpWorkDurationE", 0, nib::kWorkMinutesMin},
        {"stpBreakDurationEle", 61, nib::kBreakMinutesMax},
        // Beyond int: the nearest end, not a wrapped value.
        {"stpBreakDurationEle", std::numeric_limits<long long>::max(), nib::kBreakMinutesMax},
        {"stpWorkDurationE", 4'294'967'297LL, nib::kWorkMinutesMax},
        {"stpWorkDurationE", std::numeric_limits<long long>::min(), nib::kWorkMinutesMin},
    };
    for (auto [name, set, expected] : steps) {
        w.outlet(name).setIntegerValue(set);
        EXPECT_EQ(w.outlet(name).integerValue(), expected) << name << " set to " << set;
    }
    w.outlet("radAlways").setState(1);
    w.outlet("radWhenHigh").setState(1);
    EXPECT_EQ(w.outlet("radAlways").state(), 1) << "radios do not switch each other off";
    const std::string password = " P\u00e4 ss;=#@\\ ";
    w.outlet("txtNewPwd").setText(password);
    EXPECT_EQ(w.outlet("txtNewPwd").text(), password);
    EXPECT_TRUE(v.actions.empty()) << "setting controls from code reports no action";
}

TEST(WelcomeView, OnlyDoneEndsIt) {
    std::unique_ptr<QtWindow> window = makeWelcomeView();
    QWidget* view = window->view();
    int done = 0;
    window->setActionHandler(
        [&](std::string_view action, std::string_view) { done += action == "btnDone:"; });
    EXPECT_EQ(view->windowModality(), Qt::ApplicationModal);
    window->orderFront();
    EXPECT_FALSE(view->close()) << "not by the window manager's close";
    press(view, Qt::Key_Escape);
    EXPECT_EQ(done, 0);
    press(view, Qt::Key_Return);
    EXPECT_EQ(done, 1);
    EXPECT_TRUE(view->close()) << "after Done it may close";
}

}  // namespace
}  // namespace tamsel::qt
