#pragma once

// SHA-256 of bytes, as 64 lower-case hex digits; the checksum each member of a
// backup carries in its manifest.
//
//   Sha256 h;
//   h.update(part1.data(), part1.size());
//   h.update(part2.data(), part2.size());
//   std::string hex = h.hexDigest();          // once; the object is spent then
//   std::string same = Sha256::hex(wholeText);

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tonara {

class Sha256 {
public:
    Sha256();

    void update(const void *data, std::size_t length);
    std::string hexDigest();

    static std::string hex(std::string_view bytes);

private:
    void block(const std::uint8_t *p);

    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> buffer_{};
    std::size_t buffered_ = 0;
    std::uint64_t totalBytes_ = 0;
};

} // namespace tonara
