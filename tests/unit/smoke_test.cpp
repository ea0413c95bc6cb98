#include "engine/main_window.h"
#include "fixture.h"

namespace tamsel::test {

class Smoke : public SimTest {};

TEST_F(Smoke, BreakComesAfter271ActiveTicks) {
    storeFirstLaunchSettings();
    sim.idle.activeBetween(sim.now(), sim.now() + 4000);
    SCL::mainWindow = std::make_unique<MainWindow>();
    SCL::mainWindow->showWindow();
    sim.advance(270 * 5.0 - 0.001);
    EXPECT_TRUE(sim.windows.open("LockScreen").empty());
    sim.advance(0.002);
    EXPECT_EQ(sim.windows.open("LockScreen").size(), 1u);
}

}  // namespace tamsel::test
