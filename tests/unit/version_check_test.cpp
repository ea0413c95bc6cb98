// The version check that rides on the rare tick: asking, remembering a
// refusal, and failing plainly.

#include <string>
#include <vector>

#include "engine/version_check.h"
#include "fixture.h"

namespace tamsel::test {

class VersionCheck : public SimTest {
protected:
    void SetUp() override { storeFirstLaunchSettings(); }

    std::size_t asked() { return sim.dialogs.shown.size(); }
    bool failureShown(std::size_t i) {
        const AlertRequest& a = sim.dialogs.shown.at(i);
        return a.messageText.empty() && a.informativeText == "Unable to check for new versions";
    }

    // The user at work for 100 s, then the draw hits and the server takes
    // longer than the time-out; the failure alert is read for `reading` s.
    void slowServerWhileWorking(double reading) {
        sim.dialogs.shown.clear();
        sim.idle.activeFor(100000);
        startEngine();
        sim.advance(100);
        ASSERT_EQ(SCL::progress, 100);
        sim.network.serve("2.7", 30);
        sim.random.script = {40};
        const double tick = sim.now() + 5;
        sim.dialogs.answer([this, tick, reading](const AlertRequest&) {
            EXPECT_DOUBLE_EQ(sim.now() - tick, kVersionFetchTimeout);
            const auto firings = sim.timers.firings;
            sim.advance(reading);
            EXPECT_EQ(sim.timers.firings, firings) << "a timer fired inside the alert";
            return AlertResponse{};
        });
        sim.advance(5);
        ASSERT_EQ(asked(), 1u);
        EXPECT_TRUE(failureShown(0));
        EXPECT_EQ(SCL::progress, 105);
        sim.advance(0);  // the tick that came due meanwhile
    }
};

TEST_F(VersionCheck, ANewerVersionOffersTheSiteYesStoresNothing) {
    sim.network.serve("2.6");
    runVersionCheck();
    EXPECT_EQ(sim.network.fetched,
              (std::vector<std::string>{"http://127.0.0.1:47613/tsupdateosx.txt"}));
    EXPECT_EQ(asked(), 0u) << "the running version asks nothing";
    sim.network.serve("2.7");
    sim.dialogs.answer([this](const AlertRequest&) {
        EXPECT_EQ(sim.app.activations, 1) << "brought to the front before asking";
        return AlertResponse{kAlertFirstButtonReturn, ""};
    });
    runVersionCheck();
    ASSERT_EQ(asked(), 1u);
    const AlertRequest& a = sim.dialogs.shown[0];
    EXPECT_EQ(a.messageText, "Tamsel update");
    EXPECT_EQ(a.informativeText,
              "There is an update to tamsel. Do you want to visit http://127.0.0.1:47613/ to "
              "download the latest version.");
    EXPECT_EQ(a.buttons, (std::vector<std::string>{"Yes", "No, skip this version"}));
    EXPECT_EQ(sim.workspace.openedURLs, (std::vector<std::string>{"http://127.0.0.1:47613/"}));
    EXPECT_TRUE(sim.settings.writes.empty());
}

// Which versions are offered, and refusals: version_order_test.cpp.

TEST_F(VersionCheck, AnythingButAVersionNumberIsAFailedCheck) {
    const std::vector<std::string> bodies = {"<html><body>404 Not Found</body></html>", "",
                                             "2.7 beta", "2..7", "1e308"};
    for (const std::string& body : bodies) {
        sim.network.serve(body);
        sim.dialogs.pressButton(kAlertFirstButtonReturn);
        runVersionCheck();
        EXPECT_TRUE(failureShown(asked() - 1)) << body;
    }
    sim.network.server = nullptr;  // nobody answers
    sim.dialogs.pressButton(kAlertFirstButtonReturn);
    runVersionCheck();
    EXPECT_TRUE(failureShown(asked() - 1));
    EXPECT_TRUE(sim.settings.writes.empty());
    EXPECT_TRUE(sim.workspace.openedURLs.empty());
}

// The blocking fetch and the failure alert after it are two modal runs back
// to back; the activity tick that came due in the first waits for both.
TEST_F(VersionCheck, ASlowServerHoldsTheTicksUntilTheAlertIsRead) {
    slowServerWhileWorking(5);  // 15 s since the checking tick
    EXPECT_EQ(SCL::progress, 110);
    SCL::reset(sim.platform());
    slowServerWhileWorking(10.001);  // 20.001 s: the gap rule clears the progress
    EXPECT_EQ(SCL::progress, 0);
}

}  // namespace tamsel::test
