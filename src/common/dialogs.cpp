// Modal alerts, the masked input box, the child-lock gate, and the alerts
// that stand in for an application the desktop lacks.

#include <optional>

#include "common/translate.h"
#include "engine/scl.h"

namespace tamsel {

void SCL::showAlert(const std::string& message, const std::string& title) {
    AlertRequest alert;
    alert.messageText = title;
    alert.informativeText = message;
    platform().dialogs->runAlert(alert);
}

namespace {

// What was typed, or nothing when the box was cancelled.
std::optional<std::string> askMasked(const std::string& message, const std::string& question) {
    AlertRequest box;
    box.messageText = message;
    box.informativeText = question;
    box.buttons = {translate("Tamsel", "OK"), translate("Tamsel", "Cancel")};
    box.secureField = true;
    AlertResponse answer = SCL::platform().dialogs->runAlert(box);
    if (answer.button != kAlertFirstButtonReturn) return std::nullopt;
    return answer.fieldText;
}

}  // namespace

std::string SCL::showInputBox(const std::string& message, const std::string& question) {
    return askMasked(message, question).value_or("--1");
}

bool SCL::isPwdOk(const std::string& prompt) {
    std::string question = translate("Tamsel", prompt.c_str());
    for (;;) {
        // Read afresh on every round: the stored password is the truth.
        std::string stored = settings::password();
        if (stored.empty()) return true;
        platform().app->activateIgnoringOtherApps();
        // Cancel is asked apart from the text: a password of "--1" must not
        // let Cancel through.
        const std::optional<std::string> typed =
            askMasked(translate("Tamsel", "Child lock enabled"), question);
        if (!typed) return false;
        if (*typed == stored) return true;
        if (*typed == "--1") return false;
        showAlert(translate("Tamsel", "Incorrect password"),
                  translate("Tamsel", "Child lock enabled"));
        question = translate("Tamsel", "Please enter your password");
    }
}

void SCL::openManual() {
    Workspace& workspace = *platform().workspace;
    const std::string path = workspace.manualPath();
    if (!workspace.openFile(path))
        showAlert(fill(translate("Tamsel",
                                 "No application could open the manual (a PDF file). It is "
                                 "here:\n%1"),
                       {path}),
                  "Tamsel");
}

void SCL::openWebAddress(const std::string& url) {
    if (!platform().workspace->openURL(url))
        showAlert(fill(translate("Tamsel",
                                 "No web browser could open the Tamsel web site. Its address "
                                 "is:\n%1"),
                       {url}),
                  "Tamsel");
}

}  // namespace tamsel
