#include "measurement/SignalBuffer.h"

namespace tonara {

SignalBuffer::SignalBuffer(std::size_t capacity)
{
    reset(capacity);
}

void SignalBuffer::reset(std::size_t capacity)
{
    capacity_ = capacity;
    // A zero-capacity trace still shows the latest sample rather than nothing.
    ring_.assign(capacity == 0 ? 1 : capacity, 0.0f);
    head_ = 0;
    size_ = 0;
    added_ = 0;
}

void SignalBuffer::add(float sample)
{
    ring_[head_] = sample;
    head_ = (head_ + 1) % ring_.size();
    if (size_ < ring_.size())
        ++size_;
    ++added_;
}

float SignalBuffer::newest(std::size_t k) const
{
    const std::size_t n = ring_.size();
    return ring_[(head_ + n - 1 - (k % n)) % n];
}

} // namespace tonara
