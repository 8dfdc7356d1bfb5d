#include "TappedAccessoryManager.h"

namespace tonara {

class TappedAccessoryManager::Session final : public AccessorySession {
public:
    Session(TappedAccessoryManager &owner, std::unique_ptr<AccessorySession> inner)
        : owner_(owner), inner_(std::move(inner))
    {}
    void open(AccessoryStreamDelegate *delegate) override { inner_->open(delegate); }
    void close() override { inner_->close(); }
    long read(std::uint8_t *buffer, std::size_t max) override { return inner_->read(buffer, max); }
    long write(const std::uint8_t *bytes, std::size_t count) override
    {
        const long n = inner_->write(bytes, count);
        if (n > 0)
            owner_.noteBytes(bytes, static_cast<std::size_t>(n));
        return n;
    }
    bool hasSpaceAvailable() const override { return inner_->hasSpaceAvailable(); }
    bool isConnected() const override { return inner_->isConnected(); }

private:
    TappedAccessoryManager &owner_;
    std::unique_ptr<AccessorySession> inner_;
};

TappedAccessoryManager::TappedAccessoryManager(AccessoryManager &inner) : inner_(inner)
{
    clock_.start();
}

std::vector<AccessoryInfo> TappedAccessoryManager::connectedAccessories() const
{
    return inner_.connectedAccessories();
}

std::unique_ptr<AccessorySession> TappedAccessoryManager::openSession(const AccessoryInfo &accessory,
                                                                      const std::string &protocol)
{
    auto session = inner_.openSession(accessory, protocol);
    if (!session)
        return nullptr;
    return std::make_unique<Session>(*this, std::move(session));
}

void TappedAccessoryManager::registerForLocalNotifications()
{
    inner_.registerForLocalNotifications();
}

void TappedAccessoryManager::noteBytes(const std::uint8_t *bytes, std::size_t count)
{
    // Commands are sync word, body; the length is body byte 3.
    partial_.insert(partial_.end(), bytes, bytes + count);
    for (;;) {
        std::size_t start = 0;
        while (start + 1 < partial_.size() && !(partial_[start] == 0x5A && partial_[start + 1] == 0xA5))
            ++start;
        partial_.erase(partial_.begin(), partial_.begin() + static_cast<std::ptrdiff_t>(start));
        if (partial_.size() < 7)
            return;
        if (partial_[5] < 7) { // not one of our frames: skip its sync word
            partial_.erase(partial_.begin(), partial_.begin() + 2);
            continue;
        }
        const std::size_t total = 2 + partial_[5];
        if (partial_.size() < total)
            return;
        sent_.push_back({nowNs(), partial_[6]});
        partial_.erase(partial_.begin(), partial_.begin() + static_cast<std::ptrdiff_t>(total));
    }
}

} // namespace tonara
