// The camera in use: inotify tells every open and close of a video device
// node, by any process (another user's too: a hint, not proof). The devices
// are never opened here. A device opened before Tamsel started is not seen:
// the answer is Unknown until the first open or close, then follows the
// count of opens not yet closed.

#include <dirent.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <QFile>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <set>

#include "platform/qt/busy/busy_sources.h"

namespace tamsel::qt {

namespace {

constexpr std::uint32_t kFolderEvents = IN_CREATE | IN_DELETE | IN_ATTRIB | IN_MOVED_FROM |
                                        IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
// Not IN_OPEN on the folder: that would report every open of /dev/null.
constexpr std::uint32_t kDeviceEvents = IN_OPEN | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE;

bool isVideoDevice(const char* name) {
    return std::strncmp(name, "video", 5) == 0;
}

class InotifyCamera : public QtBusySource {
public:
    explicit InotifyCamera(const QString& folder)
        : QtBusySource("camera"), folder_(QFile::encodeName(folder)) {}
    ~InotifyCamera() override { stop(); }
    InotifyCamera(const InotifyCamera&) = delete;
    InotifyCamera& operator=(const InotifyCamera&) = delete;

    void start() override {
        fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (fd_ < 0) {
            cannot(std::string("inotify is not available (") + std::strerror(errno) + ")");
            return;
        }
        if (inotify_add_watch(fd_, folder_.constData(), kFolderEvents) < 0) {
            cannot("cannot watch " + folder_.toStdString() + " (" + std::strerror(errno) + ")");
            stop();
            return;
        }
        notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, &context_,
                         [this] { readEvents(); });
        rescan();
    }

    void stop() override {
        notifier_.reset();
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        devices_.clear();
        refused_.clear();
        seen_ = false;
    }

private:
    struct Device {
        std::string name;
        int opens = 0;
    };

    // readdir, not QDir's name filter: the filter compiles a regular
    // expression, which pulls some 400 kB of PCRE into memory for good.
    void rescan() {
        if (DIR* dir = ::opendir(folder_.constData())) {
            while (const dirent* entry = ::readdir(dir))
                if (entry->d_type != DT_DIR && isVideoDevice(entry->d_name)) add(entry->d_name);
            ::closedir(dir);
        }
        recount();
    }

    void add(const std::string& name) {
        for (const auto& [wd, device] : devices_)
            if (device.name == name) return;
        const QByteArray path = folder_ + '/' + QByteArray::fromStdString(name);
        const int wd = inotify_add_watch(fd_, path.constData(), kDeviceEvents);
        if (wd < 0) {
            // udev may grant access a moment later: an IN_ATTRIB says when.
            refused_.insert(name);
            return;
        }
        refused_.erase(name);
        devices_[wd] = Device{name, 0};
    }

    void remove(const std::string& name) {
        refused_.erase(name);
        for (auto it = devices_.begin(); it != devices_.end(); ++it) {
            if (it->second.name != name) continue;
            inotify_rm_watch(fd_, it->first);
            devices_.erase(it);
            return;
        }
    }

    void readEvents() {
        alignas(inotify_event) char buffer[4096];
        bool overflow = false;
        for (;;) {
            const ssize_t length = ::read(fd_, buffer, sizeof buffer);
            if (length <= 0) break;
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
                if (event->mask & IN_Q_OVERFLOW) overflow = true;
                handle(*event);
            }
        }
        if (overflow) {
            // Events were lost: the counts cannot be trusted, start afresh.
            for (const auto& [wd, device] : devices_) inotify_rm_watch(fd_, wd);
            devices_.clear();
            refused_.clear();
            seen_ = false;
            rescan();
            return;
        }
        recount();
    }

    void handle(const inotify_event& event) {
        const auto device = devices_.find(event.wd);
        if (device != devices_.end()) {
            if (event.mask & IN_IGNORED) {
                devices_.erase(device);
            } else if (event.mask & IN_OPEN) {
                ++device->second.opens;
                seen_ = true;
            } else if (event.mask & (IN_CLOSE_WRITE | IN_CLOSE_NOWRITE)) {
                // A close of an open from before the start counts for nothing.
                device->second.opens = std::max(device->second.opens - 1, 0);
                seen_ = true;
            }
            return;
        }
        if (event.mask & (IN_DELETE_SELF | IN_MOVE_SELF)) {
            cannot(folder_.toStdString() + " went away");
            return;
        }
        if (event.len == 0 || !isVideoDevice(event.name)) return;
        if (event.mask & (IN_DELETE | IN_MOVED_FROM))
            remove(event.name);
        else if (event.mask & (IN_CREATE | IN_MOVED_TO | IN_ATTRIB))
            add(event.name);
    }

    void recount() {
        if (devices_.empty() && !refused_.empty()) {
            std::string names;
            for (const std::string& name : refused_) names += (names.empty() ? "" : ", ") + name;
            cannot("no permission to watch " + names + " in " + folder_.toStdString() +
                   "; a call on the camera does not hold a break back");
            return;
        }
        if (devices_.empty()) {
            tell(Busy::No);  // no camera
            return;
        }
        const bool open = std::any_of(devices_.begin(), devices_.end(),
                                      [](const auto& d) { return d.second.opens > 0; });
        tell(open ? Busy::Yes : seen_ ? Busy::No : Busy::Unknown);
    }

    QByteArray folder_;
    int fd_ = -1;
    std::map<int, Device> devices_;  // by watch descriptor
    std::set<std::string> refused_;
    // An open or close was seen since the start (or the last lost events).
    bool seen_ = false;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace

std::unique_ptr<QtBusySource> makeInotifyCamera(const QString& folder) {
    return std::make_unique<InotifyCamera>(folder);
}

}  // namespace tamsel::qt
