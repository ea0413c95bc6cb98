#pragma once

// Signs from the desktop that a due break should wait: the camera or the
// microphone in use (a call), a full-screen program, do-not-disturb. Each
// source is driven by the desktop's own events and holds nothing open while
// it does not watch. The factory in os_services.cpp picks them per system.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "common/platform.h"

class QDBusConnection;

namespace tamsel::qt {

class QtBusySource : public BusySource {
public:
    explicit QtBusySource(std::string name) : name_(std::move(name)) {}
    ~QtBusySource() override = default;

    void watch(bool on) override;
    Busy busy() override { return watching_ ? answer_ : Busy::Unknown; }
    void observe(std::function<void()> changed) override { changed_ = std::move(changed); }
    bool watching() const { return watching_; }
    // Sources watched within this many milliseconds from now start only
    // then: connecting to the sound server and the devices would hold back
    // the program's first windows.
    static void deferStarts(int milliseconds);

protected:
    virtual void start() = 0;
    virtual void stop() = 0;
    // The source's new answer; the observer hears of a change from the event
    // loop, after any modal run.
    void tell(Busy answer);
    // Why the source cannot tell, said once per run on stderr; answers
    // Unknown until it can.
    void cannot(const std::string& why);
    const std::string& name() const { return name_; }
    QObject context_;  // queued calls die with the source

private:
    void deliver();

    std::string name_;
    std::function<void()> changed_;
    bool watching_ = false;
    bool started_ = false;
    Busy answer_ = Busy::Unknown;
    bool pending_ = false;
    bool said_ = false;
};

// Opens of video devices (`video*` in `folder`, /dev on Linux) seen through
// inotify, with devices that come and go.
std::unique_ptr<QtBusySource> makeInotifyCamera(const QString& folder);
// Recording streams on the sound server's non-monitor sources (PulseAudio or
// PipeWire), through libpulse on Qt's glib main loop. `server` as libpulse
// takes it; empty: the desktop's own. `clock` times the retries where no
// bus tells when the server comes back.
std::unique_ptr<QtBusySource> makePulseMicrophone(Clock& clock, const std::string& server);
// The active X11 window in _NET_WM_STATE_FULLSCREEN, from property changes.
std::unique_ptr<QtBusySource> makeX11FullScreen();
// Notifications inhibited: org.freedesktop.Notifications' Inhibited (KDE),
// GNOME's show-banners setting.
std::unique_ptr<QtBusySource> makeDoNotDisturb(const QDBusConnection& bus);
// A source that cannot work on this desktop: says why once, when watched.
std::unique_ptr<QtBusySource> makeBlindSource(std::string name, std::string why);

}  // namespace tamsel::qt
