#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tonara {

// Where a layer sends the alerts a person must see. The app's AlertPresenter
// shows them as in-window modal sheets; tests record and answer them.
class AlertSink {
public:
    // Called with the index of the button the person chose.
    using Completion = std::function<void(int buttonIndex)>;

    virtual ~AlertSink() = default;
    // Shows an alert with a title, a message and one or more buttons ("OK",
    // "Cancel", ...). Returns at once; the completion runs when it is answered.
    virtual void showAlert(const std::string &title, const std::string &message,
                           const std::vector<std::string> &buttons, Completion done = {}) = 0;
};

} // namespace tonara
