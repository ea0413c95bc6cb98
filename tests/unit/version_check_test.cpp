// The version check on the rare tick, failing slowly.

#include "engine/version_check.h"
#include "fixture.h"

namespace tamsel::test {

class VersionCheck : public SimTest {
protected:
    void SetUp() override { storeFirstLaunchSettings(); }
    bool lastIsFailure() {
        return sim.dialogs.shown.back().informativeText == "Unable to check for new versions";
    }
    // The user at work for 100 s, then the draw hits and the server takes
    // longer than the time-out; the failure alert is read for `reading` s.
    void slowServerWhileWorking(double reading) {
        sim.idle.activeFor(100000);
        startEngine();
        sim.advance(100);
        sim.network.serve("2.7", 30);
        sim.random.script = {40};
        sim.dialogs.answer([this, reading](const AlertRequest&) {
            sim.advance(reading);
            return AlertResponse{};
        });
        sim.advance(5);
        ASSERT_TRUE(lastIsFailure());
        EXPECT_EQ(SCL::progress, 105);
        sim.advance(0);  // the tick that came due meanwhile
    }
};

// The blocking fetch (10 s) and the failure alert after it are two modal
// runs back to back; the activity tick that came due in the first waits for
// both, and the gap rule sees all of it.
TEST_F(VersionCheck, ASlowServerHoldsTheTicksUntilTheAlertIsRead) {
    slowServerWhileWorking(10);  // exactly 20 s since the checking tick: kept
    EXPECT_EQ(SCL::progress, 110);
    SCL::reset(sim.platform());
    slowServerWhileWorking(10.001);
    EXPECT_EQ(SCL::progress, 0);
}

}  // namespace tamsel::test
