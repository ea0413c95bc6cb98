// The preferences window: a plain form over the outlets the controller
// fills; every change the user makes is reported as the window's action.

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <vector>

#include "platform/qt/text.h"
#include "platform/qt/views/accessible.h"
#include "platform/qt/views/artwork.h"
#include "platform/qt/views/message_layout.h"
#include "platform/qt/views/stepper.h"
#include "platform/qt/views/views.h"

namespace tamsel::qt {

namespace {

class PrefsView : public ViewWidget {
public:
    QPushButton* save = nullptr;
    QPushButton* close = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        // A plain window has no default button of its own: Return saves,
        // Escape closes without saving, wherever the focus is.
        const bool plain =
            (event->modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier)) == Qt::NoModifier;
        if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && save) {
            // A button reached with Tab is the one Return presses.
            auto* focused = qobject_cast<QPushButton*>(focusWidget());
            (focused && focused->isEnabled() ? focused : save)->click();
            return;
        }
        if (plain && event->key() == Qt::Key_Escape && close) {
            close->click();
            return;
        }
        ViewWidget::keyPressEvent(event);
    }
};

// Registers outlets with the window and reports actions through the view,
// which drops them once its window has let go of it.
struct Form {
    PrefsView* view;
    QtWindow* window;

    void outlet(QWidget* widget, const char* name, nib::Kind kind) const {
        widget->setObjectName(QString::fromLatin1(name));
        window->addOutlet(name, widget, kind);
    }
    void reports(QAbstractButton* button, const char* action, const char* sender) const {
        QObject::connect(button, &QAbstractButton::clicked, view,
                         [v = view, action, sender] { v->emitAction(action, sender); });
    }
};

// A section's rows, indented under its heading.
QGridLayout* section() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setColumnMinimumWidth(0, 16);
    return grid;
}

const nib::Outlet& definitionOf(std::string_view name) {
    for (const auto& o : nib::kPrefWindowOutlets)
        if (o.name == name) return o;
    return nib::kPrefWindowOutlets[0];
}

QGridLayout* workAndBreaks(const Form& form) {
    auto* grid = section();
    auto addDuration = [&](int row, const QString& caption, const char* labelName,
                           const char* stepperName, const char* action,
                           const QString& accessibleName, const QString& description) {
        const nib::Outlet& definition = definitionOf(stepperName);
        auto* number = new QLabel;
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        number->setMinimumWidth(number->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
        auto* stepper = new Stepper(definition.min, definition.max);
        describe(stepper, accessibleName, description);
        // The number sits in the label beside it; a screen reader reads it here.
        auto minutes = [stepper](int value) {
            stepper->setProperty(
                "valueText", value == 1 ? A11y::tr("1 minute") : A11y::tr("%1 minutes").arg(value));
        };
        minutes(stepper->value());
        QObject::connect(stepper, &Stepper::valueChanged, stepper, minutes);
        auto* name = new QLabel(caption);
        name->setBuddy(stepper);
        QObject::connect(
            stepper, &Stepper::stepped, form.view,
            [v = form.view, action, stepperName] { v->emitAction(action, stepperName); });
        grid->addWidget(name, row, 1);
        grid->addWidget(number, row, 2);
        grid->addWidget(new QLabel(QCoreApplication::translate("Tamsel", "minutes")), row, 3);
        grid->addWidget(stepper, row, 4);
        form.outlet(number, labelName, nib::Kind::Label);
        form.outlet(stepper, stepperName, nib::Kind::Stepper);
    };
    addDuration(0, translated(QT_TRANSLATE_NOOP("Tamsel", "&Work period:")), "lblWorkDuration",
                "stpWorkDurationE", "stpWorkDuration:", A11y::tr("Work period"),
                A11y::tr("Minutes of work before each break. The arrow keys change it by one "
                         "minute, Page Up and Page Down by ten."));
    addDuration(1, translated(QT_TRANSLATE_NOOP("Tamsel", "&Break length:")), "lblBreakDuration",
                "stpBreakDurationEle", "stpBreakDuration:", A11y::tr("Break length"),
                A11y::tr("Minutes each break lasts. The arrow keys change it by one minute, "
                         "Page Up and Page Down by ten."));
    grid->setColumnStretch(5, 1);

    auto* snooze = new QCheckBox(
        QCoreApplication::translate("Tamsel", "Allow s&noozing a break for a minute"));
    auto* hide = new QCheckBox(
        QCoreApplication::translate("Tamsel", "Start breaks see-&through (double-click to dim)"));
    form.outlet(snooze, "lblSnooze", nib::Kind::CheckBox);
    form.outlet(hide, "lblHide", nib::Kind::CheckBox);
    snooze->setAccessibleDescription(
        A11y::tr("The break window offers a Snooze button that puts the break off for a minute."));
    hide->setAccessibleDescription(
        A11y::tr("Breaks begin with the screen still visible; a double click on it dims it."));
    grid->addWidget(snooze, 2, 1, 1, 5);
    grid->addWidget(hide, 3, 1, 1, 5);
    return grid;
}

QGridLayout* progressBar(const Form& form) {
    auto* grid = section();
    auto* corners = new QComboBox;
    form.outlet(corners, "dropdownOsdLocation", nib::Kind::PopUp);
    describe(corners, A11y::tr("Progress bar position"),
             A11y::tr("Where on the screen the row of squares that shows your work progress "
                      "sits."));
    auto* cornerLabel = new QLabel(QCoreApplication::translate("Tamsel", "&Position:"));
    cornerLabel->setBuddy(corners);
    grid->addWidget(cornerLabel, 0, 1);
    grid->addWidget(corners, 0, 2);
    grid->setColumnStretch(3, 1);
    auto* always = new QRadioButton(QCoreApplication::translate("Tamsel", "Show it &always"));
    auto* whenHigh = new QRadioButton(
        QCoreApplication::translate("Tamsel", "Show it &only when a break is near"));
    // The controller keeps exactly one of the pair on; Qt must not group them.
    for (QRadioButton* radio : {always, whenHigh}) {
        radio->setAutoExclusive(false);
        const char* name = radio == always ? "radAlways" : "radWhenHigh";
        form.outlet(radio, name, nib::Kind::Radio);
        form.reports(radio, "radGroupClicked:", name);
    }
    always->setAccessibleDescription(A11y::tr("The progress bar stays on the screen."));
    whenHigh->setAccessibleDescription(
        A11y::tr("The progress bar shows only as the work period nears its end."));
    grid->addWidget(always, 1, 1, 1, 3);
    grid->addWidget(whenHigh, 2, 1, 1, 3);
    return grid;
}

QGridLayout* childLock(const Form& form) {
    auto* grid = section();
    auto addPassword = [&](int row, const QString& caption, const char* name,
                           const QString& accessibleName, const QString& description) {
        auto* field = new QLineEdit;
        field->setEchoMode(QLineEdit::Password);
        field->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData |
                                   Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase);
        field->setMinimumWidth(200);
        form.outlet(field, name, nib::Kind::SecureField);
        describe(field, accessibleName, description);
        auto* label = new QLabel(caption);
        label->setBuddy(field);
        grid->addWidget(label, row, 1);
        grid->addWidget(field, row, 2);
    };
    addPassword(0, translated(QT_TRANSLATE_NOOP("Tamsel", "Passwor&d:")), "txtNewPwd",
                A11y::tr("Child lock password"),
                A11y::tr("Asked at start and before Preferences, Pause, Skip and Quit. Leave "
                         "both fields empty for no child lock."));
    addPassword(1, translated(QT_TRANSLATE_NOOP("Tamsel", "&Confirm:")), "txtConfirmPwd",
                A11y::tr("Confirm child lock password"), A11y::tr("The same password again."));
    auto* note =
        new QLabel(QCoreApplication::translate("Tamsel",
                                               "Asked at start and before Preferences, Pause, Skip "
                                               "and Quit.\nLeave both fields empty for no child "
                                               "lock."));
    note->setForegroundRole(QPalette::PlaceholderText);
    grid->addWidget(note, 2, 2);
    grid->setColumnStretch(3, 1);
    return grid;
}

// A column of check boxes, each an outlet of its own.
struct CheckBoxRow {
    const char* caption;
    const char* name;
    QString description;
};

QGridLayout* checkBoxes(const Form& form, std::initializer_list<CheckBoxRow> rows) {
    auto* grid = section();
    for (const CheckBoxRow& row : rows) {
        auto* check = new QCheckBox(translated(row.caption));
        form.outlet(check, row.name, nib::Kind::CheckBox);
        check->setAccessibleDescription(row.description);
        grid->addWidget(check, grid->rowCount(), 1);
    }
    return grid;
}

QGridLayout* aroundABreak(const Form& form) {
    return checkBoxes(
        form, {{QT_TRANSLATE_NOOP("Tamsel", "Tell me a &minute before a break"), "lblHeadsUp",
                A11y::tr("A notification comes about a minute before each break.")},
               {QT_TRANSLATE_NOOP("Tamsel", "Play a so&und when a break starts and ends"),
                "lblSound", A11y::tr("A sound plays as each break starts and as it ends.")},
               {QT_TRANSLATE_NOOP("Tamsel", "Cover &every screen during a break"), "lblAllScreens",
                A11y::tr("Breaks dim every screen, not only the main one.")}});
}

QGridLayout* waits(const Form& form) {
    return checkBoxes(
        form,
        {{QT_TRANSLATE_NOOP("Tamsel", "Wait wh&ile I'm on a call (camera or microphone in use)"),
          "lblWaitCall",
          A11y::tr("A break that falls due while the camera or the microphone is in use waits "
                   "until the call ends.")},
         {QT_TRANSLATE_NOOP("Tamsel", "Wait while a program is &full screen"), "lblWaitFullScreen",
          A11y::tr("A break that falls due while a program fills the screen waits until it "
                   "leaves full screen.")},
         {QT_TRANSLATE_NOOP("Tamsel", "Wait while do-not-distu&rb is on"), "lblWaitDnd",
          A11y::tr("A break that falls due while the desktop's do-not-disturb is on waits until "
                   "it is off.")}});
}

QGridLayout* starting(const Form& form) {
    auto* grid = section();
    auto* atLogin =
        new QCheckBox(QCoreApplication::translate("Tamsel", "Start Tamsel when I &log in"));
    form.outlet(atLogin, "lblStartAtLogin", nib::Kind::CheckBox);
    atLogin->setAccessibleDescription(A11y::tr("Tamsel starts by itself when you log in."));
    grid->addWidget(atLogin, 0, 1);
    return grid;
}

QHBoxLayout* buttons(const Form& form) {
    auto* help = new QPushButton(QCoreApplication::translate("Tamsel", "&Help"));
    form.reports(help, "btnHelp:", "btnHelp");
    auto* site = new QPushButton(QCoreApplication::translate("Tamsel", "Tamsel web site"));
    site->setFlat(true);
    site->setCursor(Qt::PointingHandCursor);
    site->setToolTip(
        QCoreApplication::translate("Tamsel", "Opens the Tamsel web site in your browser"));
    QFont font = site->font();
    font.setUnderline(true);
    site->setFont(font);
    QPalette palette = site->palette();
    palette.setColor(QPalette::ButtonText, palette.color(QPalette::Link));
    site->setPalette(palette);
    form.outlet(site, "btnCopyright", nib::Kind::Button);
    form.reports(site, "copyrightClicked:", "btnCopyright");
    auto* close = new QPushButton(QCoreApplication::translate("Tamsel", "Close"));
    auto* save = new QPushButton(QCoreApplication::translate("Tamsel", "&Save"));
    save->setDefault(true);
    form.reports(close, "btnCloseClicked:", "btnClose");
    form.reports(save, "btnSaveClicked:", "btnSave");
    form.view->save = save;
    form.view->close = close;
    help->setObjectName(QStringLiteral("btnHelp"));
    close->setObjectName(QStringLiteral("btnClose"));
    save->setObjectName(QStringLiteral("btnSave"));
    help->setAccessibleDescription(A11y::tr("Opens the Tamsel manual."));
    site->setAccessibleDescription(A11y::tr("Opens the Tamsel web site in your browser."));
    close->setAccessibleDescription(A11y::tr("Closes the window without saving the changes."));
    save->setAccessibleDescription(A11y::tr("Saves the settings and closes the window."));

    auto* row = new QHBoxLayout;
    row->addWidget(help);
    row->addWidget(site);
    row->addStretch(1);
    row->addWidget(close);
    row->addWidget(save);
    return row;
}

}  // namespace

std::unique_ptr<QtWindow> makePreferencesView() {
    auto* view = new PrefsView;
    view->setWindowTitle(translated(nib::kPrefWindowTitle));
    view->setWindowIcon(tamselIcon());
    view->setBackground(view->palette().color(QPalette::Window));
    auto window = std::make_unique<QtWindow>(view);
    const Form form{view, window.get()};

    auto column = [](std::initializer_list<std::pair<QString, QLayout*>> sections) {
        auto* layout = new QVBoxLayout;
        layout->setSpacing(6);
        for (const auto& [title, rows] : sections) {
            if (layout->count() > 0) layout->addSpacing(12);
            layout->addWidget(heading(title));
            layout->addLayout(rows);
        }
        layout->addStretch(1);
        return layout;
    };
    // Two columns: the breaks and the bar on the left, the rest beside them.
    auto* columns = new QHBoxLayout;
    columns->setSpacing(28);
    columns->addLayout(
        column({{QCoreApplication::translate("Tamsel", "Work and breaks"), workAndBreaks(form)},
                {QCoreApplication::translate("Tamsel", "Progress bar"), progressBar(form)},
                {QCoreApplication::translate("Tamsel", "A due break waits"), waits(form)}}));
    columns->addLayout(
        column({{QCoreApplication::translate("Tamsel", "Around a break"), aroundABreak(form)},
                {QCoreApplication::translate("Tamsel", "Starting"), starting(form)},
                {QCoreApplication::translate("Tamsel", "Child lock"), childLock(form)}}));

    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->setSpacing(6);
    layout->addLayout(columns);
    layout->addSpacing(16);
    layout->addLayout(buttons(form));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Tab follows the reading order: down the left column, down the right
    // one, then the buttons from left to right.
    std::vector<QWidget*> order;
    for (const char* name : {"stpWorkDurationE",
                             "stpBreakDurationEle",
                             "lblSnooze",
                             "lblHide",
                             "dropdownOsdLocation",
                             "radAlways",
                             "radWhenHigh",
                             "lblWaitCall",
                             "lblWaitFullScreen",
                             "lblWaitDnd",
                             "lblHeadsUp",
                             "lblSound",
                             "lblAllScreens",
                             "lblStartAtLogin",
                             "txtNewPwd",
                             "txtConfirmPwd",
                             "btnHelp",
                             "btnCopyright",
                             "btnClose",
                             "btnSave"})
        order.push_back(view->findChild<QWidget*>(QString::fromLatin1(name)));
    chainTabOrder(order);
    centreOnPrimaryScreen(view);
    return window;
}

}  // namespace tamsel::qt
