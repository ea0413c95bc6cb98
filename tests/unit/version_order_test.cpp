// Which server texts are offered as an update, and what a refusal keeps,
// read the same in English and German (where C's own functions write 2,7);
// the check on the rare tick, failing slowly.

#include <clocale>

#include "engine/version_check.h"
#include "fixture.h"

namespace tamsel::test {

struct Offer {
    double skipped;             // skipVersion before the check; 0: none
    const char* text;           // what the server says
    const char* keptAsSkipped;  // skipVersion rendered after "No, skip"; null: not asked
    bool askedAgain = false;    // the same text after that refusal
};

// The running version is 2.6. A refusal is recognised whatever the file's
// spacing, unless a number cannot hold the version ("2.10" is kept as 2.1).
const Offer kOffers[] = {
    {0, "2.6", nullptr},        {0, "2.6.0", nullptr},       {0, "1.0", nullptr},
    {0, "2.5.9", nullptr},      {2.7, "2.7", nullptr},       {3, "3", nullptr},
    {3, "3.0", nullptr},        {0, "2.7", "2.7"},           {0, " 2.7\r\n", "2.7"},
    {2.5, "2.7", "2.7"},        {2.7, "2.8", "2.8"},         {0, "3", "3.0"},
    {3, "3.1", "3.1"},          {0, "10", "10.0"},           {0, "2.10", "2.1", true},
    {3.1, "3.10", "3.1", true}, {2.7, "2.7.1", "2.7", true},
};

using VersionOrder = SimTest;

TEST_F(VersionOrder, OnlyNewerVersionsAreOfferedAndARefusalIsNotOfferedAgainInEveryLanguage) {
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        // The program runs with the desktop's language (Qt sets it so).
        ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr) << locale << " (make deps)";
        for (const Offer& o : kOffers) {
            SCOPED_TRACE(std::string(locale) + " skipped " + std::to_string(o.skipped) + ", " +
                         o.text);
            sim.dialogs.shown.clear();
            sim.settings.values.clear();
            if (o.skipped != 0) sim.settings.setDouble("skipVersion", o.skipped);
            sim.network.serve(o.text);
            if (o.keptAsSkipped) sim.dialogs.pressButton(kAlertFirstButtonReturn + 1);
            runVersionCheck();
            EXPECT_EQ(sim.dialogs.shown.size(), o.keptAsSkipped ? 1u : 0u);
            if (!o.keptAsSkipped) continue;
            EXPECT_EQ(renderVersion(sim.settings.doubleForKey("skipVersion")), o.keptAsSkipped);
            if (o.askedAgain) sim.dialogs.pressButton(kAlertFirstButtonReturn + 1);
            runVersionCheck();
            EXPECT_EQ(sim.dialogs.shown.size(), o.askedAgain ? 2u : 1u);
        }
    }
    std::setlocale(LC_ALL, "C");
}

class VersionCheck : public SimTest {
protected:
    void SetUp() override { storeFirstLaunchSettings(); }
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
        ASSERT_EQ(sim.dialogs.shown.back().informativeText, "Unable to check for new versions");
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
