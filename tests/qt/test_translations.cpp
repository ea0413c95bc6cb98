// The user's language: which catalogue is chosen, and a German desktop
// (the test l10n.german_desktop runs this with LANGUAGE=de) getting German
// menus and preferences.

#include <QAbstractButton>
#include <QComboBox>
#include <QMenu>

#include "app/app_delegate.h"
#include "engine/scl.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/translations.h"
#include "platform/qt/views/qt_window.h"
#include "prefs/pref_window.h"
#include "qt_test.h"

namespace tamsel::qt {
namespace {

const QStringList kFolders = {QStringLiteral("/nonexistent"),
                              QStringLiteral(TAMSEL_BUILD_TRANSLATIONS)};

TEST(GermanDesktop, MenuAndPreferencesSpeakGerman) {
    EXPECT_EQ(chooseLanguage({"pt-BR", "es-MX", "de"}, kFolders), "es");
    EXPECT_EQ(chooseLanguage({"en-GB", "de-DE"}, kFolders), "") << "English first";
    EXPECT_EQ(chooseLanguage({"de"}, {"/nonexistent"}), "") << "no catalogue, no language";
    ASSERT_EQ(installTranslations(kFolders), "de") << "run with LANGUAGE=de";
    QtPlatform qt;
    SCL::reset(qt.platform());

    auto item = qt.platform().statusBar->statusItem();
    item->setMenu(AppDelegate::menuItems(Status{}), {});
    auto* menu = qobject_cast<QMenu*>(test::findWindow("statusMenu", true));
    QStringList items;
    for (const QAction* a : menu->actions()) items << a->text();
    EXPECT_EQ(items.join('|').toStdString(),
              "Einstellungen …|Statistik …|Hilfe|Meinen Desktop prüfen …||"
              "Jetzt eine Pause machen|Pausieren|Überspringen||Beenden");

    PrefWindow prefs;
    prefs.showWindow();
    const QWidget* view = static_cast<QtWindow*>(prefs.window())->view();
    EXPECT_TRUE(view->windowTitle().startsWith("Tamsel-Einstellungen "))
        << view->windowTitle().toStdString();
    QStringList shown;  // what people read and what a screen reader says
    for (const QWidget* w : view->findChildren<QWidget*>()) {
        if (const auto* button = qobject_cast<const QAbstractButton*>(w)) shown << button->text();
        shown << w->accessibleName();
    }
    for (const char* text :
         {"Eine &Minute vor einer Pause Bescheid geben", "&Speichern", "Arbeitszeit"})
        EXPECT_TRUE(shown.contains(text)) << text;
    EXPECT_EQ(view->findChild<QComboBox*>()->itemText(0), "Oben links");
    // Qt's own texts come from its catalogue.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen");
    SCL::reset(Platform{});  // nothing left pointing into the platform that ends here
}

}  // namespace
}  // namespace tamsel::qt
