#include "engine/version_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "common/server.h"
#include "engine/scl.h"

namespace tamsel {

namespace {

std::string_view trimmed(std::string_view s) {
    const char* blanks = " \t\r\n";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// Digits with single points between them, as release numbers are written.
bool isVersionNumber(std::string_view s) {
    if (s.empty() || s.size() > 32 || s.front() == '.' || s.back() == '.') return false;
    char previous = 0;
    for (char c : s) {
        if (c == '.' && previous == '.') return false;
        if (c != '.' && (c < '0' || c > '9')) return false;
        previous = c;
    }
    return true;
}

}  // namespace

std::string renderVersion(double version) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", version);
    std::string text = buffer;
    if (text.find_first_of(".eEn") == std::string::npos) text += ".0";
    return text;
}

std::string webSiteAddress() {
    return hasServer() ? std::string(serverUrl()) + "/" : std::string();
}

void runVersionCheck() {
    if (!hasServer()) return;
    const Platform& p = SCL::platform();
    const FetchResult fetched =
        p.network->fetchText(std::string(serverUrl()) + "/tsupdateosx.txt", kVersionFetchTimeout);
    // A line break around the number is how files are saved, not part of the
    // version; anything that is not a version number is no answer at all.
    const std::string_view text = trimmed(fetched.body);
    if (!fetched.ok || !isVersionNumber(text)) {
        SCL::showAlert("Unable to check for new versions");
        return;
    }
    if (text == kVersion) return;
    const std::string skipped = renderVersion(settings::skipVersion());
    if (text == skipped) return;
    // "3" is stored as 3 and reads back as "3.0": the same refused number,
    // so it is not offered again. Texts with more points cannot be stored
    // whole and stay compared as text.
    if (std::count(text.begin(), text.end(), '.') <= 1 &&
        renderVersion(std::strtod(std::string(text).c_str(), nullptr)) == skipped)
        return;

    p.app->activateIgnoringOtherApps();
    AlertRequest ask;
    ask.messageText = "Tamsel update";
    ask.informativeText = "There is an update to tamsel. Do you want to visit " + webSiteAddress() +
                          " to download the latest version.";
    ask.buttons = {"Yes", "No, skip this version"};
    if (p.dialogs->runAlert(ask).button == kAlertFirstButtonReturn) {
        p.workspace->openURL(webSiteAddress());
        return;
    }
    const double refused = std::strtod(std::string(text).c_str(), nullptr);
    if (std::isfinite(refused)) SCL::defaults().setDouble(key::skipVersion, refused);
}

}  // namespace tamsel
