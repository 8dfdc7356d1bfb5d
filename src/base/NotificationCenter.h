#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tonara {

// Post by name with the sender; observers register by name (and optionally a
// sender) and read what they need from the sender's properties. No payload,
// as the engine's notifications carry no user information.
class NotificationCenter {
public:
    using Token = std::uint64_t;
    using Observer = std::function<void(const std::string &name, const void *sender)>;

    // The process's default centre.
    static NotificationCenter &defaultCenter();

    // sender == nullptr observes the name from any sender.
    Token addObserver(const std::string &name, Observer observer, const void *sender = nullptr);
    void removeObserver(Token token);
    // Observers run synchronously, in the order they registered. An observer
    // may add or remove observers while it runs.
    void post(const std::string &name, const void *sender) const;
    std::size_t observerCount(const std::string &name) const;

private:
    struct Entry {
        Token token;
        std::string name;
        const void *sender;
        std::shared_ptr<Observer> observer;
    };
    Token next_ = 1;
    std::vector<Entry> entries_;
};

} // namespace tonara
