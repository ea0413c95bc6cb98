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
            save->click();
            return;
        }
        if (plain && event->key() == Qt::Key_Escape && close) {
            close->click();
            return;
        }
        ViewWidget::keyPressEvent(event);
    }
};

QLabel* heading(const QString& text) {
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QString fromView(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

std::unique_ptr<QtWindow> makePreferencesView() {
    auto* view = new PrefsView;
    view->setWindowTitle(fromView(nib::kPrefWindowTitle));
    view->setWindowIcon(tamselIcon());
    view->setBackground(view->palette().color(QPalette::Window));
    auto window = std::make_unique<QtWindow>(view);
    QtWindow* w = window.get();

    // The view drops actions once its window has let go of it.
    auto act = [view](const char* action, const char* sender) { view->emitAction(action, sender); };
    auto outlet = [w](QWidget* widget, const char* name, nib::Kind kind) {
        widget->setObjectName(QString::fromLatin1(name));
        w->addOutlet(name, widget, kind);
    };

    // ---- work and breaks
    auto* times = new QGridLayout;
    times->setHorizontalSpacing(8);
    times->setColumnMinimumWidth(0, 16);
    auto addDuration = [&](int row, const QString& caption, const char* labelName,
                           const char* stepperName, const char* action) {
        const nib::Outlet* outletDef = nullptr;
        for (const auto& o : nib::kPrefWindowOutlets)
            if (o.name == stepperName) outletDef = &o;
        auto* number = new QLabel;
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        number->setMinimumWidth(number->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
        auto* stepper = new Stepper(outletDef->min, outletDef->max);
        stepper->setAccessibleName(caption);
        auto* name = new QLabel(caption);
        name->setBuddy(stepper);
        QObject::connect(stepper, &Stepper::stepped, view,
                         [act, action, stepperName] { act(action, stepperName); });
        times->addWidget(name, row, 1);
        times->addWidget(number, row, 2);
        times->addWidget(new QLabel(QStringLiteral("minutes")), row, 3);
        times->addWidget(stepper, row, 4);
        outlet(number, labelName, nib::Kind::Label);
        outlet(stepper, stepperName, nib::Kind::Stepper);
    };
    addDuration(0, QStringLiteral("&Work period:"), "lblWorkDuration", "stpWorkDurationE",
                "stpWorkDuration:");
    addDuration(1, QStringLiteral("&Break length:"), "lblBreakDuration", "stpBreakDurationEle",
                "stpBreakDuration:");
    times->setColumnStretch(5, 1);

    auto* snooze = new QCheckBox(QStringLiteral("Allow s&noozing a break for a minute"));
    auto* hide = new QCheckBox(QStringLiteral("Start breaks see-&through (double-click to dim)"));
    outlet(snooze, "lblSnooze", nib::Kind::CheckBox);
    outlet(hide, "lblHide", nib::Kind::CheckBox);
    times->addWidget(snooze, 2, 1, 1, 5);
    times->addWidget(hide, 3, 1, 1, 5);

    // ---- the progress bar
    auto* progress = new QGridLayout;
    progress->setHorizontalSpacing(8);
    progress->setColumnMinimumWidth(0, 16);
    auto* corners = new QComboBox;
    outlet(corners, "dropdownOsdLocation", nib::Kind::PopUp);
    auto* cornerLabel = new QLabel(QStringLiteral("&Position:"));
    cornerLabel->setBuddy(corners);
    progress->addWidget(cornerLabel, 0, 1);
    progress->addWidget(corners, 0, 2);
    progress->setColumnStretch(3, 1);
    auto* always = new QRadioButton(QStringLiteral("Show it &always"));
    auto* whenHigh = new QRadioButton(QStringLiteral("Show it &only when a break is near"));
    // The controller keeps exactly one of the pair on; Qt must not group them.
    for (QRadioButton* radio : {always, whenHigh}) {
        radio->setAutoExclusive(false);
        const char* name = radio == always ? "radAlways" : "radWhenHigh";
        outlet(radio, name, nib::Kind::Radio);
        QObject::connect(radio, &QRadioButton::clicked, view,
                         [act, name] { act("radGroupClicked:", name); });
    }
    progress->addWidget(always, 1, 1, 1, 3);
    progress->addWidget(whenHigh, 2, 1, 1, 3);

    // ---- the child lock
    auto* lock = new QGridLayout;
    lock->setHorizontalSpacing(8);
    lock->setColumnMinimumWidth(0, 16);
    auto addPassword = [&](int row, const QString& caption, const char* name) {
        auto* field = new QLineEdit;
        field->setEchoMode(QLineEdit::Password);
        field->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData |
                                   Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase);
        field->setMinimumWidth(200);
        outlet(field, name, nib::Kind::SecureField);
        auto* label = new QLabel(caption);
        label->setBuddy(field);
        lock->addWidget(label, row, 1);
        lock->addWidget(field, row, 2);
    };
    addPassword(0, QStringLiteral("Passwor&d:"), "txtNewPwd");
    addPassword(1, QStringLiteral("&Confirm:"), "txtConfirmPwd");
    auto* note =
        new QLabel(QStringLiteral("Asked at start and before Preferences, Pause, Skip and Quit.\n"
                                  "Leave both fields empty for no child lock."));
    note->setForegroundRole(QPalette::PlaceholderText);
    lock->addWidget(note, 2, 2);
    lock->setColumnStretch(3, 1);

    // ---- around a break, and starting
    auto* reminders = new QGridLayout;
    reminders->setColumnMinimumWidth(0, 16);
    const struct {
        const char* caption;
        const char* name;
    } boxes[] = {
        {"Tell me a &minute before a break", "lblHeadsUp"},
        {"Play a so&und when a break starts and ends", "lblSound"},
        {"Cover &every screen during a break", "lblAllScreens"},
    };
    for (const auto& box : boxes) {
        auto* check = new QCheckBox(QString::fromUtf8(box.caption));
        outlet(check, box.name, nib::Kind::CheckBox);
        reminders->addWidget(check, reminders->rowCount(), 1);
    }
    // ---- what a due break waits for
    auto* waits = new QGridLayout;
    waits->setColumnMinimumWidth(0, 16);
    const struct {
        const char* caption;
        const char* name;
    } waitBoxes[] = {
        {"Wait wh&ile I'm on a call (camera or microphone in use)", "lblWaitCall"},
        {"Wait while a program is &full screen", "lblWaitFullScreen"},
        {"Wait while do-not-distu&rb is on", "lblWaitDnd"},
    };
    for (const auto& box : waitBoxes) {
        auto* check = new QCheckBox(QString::fromUtf8(box.caption));
        outlet(check, box.name, nib::Kind::CheckBox);
        waits->addWidget(check, waits->rowCount(), 1);
    }
    auto* starting = new QGridLayout;
    starting->setColumnMinimumWidth(0, 16);
    auto* atLogin = new QCheckBox(QStringLiteral("Start Tamsel when I &log in"));
    outlet(atLogin, "lblStartAtLogin", nib::Kind::CheckBox);
    starting->addWidget(atLogin, 0, 1);

    // ---- buttons
    auto* help = new QPushButton(QStringLiteral("&Help"));
    QObject::connect(help, &QPushButton::clicked, view, [act] { act("btnHelp:", "btnHelp"); });
    auto* site = new QPushButton(QStringLiteral("Tamsel web site"));
    site->setFlat(true);
    site->setCursor(Qt::PointingHandCursor);
    site->setToolTip(QStringLiteral("Opens the Tamsel web site in your browser"));
    {
        QFont font = site->font();
        font.setUnderline(true);
        site->setFont(font);
        QPalette palette = site->palette();
        palette.setColor(QPalette::ButtonText, palette.color(QPalette::Link));
        site->setPalette(palette);
    }
    outlet(site, "btnCopyright", nib::Kind::Button);
    QObject::connect(site, &QPushButton::clicked, view,
                     [act] { act("copyrightClicked:", "btnCopyright"); });
    auto* close = new QPushButton(QStringLiteral("Close"));
    auto* save = new QPushButton(QStringLiteral("&Save"));
    save->setDefault(true);
    QObject::connect(close, &QPushButton::clicked, view,
                     [act] { act("btnCloseClicked:", "btnClose"); });
    QObject::connect(save, &QPushButton::clicked, view,
                     [act] { act("btnSaveClicked:", "btnSave"); });
    view->save = save;
    view->close = close;

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help);
    buttons->addWidget(site);
    buttons->addStretch(1);
    buttons->addWidget(close);
    buttons->addWidget(save);

    // Two columns: the breaks and the bar on the left, the rest beside them.
    auto* left = new QVBoxLayout;
    left->setSpacing(6);
    left->addWidget(heading(QStringLiteral("Work and breaks")));
    left->addLayout(times);
    left->addSpacing(12);
    left->addWidget(heading(QStringLiteral("Progress bar")));
    left->addLayout(progress);
    left->addSpacing(12);
    left->addWidget(heading(QStringLiteral("A due break waits")));
    left->addLayout(waits);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->setSpacing(6);
    right->addWidget(heading(QStringLiteral("Around a break")));
    right->addLayout(reminders);
    right->addSpacing(12);
    right->addWidget(heading(QStringLiteral("Starting")));
    right->addLayout(starting);
    right->addSpacing(12);
    right->addWidget(heading(QStringLiteral("Child lock")));
    right->addLayout(lock);
    right->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->setSpacing(28);
    columns->addLayout(left);
    columns->addLayout(right);

    auto* form = new QVBoxLayout(view);
    form->setContentsMargins(20, 16, 20, 16);
    form->setSpacing(6);
    form->addLayout(columns);
    form->addSpacing(16);
    form->addLayout(buttons);
    form->setSizeConstraint(QLayout::SetFixedSize);
    centreOnPrimaryScreen(view);

    return window;
}

}  // namespace tamsel::qt
