#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tonara {

// The live trace's samples, oldest first, never more than its capacity once
// full: adding to a full buffer drops the oldest sample. A ring underneath, so
// a sample costs the same however long the trace is.
class SignalBuffer {
public:
    explicit SignalBuffer(std::size_t capacity = 0);

    // Starts over, empty, with a new capacity.
    void reset(std::size_t capacity);
    void add(float sample);

    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    bool empty() const { return size_ == 0; }
    // k-th newest sample: newest(0) is the last one added. k < size().
    float newest(std::size_t k) const;
    // k-th oldest sample. k < size().
    float oldest(std::size_t k) const { return newest(size_ - 1 - k); }
    // Samples added since the last reset, dropped ones included.
    std::uint64_t added() const { return added_; }

private:
    std::vector<float> ring_;
    std::size_t capacity_ = 0;
    std::size_t head_ = 0; // where the next sample goes
    std::size_t size_ = 0;
    std::uint64_t added_ = 0;
};

} // namespace tonara
