#pragma once

#include <memory>
#include <string_view>

#include "common/platform.h"

namespace tamsel {

class PrefWindow;

// The application: its launch sequence and the status menu's commands.
class AppDelegate {
public:
    AppDelegate();
    ~AppDelegate();

    void applicationDidFinishLaunching();

    void prefMenuBtn();
    void helpBtn();
    void skipBtn();
    void quitBtn();

    std::unique_ptr<StatusItem> systemMenu;
    std::unique_ptr<PrefWindow> prefWindow;

private:
    void menuChosen(std::string_view action);
};

}  // namespace tamsel
