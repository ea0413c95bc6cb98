// The views: what the window system sees of the indicator and what it draws;
// the preferences' outlets that keep what the controllers put in them; a
// welcome window only Done ends. The Qt alerts and input box, answered the
// way a user would answer them.

#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/views/qt_dialogs.h"
#include "platform/qt/views/stepper.h"
#include "platform/qt/views/views.h"
#include "qt_test.h"

namespace tamsel::qt {
namespace {

using test::press;

// The image columns of the view holding a visible pixel: their runs (the
// squares drawn), their count, and whether one is at an edge (cut off).
struct Ink {
    int runs = 0, columns = 0;
    bool cutOff = false;
};

Ink inkOf(QWidget* widget) {
    const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    Ink ink;
    bool inside = false;
    for (int x = 0; x < image.width(); ++x) {
        bool column = false;
        for (int y = 0; y < image.height() && !column; ++y) column = qAlpha(image.pixel(x, y)) > 0;
        ink.runs += column && !inside;
        ink.columns += column;
        ink.cutOff |= column && (x == 0 || x == image.width() - 1);
        inside = column;
    }
    return ink;
}

TEST(IndicatorView, IsAClickThroughToolWindowWhoseSquaresAndLongestReasonFit) {
    std::unique_ptr<QtWindow> window = makeIndicatorView();
    window->setIgnoresMouseEvents(true);
    const Qt::WindowFlags flags = window->view()->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    for (Qt::WindowType flag : {Qt::FramelessWindowHint, Qt::WindowStaysOnTopHint,
                                Qt::WindowTransparentForInput, Qt::X11BypassWindowManagerHint})
        EXPECT_TRUE(flags.testFlag(flag)) << "flag " << std::hex << flag;
    const Rect before = window->frame();
    window->setFrame({10, 20, before.width + 300, before.height + 50}, true);
    EXPECT_EQ(window->frame().width, before.width) << "its size is its own";
    Control& label = window->outlet("lblProgress");
    label.setTextColor({1, 0, 0, 0.7});
    std::string squares;
    for (int i = 0; i < 11; ++i) squares += "\u25FC\uFE0E";
    label.setText(squares);
    Ink ink = inkOf(window->view());
    EXPECT_EQ(ink.runs, 11) << "eleven squares, each apart";
    EXPECT_FALSE(ink.cutOff);
    label.setText("\u25F7 do not disturb");  // the longest reason a break waits for
    ink = inkOf(window->view());
    EXPECT_FALSE(ink.cutOff);
    EXPECT_GT(ink.columns, window->view()->width() / 2) << "hardly anything drawn";
    label.setTextColor({0, 0, 0, 0});  // invisible ink leaves not even the rim
    EXPECT_EQ(inkOf(window->view()).columns, 0);
}

TEST(PreferencesView, HasEveryOutletOfItsDefinitionAndItsSteppersKeepTheirRanges) {
    std::unique_ptr<QtWindow> window = makePreferencesView();
    int actions = 0;
    window->setActionHandler([&](std::string_view, std::string_view) { ++actions; });
    QWidget* view = window->view();
    EXPECT_EQ(window->title(), "Tamsel Preferences");
    for (const nib::Outlet& o : nib::kPrefWindowOutlets)
        EXPECT_NE(view->findChild<QWidget*>(QString::fromUtf8(o.name.data(), o.name.size())),
                  nullptr)
            << o.name;
    EXPECT_FALSE(view->findChild<QRadioButton*>("radAlways")->autoExclusive())
        << "the controller's job";
    EXPECT_EQ(view->findChild<QLineEdit*>("txtNewPwd")->echoMode(), QLineEdit::Password);
    Window& w = *window;
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
    EXPECT_EQ(actions, 0) << "setting controls from code reports no action";
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

// ---- alerts and the input box ---------------------------------------------------------

// Runs `answer` on the dialog once it is the active modal widget. Should the
// answer leave it open, it is ended from outside after a while, so a broken
// dialog fails its test instead of hanging the suite.
void whenModal(std::function<void(QDialog&)> answer) {
    auto* poll = new QTimer;
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    QObject::connect(poll, &QTimer::timeout, [poll, elapsed, answer] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (elapsed->elapsed() > 3000) {
                ADD_FAILURE() << "no modal dialog appeared";
                poll->deleteLater();
            }
            return;
        }
        poll->deleteLater();
        QPointer<QDialog> open(dialog);
        answer(*dialog);
        QTimer::singleShot(3000, [open] {
            if (open && open->isVisible()) {
                ADD_FAILURE() << "the dialog did not close";
                open->done(0);
            }
        });
    });
    poll->start(5);
}

// Buttons from left to right, as they sit in the dialog.
std::vector<QPushButton*> buttonsLeftToRight(QDialog& dialog) {
    auto list = dialog.findChildren<QPushButton*>();
    std::vector<QPushButton*> buttons(list.begin(), list.end());
    std::sort(buttons.begin(), buttons.end(),
              [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
    return buttons;
}

TEST(QtDialogs, InputBoxIsMaskedAndConfirmedByReturnInOneCanonicalForm) {
    QtDialogs dialogs;
    whenModal([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Tamsel");
        auto* field = dialog.findChild<QLineEdit*>();
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->echoMode(), QLineEdit::Password);
        EXPECT_EQ(field->size(), QSize(200, 24));
        EXPECT_EQ(dialog.focusWidget(), field);
        // "é" as e + combining acute, as some input methods send it.
        field->setText(QStringLiteral(" p;=#\\ caf") + QChar(u'e') + QChar(0x0301));
        press(field, Qt::Key_Return);
    });
    AlertRequest box{"Child lock enabled", "Please enter your password", {"OK", "Cancel"}, true};
    const AlertResponse answer = dialogs.runAlert(box);
    EXPECT_EQ(answer.button, kAlertFirstButtonReturn);
    EXPECT_EQ(answer.fieldText, " p;=#\\ caf\u00e9");
}

TEST(QtDialogs, ATwoButtonAlertKeepsItsOrderAndWaitsForAChoice) {
    QtDialogs dialogs;
    AlertRequest ask;
    ask.messageText = "Tamsel update";
    ask.buttons = {"Yes", "No, skip this version"};
    // Escape and the close button mean neither answer: the alert stays.
    // Return presses the button Tab reached; from anywhere else the first.
    whenModal([](QDialog& dialog) {
        auto buttons = buttonsLeftToRight(dialog);
        ASSERT_EQ(buttons.size(), 2u);
        EXPECT_EQ(buttons[1]->text(), "Yes");
        EXPECT_TRUE(buttons[1]->isDefault());
        EXPECT_EQ(buttons[0]->text(), "No, skip this version");
        press(&dialog, Qt::Key_Escape);
        dialog.close();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        buttons[0]->setFocus();
        press(buttons[0], Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.runAlert(ask).button, kAlertFirstButtonReturn + 1);
    // A one-button alert takes Escape as its OK; an empty heading takes no room.
    AlertRequest alert;
    alert.informativeText = "Incorrect password";
    whenModal([](QDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QLabel*>("heading"), nullptr);
        press(&dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(dialogs.runAlert(alert).button, kAlertFirstButtonReturn);
}

}  // namespace
}  // namespace tamsel::qt
