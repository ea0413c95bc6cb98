#include "platform/qt/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace tamsel::qt {

QStringList translationFolders() {
    const QDir dir(QCoreApplication::applicationDirPath());
    return {dir.absoluteFilePath(QStringLiteral("translations")),
            dir.absoluteFilePath(QStringLiteral("../share/tamsel/translations")),
            dir.absoluteFilePath(QStringLiteral("../Resources/translations"))};
}

namespace {

// "de-DE" is looked for as de_DE, then de.
QStringList namesOf(const QString& uiLanguage) {
    QString name = uiLanguage;
    name.replace(QLatin1Char('-'), QLatin1Char('_'));
    QStringList names = {name};
    if (const qsizetype cut = name.indexOf(QLatin1Char('_')); cut > 0) names << name.left(cut);
    return names;
}

const QString kPrefix = QStringLiteral("tamsel_");

bool load(const QString& file, const QStringList& folders) {
    auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
    for (const QString& folder : folders)
        if (translator->load(file, folder)) {
            QCoreApplication::installTranslator(translator.release());
            return true;
        }
    return false;
}

}  // namespace

QString chooseLanguage(const QStringList& uiLanguages, const QStringList& folders) {
    for (const QString& uiLanguage : uiLanguages) {
        // A person who puts English before another language reads the texts
        // as they are written.
        if (uiLanguage == QLatin1String("C") || uiLanguage.startsWith(QLatin1String("en")))
            return {};
        for (const QString& name : namesOf(uiLanguage))
            for (const QString& folder : folders)
                if (QFileInfo::exists(
                        QDir(folder).filePath(kPrefix + name + QStringLiteral(".qm"))))
                    return name;
    }
    return {};
}

QString installTranslations(const QStringList& folders) {
    const QString language = chooseLanguage(QLocale::system().uiLanguages(), folders);
    if (language.isEmpty() || !load(kPrefix + language, folders)) return {};
    load(QStringLiteral("qtbase_") + language,
         {QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
    return language;
}

std::string QtTranslator::translate(const char* context, const char* source) {
    return QCoreApplication::translate(context, source).toStdString();
}

}  // namespace tamsel::qt
