#include "platform/qt/views/qt_dialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>
#include <vector>

#include "platform/qt/modal_gate.h"
#include "platform/qt/private_files.h"
#include "platform/qt/views/accessible.h"
#include "platform/qt/views/artwork.h"

namespace tamsel::qt {

namespace {

constexpr int kTextWidth = 340;
constexpr int kIconSize = 48;

class AlertDialog : public QDialog {
public:
    explicit AlertDialog(const AlertRequest& request) {
        setWindowTitle(QStringLiteral("Tamsel"));
        setWindowIcon(tamselIcon());

        QStringList titles;
        for (const auto& b : request.buttons) titles << QString::fromStdString(b);
        if (titles.isEmpty()) titles << QCoreApplication::translate("Tamsel", "OK");
        // The controllers' button titles come in the user's language.
        escape_ = titles.indexOf(QCoreApplication::translate("Tamsel", "Cancel"));
        if (escape_ < 0 && titles.size() == 1) escape_ = 0;

        // Without an answer for Escape there is nothing the close button
        // could mean either; offer none where the window manager listens.
        Qt::WindowFlags flags = Qt::Dialog | Qt::WindowStaysOnTopHint;
        if (escape_ < 0) flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        setWindowFlags(flags);

        auto* icon = new QLabel;
        icon->setPixmap(tamselIcon().pixmap(kIconSize, kIconSize));
        icon->setAlignment(Qt::AlignTop);

        auto* text = new QVBoxLayout;
        text->setSpacing(8);
        auto addText = [text](const std::string& s, bool heading) {
            if (s.empty()) return;
            auto* label = new QLabel(QString::fromStdString(s));
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setFixedWidth(kTextWidth);
            label->setTextInteractionFlags(Qt::TextSelectableByMouse);
            if (heading) {
                QFont font = label->font();
                font.setBold(true);
                label->setFont(font);
                label->setObjectName(QStringLiteral("heading"));
            } else {
                label->setObjectName(QStringLiteral("informative"));
            }
            text->addWidget(label);
        };
        addText(request.messageText, true);
        addText(request.informativeText, false);

        if (request.secureField) {
            field_ = new QLineEdit;
            field_->setObjectName(QStringLiteral("secureField"));
            field_->setEchoMode(QLineEdit::Password);
            field_->setFixedSize(200, 24);
            field_->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData |
                                        Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase);
            describe(field_, A11y::tr("Password"),
                     request.informativeText.empty()
                         ? A11y::tr("Type the password, then press Return.")
                         : QString::fromStdString(request.informativeText));
            text->addWidget(field_);
        }

        auto* row = new QHBoxLayout;
        row->addStretch(1);
        // The first button is the default one and sits rightmost; the others
        // follow it leftwards, in the caller's order.
        for (int i = 0; i < titles.size(); ++i) buttons_.push_back(new QPushButton(titles[i]));
        for (int i = static_cast<int>(buttons_.size()) - 1; i >= 0; --i) {
            QPushButton* button = buttons_[i];
            button->setAutoDefault(false);
            button->setDefault(i == 0);
            button->setAccessibleDescription(
                i == 0         ? A11y::tr("The default answer: Return chooses it.")
                : i == escape_ ? A11y::tr("Escape chooses it too.")
                               : A11y::tr("Answers with this choice."));
            connect(button, &QPushButton::clicked, this, [this, i] { finish(i); });
            row->addWidget(button);
        }

        auto* body = new QHBoxLayout;
        body->setSpacing(16);
        body->addWidget(icon, 0, Qt::AlignTop);
        body->addLayout(text, 1);

        auto* outer = new QVBoxLayout(this);
        outer->setContentsMargins(20, 20, 20, 16);
        outer->setSpacing(18);
        outer->addLayout(body);
        outer->addLayout(row);
        outer->setSizeConstraint(QLayout::SetFixedSize);

        if (field_)
            field_->setFocus();
        else
            buttons_.front()->setFocus();
    }

    // Index of the chosen button, or -1 when the run ended without a choice.
    int answer() const { return answer_; }
    int escapeIndex() const { return escape_; }
    int buttonCount() const { return static_cast<int>(buttons_.size()); }
    QString takeFieldText() {
        if (!field_) return {};
        QString typed = field_->text();
        field_->clear();
        return typed;
    }

protected:
    // Escape and the close button land here.
    void reject() override {
        if (escape_ >= 0) finish(escape_);
    }

    void keyPressEvent(QKeyEvent* event) override {
        // Return and Enter press the button reached with Tab, else the
        // first one, wherever the focus is.
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            (event->modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier)) == Qt::NoModifier) {
            auto* focused = qobject_cast<QPushButton*>(focusWidget());
            (focused ? focused : buttons_.front())->click();
            return;
        }
        QDialog::keyPressEvent(event);
    }

    void showEvent(QShowEvent* event) override {
        QDialog::showEvent(event);
        raise();
        activateWindow();
    }

private:
    void finish(int index) {
        answer_ = index;
        done(QDialog::Accepted);
    }

    std::vector<QPushButton*> buttons_;
    QLineEdit* field_ = nullptr;
    int escape_ = -1;
    int answer_ = -1;
};

}  // namespace

AlertResponse QtDialogs::runAlert(const AlertRequest& request) {
    ModalScope modal;
    AlertDialog dialog(request);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.exec();

    int index = dialog.answer();
    // A run ended from outside (the application quitting) answers as
    // Escape would, or with no button at all.
    if (index < 0) index = dialog.escapeIndex() >= 0 ? dialog.escapeIndex() : dialog.buttonCount();
    AlertResponse response;
    response.button = kAlertFirstButtonReturn + index;
    // The typed text leaves the dialog only with a confirmation.
    const QString typed = dialog.takeFieldText();
    // Canonically equal texts must compare equal: one form for every entry.
    if (index == 0)
        response.fieldText = typed.normalized(QString::NormalizationForm_C).toStdString();
    return response;
}

SaveResult QtDialogs::saveFile(const std::string& suggestedName, const std::string& contents) {
    QString path;
    {
        ModalScope modal;
        QFileDialog dialog(nullptr, QCoreApplication::translate("Tamsel", "Export the history"),
                           QDir::home().filePath(QString::fromStdString(suggestedName)),
                           QCoreApplication::translate("Tamsel", "CSV files (*.csv)"));
        dialog.setObjectName(QStringLiteral("saveFileDialog"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("csv"));
        dialog.setWindowModality(Qt::ApplicationModal);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        path = dialog.selectedFiles().constFirst();
    }
    if (const QString why = whyNotWritable(path); !why.isEmpty())
        return {false, QStringLiteral("%1 %2").arg(path, why).toStdString()};
    const OwnerOnlyFiles ownerOnly;
    QSaveFile file(path);
    const auto size = static_cast<qint64>(contents.size());
    if (!file.open(QIODevice::WriteOnly) || file.write(contents.data(), size) != size ||
        !file.commit())
        return {false, QStringLiteral("%1: %2").arg(path, file.errorString()).toStdString()};
    return {true, {}};
}

}  // namespace tamsel::qt
