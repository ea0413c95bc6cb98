// Usage events: one GET to the maker's server, its answer on one line of
// standard output.

#include <algorithm>
#include <string>

#include "fixture.h"

namespace tamsel::test {

class UsageEvents : public SimTest {
protected:
    std::string printed() {
        EXPECT_EQ(sim.console.lines.size(), 1u);
        return sim.console.lines.empty() ? "" : sim.console.lines.front();
    }
};

TEST_F(UsageEvents, TheAddressCarriesTheKeysInTheirFixedOrder) {
    SCL::uid = 123456789;
    SCL::logFunc("macapp", "firstlaunch", "app-false");
    ASSERT_EQ(sim.network.requested.size(), 1u);
    EXPECT_EQ(sim.network.requested[0],
              "http://127.0.0.1:47613/logistics/ln.php?cat=tamsel&evtname=macapp"
              "&evtval=firstlaunch&notes=app-false&uid=123456789");
    EXPECT_TRUE(sim.console.lines.empty()) << "fire and forget: nothing waits for the reply";
}

TEST_F(UsageEvents, UidIsPlainDecimalDigitsReadWhenTheEventIsSent) {
    SCL::uid = 42;
    SCL::logFunc("a", "b", "c");
    SCL::uid = 1000000;
    SCL::logFunc("a", "b", "c");
    EXPECT_TRUE(sim.network.requested[0].ends_with("&notes=c&uid=42"));
    EXPECT_TRUE(sim.network.requested[1].ends_with("&uid=1000000"));
}

TEST_F(UsageEvents, TheReplyIsPrintedAsOneLine) {
    SCL::logFunc("macapp", "firstlaunch", "app-false");
    sim.network.completeAll({true, "\nOK\r\nsaved\n\nagain\n", ""});
    EXPECT_EQ(printed(), "OK saved again");
}

TEST_F(UsageEvents, AFailureIsPrintedWithItsDescription) {
    SCL::logFunc("macapp", "firstlaunch", "app-false");
    sim.network.completeAll({false, "", "Connection refused"});
    EXPECT_EQ(printed(), "logFunc Connection refused");
    EXPECT_TRUE(sim.dialogs.shown.empty());
}

TEST_F(UsageEvents, ControlCharactersInAReplyNeverReachTheTerminal) {
    SCL::logFunc("macapp", "firstlaunch", "app-false");
    const std::string hostile = std::string("\x1b]0;owned\x07\x1b[2Jok") + '\0' + "caf\xc3\xa9\x7f";
    sim.network.completeAll({true, hostile, ""});
    const std::string line = printed();
    EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](unsigned char c) {
        return c >= 0x20 && c < 0x7f;
    })) << line;
    EXPECT_NE(line.find("ok"), std::string::npos);

    // An error text can quote the server (a reason phrase): filtered alike.
    SCL::logFunc("macapp", "firstlaunch", "app-false");
    sim.network.completeAll({false, "", "Error: \x1b[2J\r\nbusy"});
    EXPECT_EQ(sim.console.lines.back(), "logFunc Error: ?[2J busy");
}

}  // namespace tamsel::test
