#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace tonara {

// Cuts the host's frames out of the byte stream the device receives, however
// the stream is chunked: finds the sync word, waits for the whole body that
// the length byte announces, and skips garbage and impossible lengths.
class HostFrameCutter {
public:
    // Called once per complete body (sync word stripped, checksum included).
    using FrameHandler = std::function<void(const std::vector<std::uint8_t> &body)>;

    explicit HostFrameCutter(FrameHandler handler);

    void feed(const std::uint8_t *bytes, std::size_t count);
    // Forgets a partly received frame (the link went away).
    void reset();

    // Bytes thrown away while looking for a frame (garbage, bad lengths).
    std::uint64_t skippedBytes() const { return skipped_; }
    std::size_t pendingBytes() const { return pending_.size(); }

private:
    void cut();

    FrameHandler handler_;
    std::vector<std::uint8_t> pending_;
    std::uint64_t skipped_ = 0;
    std::uint64_t resets_ = 0;
};

} // namespace tonara
