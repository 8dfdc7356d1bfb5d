#pragma once

#include "base/Scheduler.h"
#include "platform/AccessorySession.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

namespace tonara {

class TonaraSimulator;

// A session with the in-process simulator, made by SimulatedAccessoryManager.
// Bytes travel through the Scheduler in both directions: what the host writes
// reaches the simulator on a later turn of the loop, and what the simulator
// sends is announced by a bytes-available event on a later turn, never from
// inside write() or read().
class SimulatedAccessorySession final : public AccessorySession {
public:
    // The part that posted tasks and the manager may outlive the session with.
    struct Core {
        Scheduler *scheduler = nullptr;
        TonaraSimulator *simulator = nullptr; // cleared when the manager goes away
        AccessoryStreamDelegate *delegate = nullptr;
        bool open = false;
        bool detached = false; // the accessory went away, or a newer session took over
        bool bytesEventPending = false;
        std::deque<std::uint8_t> inbound;
        std::size_t readLimit = 0;  // 0: no limit
        std::size_t writeLimit = 0; // 0: no limit
        std::size_t writeSpace = 0;
        bool spaceEventPending = false;
    };

    SimulatedAccessorySession(TonaraSimulator &simulator, Scheduler &scheduler, std::size_t readLimit,
                              std::size_t writeLimit);
    ~SimulatedAccessorySession() override;

    void open(AccessoryStreamDelegate *delegate) override;
    void close() override;
    long read(std::uint8_t *buffer, std::size_t max) override;
    long write(const std::uint8_t *bytes, std::size_t count) override;
    bool hasSpaceAvailable() const override;
    bool isConnected() const override;

    std::weak_ptr<Core> core() const { return core_; }

    // Called by the manager.
    static void deliver(const std::shared_ptr<Core> &core, const std::uint8_t *bytes, std::size_t count);
    static void detach(const std::shared_ptr<Core> &core);

private:
    static void postEvent(const std::shared_ptr<Core> &core, StreamKind kind, StreamEvent event);
    static void postBytesEvent(const std::shared_ptr<Core> &core);

    std::shared_ptr<Core> core_;
};

} // namespace tonara
