// A desktop shell chooses the menu's items by their action, only as the menu
// offers them now, and the child lock still asks.

#include "fixture.h"

namespace tamsel::test {

using Shell = SimTest;

TEST_F(Shell, ChoosesOnlyWhatTheMenuOffersNowAndTheChildLockStillAsks) {
    storeFirstLaunchSettings(3, 1);
    sim.settings.setString("txtNewPwd", "pw");
    sim.dialogs.typeAndConfirm("pw");  // at start
    launchApp();
    sim.dialogs.cancel();
    const std::pair<const char*, const char*> cases[] = {
        {"pause60Btn:", "\"For an hour\" was not carried out"},
        {"breakNowBtn:", ""},
        {"breakNowBtn:", "\"Take a break now\" is not available now"},
        {"takeOverBtn:", "The menu has no item \"takeOverBtn:\" now"},
    };
    for (const auto& [action, refusal] : cases)
        EXPECT_EQ(sim.remote.call(Request::ChooseMenuItem, 0, action), refusal) << action;
    EXPECT_TRUE(SCL::activityTimerPause);
    EXPECT_EQ(SCL::pausedUntil, 0);
}

}  // namespace tamsel::test
