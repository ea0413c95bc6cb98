// Usage events: one GET to the maker's server, answered on standard output.

#include "common/server.h"
#include "engine/scl.h"

namespace tamsel {

void SCL::logFunc(const std::string& evtname, const std::string& evtval, const std::string& notes) {
    if (!hasServer()) return;
    std::string url = std::string(serverUrl()) + "/logistics/ln.php?cat=tamsel&evtname=" + evtname +
                      "&evtval=" + evtval + "&notes=" + notes + "&uid=" + std::to_string(uid);
    Console* console = platform().console;
    platform().network->get(url, [console](const FetchResult& reply) {
        if (!reply.ok) {
            console->printLine("logFunc " + reply.error);
            return;
        }
        // The reply goes out as one line of ASCII: anything else would let a
        // server write control sequences to the user's terminal.
        std::string line;
        line.reserve(reply.body.size());
        for (unsigned char c : reply.body) {
            if (c == '\n' || c == '\r') continue;
            line += (c >= 0x20 && c < 0x7f) ? static_cast<char>(c) : '?';
        }
        console->printLine(line);
    });
}

}  // namespace tamsel
