#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tonara {

// Cuts the monitor's frames out of a byte stream. A read is not a frame: a
// frame may arrive in pieces or several in one read, and garbage may come in
// between. Frames are found by the sync word and cut with the length byte
// (body byte 3, the body length including the checksum). A sync word followed
// by an impossible length is skipped and the search goes on with the next one.
//
// Use: append() each read, then call next() until it returns an empty span.
// After that at most one incomplete frame (fewer than kMaxFrame bytes) is kept.
class FrameCutter {
public:
    static constexpr std::size_t kMinLength = 7;
    static constexpr std::size_t kMaxLength = 126;
    static constexpr std::size_t kMaxFrame = kMaxLength + 2; // with the sync word

    // Adds the bytes of one read. A negative count is a failed read and adds nothing.
    void append(const std::uint8_t *bytes, long count);

    // The body of the next complete frame (sync word not included), or an
    // empty span when none is complete yet. The span stays valid until the
    // next append() or clear().
    std::span<const std::uint8_t> next();

    // Bytes kept and not yet cut.
    std::size_t queued() const { return queue_.size() - head_; }
    void clear();

private:
    std::vector<std::uint8_t> queue_;
    std::size_t head_ = 0;
};

} // namespace tonara
