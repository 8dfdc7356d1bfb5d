#include "base/Log.h"

#include <cstdio>
#include <mutex>

namespace tonara::Log {

namespace {
std::mutex mutex;
Sink &sink()
{
    static Sink s;
    return s;
}
} // namespace

void setSink(Sink s)
{
    std::lock_guard lock(mutex);
    sink() = std::move(s);
}

void write(const std::string &category, const std::string &line)
{
    Sink s;
    {
        std::lock_guard lock(mutex);
        s = sink();
    }
    if (s)
        s(category, line);
    else
        std::fprintf(stderr, "%s: %s\n", category.c_str(), line.c_str());
}

} // namespace tonara::Log
