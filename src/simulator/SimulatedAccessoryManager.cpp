#include "simulator/SimulatedAccessoryManager.h"

#include "simulator/TonaraSimulator.h"

namespace tonara {

SimulatedAccessoryManager::SimulatedAccessoryManager(TonaraSimulator &simulator, Scheduler &scheduler,
                                                     NotificationCenter &center)
    : sim_(simulator), scheduler_(scheduler), center_(center), alive_(std::make_shared<bool>(true))
{
    sim_.setOutput([this](const std::uint8_t *bytes, std::size_t count) {
        if (auto core = active_.lock())
            SimulatedAccessorySession::deliver(core, bytes, count);
    });
    dockToken_ = sim_.addDockObserver([this](bool docked) { dockChanged(docked); });
}

SimulatedAccessoryManager::~SimulatedAccessoryManager()
{
    *alive_ = false;
    sim_.removeDockObserver(dockToken_);
    sim_.setOutput({});
    if (auto core = active_.lock()) {
        SimulatedAccessorySession::detach(core);
        core->simulator = nullptr;
    }
}

std::vector<AccessoryInfo> SimulatedAccessoryManager::connectedAccessories() const
{
    if (!sim_.isDocked())
        return {};
    return {AccessoryInfo{kAccessoryIdentifier, {kTonaraProtocolString}}};
}

std::unique_ptr<AccessorySession> SimulatedAccessoryManager::openSession(const AccessoryInfo &accessory,
                                                                         const std::string &protocol)
{
    if (!sim_.isDocked() || accessory.identifier != kAccessoryIdentifier || protocol != kTonaraProtocolString)
        return nullptr;
    // The device talks to one session at a time: the newest.
    if (auto previous = active_.lock()) {
        SimulatedAccessorySession::detach(previous);
        previous->simulator = nullptr;
    }
    auto session = std::make_unique<SimulatedAccessorySession>(sim_, scheduler_, readLimit_, writeLimit_);
    active_ = session->core();
    return session;
}

void SimulatedAccessoryManager::registerForLocalNotifications()
{
    registered_ = true;
}

void SimulatedAccessoryManager::dockChanged(bool docked)
{
    if (!docked) {
        if (auto core = active_.lock())
            SimulatedAccessorySession::detach(core);
        active_.reset();
    }
    if (!registered_)
        return;
    const std::string name = docked ? kAccessoryDidConnectNotification : kAccessoryDidDisconnectNotification;
    std::weak_ptr<bool> alive = alive_;
    scheduler_.post([this, alive, name] {
        if (auto a = alive.lock(); a && *a)
            center_.post(name, this);
    });
}

} // namespace tonara
