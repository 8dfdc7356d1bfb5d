#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tonara {

// The device side's frame writer: sync word, body, 16-bit sum checksum (high
// byte first) over every body byte before it.
class SimFrame {
public:
    static constexpr std::uint8_t kSync0 = 0x5A;
    static constexpr std::uint8_t kSync1 = 0xA5;
    static constexpr std::uint8_t kMagic0 = 0x51;
    static constexpr std::uint8_t kMagic1 = 0x4B;
    // The smallest frame body: magic, byte 2, length, code, checksum.
    static constexpr std::size_t kMinBody = 7;
    static constexpr std::size_t kMaxBody = 126;

    // Sum of the bytes, modulo 65536.
    static std::uint16_t checksum(const std::uint8_t *bytes, std::size_t count);

    // A complete wire frame: 5A A5 51 4B byte2 length code data... checksum.
    // The length byte counts the body including the checksum.
    static std::vector<std::uint8_t> build(std::uint8_t byte2, std::uint8_t code,
                                           const std::vector<std::uint8_t> &data = {});

    // Whether a body (no sync word) carries a checksum that matches its bytes.
    static bool checksumMatches(const std::vector<std::uint8_t> &body);
};

} // namespace tonara
