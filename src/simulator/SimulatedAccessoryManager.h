#pragma once

#include "base/NotificationCenter.h"
#include "base/Scheduler.h"
#include "platform/AccessoryManager.h"
#include "simulator/SimulatedAccessorySession.h"

#include <memory>

namespace tonara {

class TonaraSimulator;

// The accessory platform with the in-process simulator as its only possible
// accessory: while it is docked, one accessory offering kTonaraProtocolString.
// Docking and undocking post kAccessoryDidConnectNotification and
// kAccessoryDidDisconnectNotification (sender: this manager) on the next turn
// of the loop, once registerForLocalNotifications() has been called.
// Takes over the simulator's output for as long as it lives.
class SimulatedAccessoryManager final : public AccessoryManager {
public:
    static constexpr const char *kAccessoryIdentifier = "simulator";

    SimulatedAccessoryManager(TonaraSimulator &simulator, Scheduler &scheduler, NotificationCenter &center);
    ~SimulatedAccessoryManager() override;
    SimulatedAccessoryManager(const SimulatedAccessoryManager &) = delete;
    SimulatedAccessoryManager &operator=(const SimulatedAccessoryManager &) = delete;

    std::vector<AccessoryInfo> connectedAccessories() const override;
    std::unique_ptr<AccessorySession> openSession(const AccessoryInfo &accessory,
                                                  const std::string &protocol) override;
    void registerForLocalNotifications() override;

    // Transport knobs for tests of the host's stream handling, applied to
    // sessions opened afterwards. 0 means no limit.
    // read() hands out at most n bytes per call.
    void setReadChunkLimit(std::size_t n) { readLimit_ = n; }
    // The output stream takes at most n bytes per turn of the loop, then
    // reports no space until a space-available event.
    void setWriteChunkLimit(std::size_t n) { writeLimit_ = n; }

    TonaraSimulator &simulator() { return sim_; }
    bool isRegistered() const { return registered_; }

private:
    void dockChanged(bool docked);

    TonaraSimulator &sim_;
    Scheduler &scheduler_;
    NotificationCenter &center_;
    int dockToken_ = 0;
    bool registered_ = false;
    std::size_t readLimit_ = 0;
    std::size_t writeLimit_ = 0;
    std::weak_ptr<SimulatedAccessorySession::Core> active_;
    std::shared_ptr<bool> alive_;
};

} // namespace tonara
