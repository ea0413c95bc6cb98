// The indicator's corners measured from the desktop's work area: the main
// screen less its panels and docks.

#include "fixture.h"

namespace tamsel::test {

class WorkArea : public SimTest {
protected:
    void SetUp() override { storeFirstLaunchSettings(); }
};

TEST_F(WorkArea, CornersKeepClearOfThePanels) {
    const Rect main{0, 0, 1440, 900};
    struct Row {
        const char* desktop;
        std::vector<Rect> screens, areas;
        long long corner;
        Rect placed;  // the indicator is 200 × 30
    };
    const Row rows[] = {
        {"no panel: nothing moves", {main}, {}, 1, {620, 850, 200, 30}},
        {"no panel: nothing moves", {main}, {}, 5, {1240, 0, 200, 30}},
        {"a work area of the whole screen", {main}, {main}, 0, {0, 850, 200, 30}},
        {"top panel, top centre", {main}, {{0, 0, 1440, 876}}, 1, {620, 826, 200, 30}},
        {"top panel, bottom left", {main}, {{0, 0, 1440, 876}}, 3, {0, 0, 200, 30}},
        {"bottom bar, bottom right", {main}, {{0, 20, 1440, 880}}, 5, {1240, 20, 200, 30}},
        {"bottom bar, top right", {main}, {{0, 20, 1440, 880}}, 2, {1240, 850, 200, 30}},
        {"left dock, top left", {main}, {{48, 0, 1392, 900}}, 0, {48, 850, 200, 30}},
        {"left dock, bottom centre", {main}, {{48, 0, 1392, 900}}, 4, {644, 0, 200, 30}},
        {"panel on the other screen only",
         {main, {1440, 0, 1920, 1080}},
         {main, {1440, 0, 1920, 1050}},
         1,
         {620, 850, 200, 30}},
        {"main screen right of the primary, top panel",
         {{1440, 0, 1920, 1080}},
         {{1440, 0, 1920, 1050}},
         2,
         {3160, 1000, 200, 30}},
    };
    startEngine();
    for (const Row& row : rows) {
        sim.screens.list = row.screens;
        sim.screens.areas = row.areas;
        sim.settings.setInteger("dropdownOsdLocation", row.corner);
        SCL::mainWindow->placeWindow();
        EXPECT_EQ(indicator().frame, row.placed) << row.desktop << ", corner " << row.corner;
    }
}

TEST_F(WorkArea, APanelAddedOrRemovedMovesTheIndicator) {
    startEngine();
    sim.screens.setWorkAreas({{0, 0, 1440, 876}});
    EXPECT_EQ(indicator().frame, (Rect{620, 826, 200, 30}));
    sim.screens.setWorkAreas({});
    EXPECT_EQ(indicator().frame, (Rect{620, 850, 200, 30}));
}

TEST_F(WorkArea, BreakWindowsStillCoverTheWholeScreenPanelsIncluded) {
    sim.screens.areas = {{0, 0, 1440, 876}};
    startEngine();
    sim.idle.activeFor(100000);
    runUntilBreak();
    sim.advance(0.1);
    EXPECT_EQ(breakWindow().frame, (Rect{0, 0, 1440, 1000}));
}

}  // namespace tamsel::test
