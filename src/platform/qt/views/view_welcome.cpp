// The first-launch window: what Tamsel does, where to find it, whether to
// start it at login. Only its Done button ends it.

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/desktop/shell_extension.h"
#include "platform/qt/text.h"
#include "platform/qt/views/accessible.h"
#include "platform/qt/views/artwork.h"
#include "platform/qt/views/message_layout.h"
#include "platform/qt/views/overlay_route.h"
#include "platform/qt/views/views.h"

namespace tamsel::qt {

namespace {

class WelcomeView : public ViewWidget {
public:
    QPushButton* done = nullptr;
    bool finished = false;

protected:
    // The launch waits for Done; any other way out would leave it waiting.
    void closeEvent(QCloseEvent* event) override {
        if (finished)
            event->accept();
        else
            event->ignore();
    }

    void keyPressEvent(QKeyEvent* event) override {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && done) {
            done->click();
            return;
        }
        // Escape and the rest go nowhere.
        event->accept();
    }

    void showEvent(QShowEvent* event) override {
        ViewWidget::showEvent(event);
        raise();
        activateWindow();
        if (done) done->setFocus();
    }
};

}  // namespace

std::unique_ptr<QtWindow> makeWelcomeView() {
    auto* view = new WelcomeView;
    view->setWindowTitle(translated(nib::kAccessWindowTitle));
    view->setWindowIcon(tamselIcon());
    // A title but no close, minimise or maximise button, where the window
    // manager honours the hints; above other windows, blocking the rest.
    view->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowStaysOnTopHint);
    view->setWindowModality(Qt::ApplicationModal);
    view->setBackground(view->palette().color(QPalette::Window));
    auto window = std::make_unique<QtWindow>(view);

    auto* icon = new QLabel;
    icon->setPixmap(tamselIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);

    auto* title = new QLabel(QCoreApplication::translate("Tamsel", "Welcome to Tamsel"));
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    title->setFont(big);

    QStringList paragraphs = {
        QCoreApplication::translate(
            "Tamsel",
            "Tamsel reminds you to rest now and then. While you type and use the mouse it fills a "
            "small row of squares in a corner of the screen; when a work period is done it dims "
            "your screens for a short break. Time away from the keyboard counts as rest."),
        QCoreApplication::translate(
            "Tamsel",
            "Its icon, a white cup, lives in the system tray (the notification area of your "
            "panel). Click it for Preferences, a break now, a pause, and more. If your desktop "
            "shows no tray, Tamsel still reminds you; add a system tray or notification area to "
            "your panel to reach its menu."),
    };
    // GNOME has no tray: Tamsel's own extension brings the menu and an
    // indicator that lets clicks through.
    if (gnomeDesktop() && overlayRoute() != OverlayRoute::GnomeExtension)
        paragraphs.append(QCoreApplication::translate(
                              "Tamsel",
                              "On GNOME, turn on Tamsel's extension for its menu in the "
                              "top bar and an indicator that lets your clicks through:\n%1")
                              .arg(QLatin1String(kShellExtensionEnable)));
    auto* text = new QVBoxLayout;
    text->setSpacing(10);
    text->addWidget(title);
    for (const QString& p : paragraphs) {
        auto* label = new QLabel(p);
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        label->setFixedWidth(400);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        text->addWidget(label);
    }

    auto* atLogin =
        new QCheckBox(QCoreApplication::translate("Tamsel", "Start Tamsel when I log in"));
    atLogin->setObjectName(QStringLiteral("lblStartAtLogin"));
    window->addOutlet("lblStartAtLogin", atLogin, nib::Kind::CheckBox);
    atLogin->setAccessibleDescription(A11y::tr("Tamsel starts by itself when you log in."));
    text->addSpacing(4);
    text->addWidget(atLogin);

    auto* done = new QPushButton(QCoreApplication::translate("Tamsel", "Done"));
    done->setDefault(true);
    done->setAccessibleDescription(A11y::tr("Closes this window; Tamsel goes on running."));
    view->done = done;
    QObject::connect(done, &QPushButton::clicked, view, [view] {
        // From here on the window may close; the controller ends the run.
        view->finished = true;
        view->emitAction("btnDone:", "btnDone");
    });

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(done);
    layOutMessage(view, icon, text, row, 22, 18);
    centreOnPrimaryScreen(view);
    return window;
}

}  // namespace tamsel::qt
