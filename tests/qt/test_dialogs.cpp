// The Qt alerts and input box, answered the way a user would answer them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "platform/qt/modal_gate.h"
#include "platform/qt/views/qt_dialogs.h"
#include "platform/qt/qt_timers.h"

namespace tamsel::qt {
namespace {

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

void press(QWidget* target, int key, const QString& text = {}) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &down);
    QApplication::sendEvent(target, &up);
}

void type(QWidget* target, const QString& text) {
    for (QChar c : text) press(target, 0, QString(c));
}

// Buttons from left to right, as they sit in the dialog.
std::vector<QPushButton*> buttonsLeftToRight(QDialog& dialog) {
    auto list = dialog.findChildren<QPushButton*>();
    std::vector<QPushButton*> buttons(list.begin(), list.end());
    std::sort(buttons.begin(), buttons.end(),
              [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
    return buttons;
}

AlertRequest inputBox() {
    AlertRequest box;
    box.messageText = "Child lock enabled";
    box.informativeText = "Please enter your password";
    box.buttons = {"OK", "Cancel"};
    box.secureField = true;
    return box;
}

TEST(QtDialogs, InputBoxFieldIsMaskedSizedFocusedAndReturnConfirmsIt) {
    QtDialogs dialogs;
    bool checked = false;
    whenModal([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Tamsel");
        auto* field = dialog.findChild<QLineEdit*>();
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->echoMode(), QLineEdit::Password);
        EXPECT_EQ(field->size(), QSize(200, 24));
        EXPECT_EQ(dialog.focusWidget(), field);
        auto* heading = dialog.findChild<QLabel*>("heading");
        auto* informative = dialog.findChild<QLabel*>("informative");
        ASSERT_TRUE(heading && informative);
        EXPECT_EQ(heading->text(), "Child lock enabled");
        EXPECT_TRUE(heading->font().bold());
        EXPECT_EQ(informative->text(), "Please enter your password");
        checked = true;
        // Letters, a blank and signs that mean something elsewhere.
        type(field, " pä;=#\\ ");
        press(field, Qt::Key_Return);
    });
    AlertResponse answer = dialogs.runAlert(inputBox());
    EXPECT_TRUE(checked);
    EXPECT_EQ(answer.button, kAlertFirstButtonReturn);
    EXPECT_EQ(answer.fieldText, " pä;=#\\ ");
}

TEST(QtDialogs, CanonicallyEqualEntriesGiveTheSameText) {
    QtDialogs dialogs;
    // "é" typed as e + combining acute, as some input methods send it.
    whenModal([](QDialog& dialog) {
        auto* field = dialog.findChild<QLineEdit*>();
        ASSERT_NE(field, nullptr);
        field->setText(QStringLiteral("caf") + QChar(u'e') + QChar(0x0301));
        press(field, Qt::Key_Return);
    });
    const AlertResponse answer = dialogs.runAlert(inputBox());
    EXPECT_EQ(answer.fieldText, "caf\u00e9");
}

TEST(QtDialogs, InputBoxCancelledByEscapeCloseOrCancelGivesNoText) {
    QtDialogs dialogs;
    const std::vector<std::function<void(QDialog&)>> cancels = {
        [](QDialog& d) { press(d.findChild<QLineEdit*>(), Qt::Key_Escape); },
        [](QDialog& d) { d.close(); },
        [](QDialog& d) {
            for (QPushButton* b : d.findChildren<QPushButton*>())
                if (b->text() == "Cancel") b->click();
        },
    };
    for (size_t i = 0; i < cancels.size(); ++i) {
        whenModal([&, i](QDialog& dialog) {
            type(dialog.findChild<QLineEdit*>(), "secret");
            cancels[i](dialog);
        });
        AlertResponse answer = dialogs.runAlert(inputBox());
        EXPECT_NE(answer.button, kAlertFirstButtonReturn) << "way " << i;
        EXPECT_EQ(answer.fieldText, "") << "way " << i;
    }
}

TEST(QtDialogs, PlainAlertHasOneOkButtonAndAnyWayOutAnswersIt) {
    QtDialogs dialogs;
    AlertRequest alert;
    alert.informativeText = "Incorrect password";
    for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
        whenModal([&](QDialog& dialog) {
            auto buttons = dialog.findChildren<QPushButton*>();
            ASSERT_EQ(buttons.size(), 1);
            EXPECT_EQ(buttons[0]->text(), "OK");
            EXPECT_TRUE(buttons[0]->isDefault());
            // An empty heading takes no room.
            EXPECT_EQ(dialog.findChild<QLabel*>("heading"), nullptr);
            EXPECT_EQ(dialog.findChild<QLineEdit*>(), nullptr);
            press(&dialog, key);
        });
        EXPECT_EQ(dialogs.runAlert(alert).button, kAlertFirstButtonReturn);
    }
}

TEST(QtDialogs, TwoButtonAlertKeepsOrderDefaultAndWaitsForAChoice) {
    QtDialogs dialogs;
    AlertRequest ask;
    ask.messageText = "Tamsel update";
    ask.informativeText = "There is an update to tamsel.";
    ask.buttons = {"Yes", "No, skip this version"};

    whenModal([](QDialog& dialog) {
        auto buttons = buttonsLeftToRight(dialog);
        ASSERT_EQ(buttons.size(), 2u);
        // The first button is the default and sits rightmost.
        EXPECT_EQ(buttons[1]->text(), "Yes");
        EXPECT_TRUE(buttons[1]->isDefault());
        EXPECT_EQ(buttons[0]->text(), "No, skip this version");
        EXPECT_FALSE(buttons[0]->isDefault());
        buttons[0]->click();
    });
    EXPECT_EQ(dialogs.runAlert(ask).button, kAlertFirstButtonReturn + 1);

    // Escape and the close button mean neither "Yes" nor "No, skip": the
    // alert stays until a button is chosen. Return then chooses the first,
    // even with the focus on the other button.
    whenModal([](QDialog& dialog) {
        press(&dialog, Qt::Key_Escape);
        dialog.close();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QPushButton* other = buttonsLeftToRight(dialog)[0];
        other->setFocus();
        press(other, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.runAlert(ask).button, kAlertFirstButtonReturn);
}

TEST(QtDialogs, TimerDueWhileAlertIsOpenFiresOnceAfterItCloses) {
    QtDialogs dialogs;
    QtTimers timers;
    int fired = 0;
    TimerRef timer = timers.schedule(0.01, false, [&] { ++fired; });
    EXPECT_FALSE(ModalGate::instance().active());

    int firedWhileOpen = -1;
    whenModal([&](QDialog& dialog) {
        EXPECT_TRUE(ModalGate::instance().active());
        // Let the timer come due well inside the open alert.
        QTimer::singleShot(80, &dialog, [&, d = &dialog] {
            firedWhileOpen = fired;
            press(d, Qt::Key_Return);
        });
    });
    AlertRequest alert;
    alert.informativeText = "Cannot let you skip this break since you skipped the last one, sorry!";
    dialogs.runAlert(alert);

    EXPECT_EQ(firedWhileOpen, 0);
    EXPECT_FALSE(ModalGate::instance().active());
    QElapsedTimer wait;
    wait.start();
    while (fired == 0 && wait.elapsed() < 1000) QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(fired, 1);
}

}  // namespace
}  // namespace tamsel::qt
