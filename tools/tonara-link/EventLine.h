#pragma once

#include <string>

namespace tonara {

class BPAccessory;

// One engine notification as a line of JSON: "event" first, then the
// properties that the notification makes fresh, under the engine's names.
class EventLine {
public:
    // afterPlatformDisconnect: the connect notification that a platform
    // disconnect produced (the device is still there) carries no battery news.
    static std::string format(const std::string &name, const BPAccessory &engine,
                              bool afterPlatformDisconnect = false);
};

} // namespace tonara
