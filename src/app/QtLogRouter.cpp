#include "app/QtLogRouter.h"

#include "base/Log.h"

#include <map>
#include <memory>
#include <mutex>

namespace tonara {

namespace {

struct Category {
    explicit Category(std::string n) : name(std::move(n)), category(name.c_str(), QtInfoMsg) {}
    std::string name; // the category keeps a pointer to it
    QLoggingCategory category;
};

} // namespace

const QLoggingCategory &QtLogRouter::category(const std::string &name)
{
    static std::mutex mutex;
    static std::map<std::string, std::unique_ptr<Category>> categories;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = categories.find(name);
    if (it == categories.end())
        it = categories.emplace(name, std::make_unique<Category>("tonara." + name)).first;
    return it->second->category;
}

void QtLogRouter::install()
{
    Log::setSink([](const std::string &cat, const std::string &line) {
        const QLoggingCategory &c = category(cat.empty() ? std::string("app") : cat);
        qCInfo(c).noquote() << QString::fromStdString(line);
    });
}

} // namespace tonara
