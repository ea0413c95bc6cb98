#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "common/platform.h"

namespace tamsel::qt {

// Requests from outside the process. Scripts reach it on the session bus
// as org.tamsel.Tamsel; a second launch through the single-instance socket.
// Every request waits until no modal run is open, and one that needs the
// password box is answered when the box is (a delayed reply), never with a
// dialog inside the bus's own handler.
class QtRemote : public Remote {
public:
    static constexpr const char* kService = "org.tamsel.Tamsel";
    static constexpr const char* kPath = "/org/tamsel/Tamsel";
    static constexpr const char* kInterface = "org.tamsel.Tamsel";
    static constexpr const char* kRefused = "org.tamsel.Tamsel.Error.Refused";

    QtRemote();
    ~QtRemote() override;

    // Claims the name (DoNotQueue) and puts the object on the bus; when
    // another program owns the name it says so and goes on without.
    void serve(Handler handler) override;
    void publish(const std::vector<RemoteProperty>& properties) override;

    // One request, from the bus or the socket.
    void request(RemoteRequest request, Answer answer);
    // The interface as introspection XML.
    QString interfaceXml() const;
    const std::vector<RemoteProperty>& properties() const { return properties_; }

private:
    class BusObject;
    void whenNoModal(std::function<void()> run);

    QObject context_;
    std::unique_ptr<BusObject> object_;
    Handler handler_;
    std::vector<std::function<void()>> early_;  // before serve()
    std::vector<RemoteProperty> properties_;
    bool onBus_ = false;
};

}  // namespace tamsel::qt
