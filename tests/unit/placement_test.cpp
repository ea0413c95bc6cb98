// The indicator's corner of the main screen, re-placed when the screens change.

#include "fixture.h"

namespace tamsel::test {

using Placement = SimTest;

TEST_F(Placement, EveryCornerOfTheMainScreen) {
    storeFirstLaunchSettings();
    startEngine();
    EXPECT_EQ(indicator().frame, (Rect{620, 850, 200, 30})) << "top centre after the first launch";
    const Rect placed[] = {{0, 850, 200, 30}, {620, 850, 200, 30}, {1240, 850, 200, 30},
                           {0, 0, 200, 30},   {620, 0, 200, 30},   {1240, 0, 200, 30}};
    for (long long corner = -1; corner <= 9; ++corner) {
        sim.settings.setInteger("dropdownOsdLocation", corner);
        SCL::mainWindow->placeWindow();
        EXPECT_EQ(indicator().frame, placed[corner >= 0 && corner <= 5 ? corner : 5]) << corner;
    }
    sim.screens.set({{1440, 0, 1920, 1080}});  // re-placed when the screens change
    EXPECT_EQ(indicator().frame, (Rect{3160, 0, 200, 30}));
    sim.settings.setInteger("dropdownOsdLocation", 4);
    sim.screens.set({{0, 0, 150, 900}});
    EXPECT_EQ(indicator().frame, (Rect{-25, 0, 200, 30})) << "narrower than the indicator";
}

}  // namespace tamsel::test
