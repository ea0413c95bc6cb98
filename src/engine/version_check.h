#pragma once

#include <string>

namespace tamsel {

// How long the blocking fetch of the version file may hold the main loop.
inline constexpr double kVersionFetchTimeout = 10.0;

// Fetches the newest version's number from the maker's server and offers
// the web site when it is neither this version nor one the user skipped.
void runVersionCheck();

// A stored skipped version as text: up to 15 significant digits, ".0" added
// when the number shows neither a point nor an exponent (3 gives "3.0").
std::string renderVersion(double version);

// The address of the maker's web site; empty when the build has no server.
std::string webSiteAddress();

}  // namespace tamsel
