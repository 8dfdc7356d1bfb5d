#pragma once

#include "platform/AccessorySession.h"

#include <memory>
#include <string>
#include <vector>

namespace tonara {

// Our monitor's accessory protocol identifier.
inline constexpr const char *kTonaraProtocolString = "org.tonaraplus.dock.bp";

// Posted on the notification centre given to the manager, with the manager as
// sender, when any accessory is attached or removed.
inline constexpr const char *kAccessoryDidConnectNotification = "EAAccessoryDidConnectNotification";
inline constexpr const char *kAccessoryDidDisconnectNotification = "EAAccessoryDidDisconnectNotification";

struct AccessoryInfo {
    std::string identifier;                   // backend's own name (port path, "simulator", ...)
    std::vector<std::string> protocolStrings; // protocols it offers
};

// The list of attached accessories and the way to open a session with one.
class AccessoryManager {
public:
    virtual ~AccessoryManager() = default;

    // Currently attached accessories, in the backend's order.
    virtual std::vector<AccessoryInfo> connectedAccessories() const = 0;
    // A session with the accessory for the protocol, or nullptr when it cannot be opened.
    virtual std::unique_ptr<AccessorySession> openSession(const AccessoryInfo &accessory,
                                                          const std::string &protocol) = 0;
    // Starts posting the connect and disconnect notifications.
    virtual void registerForLocalNotifications() = 0;
};

} // namespace tonara
