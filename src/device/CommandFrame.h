#pragma once

#include "base/Clock.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tonara {

// Frames sent to the monitor. A command is kept as the hexadecimal text of its
// body without the checksum; the frame on the wire is the sync word, the bytes
// of the text and a 16-bit sum of those bytes, high byte first.
class CommandFrame {
public:
    static constexpr std::uint8_t kSync0 = 0x5A;
    static constexpr std::uint8_t kSync1 = 0xA5;

    // Command texts. The opening command also stops a running measurement.
    static constexpr const char *kOpen = "514b0007c0";
    static constexpr const char *kConnect = "514b0007a0";
    static constexpr const char *kTimeFormat = "514b000c8f%02x%02X%02X%02X%02X";
    static constexpr const char *kReadBattery = "514b000714";
    static constexpr const char *kSingleMode = "514b000760";
    static constexpr const char *kTrivMode = "514b000762";
    static constexpr const char *kReadStatus = "514b000701";
    static constexpr const char *kStartPump = "514b000782";
    static constexpr const char *kReadResult = "514b000703";

    // Builds the frame of a hexadecimal text: pairs are read from the start
    // and the walk stops at the first pair that is not two hex digits; an odd
    // digit at the end is dropped. The checksum covers what was taken.
    static std::vector<std::uint8_t> fromHex(std::string_view text);

    // Sync word + body + checksum of the body. Used for frames built from
    // bytes rather than text (the simulator's replies, tests).
    static std::vector<std::uint8_t> fromBody(std::span<const std::uint8_t> body);

    // Sum of the bytes modulo 65536.
    static std::uint16_t checksum(std::span<const std::uint8_t> bytes);

    // The set-clock text for a moment: year - 2000, month, day, hour, minute.
    static std::string timeText(const LocalDateTime &at);
};

} // namespace tonara
