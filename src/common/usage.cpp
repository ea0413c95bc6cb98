// Usage events: one GET to the maker's server, answered on standard output.

#include "common/server.h"
#include "engine/scl.h"

namespace tamsel {

namespace {

// What a server says goes out as one line of ASCII: anything else would let
// it write control sequences to the user's terminal. Line breaks between
// lines become one space; any other byte outside ASCII becomes "?".
std::string printableLine(const std::string& text) {
    std::string line;
    line.reserve(text.size());
    bool breakPending = false;
    for (unsigned char c : text) {
        if (c == '\n' || c == '\r') {
            breakPending = !line.empty();
            continue;
        }
        if (breakPending) line += ' ';
        breakPending = false;
        line += (c >= 0x20 && c < 0x7f) ? static_cast<char>(c) : '?';
    }
    return line;
}

}  // namespace

void SCL::logFunc(const std::string& evtname, const std::string& evtval, const std::string& notes) {
    if (!hasServer()) return;
    std::string url = std::string(serverUrl()) + "/logistics/ln.php?cat=tamsel&evtname=" + evtname +
                      "&evtval=" + evtval + "&notes=" + notes + "&uid=" + std::to_string(uid);
    Console* console = platform().console;
    platform().network->get(url, [console](const FetchResult& reply) {
        // An error text can quote the server too (an HTTP reason phrase).
        console->printLine(reply.ok ? printableLine(reply.body)
                                    : "logFunc " + printableLine(reply.error));
    });
}

}  // namespace tamsel
