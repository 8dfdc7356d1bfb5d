#pragma once

#include <functional>
#include <string>

namespace tonara {

// Developer messages of the pure layers. The app routes them to its logging
// categories; tests may capture them. The default writes to stderr.
namespace Log {

using Sink = std::function<void(const std::string &category, const std::string &line)>;

void setSink(Sink sink); // an empty sink restores the default
void write(const std::string &category, const std::string &line);

} // namespace Log

} // namespace tonara
