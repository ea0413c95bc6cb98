#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app_delegate.h"
#include "engine/main_window.h"
#include "engine/scl.h"
#include "sim/sim_platform.h"

namespace tamsel::test {

// A fresh simulated platform with SCL reset onto it; the virtual clock starts
// on a whole second, so an engine started at once ticks on whole seconds.
class SimTest : public ::testing::Test {
protected:
    SimTest() { SCL::reset(sim.platform()); }
    ~SimTest() override {
        app.reset();
        SCL::reset(sim.platform());
        EXPECT_TRUE(sim.dialogs.script.empty()) << "scripted dialog answers left over";
    }

    // The settings a first launch writes, with these lengths.
    void storeFirstLaunchSettings(long long workMinutes = 30, long long breakMinutes = 2) {
        settings::writeFirstLaunch(sim.settings, 123456789);
        sim.settings.setInteger(key::stpWorkDuration, workMinutes);
        sim.settings.setInteger(key::stpBreakDuration, breakMinutes);
        sim.settings.writes.clear();
    }
    AppDelegate& launchApp() {
        app = std::make_unique<AppDelegate>();
        app->applicationDidFinishLaunching();
        return *app;
    }
    // The indicator as the launch sequence creates it; its first tick runs now.
    MainWindow& startEngine() {
        SCL::mainWindow = std::make_unique<MainWindow>();
        SCL::mainWindow->showWindow();
        return *SCL::mainWindow;
    }
    // The engine alone, the user at work for `active` s; the break's moment.
    double workUntilBreak(long long workMinutes, long long breakMinutes, double active) {
        storeFirstLaunchSettings(workMinutes, breakMinutes);
        sim.idle.activeFor(active);
        startEngine();
        return runUntilBreak();
    }
    // Lets the activity ticks run until one starts a break; returns its moment.
    double runUntilBreak() {
        for (int i = 0; i < 100000 && !SCL::activityTimerPause; ++i) sim.advance(5);
        EXPECT_TRUE(SCL::activityTimerPause) << "no break came";
        return SCL::lockTimerDt.value_or(sim.now());
    }
    // The local wall clock reads this UTC instant plus the zone's offset.
    void setWall(double wall) { sim.clock.jumpWall(wall - sim.clock.now()); }

    sim::SimWindowState& indicator() { return *sim.windows.last("MainWindow"); }
    sim::SimControl& label() { return indicator().outlet("lblProgress"); }
    static std::string bar(int n) { return n > 0 ? "\u25FC\uFE0E" + bar(n - 1) : ""; }
    sim::SimWindowState& breakWindow(std::size_t index = 0) {
        return *sim.windows.named("LockScreen").at(index);
    }
    std::size_t openBreakWindows() { return sim.windows.open("LockScreen").size(); }

    sim::SimPlatform sim;
    std::unique_ptr<AppDelegate> app;
};

}  // namespace tamsel::test
