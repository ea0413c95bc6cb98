#include "common/server.h"

#ifndef TAMSEL_SERVER_URL
#define TAMSEL_SERVER_URL ""
#endif

namespace tamsel {

std::string_view serverUrl() {
    std::string_view url = TAMSEL_SERVER_URL;
    while (!url.empty() && url.back() == '/') url.remove_suffix(1);
    return url;
}

bool hasServer() {
    return !serverUrl().empty();
}

}  // namespace tamsel
