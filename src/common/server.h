#pragma once

#include <string>
#include <string_view>

namespace tamsel {

// Root of the maker's server (version file, usage events, web site), set at
// build time by TAMSEL_SERVER_URL. Empty: this build talks to no server.
std::string_view serverUrl();
bool hasServer();

}  // namespace tamsel
