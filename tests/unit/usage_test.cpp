// Usage events: one GET to the maker's server, its answer on one line of
// standard output.

#include <string>

#include "fixture.h"

namespace tamsel::test {

using UsageEvents = SimTest;

// The keys in their fixed order (the whole address of a first launch:
// app_test.cpp), and the reply or the failure on one line, control
// characters (a server's reason phrase too) never reaching the terminal.
TEST_F(UsageEvents, OneGetAndTheReplyOrTheFailurePrintedAsOneSafeLine) {
    SCL::uid = 1000000;  // written whole
    const std::pair<FetchResult, std::string> cases[] = {
        {{true, "\nOK\r\nsaved\n\nagain\n", ""}, "OK saved again"},
        {{false, "", "Connection refused"}, "logFunc Connection refused"},
        {{true, std::string("\x1b]0;owned\x07\x1b[2Jok") + '\0' + "caf\xc3\xa9\x7f", ""},
         "?]0;owned??[2Jok?caf???"},
        {{false, "", "Error: \x1b[2J\r\nbusy"}, "logFunc Error: ?[2J busy"}};
    std::size_t printed = 0;
    for (const auto& [reply, line] : cases) {
        SCL::logFunc("a", "b", "c");
        EXPECT_EQ(sim.network.requested.back(),
                  "http://127.0.0.1:47613/logistics/ln.php?cat=tamsel&evtname=a&evtval=b&notes=c"
                  "&uid=1000000");
        EXPECT_EQ(sim.console.lines.size(), printed++) << "nothing before the reply";
        sim.network.completeAll(reply);
        EXPECT_EQ(sim.console.lines.back(), line);
    }
    EXPECT_EQ(sim.console.lines.size(), 4u);
    EXPECT_TRUE(sim.dialogs.shown.empty());
}

}  // namespace tamsel::test
