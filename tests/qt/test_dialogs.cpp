// The Qt alerts and input box, answered the way a user would answer them.

#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/qt/views/qt_dialogs.h"
#include "qt_test.h"

namespace tamsel::qt {
namespace {

using test::press;

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
