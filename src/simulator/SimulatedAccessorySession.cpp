#include "simulator/SimulatedAccessorySession.h"

#include "simulator/TonaraSimulator.h"

#include <algorithm>
#include <vector>

namespace tonara {

SimulatedAccessorySession::SimulatedAccessorySession(TonaraSimulator &simulator, Scheduler &scheduler,
                                                     std::size_t readLimit, std::size_t writeLimit)
    : core_(std::make_shared<Core>())
{
    core_->scheduler = &scheduler;
    core_->simulator = &simulator;
    core_->readLimit = readLimit;
    core_->writeLimit = writeLimit;
    core_->writeSpace = writeLimit;
}

SimulatedAccessorySession::~SimulatedAccessorySession()
{
    close();
}

void SimulatedAccessorySession::open(AccessoryStreamDelegate *delegate)
{
    core_->delegate = delegate;
    core_->open = true;
    postEvent(core_, StreamKind::Input, StreamEvent::OpenCompleted);
    postEvent(core_, StreamKind::Output, StreamEvent::OpenCompleted);
    postEvent(core_, StreamKind::Output, StreamEvent::HasSpaceAvailable);
    if (!core_->inbound.empty())
        postBytesEvent(core_);
}

void SimulatedAccessorySession::close()
{
    core_->open = false;
    core_->delegate = nullptr;
    core_->inbound.clear();
}

long SimulatedAccessorySession::read(std::uint8_t *buffer, std::size_t max)
{
    if (!core_->open)
        return -1;
    std::size_t n = std::min(max, core_->inbound.size());
    if (core_->readLimit > 0)
        n = std::min(n, core_->readLimit);
    std::copy_n(core_->inbound.begin(), n, buffer);
    core_->inbound.erase(core_->inbound.begin(), core_->inbound.begin() + static_cast<std::ptrdiff_t>(n));
    return static_cast<long>(n);
}

long SimulatedAccessorySession::write(const std::uint8_t *bytes, std::size_t count)
{
    if (!core_->open || core_->detached || !core_->simulator)
        return -1;
    std::size_t n = count;
    if (core_->writeLimit > 0) {
        n = std::min(n, core_->writeSpace);
        core_->writeSpace -= n;
        if (core_->writeSpace == 0 && !core_->spaceEventPending) {
            // The link drains on the next turn of the loop and says so.
            core_->spaceEventPending = true;
            std::weak_ptr<Core> weak = core_;
            core_->scheduler->post([weak] {
                auto core = weak.lock();
                if (!core)
                    return;
                core->spaceEventPending = false;
                core->writeSpace = core->writeLimit;
                if (core->open && core->delegate)
                    core->delegate->handleEvent(StreamKind::Output, StreamEvent::HasSpaceAvailable);
            });
        }
    }
    if (n == 0)
        return 0;
    std::vector<std::uint8_t> chunk(bytes, bytes + n);
    std::weak_ptr<Core> weak = core_;
    core_->scheduler->post([weak, chunk = std::move(chunk)] {
        auto core = weak.lock();
        if (core && core->simulator && !core->detached)
            core->simulator->receive(chunk.data(), chunk.size());
    });
    return static_cast<long>(n);
}

bool SimulatedAccessorySession::hasSpaceAvailable() const
{
    if (!core_->open || core_->detached)
        return false;
    return core_->writeLimit == 0 || core_->writeSpace > 0;
}

bool SimulatedAccessorySession::isConnected() const
{
    return core_->simulator && !core_->detached && core_->simulator->isDocked();
}

void SimulatedAccessorySession::deliver(const std::shared_ptr<Core> &core, const std::uint8_t *bytes,
                                        std::size_t count)
{
    if (!core->open || core->detached)
        return; // nobody listens: the bytes are lost, as on a real link
    core->inbound.insert(core->inbound.end(), bytes, bytes + count);
    postBytesEvent(core);
}

void SimulatedAccessorySession::detach(const std::shared_ptr<Core> &core)
{
    if (core->detached)
        return;
    core->detached = true;
    core->inbound.clear();
    postEvent(core, StreamKind::Input, StreamEvent::EndEncountered);
}

void SimulatedAccessorySession::postEvent(const std::shared_ptr<Core> &core, StreamKind kind,
                                          StreamEvent event)
{
    std::weak_ptr<Core> weak = core;
    core->scheduler->post([weak, kind, event] {
        auto c = weak.lock();
        if (c && c->open && c->delegate)
            c->delegate->handleEvent(kind, event);
    });
}

void SimulatedAccessorySession::postBytesEvent(const std::shared_ptr<Core> &core)
{
    if (core->bytesEventPending)
        return;
    core->bytesEventPending = true;
    std::weak_ptr<Core> weak = core;
    core->scheduler->post([weak] {
        auto c = weak.lock();
        if (!c)
            return;
        c->bytesEventPending = false;
        if (!c->open || !c->delegate || c->inbound.empty())
            return;
        c->delegate->handleEvent(StreamKind::Input, StreamEvent::HasBytesAvailable);
        // Like a real stream: as long as bytes wait, another event follows.
        if (c->open && !c->inbound.empty())
            postBytesEvent(c);
    });
}

} // namespace tonara
