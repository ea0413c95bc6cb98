// Usage events: one GET, its reply or failure printed as one line with no
// control character reaching the terminal.

#include <string>

#include "fixture.h"

namespace tamsel::test {

using UsageEvents = SimTest;

TEST_F(UsageEvents, OneGetAndTheReplyOrTheFailurePrintedAsOneSafeLine) {
    SCL::uid = 1000000;  // written whole
    const std::pair<FetchResult, std::string> cases[] = {
        {{true, "\nOK\r\nsaved\n\nagain\n", ""}, "OK saved again"},
        {{true, std::string("\x1b]0;owned\x07\x1b[2Jok") + '\0' + "caf\xc3\xa9\x7f", ""},
         "?]0;owned??[2Jok?caf???"},
        {{false, "", "Error: \x1b[2J\r\nbusy"}, "logFunc Error: ?[2J busy"}};
    for (const auto& [reply, line] : cases) {
        SCL::logFunc("a", "b", "c");
        EXPECT_EQ(sim.network.requested.back(),
                  "http://127.0.0.1:47613/logistics/ln.php?cat=tamsel&evtname=a&evtval=b&notes=c"
                  "&uid=1000000");
        sim.network.completeAll(reply);
        EXPECT_EQ(sim.console.lines.back(), line);
    }
}

}  // namespace tamsel::test
