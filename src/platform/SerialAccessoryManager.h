#pragma once

#include "platform/AccessoryManager.h"

#include <QString>

#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>

class QTimer;

namespace tonara {

class NotificationCenter;

// Finds the monitor among the serial ports and turns plugging and unplugging
// into the accessory connect and disconnect notifications.
//
// A port is the monitor when it is the configured path (which may be a
// pseudo-terminal: those are not listed by the system's port enumeration, so
// the path only has to exist and be a character device), or when its USB
// vendor and product ids are on kMonitorUsbIds. The configured path, when
// present, comes first in connectedAccessories().
class SerialAccessoryManager final : public AccessoryManager {
public:
    struct UsbId {
        std::uint16_t vendor;
        std::uint16_t product;
    };
    // The USB serial bridges the dock's cable is built with. They are common
    // chips, so another adapter using one will be offered too; pass the
    // monitor's path (--device) to pick one port exactly.
    static constexpr std::array<UsbId, 4> kMonitorUsbIds{{
        {0x0403, 0x6001}, // FTDI FT232R
        {0x10C4, 0xEA60}, // Silicon Labs CP210x
        {0x067B, 0x2303}, // Prolific PL2303
        {0x1A86, 0x7523}, // WCH CH340
    }};
    static constexpr std::chrono::milliseconds kDefaultWatchInterval{500};

    struct Options {
        QString configuredPath;  // empty: none configured
        bool matchUsbIds = true; // also offer ports whose VID:PID is listed
        std::chrono::milliseconds watchInterval = kDefaultWatchInterval;
    };

    SerialAccessoryManager(NotificationCenter &center, Options options);
    ~SerialAccessoryManager() override;
    SerialAccessoryManager(const SerialAccessoryManager &) = delete;
    SerialAccessoryManager &operator=(const SerialAccessoryManager &) = delete;

    std::vector<AccessoryInfo> connectedAccessories() const override;
    std::unique_ptr<AccessorySession> openSession(const AccessoryInfo &accessory,
                                                  const std::string &protocol) override;
    // Starts watching; changes found from now on are posted.
    void registerForLocalNotifications() override;

    // Compares the attached ports with the last look and posts one
    // notification per port that came or went. The watch timer calls this.
    void checkNow();
    // Why the last openSession() returned nullptr; empty after a success.
    const QString &lastError() const { return lastError_; }

private:
    NotificationCenter &center_;
    Options options_;
    std::vector<std::string> known_; // identifiers seen at the last look
    // Hang-up flags of the sessions opened per port. A port whose device
    // hung up but whose path is there again at the next look was replaced
    // in between (a simulator restarted on the same pty number, a quick
    // replug): that is a disconnect and a connect, too.
    std::map<std::string, std::vector<std::shared_ptr<const bool>>> opened_;
    std::unique_ptr<QTimer> watch_;
    bool registered_ = false;
    QString lastError_;
};

} // namespace tonara
