#include "engine/version_check.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "common/server.h"
#include "engine/scl.h"

namespace tamsel {

namespace {

using Parts = std::vector<std::uint64_t>;

std::string_view trimmed(std::string_view s) {
    const char* blanks = " \t\r\n";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// Digits with single points between them, as release numbers are written;
// read the same in every language (no locale is consulted).
std::optional<Parts> versionParts(std::string_view s) {
    if (s.empty() || s.size() > 32) return std::nullopt;
    Parts parts;
    const char* p = s.data();
    const char* const end = p + s.size();
    for (;;) {
        if (p == end || *p < '0' || *p > '9') return std::nullopt;
        std::uint64_t part = 0;
        const auto [next, error] = std::from_chars(p, end, part);
        if (error != std::errc()) return std::nullopt;
        parts.push_back(part);
        if (next == end) return parts;
        if (*next != '.') return std::nullopt;
        p = next + 1;
    }
}

// Part by part, a missing part counting as 0: "3.10" is newer than "3.1",
// and "3" is "3.0".
int compare(const Parts& a, const Parts& b) {
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::uint64_t x = i < a.size() ? a[i] : 0;
        const std::uint64_t y = i < b.size() ? b[i] : 0;
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

}  // namespace

std::string renderVersion(double version) {
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, version, std::chars_format::general, 15);
    std::string text(buffer, error == std::errc() ? end : buffer);
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
    const std::optional<Parts> offered = versionParts(text);
    if (!fetched.ok || !offered) {
        SCL::showAlert(translate("Tamsel", "Unable to check for new versions"));
        return;
    }
    // Only a newer release is an update: this one, or an older one a server
    // still serves, asks nothing.
    if (compare(*offered, versionParts(kVersion).value_or(Parts{})) <= 0) return;
    // The refused version is kept as a number; "3" comes back as "3.0", the
    // same version. A text a number cannot hold ("3.10" reads as 3.1) is
    // offered again rather than taken for an older one.
    const std::optional<Parts> skipped = versionParts(renderVersion(settings::skipVersion()));
    if (skipped && compare(*offered, *skipped) == 0) return;

    p.app->activateIgnoringOtherApps();
    AlertRequest ask;
    ask.messageText = translate("Tamsel", "Tamsel update");
    ask.informativeText = fill(translate("Tamsel",
                                         "There is an update to tamsel. Do you want to visit %1 "
                                         "to download the latest version."),
                               {webSiteAddress()});
    ask.buttons = {translate("Tamsel", "Yes"), translate("Tamsel", "No, skip this version")};
    if (p.dialogs->runAlert(ask).button == kAlertFirstButtonReturn) {
        p.workspace->openURL(webSiteAddress());
        return;
    }
    // The number the text starts with ("2.7.1" gives 2.7), read as C reads it.
    double refused = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), refused, std::chars_format::fixed);
    if (std::isfinite(refused)) SCL::defaults().setDouble(key::skipVersion, refused);
}

}  // namespace tamsel
