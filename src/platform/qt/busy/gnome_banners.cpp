#include "platform/qt/busy/gnome_banners.h"

#include <gio/gio.h>

#include "platform/qt/loaded_library.h"

namespace tamsel::qt {

namespace {

constexpr const char* kSchema = "org.gnome.desktop.notifications";
constexpr const char* kKey = "show-banners";

// gio is loaded only where GNOME's setting is watched: linked in, it and the
// libraries it brings would cost every other desktop about a megabyte.
struct Gio {
    decltype(&g_settings_schema_source_get_default) sourceDefault;
    decltype(&g_settings_schema_source_lookup) lookup;
    decltype(&g_settings_schema_has_key) hasKey;
    decltype(&g_settings_schema_unref) schemaUnref;
    decltype(&g_settings_new_full) settingsNew;
    decltype(&g_settings_get_boolean) getBoolean;
    decltype(&g_signal_connect_data) connect;
    decltype(&g_signal_handler_disconnect) disconnect;
    decltype(&g_object_unref) unref;
};

const Gio* gio() {
    return loadOnce<Gio>("libgio-2.0.so.0", [](LoadedLibrary& library, Gio& g) {
        library.bind(g.sourceDefault, "g_settings_schema_source_get_default");
        library.bind(g.lookup, "g_settings_schema_source_lookup");
        library.bind(g.hasKey, "g_settings_schema_has_key");
        library.bind(g.schemaUnref, "g_settings_schema_unref");
        library.bind(g.settingsNew, "g_settings_new_full");
        library.bind(g.getBoolean, "g_settings_get_boolean");
        library.bind(g.connect, "g_signal_connect_data");
        library.bind(g.disconnect, "g_signal_handler_disconnect");
        library.bind(g.unref, "g_object_unref");
    });
}

}  // namespace

struct GnomeBanners::Glib {
    const Gio* gio = nullptr;
    GSettings* settings = nullptr;
    gulong handler = 0;
};

std::unique_ptr<GnomeBanners> GnomeBanners::open(std::function<void()> changed) {
    const Gio* g = gio();
    if (!g) return nullptr;
    // Looked up first: g_settings_new() aborts the process on a missing schema.
    GSettingsSchemaSource* source = g->sourceDefault();
    GSettingsSchema* schema = source ? g->lookup(source, kSchema, TRUE) : nullptr;
    if (!schema) return nullptr;
    if (!g->hasKey(schema, kKey)) {
        g->schemaUnref(schema);
        return nullptr;
    }
    std::unique_ptr<GnomeBanners> banners(new GnomeBanners);
    banners->glib_ = std::make_unique<Glib>();
    banners->changed_ = std::move(changed);
    Glib& glib = *banners->glib_;
    glib.gio = g;
    glib.settings = g->settingsNew(schema, nullptr, nullptr);
    g->schemaUnref(schema);
    glib.handler = g->connect(glib.settings, "changed::show-banners",
                              G_CALLBACK(+[](GSettings*, const gchar*, gpointer self) {
                                  auto* banners = static_cast<GnomeBanners*>(self);
                                  if (banners->changed_) banners->changed_();
                              }),
                              banners.get(), nullptr, GConnectFlags(0));
    // GSettings tells changes only of a key read since the handler was added.
    g->getBoolean(glib.settings, kKey);
    return banners;
}

GnomeBanners::~GnomeBanners() {
    if (!glib_ || !glib_->settings) return;
    glib_->gio->disconnect(glib_->settings, glib_->handler);
    glib_->gio->unref(glib_->settings);
}

bool GnomeBanners::shown() const {
    return glib_->gio->getBoolean(glib_->settings, kKey) != FALSE;
}

}  // namespace tamsel::qt
