#include "base/NotificationCenter.h"

#include <algorithm>

namespace tonara {

NotificationCenter &NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

NotificationCenter::Token NotificationCenter::addObserver(const std::string &name, Observer observer,
                                                          const void *sender)
{
    const Token t = next_++;
    entries_.push_back({t, name, sender, std::make_shared<Observer>(std::move(observer))});
    return t;
}

void NotificationCenter::removeObserver(Token token)
{
    std::erase_if(entries_, [token](const Entry &e) { return e.token == token; });
}

void NotificationCenter::post(const std::string &name, const void *sender) const
{
    // Copy first: observers may change the list while we walk it.
    std::vector<std::pair<Token, std::shared_ptr<Observer>>> targets;
    for (const Entry &e : entries_)
        if (e.name == name && (e.sender == nullptr || e.sender == sender))
            targets.emplace_back(e.token, e.observer);
    for (auto &[token, obs] : targets) {
        const bool stillThere = std::any_of(entries_.begin(), entries_.end(),
                                            [t = token](const Entry &e) { return e.token == t; });
        if (stillThere)
            (*obs)(name, sender);
    }
}

std::size_t NotificationCenter::observerCount(const std::string &name) const
{
    return static_cast<std::size_t>(
        std::count_if(entries_.begin(), entries_.end(), [&](const Entry &e) { return e.name == name; }));
}

} // namespace tonara
