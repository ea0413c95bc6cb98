// What a desktop shell needs to stand in for the tray and the indicator:
// the indicator and the menu as readable properties, and the menu's items
// chosen by their action, only as the menu offers them now.

#include <string>
#include <vector>

#include "fixture.h"

namespace tamsel::test {

using Shell = SimTest;

TEST_F(Shell, ReadsTheIndicatorAndTheMenuAsTheyChange) {
    storeFirstLaunchSettings(3, 1);  // bar step 13
    launchApp();
    EXPECT_EQ(remote("IndicatorText"), bar(1));
    EXPECT_EQ(remote<Color>("IndicatorColor"), (Color{0, 0, 0, 0.5}));
    EXPECT_EQ(remote<std::int32_t>("IndicatorCorner"), 1);
    EXPECT_EQ(remote<std::vector<MenuItem>>("Menu"), sim.statusBar.item->menu);

    sim.idle.activeFor(3600);
    sim.advance(5 * 25);  // progress 120: ten squares, red
    EXPECT_EQ(remote("IndicatorText"), bar(10));
    EXPECT_EQ(remote<Color>("IndicatorColor"), (Color{1, 0, 0, 0.7}));
    sim.settings.setInteger("dropdownOsdLocation", 9);
    sim.advance(15);  // the break: the menu changes, and the corner is read anew
    EXPECT_EQ(remote<std::int32_t>("IndicatorCorner"), 5);
    EXPECT_FALSE(remote<std::vector<MenuItem>>("Menu").at(5).enabled);
}

TEST_F(Shell, ChoosesOnlyWhatTheMenuOffersNowAndTheChildLockStillAsks) {
    storeFirstLaunchSettings(3, 1);
    sim.settings.setString("txtNewPwd", "pw");
    sim.dialogs.typeAndConfirm("pw");  // at start
    launchApp();
    struct Case {
        const char* action;
        const char* refusal;
        bool cancelBox = false;
    } cases[] = {
        {"breakNowBtn:", ""},
        {"breakNowBtn:", "\"Take a break now\" is not available now"},
        {"setupCheckBtn:", ""},
        {"pause60Btn:", "\"For an hour\" was not carried out", true},
        {"resumeBtn:", "The menu has no item \"resumeBtn:\" now"},
        {"", "The menu has no item \"\" now"},
        {"takeOverBtn:", "The menu has no item \"takeOverBtn:\" now"},
    };
    for (const Case& c : cases) {
        if (c.cancelBox) sim.dialogs.cancel();
        EXPECT_EQ(sim.remote.call(Request::ChooseMenuItem, 0, c.action), c.refusal) << c.action;
    }
    EXPECT_TRUE(SCL::activityTimerPause);
    EXPECT_EQ(sim.setupCheck.shown, 1);
    EXPECT_EQ(SCL::pausedUntil, 0);
}

}  // namespace tamsel::test
