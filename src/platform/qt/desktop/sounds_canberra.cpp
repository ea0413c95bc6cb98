// Event sounds through libcanberra, which plays the desktop's sound theme
// on PulseAudio or ALSA. Linux only (os_services.cpp picks it).

#include <canberra.h>

#include <QThreadPool>
#include <cstdio>
#include <mutex>

#include "platform/qt/desktop/os_services.h"
#include "platform/qt/loaded_library.h"

namespace tamsel::qt {

namespace {

// Loaded at the first sound: sounds are off unless the user turns them on,
// and libcanberra with what it brings would cost everyone else memory.
struct Canberra {
    decltype(&ca_context_create) create;
    decltype(&ca_context_change_props) changeProps;
    decltype(&ca_context_play) play;
    decltype(&ca_context_destroy) destroy;
    decltype(&ca_strerror) error;
};

const Canberra* canberra() {
    return loadOnce<Canberra>("libcanberra.so.0", [](LoadedLibrary& library, Canberra& c) {
        library.bind(c.create, "ca_context_create");
        library.bind(c.changeProps, "ca_context_change_props");
        library.bind(c.play, "ca_context_play");
        library.bind(c.destroy, "ca_context_destroy");
        library.bind(c.error, "ca_strerror");
    });
}

class CanberraSounds : public Sounds {
public:
    ~CanberraSounds() override {
        // Played sounds may still be on their way in the pool.
        QThreadPool::globalInstance()->waitForDone(2000);
        std::lock_guard lock(mutex_);
        if (context_) canberra()->destroy(context_);
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
        const Canberra* ca = canberra();
        if (!ca) {
            broken_ = reported_ = true;
            std::fprintf(stderr, "tamsel: no sound played (libcanberra cannot be loaded).\n");
            std::fflush(stderr);
            return;
        }
        if (!context_) {
            if (ca->create(&context_) != CA_SUCCESS) {
                context_ = nullptr;
                broken_ = true;
                return;
            }
            ca->changeProps(context_, CA_PROP_APPLICATION_NAME, "Tamsel", CA_PROP_APPLICATION_ID,
                            "org.tamsel.Tamsel", CA_PROP_APPLICATION_ICON_NAME, "tamsel", nullptr);
        }
        const int result = ca->play(context_, 0, CA_PROP_EVENT_ID, soundName.c_str(),
                                    CA_PROP_EVENT_DESCRIPTION, "Tamsel break", nullptr);
        if (result != CA_SUCCESS && !reported_) {
            // Said once: a desktop without sound is common and no fault.
            reported_ = true;
            std::fprintf(stderr, "tamsel: no sound played (%s).\n", ca->error(result));
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
