#pragma once

#include <QString>
#include <QStringList>

#include "common/platform.h"

namespace tamsel::qt {

// Where tamsel_<lang>.qm may lie: next to the binary (a build tree), in
// ../share/tamsel/translations (an install), in the macOS bundle's Resources.
QStringList translationFolders();

// The first of these languages ("de-DE", "fr") that Tamsel has a catalogue
// for in the folders, as its file names it ("de"); empty where English comes
// first or none has one: the texts are written in English.
QString chooseLanguage(const QStringList& uiLanguages, const QStringList& folders);

// Loads the catalogue of the user's language (LANGUAGE, LC_MESSAGES, LANG,
// as QLocale reads them), with Qt's own for its standard buttons. Returns the
// language loaded, empty for English.
QString installTranslations(const QStringList& folders = translationFolders());

// The controllers' texts through the loaded catalogues.
class QtTranslator : public Translator {
public:
    std::string translate(const char* context, const char* source) override;
};

}  // namespace tamsel::qt
