// The indicator's corners are those of the main screen's work area: the
// screen less its panels and docks.

#include "fixture.h"

namespace tamsel::test {

using WorkArea = SimTest;

TEST_F(WorkArea, TheIndicatorKeepsClearOfThePanels) {
    const Rect main{0, 0, 1440, 900}, right{1440, 0, 1920, 1080};
    struct Row {
        std::vector<Rect> screens, areas;
        long long corner;
        Rect placed;  // the indicator is 200 × 30
    };
    const Row rows[] = {
        {{main}, {}, 5, {1240, 0, 200, 30}},                     // no panel: nothing moves
        {{main}, {{0, 0, 1440, 876}}, 1, {620, 826, 200, 30}},   // top panel
        {{main}, {{0, 20, 1440, 880}}, 5, {1240, 20, 200, 30}},  // bottom bar
        {{main}, {{48, 0, 1392, 900}}, 0, {48, 850, 200, 30}},   // left dock
        {{main, right}, {main, {1440, 0, 1920, 1050}}, 1, {620, 850, 200, 30}},  // other screen's
        {{right}, {{1440, 0, 1920, 1050}}, 2, {3160, 1000, 200, 30}},  // right of the primary
    };
    storeFirstLaunchSettings();
    startEngine();
    for (const Row& row : rows) {
        sim.screens.areas = row.areas;
        sim.settings.setInteger("dropdownOsdLocation", row.corner);
        sim.screens.set(row.screens);  // a change of work area re-places it too
        EXPECT_EQ(indicator().frame, row.placed) << &row - rows;
    }
}

}  // namespace tamsel::test
