#pragma once

#include <gtest/gtest.h>

#include "engine/scl.h"
#include "sim/sim_platform.h"

namespace tamsel::test {

// Every test starts from a clean world: a fresh simulated platform and SCL
// reset onto it.
class SimTest : public ::testing::Test {
protected:
    SimTest() { SCL::reset(sim.platform()); }
    ~SimTest() override {
        SCL::reset(sim.platform());
        EXPECT_TRUE(sim.dialogs.allAnswered()) << "scripted dialog answers left over";
    }

    // The settings a first launch writes.
    void storeFirstLaunchSettings(long long workMinutes = 30, long long breakMinutes = 2) {
        sim.settings.setInteger("uid", 123456789);
        sim.settings.setInteger("stpWorkDuration", workMinutes);
        sim.settings.setInteger("stpBreakDuration", breakMinutes);
        sim.settings.setInteger("lblSnooze", 1);
        sim.settings.setInteger("lblHide", 0);
        sim.settings.setInteger("radWhenHigh", 0);
        sim.settings.setString("txtNewPwd", "");
        sim.settings.setInteger("dropdownOsdLocation", 1);
        sim.settings.writes.clear();
    }

    sim::SimPlatform sim;
};

}  // namespace tamsel::test
