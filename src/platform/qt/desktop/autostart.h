#pragma once

#include <QString>

#include "common/platform.h"

namespace tamsel::qt {

// XDG autostart: $XDG_CONFIG_HOME/autostart/tamsel.desktop. On while the
// file exists and neither hides itself (Hidden=true) nor is switched off
// by GNOME's own setting (X-GNOME-Autostart-enabled=false).
class XdgAutostart : public LoginItems {
public:
    // The user's file; or a file of the same form at this path.
    XdgAutostart();
    explicit XdgAutostart(QString path);

    bool isEnabled() override;
    // Writes the file (owner-only, never through a symlink, into a folder
    // the user owns) or removes it; says why on stderr when it cannot.
    bool setEnabled(bool enabled) override;

    QString path() const { return path_; }
    // The Exec= value for a program: "tamsel" when that name on PATH is
    // this very program, else its absolute path, quoted as the desktop
    // entry format wants it.
    static QString execValue(const QString& program);

private:
    QString path_;
};

}  // namespace tamsel::qt
