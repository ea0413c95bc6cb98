#pragma once

#include <QString>

#include "common/platform.h"

namespace tamsel::qt {

class QtWorkspace : public Workspace {
public:
    // False for a missing file or where no application opens its type;
    // never runs a shell.
    bool openFile(const std::string& path) override;
    // Web addresses only (http, https); false where no browser is known.
    bool openURL(const std::string& url) override;
    // The first that exists: beside the program (build tree), the installed
    // documentation, the macOS bundle's resources; else the installed path.
    std::string manualPath() override;
    // macOS only: the Users & Groups pane. Elsewhere nothing.
    void openLoginItemsSettings() override;
    std::string shortVersionString() override;
};

// Whether a desktop application says it opens this MIME type (or URL scheme,
// "x-scheme-handler/https"): the user's choices and the applications' cache,
// as the freedesktop.org lists keep them and xdg-open reads them.
bool desktopListsApplicationFor(const QString& mimeType);

}  // namespace tamsel::qt
