#pragma once

#include "platform/AccessoryManager.h"

#include <QElapsedTimer>

#include <cstdint>
#include <memory>
#include <vector>

namespace tonara {

// Passes everything through to another manager, but notes the moment each
// command frame leaves for the device: the benchmark's view of the wire.
class TappedAccessoryManager final : public AccessoryManager {
public:
    struct Sent {
        std::int64_t atNs; // on the benchmark's clock
        std::uint8_t code; // command code, body byte 4
    };

    explicit TappedAccessoryManager(AccessoryManager &inner);

    std::vector<AccessoryInfo> connectedAccessories() const override;
    std::unique_ptr<AccessorySession> openSession(const AccessoryInfo &accessory,
                                                  const std::string &protocol) override;
    void registerForLocalNotifications() override;

    std::int64_t nowNs() const { return clock_.nsecsElapsed(); }
    const std::vector<Sent> &sent() const { return sent_; }
    void clear() { sent_.clear(); }

private:
    class Session;
    void noteBytes(const std::uint8_t *bytes, std::size_t count);

    AccessoryManager &inner_;
    QElapsedTimer clock_;
    std::vector<Sent> sent_;
    std::vector<std::uint8_t> partial_; // bytes of a frame not yet complete
};

} // namespace tonara
