#pragma once

// Every text a person reads is written in English and looked up in the
// user's language: in the controllers with translate() below, in the Qt
// layer with QCoreApplication::translate, both in the context "Tamsel".
// lupdate finds both calls, and QT_TRANSLATE_NOOP in tables, whose entries
// go through translate() where they are shown.

#include <initializer_list>
#include <string>
#include <string_view>

#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif

namespace tamsel {

// The source text in the user's language, or as it stands where there is no
// translation (no Translator installed, an unknown text).
std::string translate(const char* context, const char* source);

// A whole-sentence template with its %1 .. %9 filled in, so a translation
// can put the pieces where its language wants them.
std::string fill(std::string_view text, std::initializer_list<std::string_view> args);

}  // namespace tamsel
