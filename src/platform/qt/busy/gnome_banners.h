#pragma once

// GNOME's do-not-disturb: the setting org.gnome.desktop.notifications
// show-banners, false while notifications are held back. Plain GSettings
// (gio), apart from Qt: gio's headers and Qt's keywords do not mix.

#include <functional>
#include <memory>

namespace tamsel::qt {

class GnomeBanners {
public:
    // Empty where the schema or its key is not installed; `changed` runs on
    // the main loop after every change of the setting.
    static std::unique_ptr<GnomeBanners> open(std::function<void()> changed);
    ~GnomeBanners();
    GnomeBanners(const GnomeBanners&) = delete;
    GnomeBanners& operator=(const GnomeBanners&) = delete;

    bool shown() const;

private:
    GnomeBanners() = default;
    struct Glib;
    std::unique_ptr<Glib> glib_;
    std::function<void()> changed_;
};

}  // namespace tamsel::qt
