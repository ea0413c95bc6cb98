#include "platform/qt/busy/gnome_banners.h"

#include <gio/gio.h>

namespace tamsel::qt {

namespace {
constexpr const char* kSchema = "org.gnome.desktop.notifications";
constexpr const char* kKey = "show-banners";
}  // namespace

struct GnomeBanners::Glib {
    GSettings* settings = nullptr;
    gulong handler = 0;
};

std::unique_ptr<GnomeBanners> GnomeBanners::open(std::function<void()> changed) {
    // Looked up first: g_settings_new() aborts the process on a missing schema.
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema =
        source ? g_settings_schema_source_lookup(source, kSchema, TRUE) : nullptr;
    if (!schema) return nullptr;
    if (!g_settings_schema_has_key(schema, kKey)) {
        g_settings_schema_unref(schema);
        return nullptr;
    }
    std::unique_ptr<GnomeBanners> banners(new GnomeBanners);
    banners->glib_ = std::make_unique<Glib>();
    banners->changed_ = std::move(changed);
    banners->glib_->settings = g_settings_new_full(schema, nullptr, nullptr);
    g_settings_schema_unref(schema);
    banners->glib_->handler =
        g_signal_connect(banners->glib_->settings, "changed::show-banners",
                         G_CALLBACK(+[](GSettings*, const gchar*, gpointer self) {
                             auto* banners = static_cast<GnomeBanners*>(self);
                             if (banners->changed_) banners->changed_();
                         }),
                         banners.get());
    // GSettings tells changes only of a key read since the handler was added.
    g_settings_get_boolean(banners->glib_->settings, kKey);
    return banners;
}

GnomeBanners::~GnomeBanners() {
    if (!glib_ || !glib_->settings) return;
    g_signal_handler_disconnect(glib_->settings, glib_->handler);
    g_object_unref(glib_->settings);
}

bool GnomeBanners::shown() const {
    return g_settings_get_boolean(glib_->settings, kKey) != FALSE;
}

}  // namespace tamsel::qt
