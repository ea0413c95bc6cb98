// The indicator's corner of the main screen's work area (the screen less its
// panels), re-placed when the screens change.

#include "fixture.h"

namespace tamsel::test {

using Placement = SimTest;

TEST_F(Placement, EveryCornerOfTheMainScreensWorkArea) {
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
    const Rect main{0, 0, 1440, 900}, right{1440, 0, 1920, 1080};
    const struct {
        std::vector<Rect> screens, areas;
        long long corner;
        Rect placed;
    } rows[] = {
        {{main}, {{0, 0, 1440, 876}}, 1, {620, 826, 200, 30}},   // top panel
        {{main}, {{0, 20, 1440, 880}}, 5, {1240, 20, 200, 30}},  // bottom bar
        {{main}, {{48, 0, 1392, 900}}, 0, {48, 850, 200, 30}},   // left dock
        {{main, right}, {main, {1440, 0, 1920, 1050}}, 1, {620, 850, 200, 30}},
        {{right}, {{1440, 0, 1920, 1050}}, 2, {3160, 1000, 200, 30}},
        {{{0, 0, 150, 900}}, {}, 4, {-25, 0, 200, 30}},  // narrower than the indicator
    };
    for (const auto& row : rows) {
        sim.screens.areas = row.areas;
        sim.settings.setInteger("dropdownOsdLocation", row.corner);
        sim.screens.set(row.screens);
        EXPECT_EQ(indicator().frame, row.placed) << &row - rows;
    }
}

}  // namespace tamsel::test
