#pragma once

#include <QLoggingCategory>

#include <string>

namespace tonara {

// Sends the pure layers' log lines to Qt's logging, one category per layer
// category ("tonara.device", "tonara.storage", ...), so QT_LOGGING_RULES and
// the system journal see them like the rest of the application.
class QtLogRouter {
public:
    // Routes tonara::Log for the life of the process.
    static void install();
    // The Qt category for a layer's category name; made on first use, kept for good.
    static const QLoggingCategory &category(const std::string &name);
};

} // namespace tonara
