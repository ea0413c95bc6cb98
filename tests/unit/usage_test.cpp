// Usage events: one GET to the maker's server, its answer on one line of
// standard output.

#include <string>

#include "fixture.h"

namespace tamsel::test {

using UsageEvents = SimTest;

TEST_F(UsageEvents, TheAddressCarriesTheKeysInTheirFixedOrderAndTheUidAsSent) {
    SCL::uid = 123456789;
    SCL::logFunc("macapp", "firstlaunch", "app-false");
    SCL::uid = 1000000;
    SCL::logFunc("a", "b", "c");
    EXPECT_EQ(sim.network.requested,
              (std::vector<std::string>{"http://127.0.0.1:47613/logistics/ln.php?cat=tamsel&"
                                        "evtname=macapp&evtval=firstlaunch&notes=app-false&uid="
                                        "123456789",
                                        "http://127.0.0.1:47613/logistics/ln.php?cat=tamsel&"
                                        "evtname=a&evtval=b&notes=c&uid=1000000"}));
    EXPECT_TRUE(sim.console.lines.empty()) << "fire and forget: nothing waits for the reply";
}

// The reply or the failure on one line, control characters (a server's
// reason phrase too) never reaching the terminal.
TEST_F(UsageEvents, TheReplyOrTheFailureIsPrintedAsOneSafeLine) {
    const std::pair<FetchResult, std::string> cases[] = {
        {{true, "\nOK\r\nsaved\n\nagain\n", ""}, "OK saved again"},
        {{false, "", "Connection refused"}, "logFunc Connection refused"},
        {{true, std::string("\x1b]0;owned\x07\x1b[2Jok") + '\0' + "caf\xc3\xa9\x7f", ""},
         "?]0;owned??[2Jok?caf???"},
        {{false, "", "Error: \x1b[2J\r\nbusy"}, "logFunc Error: ?[2J busy"}};
    for (const auto& [reply, line] : cases) {
        SCL::logFunc("macapp", "firstlaunch", "app-false");
        sim.network.completeAll(reply);
        EXPECT_EQ(sim.console.lines.back(), line);
    }
    EXPECT_EQ(sim.console.lines.size(), 4u);
    EXPECT_TRUE(sim.dialogs.shown.empty());
}

}  // namespace tamsel::test
