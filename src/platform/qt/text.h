#pragma once

#include <QString>
#include <string_view>

namespace tamsel::qt {

// The controllers' UTF-8 texts as Qt's.
inline QString toQString(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace tamsel::qt
