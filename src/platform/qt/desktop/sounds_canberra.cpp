// Event sounds through libcanberra, which plays the desktop's sound theme
// on PulseAudio or ALSA. Linux only (os_services.cpp picks it).

#include <canberra.h>

#include <QThreadPool>
#include <cstdio>
#include <mutex>

#include "platform/qt/desktop/os_services.h"

namespace tamsel::qt {

namespace {

class CanberraSounds : public Sounds {
public:
    ~CanberraSounds() override {
        // Played sounds may still be on their way in the pool.
        QThreadPool::globalInstance()->waitForDone(2000);
        std::lock_guard lock(mutex_);
        if (context_) ca_context_destroy(context_);
    }

    void play(const std::string& soundName) override {
        // Opening the sound system may take a moment, or hang on a broken
        // one: never on the main loop.
        QThreadPool::globalInstance()->start([this, soundName] { playNow(soundName); });
    }

private:
    void playNow(const std::string& soundName) {
        std::lock_guard lock(mutex_);
        if (broken_) return;
        if (!context_) {
            if (ca_context_create(&context_) != CA_SUCCESS) {
                context_ = nullptr;
                broken_ = true;
                return;
            }
            ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "Tamsel",
                                    CA_PROP_APPLICATION_ID, "org.tamsel.Tamsel",
                                    CA_PROP_APPLICATION_ICON_NAME, "tamsel", nullptr);
        }
        const int result = ca_context_play(context_, 0, CA_PROP_EVENT_ID, soundName.c_str(),
                                           CA_PROP_EVENT_DESCRIPTION, "Tamsel break", nullptr);
        if (result != CA_SUCCESS && !reported_) {
            // Said once: a desktop without sound is common and no fault.
            reported_ = true;
            std::fprintf(stderr, "tamsel: no sound played (%s).\n", ca_strerror(result));
            std::fflush(stderr);
        }
    }

    std::mutex mutex_;
    ca_context* context_ = nullptr;
    bool broken_ = false;
    bool reported_ = false;
};

}  // namespace

std::unique_ptr<Sounds> makeCanberraSounds() {
    return std::make_unique<CanberraSounds>();
}

}  // namespace tamsel::qt
