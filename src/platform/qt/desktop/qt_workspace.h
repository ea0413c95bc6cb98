#pragma once

#include "common/platform.h"

namespace tamsel::qt {

class QtWorkspace : public Workspace {
public:
    // False for a missing file; never runs a shell.
    bool openFile(const std::string& path) override;
    // Web addresses only (http, https).
    bool openURL(const std::string& url) override;
    // The first that exists: beside the program (build tree), the installed
    // documentation, the macOS bundle's resources; else the installed path.
    std::string manualPath() override;
    // macOS only: the Users & Groups pane. Elsewhere nothing.
    void openLoginItemsSettings() override;
    std::string shortVersionString() override;
};

}  // namespace tamsel::qt
