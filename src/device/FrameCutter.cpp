#include "device/FrameCutter.h"

#include "device/CommandFrame.h"

#include <cstring>

namespace tonara {

void FrameCutter::append(const std::uint8_t *bytes, long count)
{
    if (count <= 0 || bytes == nullptr)
        return;
    // Drop what has been cut; what is left is at most one incomplete frame,
    // so this moves fewer than kMaxFrame bytes.
    if (head_ > 0) {
        const std::size_t left = queued();
        if (left > 0)
            std::memmove(queue_.data(), queue_.data() + head_, left);
        queue_.resize(left);
        head_ = 0;
    }
    queue_.insert(queue_.end(), bytes, bytes + count);
}

std::span<const std::uint8_t> FrameCutter::next()
{
    const std::uint8_t *q = queue_.data();
    const std::size_t end = queue_.size();
    while (end - head_ >= 2) {
        // Find the sync word.
        std::size_t i = head_;
        while (i + 1 < end && !(q[i] == CommandFrame::kSync0 && q[i + 1] == CommandFrame::kSync1))
            ++i;
        if (i + 1 >= end) {
            // No sync word: keep only a last byte that may start one.
            head_ = q[end - 1] == CommandFrame::kSync0 ? end - 1 : end;
            return {};
        }
        head_ = i;
        if (end - head_ < 2 + 4)
            return {}; // the length byte has not arrived yet
        const std::size_t length = q[head_ + 2 + 3];
        if (length < kMinLength || length > kMaxLength) {
            head_ += 2; // not a frame: look for the next sync word
            continue;
        }
        if (end - head_ < 2 + length)
            return {}; // keep the incomplete frame until the rest arrives
        const std::uint8_t *body = q + head_ + 2;
        head_ += 2 + length;
        return {body, length};
    }
    if (head_ < end && q[head_] != CommandFrame::kSync0)
        head_ = end; // a lone byte that cannot start a sync word
    return {};
}

void FrameCutter::clear()
{
    queue_.clear();
    head_ = 0;
}

} // namespace tonara
