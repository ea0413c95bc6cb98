#pragma once

#include <QCoreApplication>
#include <QString>
#include <string_view>

namespace tamsel::qt {

// The controllers' UTF-8 texts as Qt's.
inline QString toQString(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A text marked with QT_TRANSLATE_NOOP("Tamsel", ...) in a table (a literal,
// so it ends in a NUL) in the user's language.
inline QString translated(std::string_view source) {
    return QCoreApplication::translate("Tamsel", source.data());
}

}  // namespace tamsel::qt
