// The microphone in use: a recording stream (source output) on a source that
// is no sink's monitor, from any program but Tamsel, as the sound server
// tells it through libpulse's introspection and subscription (PulseAudio, and
// PipeWire through pipewire-pulse).
//
// libpulse runs on its glib main loop over glib's default context, which
// Qt's own event dispatcher on Linux iterates: every libpulse callback runs
// on the main thread, with no thread or lock of ours and no wake-up while
// the server is quiet. A server that goes away is looked for again at once,
// then whenever org.pulseaudio.Server appears on the session bus (both
// PulseAudio and pipewire-pulse claim it); where no bus can tell (a server
// named by PULSE_SERVER or by the caller), at most once a minute when the
// activity tick asks.

#include <pulse/context.h>
#include <pulse/glib-mainloop.h>
#include <pulse/introspect.h>
#include <pulse/proplist.h>
#include <pulse/subscribe.h>
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QTimer>
#include <charconv>
#include <cstring>
#include <map>

#include "platform/qt/busy/busy_sources.h"

namespace tamsel::qt {

namespace {

constexpr double kRetrySeconds = 60.0;

// The process a stream says it comes from; its property is any program's
// text, only ever compared here.
bool fromThisProcess(const pa_proplist* properties) {
    const char* text =
        properties ? pa_proplist_gets(properties, PA_PROP_APPLICATION_PROCESS_ID) : nullptr;
    if (!text) return false;
    long pid = 0;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, pid);
    return error == std::errc() && stop == end && pid == static_cast<long>(::getpid());
}

class PulseMicrophone : public QtBusySource {
public:
    PulseMicrophone(Clock& clock, std::string server)
        : QtBusySource("microphone"),
          clock_(clock),
          server_(std::move(server)),
          serverNamed_(!server_.empty() || qEnvironmentVariableIsSet("PULSE_SERVER")) {}
    ~PulseMicrophone() override { stop(); }
    PulseMicrophone(const PulseMicrophone&) = delete;
    PulseMicrophone& operator=(const PulseMicrophone&) = delete;

    Busy busy() override {
        if (watching() && loop_ && !pulse_ && !serverWatch_ &&
            clock_.uptime() - lastTry_ >= kRetrySeconds)
            connect();
        return QtBusySource::busy();
    }

    void start() override {
        const auto* dispatcher =
            QAbstractEventDispatcher::instance(qApp ? qApp->thread() : nullptr);
        if (!dispatcher || !dispatcher->inherits("QEventDispatcherGlib")) {
            cannot("Qt's event loop here is not glib's, which libpulse needs");
            return;
        }
        loop_ = pa_glib_mainloop_new(nullptr);
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!serverNamed_ && bus.isConnected()) {
            serverWatch_ =
                std::make_unique<QDBusServiceWatcher>(QStringLiteral("org.pulseaudio.Server"), bus,
                                                      QDBusServiceWatcher::WatchForRegistration);
            QObject::connect(serverWatch_.get(), &QDBusServiceWatcher::serviceRegistered, &context_,
                             [this] {
                                 if (!pulse_) connect();
                             });
        }
        connect();
    }

    void stop() override {
        drop();
        serverWatch_.reset();
        if (loop_) pa_glib_mainloop_free(loop_);
        loop_ = nullptr;
    }

private:
    void connect() {
        lastTry_ = clock_.uptime();
        pa_proplist* properties = pa_proplist_new();
        pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, "Tamsel");
        pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "org.tamsel.Tamsel");
        pulse_ =
            pa_context_new_with_proplist(pa_glib_mainloop_get_api(loop_), "Tamsel", properties);
        pa_proplist_free(properties);
        ++generation_;
        if (!pulse_) {
            cannot("libpulse could not start");
            return;
        }
        pa_context_set_state_callback(pulse_, onState, this);
        // Never start a sound server of our own.
        if (pa_context_connect(pulse_, server_.empty() ? nullptr : server_.c_str(),
                               PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            lost(generation_);
    }

    void drop() {
        if (pulse_) {
            pa_context_set_state_callback(pulse_, nullptr, nullptr);
            pa_context_set_subscribe_callback(pulse_, nullptr, nullptr);
            // Pending queries are cancelled: their callbacks never run.
            pa_context_disconnect(pulse_);
            pa_context_unref(pulse_);
        }
        pulse_ = nullptr;
        ++generation_;
        wasReady_ = false;
        listed_ = false;
        monitors_.clear();
        streams_.clear();
    }

    // The connection failed or broke: once more at once if it had worked
    // (a restarting server may be back already), else wait to be told.
    void lost(std::uint64_t generation) {
        if (generation != generation_ || !pulse_) return;
        const bool wasReady = wasReady_;
        drop();
        if (wasReady) {
            tell(Busy::Unknown);
            connect();
            return;
        }
        cannot(
            "no sound server answers (PulseAudio or PipeWire); until one does, a call on "
            "the microphone does not hold a break back");
    }

    void ready() {
        wasReady_ = true;
        pa_context_set_subscribe_callback(pulse_, onEvent, this);
        done(pa_context_subscribe(
            pulse_,
            static_cast<pa_subscription_mask_t>(PA_SUBSCRIPTION_MASK_SOURCE |
                                                PA_SUBSCRIPTION_MASK_SOURCE_OUTPUT),
            nullptr, nullptr));
        // Answered in this order: the sources are known before the streams.
        done(pa_context_get_source_info_list(pulse_, onSource, this));
        done(pa_context_get_source_output_info_list(pulse_, onOutput, this));
    }

    void recount() {
        if (!listed_) return;
        bool recording = false;
        for (const auto& [index, stream] : streams_) {
            const auto source = monitors_.find(stream.source);
            recording |= stream.counts && (source == monitors_.end() || !source->second);
        }
        tell(recording ? Busy::Yes : Busy::No);
    }

    static void done(pa_operation* operation) {
        if (operation) pa_operation_unref(operation);
    }

    static void onState(pa_context* context, void* self) {
        auto* mic = static_cast<PulseMicrophone*>(self);
        switch (pa_context_get_state(context)) {
            case PA_CONTEXT_READY: mic->ready(); break;
            case PA_CONTEXT_FAILED:
            case PA_CONTEXT_TERMINATED:
                // Not inside libpulse's own call: the context is freed there.
                QTimer::singleShot(0, &mic->context_,
                                   [mic, generation = mic->generation_] { mic->lost(generation); });
                break;
            default: break;
        }
    }

    static void onEvent(pa_context* context, pa_subscription_event_type_t type, std::uint32_t index,
                        void* self) {
        auto* mic = static_cast<PulseMicrophone*>(self);
        const auto facility = type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK;
        const bool removed =
            (type & PA_SUBSCRIPTION_EVENT_TYPE_MASK) == PA_SUBSCRIPTION_EVENT_REMOVE;
        if (facility == PA_SUBSCRIPTION_EVENT_SOURCE && removed) {
            mic->monitors_.erase(index);
        } else if (facility == PA_SUBSCRIPTION_EVENT_SOURCE) {
            done(pa_context_get_source_info_by_index(context, index, onSource, self));
            return;
        } else if (facility == PA_SUBSCRIPTION_EVENT_SOURCE_OUTPUT && removed) {
            mic->streams_.erase(index);
        } else if (facility == PA_SUBSCRIPTION_EVENT_SOURCE_OUTPUT) {
            done(pa_context_get_source_output_info(context, index, onOutput, self));
            return;
        }
        mic->recount();
    }

    static void onSource(pa_context*, const pa_source_info* info, int eol, void* self) {
        if (eol || !info) return;
        auto* mic = static_cast<PulseMicrophone*>(self);
        mic->monitors_[info->index] = info->monitor_of_sink != PA_INVALID_INDEX;
        mic->recount();
    }

    static void onOutput(pa_context*, const pa_source_output_info* info, int eol, void* self) {
        auto* mic = static_cast<PulseMicrophone*>(self);
        if (eol > 0) mic->listed_ = true;
        // eol < 0: the stream went before it could be asked about.
        if (eol == 0 && info)
            mic->streams_[info->index] = {info->source,
                                          !info->corked && !fromThisProcess(info->proplist)};
        mic->recount();
    }

    struct Stream {
        std::uint32_t source;
        bool counts;  // running, and not Tamsel's own
    };

    Clock& clock_;
    std::string server_;
    bool serverNamed_;
    pa_glib_mainloop* loop_ = nullptr;
    pa_context* pulse_ = nullptr;
    std::uint64_t generation_ = 0;  // of the connection: stale news is dropped
    bool wasReady_ = false;
    bool listed_ = false;
    double lastTry_ = 0;
    std::map<std::uint32_t, bool> monitors_;   // source index: a sink's monitor
    std::map<std::uint32_t, Stream> streams_;  // by source output index
    std::unique_ptr<QDBusServiceWatcher> serverWatch_;
};

}  // namespace

std::unique_ptr<QtBusySource> makePulseMicrophone(Clock& clock, const std::string& server) {
    return std::make_unique<PulseMicrophone>(clock, server);
}

}  // namespace tamsel::qt
